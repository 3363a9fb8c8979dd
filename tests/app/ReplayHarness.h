#pragma once

#include <string>
#include <vector>

// Runs the program itself headless from its game directory, with replayed
// keys, and reads back what it wrote: the tests that play the game.

// A file of the tests' own temporary folder.
std::string replayFile(const char* name);
void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);
// Runs the game with `arguments` (its errors go to replayFile("stderr.txt"));
// returns its exit code.
int playGame(const std::string& arguments);
// A game folder of the tests' own: the program and the built game's data,
// linked, beside an empty Save folder, so that the slots a run writes stay
// out of the player's. Made once; playGameIn runs the game from it.
const std::string& ownGameFolder();
int playGameIn(const std::string& gameFolder, const std::string& arguments);
// The trace's lines split into their words.
std::vector<std::vector<std::string>> traceRows(const std::string& path);

// A run started with --start plays in the first slot and writes it at
// once; other tests read the slots of the same game directory. Keeps the
// first slot's files as they were before the run, for the keeper's life.
class FirstSlotKeeper {
public:
    FirstSlotKeeper();
    ~FirstSlotKeeper();

private:
    struct KEPT {
        std::string path;
        bool existed;
        std::string bytes;
    };
    std::vector<KEPT> kept;
};

// Columns of a trace line.
enum TRACE_COLUMN {
    TraceFrame = 0,
    TraceLevel = 1,
    TraceX = 2,
    TraceY = 3,
    TraceKeys = 9,
    TraceCutscene = 16,
    TraceLuminance = 18,
};
