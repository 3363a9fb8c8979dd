#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The files the game reads its sounds from, mono at sampleRate. Writers go
// through a temporary file renamed over the target and return 1 or 0.

// A 16-bit PCM WAV file.
int writeWav(const char* path, const std::vector<int16_t>& pcm);
// Reads a 16-bit PCM mono WAV file into -1..1.
int readWav(const char* path, std::vector<float>& samples);

// The length nearest to `length` that a looping MP3 should have: whole
// frames of 1152 samples. LAME pads the end to whole frames, with at least
// one granule (576) past its own delay of 576; a decoder that ignores the
// gap information (the mixer's) plays that delay and its own (529) before
// the first sample. A track of whole frames comes back exactly one frame
// longer: 1105 samples before it and 47 after, 26 ms at each loop.
size_t mp3LoopLength(size_t length);

// An MP3 file encoded by LAME at a constant bit rate, with no tag frames
// (a player's first frame is the music itself).
int writeMp3(const char* path, const std::vector<int16_t>& pcm, int kilobitsPerSecond);
// Decodes an MP3 file (first channel) into -1..1.
int readMp3(const char* path, std::vector<float>& samples);
