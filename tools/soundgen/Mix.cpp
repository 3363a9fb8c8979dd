#include "Mix.h"

#include "Voice.h"

#include <algorithm>
#include <cmath>

namespace {

class Comb {
public:
    Comb(size_t length, float feedback, float damping) : line(length), feedback(feedback), damping(damping) {}

    float run(float x)
    {
        float out = line[cursor];
        stored = out * (1 - damping) + stored * damping;
        line[cursor] = x + stored * feedback;
        cursor = (cursor + 1) % line.size();
        return out;
    }

private:
    std::vector<float> line;
    float feedback;
    float damping;
    float stored = 0;
    size_t cursor = 0;
};

class Allpass {
public:
    explicit Allpass(size_t length) : line(length) {}

    float run(float x)
    {
        float delayed = line[cursor];
        float out = delayed - x;
        line[cursor] = x + delayed * 0.5f;
        cursor = (cursor + 1) % line.size();
        return out;
    }

private:
    std::vector<float> line;
    size_t cursor = 0;
};

float dbToGain(float db)
{
    return std::pow(10.0f, db / 20);
}

float gainToDb(float gain)
{
    return 20 * std::log10(std::fmax(gain, 1e-9f));
}

} // namespace

void addReverb(std::vector<float>& samples, float mix, float size)
{
    // Delay lengths of the combs at 44.1 kHz, mutually prime so their echoes don't line up.
    static const size_t combLengths[] = {1557, 1617, 1491, 1422};
    float feedback = 0.7f + 0.28f * std::clamp(size, 0.0f, 1.0f);
    std::vector<Comb> combs;
    for (size_t length : combLengths)
        combs.emplace_back(length, feedback, 0.3f);
    Allpass first(556), second(441);
    for (float& s : samples) {
        float wet = 0;
        for (Comb& comb : combs)
            wet += comb.run(s * 0.1f);
        wet = second.run(first.run(wet));
        s += wet * mix;
    }
}

void foldLoop(std::vector<float>& samples, size_t length, size_t crossfade)
{
    crossfade = std::min(crossfade, std::min(length, samples.size() - std::min(samples.size(), length)));
    for (size_t i = 0; i < crossfade; i++) {
        // Equal power, as the two sides are unrelated noise-like sounds.
        float w = float(i) / crossfade * 1.5707963f;
        samples[i] = samples[i] * std::sin(w) + samples[length + i] * std::cos(w);
    }
    samples.resize(length);
}

void foldTail(std::vector<float>& samples, size_t length)
{
    for (size_t i = length; i < samples.size(); i++)
        samples[(i - length) % length] += samples[i];
    samples.resize(std::min(length, samples.size()));
}

void fadeEdges(std::vector<float>& samples, size_t fadeIn, size_t fadeOut)
{
    size_t n = samples.size();
    for (size_t i = 0; i < fadeIn && i < n; i++)
        samples[i] *= float(i) / fadeIn;
    for (size_t i = 0; i < fadeOut && i < n; i++)
        samples[n - 1 - i] *= float(i) / fadeOut;
}

float loudnessDb(const std::vector<float>& samples, bool whole)
{
    size_t window = whole ? samples.size() : size_t(sampleRate / 20);
    window = std::max<size_t>(1, std::min(window, samples.size()));
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < samples.size(); i++) {
        sum += double(samples[i]) * samples[i];
        if (i >= window)
            sum -= double(samples[i - window]) * samples[i - window];
        if (i + 1 >= window)
            loudest = std::max(loudest, sum);
    }
    return gainToDb(float(std::sqrt(std::max(loudest, 0.0) / window)));
}

float peakDb(const std::vector<float>& samples)
{
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    return gainToDb(peak);
}

float normalize(std::vector<float>& samples, float targetDb, float ceilingDb, bool whole)
{
    float loudness = loudnessDb(samples, whole);
    float gainDb = targetDb - loudness;
    gainDb = std::min(gainDb, ceilingDb - peakDb(samples));
    float gain = dbToGain(gainDb);
    for (float& s : samples)
        s *= gain;
    return loudness + gainDb;
}

std::vector<int16_t> toPcm(const std::vector<float>& samples)
{
    std::vector<int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); i++)
        pcm[i] = int16_t(std::lround(std::clamp(samples[i] * 32767.0f, -32767.0f, 32767.0f)));
    return pcm;
}
