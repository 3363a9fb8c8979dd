#include "level/LightingWorker.h"

#include "level/Level.h"

namespace {

// The thread function; `worker` is the LightingWorker it runs for.
int runWorker(void* worker)
{
    static_cast<LightingWorker*>(worker)->run();
    return 0;
}

} // namespace

void LightingWorker::start(Level* target)
{
    stop();
    level = target;
    // A new run may meet a level rebuilt where the last one was: its
    // buffers are filled anew.
    for (LIGHT_FILL& fill : scratch.fills)
        fill.source.level = nullptr;
    passWanted.store(true);
    close.store(LightingRun);
    scratch.control = &close;
    thread.start(runWorker, this);
}

void LightingWorker::stop()
{
    if (!thread.running())
        return;
    // Request the stop unless the worker has already reported it.
    int control = close.load();
    while (control != LightingStopped && !close.compare_exchange_weak(control, LightingStopRequested)) {
    }
    wakeWorker();
    thread.join();
    close.store(LightingStopped);
    level = nullptr;
}

void LightingWorker::release(const Level* gone)
{
    if (level == gone)
        stop();
}

void LightingWorker::setRegion(int rx, int ry, int rw, int rh)
{
    x.store(rx);
    y.store(ry);
    w.store(rw);
    h.store(rh);
    passWanted.store(true);
    wakeWorker();
}

void LightingWorker::run()
{
    while (level) {
        int control = close.load();
        if (control != LightingRun && control != LightingPaused)
            break;
        passWanted.store(false);
        level->computeLighting(x.load(), y.load(), w.load(), h.load(), lightingMargin, scratch);
        {
            std::lock_guard<std::mutex> hold(restLock);
            passCount.fetch_add(1);
            passEnd.notify_all();
        }
        restUntilWanted();
        if (close.load() == LightingPaused)
            sleepWhilePaused();
    }
    std::lock_guard<std::mutex> hold(restLock);
    close.store(LightingStopped);
    passEnd.notify_all();
}

void LightingWorker::waitForPassAfter(long long done)
{
    std::unique_lock<std::mutex> hold(restLock);
    passEnd.wait(hold, [&] { return passCount.load() > done || close.load() != LightingRun; });
}

void LightingWorker::setControl(int value)
{
    close.store(value);
    wakeWorker();
}

void LightingWorker::wakeWorker()
{
    // Taking the lock orders the change before the worker's next look at it.
    std::lock_guard<std::mutex> hold(restLock);
    restEnd.notify_all();
}

void LightingWorker::restUntilWanted()
{
    std::unique_lock<std::mutex> hold(restLock);
    restEnd.wait(hold, [this] { return passWanted.load() || close.load() != LightingRun; });
}

void LightingWorker::sleepWhilePaused()
{
    std::unique_lock<std::mutex> hold(restLock);
    pausing.store(true);
    restEnd.wait(hold, [this] { return close.load() != LightingPaused; });
    pausing.store(false);
}

LightingWorker& lightingWorker()
{
    static LightingWorker* worker = new LightingWorker;
    return *worker;
}
