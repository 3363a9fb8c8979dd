#pragma once

#include <cstdint>

// A small seeded generator (xorshift32) so every build draws the same
// pictures: the art must not depend on the C library's rand().
class Rng {
public:
    explicit Rng(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}

    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // A whole number in lo..hi, both included.
    int range(int lo, int hi) { return lo + int(next() % uint32_t(hi - lo + 1)); }
    // A number in 0..1.
    float unit() { return float(next() % 10001u) / 10000.0f; }
    bool chance(float p) { return unit() < p; }

private:
    uint32_t state;
};

// A hash of a lattice point to 0..1, the same on every build.
inline float latticeHash(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFu) / 65535.0f;
}

// Smooth value noise in 0..1 with cells of `cell` pixels that repeats every
// `period` pixels on both axes, so textures tile without seams.
inline float tiledNoise(int x, int y, int cell, int period, uint32_t seed)
{
    int n = period / cell;
    float fx = float(x) / cell, fy = float(y) / cell;
    int x0 = int(fx), y0 = int(fy);
    float tx = fx - x0, ty = fy - y0;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) { return latticeHash(((i % n) + n) % n, ((j % n) + n) % n, seed); };
    float a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * tx;
    float b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * tx;
    return a + (b - a) * ty;
}
