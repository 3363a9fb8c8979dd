#pragma once

#include "level/Light.h"
#include "platform/Thread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

class Level;
struct CellLight;

// A rectangle of map cells, x0 <= mx < x1 and y0 <= my < y1.
struct CELL_BOX {
    int x0;
    int y0;
    int x1;
    int y1;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
    bool operator==(const CELL_BOX& o) const { return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1; }
};

// What a light with shadows (omni, spot, directional) gives the cells of a
// box apart from its colour and intensity: per cell (column-major) the
// factor of its shadowed and of its unshadowed light, the latter negative
// where the light does not reach. It depends only on the light's geometry
// and on the depths its marches read, so a pass reuses it while both stay
// as they were.
struct LIGHT_SHADING {
    // What it was computed for: the light's position in map cells (for
    // directional light its direction), the box of cells it covers (the
    // square of an omni or spot light, the pass's region for directional
    // light), x0 <= mx < x1 and y0 <= my < y1, and the map.
    struct GEOMETRY {
        int type = -1;
        long long lightX = 0;
        long long lightY = 0;
        int radius = 0;
        bool attenuate = false;
        int aperture = 0;
        int direction = 0;
        int x0 = 0;
        int y0 = 0;
        int x1 = 0;
        int y1 = 0;
        int mapWidth = 0;
        int mapHeight = 0;
        int baseDepth = 0;
        bool operator==(const GEOMETRY& o) const
        {
            return type == o.type && lightX == o.lightX && lightY == o.lightY && radius == o.radius &&
                   attenuate == o.attenuate && aperture == o.aperture && direction == o.direction && x0 == o.x0 &&
                   y0 == o.y0 && x1 == o.x1 && y1 == o.y1 && mapWidth == o.mapWidth &&
                   mapHeight == o.mapHeight && baseDepth == o.baseDepth;
        }
    };
    GEOMETRY geometry;
    // The box of cells the marches read, and their depths then.
    int readX0 = 0;
    int readY0 = 0;
    int readX1 = 0;
    int readY1 = 0;
    std::vector<signed char> depths;
    // False until computed, and when the depths could not be kept.
    bool reusable = false;
    std::vector<float> lit;
    std::vector<float> unshadowed;
    // Claimed by a light of the current pass.
    bool claimed = false;
};

// What one light buffer was last filled from: the level and its map, the
// pass's region, the compact depths its shadows read, the self light of the
// region and the pass's lights. A pass into the same buffer whose depths
// and self light are as they were starts again only the records of the
// region that a changed light reaches: the others would come out the same.
struct LIGHT_FILL {
    // The level, buffer, map placement and boxes of a pass; a pass may keep
    // records only where all of them are as they were.
    struct SOURCE {
        const Level* level = nullptr;
        const CellLight* records = nullptr;
        int originX = 0;
        int originY = 0;
        int mapWidth = 0;
        int mapHeight = 0;
        int baseDepth = 0;
        CELL_BOX region{0, 0, 0, 0};
        // The box of `depths`.
        CELL_BOX box{0, 0, 0, 0};
        bool operator==(const SOURCE& o) const
        {
            return level == o.level && records == o.records && originX == o.originX && originY == o.originY &&
                   mapWidth == o.mapWidth && mapHeight == o.mapHeight && baseDepth == o.baseDepth &&
                   region == o.region && box == o.box;
        }
    };
    SOURCE source;
    // Whether every depth in the box fitted a byte.
    bool compact = false;
    // A compact copy of the depths the shadows read, column-major over box.
    std::vector<signed char> depths;
    // The incandescence of the region, column-major.
    std::vector<float> selfLight;
    std::vector<Light> lights;
};

// The memory one lighting pass works in besides the level map. A worker
// keeps it between passes so that each pass reuses the shadings and buffers
// of the earlier ones; the pass's own short lists of lights are made anew.
struct LIGHTING_SCRATCH {
    // Shadings of the lights of recent passes.
    std::vector<LIGHT_SHADING> shadings;
    // Per light buffer, what it was filled from.
    LIGHT_FILL fills[2];
    // Per column of the pass's region, the rows whose records are started anew.
    std::vector<CELL_BOX> freshRows;
    // Directional shadow depths of the pass's region.
    std::vector<short> directionalResults;
    // Counts of the rock in the square an omni or spot light's marches read.
    std::vector<int> rockCounts;
    // The control value of the worker running the pass, which a stop request
    // ends early; null for a pass on the main thread, which always finishes.
    const std::atomic<int>* control = nullptr;
};

// How far beyond the screen, in pixels on each side, a pass lights the room.
const int lightingMargin = 30;

// The lighting thread's control value (LightingWorker::control, setControl).
enum LightingControl { LightingRun = 0, LightingStopRequested = 1, LightingStopped = 2, LightingPaused = 3 };

// The lighting thread and what it owns: the level it lights, the region and
// control value the main thread sets, its pass counter and its scratch
// memory. A level stops the worker that runs on it before it is deleted.
class LightingWorker {
public:
    LightingWorker() = default;
    ~LightingWorker() { stop(); }
    LightingWorker(const LightingWorker&) = delete;
    LightingWorker& operator=(const LightingWorker&) = delete;

    // Starts the thread on `level`, stopping a running one first.
    void start(Level* level);
    // Requests the stop, waits until it is reported and joins the thread;
    // does nothing when no thread runs.
    void stop();
    // Stops the thread when it runs on `level`.
    void release(const Level* level);

    // The region of the next pass: camera offset and screen size. The game
    // sets it once a frame it advances, and each setting asks for one pass:
    // a game that does not advance (paused, or behind the menu) leaves the
    // worker asleep.
    void setRegion(int x, int y, int w, int h);
    // Sets the control value and wakes the worker from its rest to see it.
    void setControl(int value);
    int control() const { return close.load(); }
    // Passes completed since the worker was made.
    long long passes() const { return passCount.load(); }
    // Sleeps until more than `done` passes are completed or the worker
    // leaves run.
    void waitForPassAfter(long long done);
    // Waiting in its pause, its last pass published.
    bool paused() const { return pausing.load(); }

    // The thread's loop: a first pass, then one pass each time one is asked
    // for while the control value is run (paused, it sleeps), then reports
    // stopped.
    void run();

private:
    // Sleeps until a pass is asked for or the control value leaves run.
    void restUntilWanted();
    // Sleeps until the control value leaves pause.
    void sleepWhilePaused();
    void wakeWorker();

    Thread thread;
    // Set before the thread starts and cleared after it is joined.
    Level* level = nullptr;
    // Written by the main thread and read by the worker (the worker writes
    // `close` last, when it stops), so all of them are atomic.
    std::atomic<int> x{0};
    std::atomic<int> y{0};
    std::atomic<int> w{0};
    std::atomic<int> h{0};
    std::atomic<int> close{LightingStopped};
    std::atomic<long long> passCount{0};
    std::atomic<bool> pausing{false};
    std::atomic<bool> passWanted{false};
    // The worker rests on these between passes; a change of control wakes it.
    std::mutex restLock;
    std::condition_variable restEnd;
    // Signalled, under restLock, when a pass is completed or the worker stops.
    std::condition_variable passEnd;
    // Used by the thread only.
    LIGHTING_SCRATCH scratch;
};

// The program's lighting worker. It is never destroyed: a static destructor
// joining a worker still running at exit would wait on a level already gone.
LightingWorker& lightingWorker();
