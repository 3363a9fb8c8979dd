#include "SourceText.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const char* const waveNames[] = {"sine", "triangle", "square", "saw", "noise", "crackle", "pluck"};

// Reads words[first..] as numbers into `values`; returns 0 at the first word
// that is not a number.
int readNumbers(const std::vector<std::string>& words, size_t first, std::vector<float>& values)
{
    for (size_t i = first; i < words.size(); i++) {
        float v;
        if (!readNumber(words[i], v))
            return 0;
        values.push_back(v);
    }
    return 1;
}

// "F", "F -> G", each optionally followed by "q Q" for filters.
int readGlide(const std::vector<std::string>& words, float& from, float& to, float* q)
{
    size_t i = 1;
    if (i >= words.size() || !readNumber(words[i++], from) || from <= 0)
        return 0;
    to = from;
    if (i + 1 < words.size() && words[i] == "->") {
        if (!readNumber(words[i + 1], to) || to <= 0)
            return 0;
        i += 2;
    }
    if (q && i + 1 < words.size() && words[i] == "q") {
        if (!readNumber(words[i + 1], *q) || *q <= 0)
            return 0;
        i += 2;
    }
    return i == words.size();
}

int readWave(const std::string& name, WAVE& wave)
{
    for (int w = 0; w <= WAVE_PLUCK; w++)
        if (name == waveNames[w]) {
            wave = WAVE(w);
            return 1;
        }
    return 0;
}

int readFilter(const std::vector<std::string>& words, FILTER_KIND kind, VOICE& voice)
{
    FILTER filter;
    filter.kind = kind;
    if (!readGlide(words, filter.from, filter.to, &filter.q))
        return 0;
    voice.filters.push_back(filter);
    return 1;
}

int readEnvelope(const std::vector<std::string>& words, VOICE& voice)
{
    std::vector<float> values;
    if (!readNumbers(words, 1, values) || values.size() < 4 || values.size() % 2)
        return 0;
    voice.points.clear();
    for (size_t i = 0; i < values.size(); i += 2) {
        if (i > 0 && values[i] <= values[i - 2])
            return 0;
        voice.points.push_back({values[i], values[i + 1]});
    }
    return 1;
}

// Lines with a fixed count of numbers: keyword, count, and where they go.
int readFixed(const std::vector<std::string>& words, VOICE& v)
{
    std::vector<float> n;
    if (!readNumbers(words, 1, n))
        return 0;
    const std::string& k = words[0];
    size_t count = n.size();
    if (k == "at" && count == 1 && n[0] >= 0)
        v.start = n[0];
    else if (k == "for" && count == 1 && n[0] > 0)
        v.length = n[0];
    else if (k == "adsr" && count == 4 && n[0] > 0 && n[1] >= 0 && n[3] >= 0) {
        v.attack = n[0];
        v.decayTime = n[1];
        v.sustain = n[2];
        v.release = n[3];
        v.points.clear();
    } else if (k == "fade" && count == 1 && n[0] >= 0)
        v.fade = n[0];
    else if (k == "tremolo" && count == 2 && n[1] >= 0 && n[1] <= 1) {
        v.tremoloRate = n[0];
        v.tremoloDepth = n[1];
    } else if (k == "vibrato" && count == 2) {
        v.vibratoRate = n[0];
        v.vibratoSemitones = n[1];
    } else if (k == "density" && count == 1 && n[0] > 0)
        v.density = n[0];
    else if (k == "gain" && count == 1)
        v.gainDb = n[0];
    else if (k == "partial" && (count == 2 || count == 3) && n[0] > 0 && v.partials.size() < maxPartials)
        v.partials.push_back({n[0], n[1], count == 3 ? n[2] : 0});
    else if (k == "scatter" && (count == 2 || count == 3) && n[0] >= 1 && n[0] <= 1000) {
        v.scatterCount = int(n[0]);
        v.scatterSpan = n[1];
        v.pitchJitter = count == 3 ? n[2] : 0;
    } else if (k == "unison" && count == 2 && n[0] >= 1 && n[0] <= 8) {
        v.unison = int(n[0]);
        v.unisonCents = n[1];
    } else
        return 0;
    return 1;
}

} // namespace

int readSourceLines(const char* path, std::vector<SOURCE_LINE>& lines)
{
    std::ifstream in(path);
    if (!in)
        return 0;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        number++;
        size_t comment = text.find('#');
        if (comment != std::string::npos)
            text.erase(comment);
        std::istringstream stream(text);
        SOURCE_LINE line{number, {}};
        std::string word;
        while (stream >> word)
            line.words.push_back(word);
        if (!line.words.empty())
            lines.push_back(line);
    }
    return 1;
}

int readNumber(const std::string& word, float& value)
{
    char* end = nullptr;
    value = std::strtof(word.c_str(), &end);
    return !word.empty() && *end == 0;
}

int readVoiceLine(const std::vector<std::string>& words, VOICE& voice, std::string& error)
{
    static const char* const keywords[] = {"wave",    "at",      "for",     "pitch",   "partial", "envelope",
                                           "adsr",    "fade",    "lowpass", "highpass", "bandpass", "tremolo",
                                           "vibrato", "density", "gain",    "scatter", "unison"};
    const std::string& k = words[0];
    bool known = false;
    for (const char* keyword : keywords)
        known = known || k == keyword;
    if (!known)
        return 0;
    int ok;
    if (k == "wave")
        ok = words.size() == 2 && readWave(words[1], voice.wave);
    else if (k == "pitch")
        ok = readGlide(words, voice.pitchFrom, voice.pitchTo, nullptr);
    else if (k == "envelope")
        ok = readEnvelope(words, voice);
    else if (k == "lowpass")
        ok = readFilter(words, FILTER_LOWPASS, voice);
    else if (k == "highpass")
        ok = readFilter(words, FILTER_HIGHPASS, voice);
    else if (k == "bandpass")
        ok = readFilter(words, FILTER_BANDPASS, voice);
    else
        ok = readFixed(words, voice);
    if (!ok) {
        error = "wrong values for " + k;
        return -1;
    }
    return 1;
}

int readValue(const std::vector<std::string>& words, float low, float high, float& value, std::string& error)
{
    if (words.size() == 2 && readNumber(words[1], value) && value >= low && value <= high)
        return 1;
    error = words[0] + " needs one value from " + std::to_string(low) + " to " + std::to_string(high);
    return 0;
}
