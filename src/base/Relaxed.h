#pragma once

#include <atomic>

// A value that two threads read and write where the last write wins and no
// other memory depends on it (a map cell's depth or memory strength, shared
// by the lighting thread and the game). Every access is a relaxed atomic
// one: as cheap as a plain access, but never a data race. It reads and
// assigns like a plain T, and copying it copies the value.
template <typename T>
class Relaxed {
public:
    Relaxed() = default;
    explicit Relaxed(T v) : value(v) {}
    Relaxed(const Relaxed& other) : value(T(other)) {}
    Relaxed& operator=(const Relaxed& other)
    {
        value.store(T(other), std::memory_order_relaxed);
        return *this;
    }
    Relaxed& operator=(T v)
    {
        value.store(v, std::memory_order_relaxed);
        return *this;
    }
    operator T() const { return value.load(std::memory_order_relaxed); }

private:
    std::atomic<T> value;
};
