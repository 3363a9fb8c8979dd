#include "level/LightingWorker.h"

#include "level/Level.h"

#include <chrono>
#include <thread>

namespace {

// Waits on the other thread without keeping a core busy.
void pauseBriefly()
{
    std::this_thread::sleep_for(std::chrono::microseconds(100));
}

// The game shows one picture a frame, so a pass more often than that is
// never seen: the worker rests until a frame's time has passed since its
// last pass began, which leaves the core idle in a room where the pass is
// quick.
const std::chrono::milliseconds passPeriod(33);

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
}

void LightingWorker::run()
{
    while (level) {
        int control = close.load();
        if (control != LightingRun && control != LightingPaused)
            break;
        auto began = std::chrono::steady_clock::now();
        level->computeLighting(x.load(), y.load(), w.load(), h.load(), lightingMargin, scratch);
        passCount.fetch_add(1);
        restUntil(began + passPeriod);
        if (close.load() == LightingPaused) {
            pausing.store(true);
            while (close.load() == LightingPaused)
                pauseBriefly();
            pausing.store(false);
        }
    }
    close.store(LightingStopped);
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

void LightingWorker::restUntil(std::chrono::steady_clock::time_point next)
{
    std::unique_lock<std::mutex> hold(restLock);
    restEnd.wait_until(hold, next, [this] { return close.load() != LightingRun; });
}

LightingWorker& lightingWorker()
{
    static LightingWorker* worker = new LightingWorker;
    return *worker;
}
