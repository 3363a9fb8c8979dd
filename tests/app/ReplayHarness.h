#pragma once

#include <string>
#include <vector>

// Runs the program itself headless from its game directory, with replayed
// keys, and reads back what it wrote: the tests that play the game.

// A file of the tests' own temporary folder.
std::string replayFile(const char* name);
void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);
// Runs the game with `arguments` and the tests' player folder, after the
// shell commands `before` when given (such as a file-size limit) (its errors go to replayFile("stderr.txt"));
// returns its exit code.
int playGame(const std::string& arguments, const std::string& before = "");
// The trace's lines split into their words.
std::vector<std::vector<std::string>> traceRows(const std::string& path);

// The folder the runs write their slots and key bindings into (the
// player's folder of --player-folder), apart from the game directory's.
// A run started with --start or --replay keeps its game in the slot
// playerFile("Save/replay.sav").
std::string playerFile(const char* name);

// Columns of a trace line.
enum TRACE_COLUMN {
    TraceFrame = 0,
    TraceLevel = 1,
    TraceX = 2,
    TraceY = 3,
    TraceKeys = 9,
    TraceOnLadder = 11,
    TraceCutscene = 16,
    TraceLuminance = 18,
};
