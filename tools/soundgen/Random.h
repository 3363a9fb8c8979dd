#pragma once

#include <cstdint>

// A small seeded generator (xorshift32), so that every build renders the
// same sounds: nothing depends on the C library's rand().
class Random {
public:
    explicit Random(uint32_t seed) : state(seed ? seed : 0x9E3779B9u)
    {
        // Mix the seed so that neighbouring seeds start far apart.
        for (int i = 0; i < 4; i++)
            next();
    }

    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // A number in 0..1.
    float unit() { return float(next() >> 8) / float(1u << 24); }
    // A number in -1..1.
    float signedUnit() { return 2 * unit() - 1; }

private:
    uint32_t state;
};
