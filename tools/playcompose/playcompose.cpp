// playcompose: writes the replay of a whole playthrough from its route.
//
//   playcompose [--cache FILE] GAME_DIR ROUTE OUT
//                                       composes the replay into OUT; the
//                                       cache keeps the ways found for the
//                                       next time
//   playcompose --check GAME_DIR ROUTE REPLAY
//                                       whether REPLAY was composed from this
//                                       route and these rooms
//
// The route lists legs (see src/authoring/PlayComposer.h): hand-written keys
// for the menu and the scenes, ways through rooms found by the room search.
// The program of GAME_DIR is run, in a copy of the folder, where a leg must
// learn where the player is, and once more on the whole replay. Exits 0 on
// success, 1 when a leg fails (the keys composed before it are then written
// to OUT.failed) or the replay is not up to date, 2 on a usage error.

#include "authoring/PlayComposer.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: playcompose [--cache FILE] GAME_DIR ROUTE OUT\n"
                         "       playcompose --check GAME_DIR ROUTE REPLAY\n");
    return 2;
}

int check(PlayComposer& composer, const char* gameDir, const char* replayPath)
{
    std::ifstream in(replayPath);
    std::stringstream text;
    text << in.rdbuf();
    std::string line = "# fingerprint " + composer.fingerprint(gameDir) + "\n";
    if (text.str().find(line) != std::string::npos)
        return 0;
    std::fprintf(stderr, "playcompose: %s is not up to date with its route and rooms\n", replayPath);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    PlayComposer composer;
    if (argc == 6 && std::strcmp(argv[1], "--cache") == 0) {
        composer.cachePath = argv[2];
        argc -= 2;
        argv += 2;
    }
    bool checking = argc == 5 && std::strcmp(argv[1], "--check") == 0;
    if (argc != 4 && !checking)
        return usage();
    char** paths = argv + (checking ? 2 : 1);
    if (!composer.readRoute(paths[1])) {
        std::fprintf(stderr, "playcompose: %s\n", composer.error);
        return 1;
    }
    if (checking)
        return check(composer, paths[0], paths[2]);
    composer.progress = stderr;
    int composed = composer.compose(paths[0]);
    if (!composed) {
        // What came before the failed leg, to play and look at.
        std::string partial = std::string(paths[2]) + ".failed";
        std::ofstream(partial) << composer.keysSoFar();
        std::fprintf(stderr, "playcompose: %s\nplaycompose: the keys before it are in %s\n", composer.error,
                     partial.c_str());
        return 1;
    }
    std::ofstream out(paths[2]);
    if (!(out << composer.replay)) {
        std::fprintf(stderr, "playcompose: cannot write %s\n", paths[2]);
        return 1;
    }
    return 0;
}
