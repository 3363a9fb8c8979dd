#pragma once

#include "Voice.h"

#include <string>
#include <vector>

// A piece of music described by rules rather than notes: a tempo, a scale,
// a cycle of chords one bar each, instruments (voices without time and
// pitch) and parts that play an instrument in a role over a range of bars.
// The seed drives the parts' choices, so a track renders the same each time.
enum ROLE { ROLE_ROOT, ROLE_CHORD, ROLE_ARPEGGIO, ROLE_MELODY, ROLE_BEAT };

struct CHORD {
    // Semitones above C of the root, and of each tone above the root.
    int root;
    std::vector<int> tones;
};

struct PART {
    std::string name;
    int instrument = 0;
    ROLE role = ROLE_ROOT;
    int octave = 3;
    // Beats between the part's steps, and how long each note is held (0: a step).
    float every = 4;
    float hold = 0;
    // Chance that a step plays.
    float density = 1;
    // First and last bar played, counted from 1.
    int fromBar = 1;
    int toBar = 1000000;
    float gainDb = 0;
    // One bar of a beat: 'x' a hit, 'o' a soft hit, '.' a rest.
    std::string pattern;
};

struct TRACK {
    float tempo = 60;
    int beatsPerBar = 4;
    int bars = 16;
    int scaleRoot = 9;
    std::vector<int> scale;
    std::vector<CHORD> chords;
    // A track played once fades in and ends with its tail; a looping one
    // lays its tail over its start, so the last bar rings on into the first.
    bool once = false;
    float fadeIn = 0;
    // Seconds after the last bar for notes and the room to die away.
    float tail = 4;
    uint32_t seed = 1;
    float loudnessDb = -24;
    float reverbMix = 0;
    float reverbSize = 0.5f;
    std::vector<VOICE> instruments;
    std::vector<PART> parts;
};

// The highest peak of a track, in dBFS: music stays below the effects.
const float musicCeilingDb = -4;

// Reads a music source. Returns 1, or 0 with "line N: reason" in `error`.
int readTrack(const char* path, TRACK& track, std::string& error);

// Every note the parts play, as voices placed in time.
std::vector<VOICE> composeTrack(const TRACK& track);

// The track's samples at sampleRate in -1..1. A track played once starts
// and ends in silence; a looping one runs from its last sample into its
// first without a gap.
std::vector<float> renderTrack(const TRACK& track);
