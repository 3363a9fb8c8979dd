// worldcheck: proves the world of a game directory against the map table.
//
//   worldcheck [--reach] [--ways CACHE] [--budget NODES] GAME_DIR
//
// Every room of the map exists and loads with a grid of whole squares, each
// passage is a pair of doors on the facing sides, no door leads anywhere
// else (but into scene rooms), every room can be reached from the start and
// every locked door has its keys before it, and both endings can be reached.
// Each problem is printed as "ROOM: problem"; the exit status is 1 when there
// is any, 2 on a usage error.
//
// --ways CACHE searches, with the game's player (see roomreach), a way
// through every room on the story's paths: from where the player arrives to
// the door he must take next, on the shortest door paths from the start to
// every key, locked door and ending. A room without such a way within the
// budget is a problem, unless switches work electric boxes there: the
// search does not press the action key, so it only notes those. Scene
// triggers are walked through as if they were not there. It also searches
// every place the player's body reaches from each room's doors, and each
// room where it reaches a cell with no wall behind it (off the room's map
// or where nothing was painted, which his lamp cannot light) is a problem.
// Results are kept in the file CACHE, keyed on the room's level file and
// rock, the character sheet and this program, so that a later run searches
// only what changed.
//
// --reach also searches a way between every two doors of each room and
// prints "ROOM: warning: ..." for the pairs it finds none for within the
// budget. Warnings do not fail.

#include "authoring/BackWalls.h"
#include "authoring/RoomReach.h"
#include "authoring/WorldCheck.h"
#include "base/ReplacingFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: worldcheck [--reach] [--ways CACHE] [--budget NODES] GAME_DIR\n");
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

uint64_t hashed(uint64_t hash, const std::string& bytes)
{
    for (unsigned char b : bytes)
        hash = (hash ^ b) * 0x100000001B3ull;
    return hash;
}

std::string fileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Found (1) or not (0) by way key, as the cache file keeps them: one line
// "KEY found" or "KEY none" each.
std::map<std::string, int> readCache(const char* path)
{
    std::map<std::string, int> known;
    std::ifstream in(path);
    std::string key, result;
    while (in >> key >> result)
        known[key] = result == "found";
    return known;
}

void writeCache(const char* path, const std::map<std::string, int>& known)
{
    ReplacingFile file(path, "w");
    if (!file.out)
        return;
    bool written = true;
    for (const auto& way : known)
        written = std::fprintf(file.out, "%s %s\n", way.first.c_str(), way.second ? "found" : "none") > 0 && written;
    file.commit(written);
}

// What the searches' results depend on besides the room: this program and
// the character sheet.
uint64_t programHash()
{
    return hashed(hashed(0xCBF29CE484222325ull, fileBytes("/proc/self/exe")), fileBytes("character.dat"));
}

std::string cacheKey(uint64_t program, const WORLD_ROOM& room, const std::string& what)
{
    char key[17];
    std::snprintf(key, sizeof key, "%016llx", (unsigned long long)hashed(program ^ room.fingerprint, what));
    return key;
}

// Searches every place the player reaches from the doors of each room,
// through the cache (a room without a bare cell is "found"); prints and
// counts the rooms where his body reaches cells without a back wall.
int checkBackWalls(const WorldCheck& world, std::map<std::string, int>* known, long budget)
{
    const uint64_t program = programHash();
    int bareRooms = 0;
    for (const WORLD_ROOM& room : world.rooms) {
        std::string key = cacheKey(program, room, "back walls");
        if (!room.loaded || (known->count(key) && (*known)[key]))
            continue;
        RoomReach reach;
        if (budget > 0)
            reach.maxNodes = budget;
        std::vector<std::string> doors;
        for (const WORLD_DOOR& door : room.doors)
            doors.push_back(door.name);
        BackWalls walls;
        if (!reach.load(".", (room.stem + ".lvl").c_str()) || walls.check(&reach, doors) < 0)
            continue;
        (*known)[key] = walls.bare.empty();
        if (!walls.complete)
            std::printf("worldcheck: %s: the search of every place reached ran out of its budget\n", room.stem.c_str());
        if (walls.bare.empty())
            continue;
        std::string cells;
        for (const auto& c : walls.bare)
            cells += " (" + std::to_string(c.first * BackWalls::cell) + ", " + std::to_string(c.second * BackWalls::cell) + ")";
        std::printf("%s: the player reaches %d cells with no wall behind them, at%s\n", room.stem.c_str(),
                    int(walls.bare.size()), cells.c_str());
        bareRooms++;
    }
    return bareRooms;
}

// Searches the story's ways, through the cache; reports the rooms without one.
int checkWays(WorldCheck* world, std::map<std::string, int>* cached, long budget)
{
    std::map<std::string, int>& known = *cached;
    const uint64_t program = programHash();
    int missing = 0, searched = 0;
    RoomReach reach;
    if (budget > 0)
        reach.maxNodes = budget;
    int loaded = -1;
    for (const STORY_WAY& way : world->storyWays()) {
        const WORLD_ROOM& room = world->rooms[way.room];
        std::string key = cacheKey(program, room, way.from + " " + way.to);
        if (!known.count(key)) {
            if (loaded != way.room && !reach.load(".", (room.stem + ".lvl").c_str()))
                continue;
            loaded = way.room;
            known[key] = reach.search(way.from.c_str(), way.to.c_str()) > 0;
            searched++;
        }
        if (known[key])
            continue;
        // The search holds movement keys only: a way that needs switches
        // worked is the room's puzzle, not a fault.
        if (room.switches) {
            std::printf("worldcheck: %s: no way found from %s to the door %s without working its switches\n",
                        room.stem.c_str(), way.from.c_str(), way.to.c_str());
            continue;
        }
        std::printf("%s: no way found from %s to the door %s within the budget\n", room.stem.c_str(), way.from.c_str(),
                    way.to.c_str());
        missing++;
    }
    std::printf("worldcheck: %d ways the story needs, %d searched, %d without a way\n", int(world->storyWays().size()),
                searched, missing);
    return missing;
}

} // namespace

int main(int argc, char** argv)
{
    bool reach = false;
    const char* cache = nullptr;
    long budget = 0;
    const char* game = nullptr;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--reach")
            reach = true;
        else if (arg == "--ways" && i + 1 < argc)
            cache = argv[++i];
        else if (arg == "--budget" && i + 1 < argc)
            budget = std::strtol(argv[++i], nullptr, 10);
        else if (!arg.empty() && arg[0] != '-' && !game)
            game = argv[i];
        else
            return usage();
    }
    if (!game)
        return usage();
    std::string cachePath = cache ? cache : "";
    char here[4096];
    if (cache && cache[0] != '/' && getcwd(here, sizeof here))
        cachePath = std::string(here) + "/" + cache;
    // Level files name their special pictures and doors from the game directory.
    if (chdir(game) != 0) {
        std::fprintf(stderr, "worldcheck: cannot enter %s\n", game);
        return 2;
    }
    WorldCheck world;
    int problems = world.run(".");
    for (const std::string& problem : world.problems)
        std::printf("%s\n", problem.c_str());
    if (cache) {
        std::map<std::string, int> known = readCache(cachePath.c_str());
        problems += checkWays(&world, &known, budget);
        problems += checkBackWalls(world, &known, budget);
        writeCache(cachePath.c_str(), known);
    }
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
