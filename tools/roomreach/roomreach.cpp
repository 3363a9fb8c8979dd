// roomreach: proves that a person can go from one door of a room to another.
//
//   roomreach GAME_DIR ROOM FROM_DOOR TO_DOOR [--budget NODES] [--frames N]
//             [--out FILE]
//
// ROOM is a level file of GAME_DIR/Level ("metro3" or "metro3.lvl"). The
// search runs the game's own player over the commands held frame by frame,
// from where the door element FROM_DOOR puts the player to touching the door
// TO_DOOR. A way found is written as a replay (to FILE, else to the standard
// output) that ends by taking the door, for
//   cd GAME_DIR && ./gloamer --start ROOM X Y --replay FILE --fast
// with X Y as printed. The search lends the player enough keys for a locked
// door; the program, started with none, shows the door's message instead. Exits 0 when a way was found, 1 when none was found
// within the budget, 2 on a usage or loading error.

#include "authoring/RoomReach.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage(const char* why)
{
    std::fprintf(stderr,
                 "roomreach: %s\nusage: roomreach GAME_DIR ROOM FROM_DOOR TO_DOOR [--budget NODES] [--frames N] "
                 "[--out FILE]\n",
                 why);
    return 2;
}

bool readCount(const char* text, long* value)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end || v <= 0)
        return false;
    *value = v;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<const char*> positional;
    const char* out = nullptr;
    long budget = 0, frames = 0;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue)
            out = argv[++i];
        else if (arg == "--budget" && hasValue) {
            if (!readCount(argv[++i], &budget))
                return usage("--budget needs a positive count");
        } else if (arg == "--frames" && hasValue) {
            if (!readCount(argv[++i], &frames))
                return usage("--frames needs a positive count");
        } else if (arg.size() > 1 && arg[0] == '-')
            return usage(("unknown option " + arg).c_str());
        else
            positional.push_back(argv[i]);
    }
    if (positional.size() != 4)
        return usage("needs a game directory, a room and two doors");
    std::string room = positional[1];
    if (room.size() < 4 || room.compare(room.size() - 4, 4, ".lvl") != 0)
        room += ".lvl";

    RoomReach reach;
    if (budget)
        reach.maxNodes = budget;
    if (frames)
        reach.maxFrames = int(frames);
    if (!reach.load(positional[0], room.c_str())) {
        std::fprintf(stderr, "roomreach: %s\n", reach.error);
        return 2;
    }
    auto begin = std::chrono::steady_clock::now();
    int found = reach.search(positional[2], positional[3]);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (found < 0) {
        std::fprintf(stderr, "roomreach: %s\n", reach.error);
        return 2;
    }
    std::fprintf(stderr, "roomreach: %s %s -> %s: %s, %ld states, %d frames searched, %.2f s\n", room.c_str(),
                 positional[2], positional[3], found ? "found" : "no way within the budget", reach.nodes,
                 reach.frames, seconds);
    if (!found)
        return 1;
    std::fprintf(stderr, "roomreach: start at %d %d, %d frames, then the action key\n", reach.startX, reach.startY,
                 int(reach.script.size()));
    std::string text = reach.replayText();
    if (!out) {
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    std::FILE* f = std::fopen(out, "w");
    if (!f || std::fputs(text.c_str(), f) < 0 || std::fclose(f) != 0) {
        std::fprintf(stderr, "roomreach: cannot write %s\n", out);
        return 2;
    }
    return 0;
}
