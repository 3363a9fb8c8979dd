#pragma once

#include "platform/Thread.h"
#include "save/SaveState.h"

#include <condition_variable>
#include <mutex>
#include <string>

// Writes slots on a thread of its own, so that going through a door never
// waits for the disk. The game hands over a snapshot of its state; one
// handed over while an older one still waits replaces it, so the newest
// state is the one that reaches the disk. Whatever reads a slot, or ends
// the game, first waits with finish().
class SlotWriter {
public:
    SlotWriter() = default;
    // Writes what is still waiting, then stops the thread.
    ~SlotWriter();
    SlotWriter(const SlotWriter&) = delete;
    SlotWriter& operator=(const SlotWriter&) = delete;

    // Queues `state` for the slot at `path`, stored under `level` when one
    // is given (writeSlot's arguments).
    void store(const char* path, SAVE_STATE&& state, const char* level = nullptr);
    // Waits until every snapshot handed over is on the disk or refused.
    void finish();
    // The same for at most `milliseconds`; whether the writer is done.
    bool finishWithin(int milliseconds);
    // Whether a snapshot waits or is being written.
    bool busy();
    // Why the latest failed write failed, once; empty when none failed since.
    std::string takeFailure();

private:
    static int run(void* writer);
    void writeWhatWaits();

    Thread thread;
    std::mutex lock;
    std::condition_variable changed;
    // The snapshot waiting, its slot and level.
    bool waiting = false;
    std::string path;
    std::string level;
    bool withLevel = false;
    SAVE_STATE state;
    bool writing = false;
    bool stopping = false;
    std::string failure;
};
