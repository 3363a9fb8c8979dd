// worldcheck: proves the world of a game directory against the map table.
//
//   worldcheck [--reach] [--budget NODES] GAME_DIR
//
// Every room of the map exists and loads with a grid of whole squares, each
// passage is a pair of doors on the facing sides, no door leads anywhere
// else (but into scene rooms), every room can be reached from the start and
// every locked door has its keys before it, and both endings can be reached.
// Each problem is printed as "ROOM: problem"; the exit status is 1 when there
// is any, 2 on a usage error.
//
// --reach also searches, with the game's player, a way between every two
// doors of each room (see roomreach) and prints "ROOM: warning: ..." for the
// pairs it finds none for within the budget. Warnings do not fail; the
// search is slow, so the data build does not ask for it.

#include "authoring/RoomReach.h"
#include "authoring/WorldCheck.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: worldcheck [--reach] [--budget NODES] GAME_DIR\n");
    return 2;
}

// Searches every ordered pair of doors of the room; returns the pairs without a way.
int reachDoors(const WORLD_ROOM& room, long budget)
{
    RoomReach reach;
    if (budget > 0)
        reach.maxNodes = budget;
    if (!reach.load(".", (room.stem + ".lvl").c_str())) {
        std::printf("%s: warning: %s\n", room.stem.c_str(), reach.error);
        return 1;
    }
    int missing = 0;
    for (const WORLD_DOOR& from : room.doors)
        for (const WORLD_DOOR& to : room.doors) {
            if (&from == &to)
                continue;
            int found = reach.search(from.name.c_str(), to.name.c_str());
            std::printf("%s: %s %s to %s (%ld states, %d frames)\n", room.stem.c_str(),
                        found > 0 ? "way" : "warning: no way found", from.name.c_str(), to.name.c_str(), reach.nodes,
                        found > 0 ? int(reach.script.size()) : reach.frames);
            std::fflush(stdout);
            missing += found <= 0;
        }
    return missing;
}

} // namespace

int main(int argc, char** argv)
{
    bool reach = false;
    long budget = 0;
    const char* game = nullptr;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--reach")
            reach = true;
        else if (arg == "--budget" && i + 1 < argc)
            budget = std::strtol(argv[++i], nullptr, 10);
        else if (!arg.empty() && arg[0] != '-' && !game)
            game = argv[i];
        else
            return usage();
    }
    if (!game)
        return usage();
    // Level files name their special pictures and doors from the game directory.
    if (chdir(game) != 0) {
        std::fprintf(stderr, "worldcheck: cannot enter %s\n", game);
        return 2;
    }
    WorldCheck world;
    int problems = world.run(".");
    for (const std::string& problem : world.problems)
        std::printf("%s\n", problem.c_str());
    int unreached = 0;
    if (reach)
        for (const WORLD_ROOM& room : world.rooms)
            if (room.loaded && room.doors.size() > 1)
                unreached += reachDoors(room, budget);
    std::printf("worldcheck: %d rooms, %d passages, %d problems%s\n", int(world.rooms.size()),
                int(world.passages.size()), problems,
                reach ? (", " + std::to_string(unreached) + " door pairs without a way found").c_str() : "");
    return problems ? 1 : 0;
}
