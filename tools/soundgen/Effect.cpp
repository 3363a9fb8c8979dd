#include "Effect.h"

#include "Mix.h"
#include "SourceText.h"

#include <cmath>

namespace {

// Fades that keep a one-shot effect from starting or stopping with a click.
const float edgeFadeIn = 0.001f;
const float edgeFadeOut = 0.005f;

int readEffectLine(const std::vector<std::string>& w, EFFECT& e, std::string& error)
{
    const std::string& k = w[0];
    float value;
    if (k == "voice") {
        e.voices.push_back(VOICE());
        e.voices.back().name = w.size() > 1 ? w[1] : "";
        return 1;
    }
    if (k == "length") {
        if (!readValue(w, 0.01f, 30, e.length, error))
            return 0;
    } else if (k == "loudness") {
        if (!readValue(w, -60, 0, e.loudnessDb, error))
            return 0;
    } else if (k == "loop") {
        if (!readValue(w, 0.001f, 5, e.loopCrossfade, error))
            return 0;
    } else if (k == "seed") {
        if (!readValue(w, 0, 1e9f, value, error))
            return 0;
        e.seed = uint32_t(value);
    } else if (k == "reverb") {
        if (w.size() != 3 || !readNumber(w[1], e.reverbMix) || !readNumber(w[2], e.reverbSize)) {
            error = "reverb needs a mix and a size";
            return 0;
        }
    } else if (e.voices.empty()) {
        error = "unknown keyword " + k;
        return 0;
    } else {
        int read = readVoiceLine(w, e.voices.back(), error);
        if (read == 0)
            error = "unknown keyword " + k;
        return read > 0;
    }
    return 1;
}

} // namespace

int readEffect(const char* path, EFFECT& effect, std::string& error)
{
    std::vector<SOURCE_LINE> lines;
    if (!readSourceLines(path, lines)) {
        error = std::string("cannot read ") + path;
        return 0;
    }
    effect = EFFECT();
    for (const SOURCE_LINE& line : lines)
        if (!readEffectLine(line.words, effect, error)) {
            error = "line " + std::to_string(line.number) + ": " + error;
            return 0;
        }
    if (effect.voices.empty()) {
        error = "no voice";
        return 0;
    }
    return 1;
}

std::vector<float> renderEffect(const EFFECT& e)
{
    size_t length = size_t(e.length * sampleRate);
    size_t crossfade = size_t(e.loopCrossfade * sampleRate);
    std::vector<float> samples(length + crossfade);
    for (size_t i = 0; i < e.voices.size(); i++)
        renderVoice(e.voices[i], e.seed * 1000003u + uint32_t(i) * 7717u, samples);
    if (e.reverbMix > 0)
        addReverb(samples, e.reverbMix, e.reverbSize);
    if (crossfade)
        foldLoop(samples, length, crossfade);
    else
        fadeEdges(samples, size_t(edgeFadeIn * sampleRate), size_t(edgeFadeOut * sampleRate));
    normalize(samples, e.loudnessDb, peakCeilingDb, false);
    return samples;
}
