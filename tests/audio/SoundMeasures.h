#pragma once

// Measures of mono sounds at 44.1 kHz in -1..1, for the tests of the sound
// generator and of the game's sounds.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace measures {

const int rate = 44100;

inline size_t ms(int milliseconds)
{
    return size_t(rate) * size_t(milliseconds) / 1000;
}

inline double seconds(const std::vector<float>& s)
{
    return double(s.size()) / rate;
}

inline float db(double level)
{
    return float(20 * std::log10(std::max(level, 1e-9)));
}

inline float peakDb(const std::vector<float>& s, size_t from = 0, size_t to = SIZE_MAX)
{
    float peak = 0;
    for (size_t i = from; i < std::min(to, s.size()); i++)
        peak = std::max(peak, std::fabs(s[i]));
    return db(peak);
}

inline double meanSquare(const std::vector<float>& s, size_t from, size_t to)
{
    double sum = 0;
    to = std::min(to, s.size());
    for (size_t i = from; i < to; i++)
        sum += double(s[i]) * s[i];
    return to > from ? sum / double(to - from) : 0;
}

inline float rmsDb(const std::vector<float>& s, size_t from = 0, size_t to = SIZE_MAX)
{
    return db(std::sqrt(meanSquare(s, from, to)));
}

// The RMS of the loudest 50 ms, in dBFS.
inline float loudnessDb(const std::vector<float>& s)
{
    size_t window = rate / 20;
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < s.size(); i++) {
        sum += double(s[i]) * s[i];
        if (i >= window)
            sum -= double(s[i - window]) * s[i - window];
        loudest = std::max(loudest, sum);
    }
    return db(std::sqrt(loudest / double(std::min(window, s.size()))));
}

inline double meanStep(const std::vector<float>& s)
{
    double sum = 0;
    for (size_t i = 1; i < s.size(); i++)
        sum += std::fabs(s[i] - s[i - 1]);
    return sum / double(s.size() - 1);
}

} // namespace measures
