#include "Music.h"

#include "AudioFile.h"
#include "Mix.h"
#include "Random.h"
#include "SourceText.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A bound on what one source can ask the renderer to hold in memory.
const float maxTrackSeconds = 600;

const std::map<std::string, std::vector<int>> modes = {
    {"major", {0, 2, 4, 5, 7, 9, 11}},    {"minor", {0, 2, 3, 5, 7, 8, 10}},
    {"dorian", {0, 2, 3, 5, 7, 9, 10}},   {"phrygian", {0, 1, 3, 5, 7, 8, 10}},
    {"harmonic", {0, 2, 3, 5, 7, 8, 11}}, {"lydian", {0, 2, 4, 6, 7, 9, 11}},
};

const std::map<std::string, std::vector<int>> chordShapes = {
    {"", {0, 4, 7}},        {"m", {0, 3, 7}},       {"7", {0, 4, 7, 10}},   {"m7", {0, 3, 7, 10}},
    {"maj7", {0, 4, 7, 11}}, {"5", {0, 7, 12}},     {"sus2", {0, 2, 7}},    {"sus4", {0, 5, 7}},
    {"dim", {0, 3, 6}},     {"madd9", {0, 3, 7, 14}},
};

const std::map<std::string, ROLE> roleNames = {
    {"root", ROLE_ROOT}, {"chord", ROLE_CHORD}, {"arpeggio", ROLE_ARPEGGIO}, {"melody", ROLE_MELODY}, {"beat", ROLE_BEAT},
};

// "C", "F#", "Bb": semitones above C, or -1.
int readNoteName(const std::string& name, size_t& used)
{
    static const int letters[] = {9, 11, 0, 2, 4, 5, 7};
    if (name.empty() || name[0] < 'A' || name[0] > 'G')
        return -1;
    int semitone = letters[name[0] - 'A'];
    used = 1;
    if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) {
        semitone += name[1] == '#' ? 1 : -1;
        used = 2;
    }
    return (semitone + 12) % 12;
}

int readChord(const std::string& name, CHORD& chord)
{
    size_t used = 0;
    chord.root = readNoteName(name, used);
    auto shape = chordShapes.find(name.substr(used));
    if (chord.root < 0 || shape == chordShapes.end())
        return 0;
    chord.tones = shape->second;
    return 1;
}

int findInstrument(const TRACK& track, const std::string& name)
{
    for (size_t i = 0; i < track.instruments.size(); i++)
        if (track.instruments[i].name == name)
            return int(i);
    return -1;
}

// "part NAME INSTRUMENT ROLE" followed by pairs of option and value.
int readPart(const std::vector<std::string>& w, TRACK& track, std::string& error)
{
    PART part;
    auto role = w.size() >= 4 ? roleNames.find(w[3]) : roleNames.end();
    if (w.size() < 4 || (part.instrument = findInstrument(track, w[2])) < 0 || role == roleNames.end()) {
        error = "part needs a name, a known instrument and a role";
        return 0;
    }
    part.name = w[1];
    part.role = role->second;
    for (size_t i = 4; i + 1 < w.size(); i += 2) {
        float v = 0;
        const std::string& option = w[i];
        if (option == "pattern") {
            part.pattern = w[i + 1];
            continue;
        }
        if (!readNumber(w[i + 1], v)) {
            error = "option " + option + " needs a number";
            return 0;
        }
        if (option == "octave" && v >= 0 && v <= 8)
            part.octave = int(v);
        else if (option == "every" && v >= 0.0625f)
            part.every = v;
        else if (option == "hold" && v >= 0)
            part.hold = v;
        else if (option == "density")
            part.density = v;
        else if (option == "from")
            part.fromBar = int(v);
        else if (option == "to")
            part.toBar = int(v);
        else if (option == "gain")
            part.gainDb = v;
        else {
            error = "unknown or wrong part option " + option;
            return 0;
        }
    }
    if ((w.size() - 4) % 2 || (part.role == ROLE_BEAT && part.pattern.empty())) {
        error = "part options come in pairs; a beat needs a pattern";
        return 0;
    }
    track.parts.push_back(part);
    return 1;
}

int readTrackLine(const std::vector<std::string>& w, TRACK& t, bool& inInstrument, std::string& error)
{
    const std::string& k = w[0];
    float v = 0;
    if (k == "instrument" && w.size() == 2) {
        t.instruments.push_back(VOICE());
        t.instruments.back().name = w[1];
        inInstrument = true;
        return 1;
    }
    if (k == "once" && w.size() == 1) {
        t.once = true;
        return 1;
    }
    if (k == "part") {
        inInstrument = false;
        return readPart(w, t, error);
    }
    if (inInstrument) {
        int read = readVoiceLine(w, t.instruments.back(), error);
        if (read != 0)
            return read > 0;
    }
    if (k == "tempo")
        return readValue(w, 20, 300, t.tempo, error);
    if (k == "fadein")
        return readValue(w, 0, 30, t.fadeIn, error);
    if (k == "tail")
        return readValue(w, 0.5f, 30, t.tail, error);
    if (k == "loudness")
        return readValue(w, -60, 0, t.loudnessDb, error);
    if (k == "beats" || k == "bars" || k == "seed") {
        if (!readValue(w, 1, k == "seed" ? 1e9f : 1000, v, error))
            return 0;
        if (k == "beats")
            t.beatsPerBar = int(v);
        else if (k == "bars")
            t.bars = int(v);
        else
            t.seed = uint32_t(v);
        return 1;
    }
    if (k == "scale") {
        size_t used = 0;
        auto mode = w.size() == 3 ? modes.find(w[2]) : modes.end();
        t.scaleRoot = w.size() == 3 ? readNoteName(w[1], used) : -1;
        if (mode == modes.end() || t.scaleRoot < 0 || used != w[1].size()) {
            error = "scale needs a note and a mode";
            return 0;
        }
        t.scale = mode->second;
        return 1;
    }
    if (k == "chords") {
        t.chords.clear();
        for (size_t i = 1; i < w.size(); i++) {
            CHORD chord;
            if (!readChord(w[i], chord)) {
                error = "unknown chord " + w[i];
                return 0;
            }
            t.chords.push_back(chord);
        }
        return 1;
    }
    if (k == "reverb" && w.size() == 3 && readNumber(w[1], t.reverbMix) && readNumber(w[2], t.reverbSize))
        return 1;
    error = "unknown or wrong line " + k;
    return 0;
}

float frequency(int octave, int semitone)
{
    int midi = 12 * (octave + 1) + semitone;
    return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f);
}

// Writes the notes of one part.
class Player {
public:
    Player(const TRACK& track, const PART& part, uint32_t seed, std::vector<VOICE>& notes)
        : track(track), part(part), random(seed), notes(notes)
    {
    }

    void play()
    {
        float beat = 60 / track.tempo;
        float perBar = float(track.beatsPerBar);
        float stepBeats = part.role == ROLE_BEAT ? perBar / part.pattern.size() : part.every;
        float first = (part.fromBar - 1) * perBar;
        float end = std::min(part.toBar, track.bars) * perBar - 0.001f;
        for (int step = 0; first + step * stepBeats < end; step++) {
            float position = first + step * stepBeats;
            const CHORD& chord = track.chords[size_t(position / perBar) % track.chords.size()];
            playStep(chord, step, position * beat, (part.hold > 0 ? part.hold : stepBeats) * beat);
        }
    }

private:
    void playStep(const CHORD& chord, int step, float time, float length)
    {
        if (part.role == ROLE_BEAT) {
            char mark = part.pattern[size_t(step) % part.pattern.size()];
            if (mark == 'x' || mark == 'o')
                note(time, length, 0, mark == 'x' ? 0 : -8);
            return;
        }
        if (random.unit() >= part.density)
            return;
        int base = chord.root;
        switch (part.role) {
        case ROLE_ROOT:
            note(time, length, frequency(part.octave, base), 0);
            break;
        case ROLE_CHORD:
            // A slow strum, lowest tone first.
            for (size_t i = 0; i < chord.tones.size(); i++)
                note(time + 0.03f * i, length, frequency(part.octave, base + chord.tones[i]), -3);
            break;
        case ROLE_ARPEGGIO:
            note(time, length, frequency(part.octave, base + chord.tones[size_t(step) % chord.tones.size()]), 0);
            break;
        default:
            note(time, length, melodyFrequency(chord), 0);
        }
    }

    // A random walk on the scale that leans on the chord's tones.
    float melodyFrequency(const CHORD& chord)
    {
        static const int moves[] = {-2, -1, -1, 0, 1, 1, 2};
        degree = std::clamp(degree + moves[random.next() % 7], 0, 9);
        int semitone = degreeSemitone(degree);
        bool inChord = false;
        for (int tone : chord.tones)
            inChord = inChord || (semitone - chord.root - tone) % 12 == 0;
        if (!inChord && random.unit() < 0.6f)
            degree = std::clamp(degree + (degree > 4 ? -1 : 1), 0, 9);
        return frequency(part.octave, degreeSemitone(degree));
    }

    int degreeSemitone(int d) const
    {
        int n = int(track.scale.size());
        return track.scaleRoot + track.scale[size_t(d % n)] + 12 * (d / n);
    }

    // A note of the part's instrument; f 0 keeps the instrument's own pitch.
    void note(float time, float length, float f, float gainDb)
    {
        VOICE v = track.instruments[size_t(part.instrument)];
        v.start = std::max(0.0f, time + 0.008f * random.signedUnit());
        v.length = length;
        if (f > 0) {
            float sweep = v.pitchTo / v.pitchFrom;
            v.pitchFrom = f;
            v.pitchTo = f * sweep;
        }
        v.gainDb += part.gainDb + gainDb + 1.5f * random.signedUnit();
        notes.push_back(v);
    }

    const TRACK& track;
    const PART& part;
    Random random;
    std::vector<VOICE>& notes;
    int degree = 4;
};

} // namespace

int readTrack(const char* path, TRACK& track, std::string& error)
{
    std::vector<SOURCE_LINE> lines;
    if (!readSourceLines(path, lines)) {
        error = std::string("cannot read ") + path;
        return 0;
    }
    track = TRACK();
    track.scale = modes.at("minor");
    bool inInstrument = false;
    for (const SOURCE_LINE& line : lines)
        if (!readTrackLine(line.words, track, inInstrument, error)) {
            error = "line " + std::to_string(line.number) + ": " + error;
            return 0;
        }
    if (track.chords.empty() || track.parts.empty()) {
        error = "a track needs chords and parts";
        return 0;
    }
    if (track.fadeIn > 0 && !track.once) {
        error = "only a track played once fades in: a loop would dip at every seam";
        return 0;
    }
    if (track.bars * track.beatsPerBar * 60 / track.tempo + track.tail > maxTrackSeconds) {
        error = "a track lasts at most " + std::to_string(int(maxTrackSeconds)) + " s";
        return 0;
    }
    return 1;
}

std::vector<VOICE> composeTrack(const TRACK& track)
{
    std::vector<VOICE> notes;
    for (size_t i = 0; i < track.parts.size(); i++)
        Player(track, track.parts[i], track.seed * 2654435761u + uint32_t(i) * 40503u, notes).play();
    return notes;
}

std::vector<float> renderTrack(const TRACK& track)
{
    float music = track.bars * track.beatsPerBar * 60 / track.tempo;
    // A looping track ends within 13 ms of its last bar, on a length its MP3
    // plays back with the shortest break.
    size_t length = track.once ? size_t(music * sampleRate) : mp3LoopLength(size_t(music * sampleRate));
    std::vector<float> samples(length + size_t(track.tail * sampleRate));
    std::vector<VOICE> notes = composeTrack(track);
    for (size_t i = 0; i < notes.size(); i++)
        renderVoice(notes[i], track.seed + uint32_t(i) * 977u, samples);
    if (track.reverbMix > 0)
        addReverb(samples, track.reverbMix, track.reverbSize);
    // The tail's last half fades, so no note is cut off where the tail ends.
    fadeEdges(samples, size_t(track.fadeIn * sampleRate), size_t(track.tail / 2 * sampleRate));
    if (!track.once)
        foldTail(samples, length);
    normalize(samples, track.loudnessDb, musicCeilingDb, true);
    return samples;
}
