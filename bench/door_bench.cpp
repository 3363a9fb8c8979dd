// A door late in a game: the player remembers 0, 47 (87 MB, what a whole
// playthrough leaves) or 85 rooms (157 MB, every room of the game), and
// goes through metro2's door into metro3 and back, the slot written at
// every door as in the game. Reports the door's time on the game's thread
// (median and 95th percentile, in ms), the continue from that slot, and the
// peak resident memory of the process.
#include "RememberedRooms.h"
#include "assets/Typo.h"
#include "level/Level.h"
#include "player/Player.h"
#include "render/Screen.h"
#include "save/SaveState.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

char slot[] = "/tmp/gloamer_door_bench.sav";

double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// The process's peak resident memory, in MB.
double peakResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "VmHWM:") == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

void BM_Door(benchmark::State& state)
{
    if (chdir(GLOAMER_GAME_DIR) != 0)
        return;
    Screen screen{480, 270, 1};
    Typo typo;
    typo.load("typo.dat");
    {
        World world;
        world.loadContent();
        world.initLayer(&screen);
        world.pacing = false;
        world.startAt("metro2.lvl", 448, 42, &typo, &screen);
        world.player->restoreMemoriesAndObjects(rememberedRooms(int(state.range(0))));
        std::snprintf(world.slotFile, sizeof world.slotFile, "%s", slot);
        std::vector<double> doors;
        for (auto _ : state) {
            auto start = std::chrono::steady_clock::now();
            world.nextLevel(world.level->doors.back(), &typo, &screen);
            doors.push_back(since(start));
            // Doors are seconds apart in a game: the slot is written before the next.
            state.PauseTiming();
            world.slots.finish();
            state.ResumeTiming();
        }
        auto start = std::chrono::steady_clock::now();
        world.initContinue(&typo, &screen, slot);
        state.counters["continue_ms"] = since(start);
        state.counters["median_ms"] = percentile(doors, 0.5);
        state.counters["p95_ms"] = percentile(doors, 0.95);
        state.counters["peak_rss_mb"] = peakResidentMegabytes();
        world.stopLighting();
    }
    std::remove(slot);
    std::remove((std::string(slot) + ".bak").c_str());
}
BENCHMARK(BM_Door)->Arg(0)->Arg(47)->Arg(85)->Iterations(11)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
