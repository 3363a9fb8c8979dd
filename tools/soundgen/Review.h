#pragma once

#include <string>

// Draws one picture to review sounds by eye: a row per file (WAV or MP3)
// with its name and figures, its waveform and its spectrogram on a
// logarithmic frequency scale. Labels use the game font at `fontPath`.
// Returns 1, or 0 with the reason in `error`.
int writeReview(const char* out, const char* fontPath, int count, char** files, std::string& error);
