#pragma once

#include <thread>

// A worker thread running `function(argument)`. The handle is joined when the
// thread is joined or the object is destroyed, so no thread outlives it.
class Thread {
public:
    using Function = int (*)(void*);

    Thread() = default;
    ~Thread() { join(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts the thread; a thread still running from an earlier start is joined first.
    void start(Function function, void* argument);
    // Waits until the thread has returned; does nothing when none runs.
    void join();
    bool running() const { return worker.joinable(); }

private:
    std::thread worker;
};
