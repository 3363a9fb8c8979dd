// Cost of one whole frame of the running game (input, update, draw,
// present) on a 480 x 270 screen with the lighting worker running as in the
// game, in metro2 and in the largest room; and of one change of room (load,
// compile, first published lighting pass). Frames report their median and
// 95th percentile in milliseconds.
#include "assets/Typo.h"
#include "level/Level.h"
#include "player/Player.h"
#include "render/Screen.h"
#include "world/World.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

const int scale = 4;

// The game's display, screen and world, in the game directory.
struct Game {
    Game()
    {
        if (chdir(GLOAMER_GAME_DIR) != 0 || SDL_Init(SDL_INIT_VIDEO) != 0)
            return;
        display = SDL_SetVideoMode(480 * scale, 270 * scale, 32, SDL_DOUBLEBUF);
        typo.load("typo.dat");
        world.loadContent();
        world.setFps(30.0f);
        world.initLayer(&screen);
        world.pacing = false;
    }
    ~Game()
    {
        world.stopLighting();
        SDL_Quit();
    }

    // One frame as the game's frame runs it, without the wait for the clock.
    void frame(int* keys)
    {
        world.input2(keys, &typo, &screen);
        world.update(&screen);
        screen.clear(int(0xFF000000u));
        world.draw(&screen);
        screen.draw(display);
        screen.flip(display);
    }

    SDL_Surface* display = nullptr;
    Screen screen{480, 270, scale};
    Typo typo;
    World world;
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Median and 95th percentile of the clock and processor times per
// iteration; `cpu` names the processor counters.
void reportTimes(benchmark::State& state, const std::vector<double>& times, const std::vector<double>& processorTimes,
                 const std::string& cpu)
{
    state.counters["median_ms"] = percentile(times, 0.5);
    state.counters["p95_ms"] = percentile(times, 0.95);
    state.counters[cpu + "_median_ms"] = percentile(processorTimes, 0.5);
    state.counters[cpu + "_p95_ms"] = percentile(processorTimes, 0.95);
}

// Milliseconds of processor time the calling thread has used (or, with
// CLOCK_PROCESS_CPUTIME_ID, all threads of the program).
double processorMilliseconds(clockid_t clock = CLOCK_THREAD_CPUTIME_ID)
{
    timespec t;
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The player walks to and fro through the room while the frames are timed:
// on the clock, and in the main thread's processor time, which a machine
// busy with other work inflates far less.
void wholeFrame(benchmark::State& state, const char* room, int x, int y)
{
    Game game;
    game.world.startAt(room, x, y, &game.typo, &game.screen);
    int keys[512] = {};
    std::vector<double> times, processorTimes;
    int n = 0;
    for (auto _ : state) {
        keys[SDLK_RIGHT] = (n / 60) % 2 == 0;
        keys[SDLK_LEFT] = !keys[SDLK_RIGHT];
        n++;
        auto start = std::chrono::steady_clock::now();
        double processorStart = processorMilliseconds();
        game.frame(keys);
        processorTimes.push_back(processorMilliseconds() - processorStart);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    reportTimes(state, times, processorTimes, "cpu");
}

void BM_FrameMetro2(benchmark::State& state)
{
    wholeFrame(state, "metro2.lvl", 165, 34);
}
BENCHMARK(BM_FrameMetro2)->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_FrameEntrance(benchmark::State& state)
{
    wholeFrame(state, "entrance.lvl", 40, 120);
}
BENCHMARK(BM_FrameEntrance)->Iterations(300)->Unit(benchmark::kMillisecond);

// The hub is larger than the screen: the camera follows the player, and a
// scrolled frame changes most of its pixels.
void BM_FrameHubScrolling(benchmark::State& state)
{
    wholeFrame(state, "hub_metro.lvl", 542, 361);
}
BENCHMARK(BM_FrameHubScrolling)->Iterations(300)->Unit(benchmark::kMillisecond);

// Through metro2's door into metro3 and back, alternately. The game thread
// waits while the worker lights the new room, so on a quiet machine a
// change takes about the processor time of both, which a busy machine
// inflates far less than the clock.
void BM_LevelChange(benchmark::State& state)
{
    Game game;
    game.world.startAt("metro2.lvl", 448, 42, &game.typo, &game.screen);
    std::vector<double> times, processorTimes;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        double processorStart = processorMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
        game.world.nextLevel(game.world.level->doors.back(), &game.typo, &game.screen);
        processorTimes.push_back(processorMilliseconds(CLOCK_PROCESS_CPUTIME_ID) - processorStart);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    reportTimes(state, times, processorTimes, "process_cpu");
}
BENCHMARK(BM_LevelChange)->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
