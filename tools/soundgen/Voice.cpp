#include "Voice.h"

#include "Random.h"

#include <cmath>

namespace {

const float twoPi = 6.28318530718f;
// Filter coefficients are recomputed this often while a cutoff glides.
const int filterBlock = 32;

// A biquad in the usual cookbook form.
class Biquad {
public:
    void tune(FILTER_KIND kind, float cutoff, float q)
    {
        cutoff = std::fmin(std::fmax(cutoff, 10.0f), sampleRate * 0.45f);
        float w = twoPi * cutoff / sampleRate;
        float alpha = std::sin(w) / (2 * q);
        float c = std::cos(w);
        float a0 = 1 + alpha;
        if (kind == FILTER_LOWPASS) {
            b0 = (1 - c) / 2;
            b1 = 1 - c;
            b2 = b0;
        } else if (kind == FILTER_HIGHPASS) {
            b0 = (1 + c) / 2;
            b1 = -(1 + c);
            b2 = b0;
        } else {
            b0 = alpha;
            b1 = 0;
            b2 = -alpha;
        }
        b0 /= a0;
        b1 /= a0;
        b2 /= a0;
        a1 = -2 * c / a0;
        a2 = (1 - alpha) / a0;
    }

    float run(float x)
    {
        float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// A value that glides exponentially from `from` to `to` over `span` seconds.
float glide(float from, float to, float t, float span)
{
    if (from == to || span <= 0 || from <= 0 || to <= 0)
        return to;
    float k = std::fmin(t / span, 1.0f);
    return from * std::pow(to / from, k);
}

// Attack, decay and sustain while the gate is held.
float heldLevel(const VOICE& v, float t)
{
    if (t < v.attack)
        return t / v.attack;
    if (t < v.attack + v.decayTime)
        return 1 - (1 - v.sustain) * (t - v.attack) / v.decayTime;
    return v.sustain;
}

float envelopeAt(const VOICE& v, float t)
{
    if (!v.points.empty()) {
        if (t <= v.points.front().time)
            return v.points.front().time > 0 ? 0 : v.points.front().level;
        for (size_t i = 1; i < v.points.size(); i++) {
            const ENVELOPE_POINT& a = v.points[i - 1];
            const ENVELOPE_POINT& b = v.points[i];
            if (t < b.time)
                return a.level + (b.level - a.level) * (t - a.time) / (b.time - a.time);
        }
        return v.points.back().level;
    }
    if (t <= v.length)
        return heldLevel(v, t);
    if (v.release <= 0)
        return 0;
    return heldLevel(v, v.length) * std::fmax(0.0f, 1 - (t - v.length) / v.release);
}

class Oscillator {
public:
    Oscillator(const VOICE& v, Random& random) : voice(v), random(random) {}

    // The source's next sample at frequency f.
    float next(float f)
    {
        switch (voice.wave) {
        case WAVE_NOISE:
            return random.signedUnit();
        case WAVE_CRACKLE:
            return crackle();
        case WAVE_PLUCK:
            return pluck(f);
        default:
            return periodic(f);
        }
    }

private:
    float periodic(float f)
    {
        if (voice.partials.empty())
            return shape(advance(phases[0], f));
        float sum = 0;
        for (size_t i = 0; i < voice.partials.size(); i++) {
            const PARTIAL& p = voice.partials[i];
            float level = p.level;
            if (p.decay > 0)
                level *= std::exp(-elapsed / p.decay);
            sum += level * shape(advance(phases[i], f * p.ratio));
        }
        elapsed += 1.0f / sampleRate;
        return sum;
    }

    static float advance(float& phase, float f)
    {
        float now = phase;
        phase += f / sampleRate;
        phase -= std::floor(phase);
        return now;
    }

    float shape(float phase) const
    {
        switch (voice.wave) {
        case WAVE_TRIANGLE:
            return phase < 0.5f ? 4 * phase - 1 : 3 - 4 * phase;
        case WAVE_SQUARE:
            return phase < 0.5f ? 1 : -1;
        case WAVE_SAW:
            return 2 * phase - 1;
        default:
            return std::sin(twoPi * phase);
        }
    }

    // Sparse random impulses with a short tail, which filters turn into pops.
    float crackle()
    {
        if (random.unit() < voice.density / sampleRate)
            pop = (0.3f + 0.7f * random.unit()) * (random.unit() < 0.5f ? -1 : 1);
        float out = pop;
        pop *= 0.8f;
        return out;
    }

    // A plucked string: a burst of noise circulating in a delay line one
    // period long, softened a little on each pass.
    float pluck(float f)
    {
        if (line.empty()) {
            size_t period = size_t(std::fmax(2.0f, sampleRate / std::fmax(f, 20.0f)));
            line.resize(period);
            for (float& s : line)
                s = random.signedUnit();
        }
        float out = line[cursor];
        size_t following = (cursor + 1) % line.size();
        line[cursor] = 0.498f * (out + line[following]);
        cursor = following;
        return out;
    }

    const VOICE& voice;
    Random& random;
    float phases[maxPartials] = {};
    float elapsed = 0;
    float pop = 0;
    std::vector<float> line;
    size_t cursor = 0;
};

void renderCopy(const VOICE& v, float start, float pitchScale, uint32_t seed, std::vector<float>& out)
{
    Random random(seed);
    Oscillator oscillator(v, random);
    std::vector<Biquad> filters(v.filters.size());
    float gain = std::pow(10.0f, v.gainDb / 20);
    long first = long(std::lround(start * sampleRate));
    long count = long(voiceDuration(v) * sampleRate);
    for (long i = 0; i < count; i++) {
        float t = float(i) / sampleRate;
        if (i % filterBlock == 0)
            for (size_t k = 0; k < filters.size(); k++) {
                const FILTER& f = v.filters[k];
                filters[k].tune(f.kind, glide(f.from, f.to, t, v.length), f.q);
            }
        float pitch = glide(v.pitchFrom, v.pitchTo, t, v.length) * pitchScale;
        if (v.vibratoRate > 0)
            pitch *= std::pow(2.0f, v.vibratoSemitones / 12 * std::sin(twoPi * v.vibratoRate * t));
        float s = oscillator.next(pitch);
        for (Biquad& filter : filters)
            s = filter.run(s);
        float level = envelopeAt(v, t) * gain;
        if (v.fade > 0)
            level *= std::exp(-t / v.fade);
        if (v.tremoloDepth > 0)
            level *= 1 - v.tremoloDepth * (0.5f + 0.5f * std::sin(twoPi * v.tremoloRate * t));
        long at = first + i;
        if (at >= 0 && at < long(out.size()))
            out[size_t(at)] += s * level;
    }
}

} // namespace

float voiceDuration(const VOICE& v)
{
    if (!v.points.empty())
        return std::fmax(v.length, v.points.back().time);
    return v.length + v.release;
}

void renderVoice(const VOICE& v, uint32_t seed, std::vector<float>& out)
{
    Random scatter(seed ^ 0x5bd1e995u);
    for (int copy = 0; copy < v.scatterCount; copy++) {
        float start = v.start + (v.scatterCount > 1 ? scatter.unit() * v.scatterSpan : 0);
        float pitchScale = std::pow(2.0f, v.pitchJitter * scatter.signedUnit() / 12);
        for (int u = 0; u < v.unison; u++) {
            float cents = v.unison > 1 ? v.unisonCents * (float(u) / (v.unison - 1) - 0.5f) : 0;
            uint32_t copySeed = seed + uint32_t(copy) * 7919u + uint32_t(u) * 104729u;
            renderCopy(v, start, pitchScale * std::pow(2.0f, cents / 1200), copySeed, out);
        }
    }
}
