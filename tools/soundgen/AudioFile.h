#pragma once

#include <cstdint>
#include <vector>

// The files the game reads its sounds from, mono at sampleRate. Writers go
// through a temporary file renamed over the target and return 1 or 0.

// A 16-bit PCM WAV file.
int writeWav(const char* path, const std::vector<int16_t>& pcm);
// Reads a 16-bit PCM mono WAV file into -1..1.
int readWav(const char* path, std::vector<float>& samples);

// An MP3 file encoded by LAME at a constant bit rate, with no tag frames
// (a player's first frame is the music itself).
int writeMp3(const char* path, const std::vector<int16_t>& pcm, int kilobitsPerSecond);
// Decodes an MP3 file (first channel) into -1..1.
int readMp3(const char* path, std::vector<float>& samples);
