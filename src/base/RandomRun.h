#pragma once

#include <cstdint>
#include <cstdlib>
#include <mutex>

// Draws the numbers std::rand() would return next, without a call and a
// lock per number: a run takes over the C library's generator when it
// starts and hands it back when it ends, advanced by as many draws as the
// run made. Baking a large room draws a number per pixel, so the picture
// and every number drawn after it stay as they were while the baking costs
// a fraction. One run at a time; std::rand() called on another thread
// during a run draws from a stand-in generator.
class RandomRun {
public:
    RandomRun();
    ~RandomRun();
    RandomRun(const RandomRun&) = delete;
    RandomRun& operator=(const RandomRun&) = delete;

    int next()
    {
        if (!table)
            return std::rand();
        // The C library's additive feedback generator of degree 31.
        std::uint32_t sum = std::uint32_t(table[front]) + std::uint32_t(table[rear]);
        table[front] = std::int32_t(sum);
        front = front + 1 == degree ? 0 : front + 1;
        rear = rear + 1 == degree ? 0 : rear + 1;
        return int(sum >> 1);
    }

private:
    static constexpr int degree = 31;
    std::unique_lock<std::mutex> hold;
    // The library's state as setstate() hands it over: a word telling the
    // generator's type and position, then its table; null where the library
    // has another generator, and the run calls std::rand() instead.
    char* saved = nullptr;
    std::int32_t* table = nullptr;
    int front = 0;
    int rear = 0;
};
