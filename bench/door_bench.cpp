// A door late in a game: the player remembers 0, 47 (87 MB, what a whole
// playthrough leaves) or 85 rooms (157 MB, every room of the game), and
// goes through metro2's door into metro3 and back, the slot written at
// every door as in the game. Reports the door's time on the game's thread
// (median and 95th percentile, in ms), the continue from that slot, and the
// peak resident memory of the process.
//
// Then the ending9 playthrough as the program plays it (--fast, from the
// menu): the slowest frame that changed room and the room it entered, the
// most processor time such a frame took on all threads and on the game's
// thread, and the number of such frames, with each slot waited for a few
// frames after its door as --fast does (1) or never, as in a person's
// game (0).
#include "RememberedRooms.h"
#include "app/Frame.h"
#include "app/RunOptions.h"
#include "assets/Typo.h"
#include "level/Level.h"
#include "platform/GameFolders.h"
#include "player/Player.h"
#include "render/Screen.h"
#include "save/SaveState.h"
#include "world/World.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
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

// The frames a composed playthrough plays, from its "# frames N" header.
long playthroughFrames(const char* path)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line) && line.compare(0, 1, "#") == 0)
        if (line.compare(0, 9, "# frames ") == 0)
            return std::stol(line.substr(9));
    return 0;
}

// The processor time the calling thread has used, in ms.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

struct ROOM_FRAMES {
    std::chrono::steady_clock::time_point frameStart;
    std::clock_t cpuStart;
    double gameCpuStart;
    std::string room;
    // The time of each frame that changed room, the processor time all
    // threads spent in it (less dependent on what else the machine runs)
    // and the part of it the game's thread spent.
    std::vector<double> changes;
    std::vector<double> cpu;
    std::vector<double> gameCpu;
    // The room entered by the slowest of them.
    std::string slowestRoom;
} roomFrames;

// Called after every frame of the run: times it, and keeps its times when
// the player is in another room than after the frame before.
void timeRoomChange(int)
{
    double ms = since(roomFrames.frameStart);
    double cpuMs = double(std::clock() - roomFrames.cpuStart) * 1000.0 / CLOCKS_PER_SEC;
    std::string room = world.level ? world.level->getName() : "";
    if (room != roomFrames.room && !roomFrames.room.empty() && !room.empty()) {
        if (roomFrames.changes.empty() || ms > percentile(roomFrames.changes, 1.0))
            roomFrames.slowestRoom = room;
        roomFrames.changes.push_back(ms);
        roomFrames.cpu.push_back(cpuMs);
        roomFrames.gameCpu.push_back(threadCpuMs() - roomFrames.gameCpuStart);
    }
    roomFrames.room = room;
    roomFrames.frameStart = std::chrono::steady_clock::now();
    roomFrames.cpuStart = std::clock();
    roomFrames.gameCpuStart = threadCpuMs();
}

void BM_PlaythroughDoors(benchmark::State& state)
{
    const std::string replay = std::string(GLOAMER_SOURCE_DIR) + "/content/playthrough/ending9.replay";
    const std::string player = "/tmp/gloamer_door_bench_player";
    std::filesystem::create_directories(player + "/Save");
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (chdir(GLOAMER_GAME_DIR) != 0)
        return;
    setPlayerFolder(player);
    RUN_OPTIONS options;
    options.fast = true;
    options.fastWaitsForSlots = state.range(0) != 0;
    options.frames = playthroughFrames(replay.c_str());
    std::snprintf(options.replay, sizeof options.replay, "%s", replay.c_str());
    for (auto _ : state) {
        std::filesystem::remove(player + "/Save/slot0.sav");
        roomFrames = ROOM_FRAMES{std::chrono::steady_clock::now(), std::clock(), threadCpuMs(), "", {}, {}, {}, ""};
        if (startUp(true) == 0)
            runGame(options, timeRoomChange);
        shutDown();
    }
    std::filesystem::remove_all(player);
    if (roomFrames.changes.empty())
        return;
    state.counters["room_changes"] = double(roomFrames.changes.size());
    state.counters["slowest_ms"] = percentile(roomFrames.changes, 1.0);
    state.counters["median_ms"] = percentile(roomFrames.changes, 0.5);
    state.counters["slowest_cpu_ms"] = percentile(roomFrames.cpu, 1.0);
    state.counters["slowest_game_cpu_ms"] = percentile(roomFrames.gameCpu, 1.0);
    state.counters["median_game_cpu_ms"] = percentile(roomFrames.gameCpu, 0.5);
    state.SetLabel("slowest into " + roomFrames.slowestRoom);
}
BENCHMARK(BM_PlaythroughDoors)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
