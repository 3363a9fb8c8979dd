#pragma once

#include "ReplayHarness.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

// A copy of the game directory of the tests' own, made once: runs that
// start or store games write their slots there, never in the game
// directory of the build.
inline const std::string& scratchGame()
{
    static const std::string folder = [] {
        std::string copy = replayFile("game");
        std::string command = "rm -rf " + copy + " && cp -r " + GLOAMER_GAME_DIR + " " + copy + " && rm -f " + copy +
                              "/Save/slot*";
        return std::system(command.c_str()) == 0 ? copy : std::string();
    }();
    return folder;
}

// Runs the program of the scratch copy headless with `arguments`; its
// errors go to replayFile("stderr.txt"). Returns its exit code.
inline int playScratch(const std::string& arguments)
{
    std::string command = "cd " + scratchGame() + " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./gloamer " +
                          arguments + " 2>" + replayFile("stderr.txt");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
