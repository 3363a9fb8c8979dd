#pragma once

#include "Voice.h"

#include <string>
#include <vector>

// A sound effect: voices mixed into a buffer of a fixed length, with an
// optional small room around them, brought to a stated loudness. A looping
// effect is rendered longer and folded so that it repeats without a seam.
struct EFFECT {
    float length = 1;
    float loudnessDb = -18;
    // Seconds blended across the seam of a looping effect; 0: not a loop.
    float loopCrossfade = 0;
    uint32_t seed = 1;
    float reverbMix = 0;
    float reverbSize = 0.5f;
    std::vector<VOICE> voices;
};

// The highest peak any rendered sound may reach, in dBFS.
const float peakCeilingDb = -1;

// Reads an effect source. Returns 1, or 0 with "line N: reason" in `error`.
int readEffect(const char* path, EFFECT& effect, std::string& error);

// The effect's samples at sampleRate, in -1..1.
std::vector<float> renderEffect(const EFFECT& effect);
