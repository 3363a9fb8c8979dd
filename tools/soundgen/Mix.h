#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Whole-buffer steps shared by effects and music.

// A small room: four damped feedback combs and two allpasses (the classic
// Schroeder design). `size` 0..1 sets how long it rings; `mix` how much of
// it is heard beside the dry sound.
void addReverb(std::vector<float>& samples, float mix, float size);

// Makes a loop of `length` samples from a longer rendering: its first
// `crossfade` samples are blended with what was rendered past the end, so
// the last sample runs on into the first without a step.
void foldLoop(std::vector<float>& samples, size_t length, size_t crossfade);

// Makes a loop of `length` samples by adding what was rendered past the
// end onto the start: notes ringing past the end sound again under the
// first samples, as when the piece goes round without a break.
void foldTail(std::vector<float>& samples, size_t length);

// Fades the first and last `count` samples in and out.
void fadeEdges(std::vector<float>& samples, size_t fadeIn, size_t fadeOut);

// Loudness in dBFS: the RMS of the loudest 50 ms window, or over the whole
// buffer when `whole` is set.
float loudnessDb(const std::vector<float>& samples, bool whole);
float peakDb(const std::vector<float>& samples);

// Scales the buffer to the loudness, then down again if its peak would pass
// the ceiling. Returns the loudness reached.
float normalize(std::vector<float>& samples, float targetDb, float ceilingDb, bool whole);

// 16-bit samples, rounded and clamped.
std::vector<int16_t> toPcm(const std::vector<float>& samples);
