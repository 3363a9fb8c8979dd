#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every sound is rendered mono at this rate.
const int sampleRate = 44100;
// The most partials one voice sums.
const size_t maxPartials = 16;

enum WAVE { WAVE_SINE, WAVE_TRIANGLE, WAVE_SQUARE, WAVE_SAW, WAVE_NOISE, WAVE_CRACKLE, WAVE_PLUCK };
enum FILTER_KIND { FILTER_LOWPASS, FILTER_HIGHPASS, FILTER_BANDPASS };

// A resonant filter whose cutoff glides exponentially from `from` to `to`
// over the voice's held length.
struct FILTER {
    FILTER_KIND kind = FILTER_LOWPASS;
    float from = 1000;
    float to = 1000;
    float q = 0.707f;
};

// One sine of an additive voice: its frequency as a multiple of the pitch,
// its level, and its own decay time in seconds (0: none).
struct PARTIAL {
    float ratio = 1;
    float level = 1;
    float decay = 0;
};

struct ENVELOPE_POINT {
    float time;
    float level;
};

// One sounding thing: a source (oscillator, noise, crackle or plucked
// string) shaped by an envelope, filters and a gain, placed in time. A voice
// may be scattered: several copies at random times within a span, each with
// its pitch jittered, which makes crackles, bubbles and rattles.
struct VOICE {
    std::string name;
    WAVE wave = WAVE_SINE;
    float start = 0;
    // Held length in seconds; the release follows it.
    float length = 0.1f;
    float pitchFrom = 440;
    float pitchTo = 440;
    std::vector<PARTIAL> partials;
    // Breakpoints in seconds from the voice's start; when empty the voice
    // uses attack, decay to sustain, and release.
    std::vector<ENVELOPE_POINT> points;
    float attack = 0.002f;
    float decayTime = 0;
    float sustain = 1;
    float release = 0.01f;
    // Exponential fade over the whole voice, time constant in seconds (0: none).
    float fade = 0;
    std::vector<FILTER> filters;
    float tremoloRate = 0;
    float tremoloDepth = 0;
    float vibratoRate = 0;
    float vibratoSemitones = 0;
    // Impulses per second of a crackle.
    float density = 50;
    float gainDb = 0;
    int scatterCount = 1;
    float scatterSpan = 0;
    float pitchJitter = 0;
    // Copies detuned across this many cents, for thick pads.
    int unison = 1;
    float unisonCents = 0;
};

// Seconds from the voice's start to the end of its release.
float voiceDuration(const VOICE& voice);

// Adds the voice into `out` (sized by the caller; what falls outside is
// dropped). `seed` fixes its noise and scattering.
void renderVoice(const VOICE& voice, uint32_t seed, std::vector<float>& out);
