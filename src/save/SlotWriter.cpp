#include "save/SlotWriter.h"

#include "save/SlotFile.h"

#include <chrono>
#include <utility>

SlotWriter::~SlotWriter()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}

void SlotWriter::store(const char* slot, SAVE_STATE&& snapshot, const char* levelName)
{
    {
        std::lock_guard<std::mutex> guard(lock);
        path = slot;
        withLevel = levelName != nullptr;
        level = withLevel ? levelName : "";
        state = std::move(snapshot);
        waiting = true;
    }
    if (!thread.running())
        thread.start(run, this);
    changed.notify_all();
}

void SlotWriter::finish()
{
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [this] { return !waiting && !writing; });
}

bool SlotWriter::finishWithin(int milliseconds)
{
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return !waiting && !writing; });
}

bool SlotWriter::busy()
{
    std::lock_guard<std::mutex> guard(lock);
    return waiting || writing;
}

std::string SlotWriter::takeFailure()
{
    std::lock_guard<std::mutex> guard(lock);
    return std::exchange(failure, std::string());
}

int SlotWriter::run(void* writer)
{
    static_cast<SlotWriter*>(writer)->writeWhatWaits();
    return 0;
}

void SlotWriter::writeWhatWaits()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [this] { return waiting || stopping; });
        if (!waiting)
            return;
        SAVE_STATE snapshot = std::move(state);
        std::string slot = path, levelName = level;
        bool named = withLevel;
        waiting = false;
        writing = true;
        guard.unlock();
        std::string why;
        bool written = writeSlot(slot.c_str(), snapshot, named ? levelName.c_str() : nullptr, SlotBackup::use, &why);
        snapshot = SAVE_STATE();
        guard.lock();
        writing = false;
        if (!written)
            failure = why;
        changed.notify_all();
    }
}
