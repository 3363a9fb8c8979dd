// A long run of the real game with random keys: 100,000 frames (or the
// number given) of held arrows, jumps, crawls and the action key, through
// the same key path as a replay, under --fast with the lighting on its
// worker thread, as in a normal game. It walks through doors
// across the rooms (put on a door now and then), and prints the resident memory every 10,000 frames so
// that a leak shows as a growing column. Run from anywhere:
//   soak [FRAMES] [SEED] [GAME_DIR]
#include "app/Frame.h"

#include "base/BoundedString.h"
#include "app/RunOptions.h"
#include "level/Level.h"
#include "player/Player.h"
#include "world/World.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <unistd.h>

namespace {

const int reportEvery = 10000;

long residentKilobytes()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1)
            break;
    std::fclose(f);
    return kb;
}

int threadCount()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    int threads = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "Threads: %d", &threads) == 1)
            break;
    std::fclose(f);
    return threads;
}

std::set<std::string> roomsSeen;
int roomChanges = 0;
std::string lastRoom;

// Random walks rarely solve a room, so now and then the player is put on
// one of the room's doors; the next action key of the walk takes it.
const int doorEvery = 1000;
std::mt19937 doorChoice(7);

void standOnADoor()
{
    if (!world.level || !world.player || world.level->doors.empty())
        return;
    const DOOR* door = world.level->doors[doorChoice() % world.level->doors.size()];
    world.player->state.x = door->x;
    world.player->state.y = door->y;
}

void report(int frame)
{
    if (frame % doorEvery == 0)
        standOnADoor();
    if (world.level && lastRoom != world.level->getName()) {
        lastRoom = world.level->getName();
        roomsSeen.insert(lastRoom);
        roomChanges++;
    }
    if (frame % reportEvery == 0)
        std::printf("%8d frames  %8ld kB resident  %d threads  %d rooms entered, %zu different\n", frame,
                    residentKilobytes(), threadCount(), roomChanges, roomsSeen.size());
    std::fflush(stdout);
}

// Key presses a player might make: long walks both ways with jumps and the
// action key now and then (so that the doors the walks pass are taken),
// crawls, ladders and the run switch.
void writeRandomKeys(const char* path, long frames, unsigned seed)
{
    std::FILE* out = std::fopen(path, "w");
    if (!out)
        return;
    std::mt19937 rng(seed);
    const char* moves[] = {"left", "right", "right", "up", "down", "space", "a", "right"};
    for (long frame = 10; frame < frames;) {
        const char* key = moves[rng() % 8];
        bool walk = std::strcmp(key, "left") == 0 || std::strcmp(key, "right") == 0;
        long hold = walk ? 20 + rng() % 200 : 2 + rng() % 30;
        std::fprintf(out, "%ld down %s\n", frame, key);
        for (long t = frame + 3; walk && t + 2 < frame + hold; t += 6 + rng() % 12) {
            const char* tap = rng() % 4 ? "e" : "space";
            std::fprintf(out, "%ld down %s\n%ld up %s\n", t, tap, t + 1 + rng() % 8, tap);
        }
        std::fprintf(out, "%ld up %s\n", frame + hold, key);
        frame += hold + 1 + rng() % 5;
    }
    std::fclose(out);
}

} // namespace

int main(int argc, char** argv)
{
    long frames = argc > 1 ? std::atol(argv[1]) : 100000;
    unsigned seed = argc > 2 ? unsigned(std::atol(argv[2])) : 1;
    const char* gameDir = argc > 3 ? argv[3] : GLOAMER_GAME_DIR;
    std::string keys = "/tmp/gloamer_soak_keys_" + std::to_string(getpid()) + ".txt";
    writeRandomKeys(keys.c_str(), frames, seed);

    RUN_OPTIONS options;
    options.fast = true;
    options.fastKeepsWorker = true;
    options.frames = frames;
    options.start = true;
    boundedCopy(options.startLevel, sizeof options.startLevel, "metro2.lvl");
    options.startX = 165;
    options.startY = 34;
    std::snprintf(options.replay, sizeof options.replay, "%s", keys.c_str());
    if (chdir(gameDir) != 0) {
        std::fprintf(stderr, "soak: no game directory %s\n", gameDir);
        return 1;
    }
    report(0);
    int failure = startUp(true);
    if (failure)
        return failure;
    int code = runGame(options, report);
    shutDown();
    std::remove(keys.c_str());
    std::printf("done: %d threads at the end\n", threadCount());
    return code;
}
