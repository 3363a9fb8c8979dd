#pragma once

#include <vector>

// A picture to write: the presented frame `frame` into the PNG file `file`.
struct SHOT {
    int frame;
    char file[256];
};

// The command line. Without options the game runs as a person plays it;
// the options make runs repeatable, so that tests and people can replay them.
struct RUN_OPTIONS {
    // --start LEVEL X Y: a new game in Level/LEVEL at (X, Y).
    bool start = false;
    char startLevel[256] = "";
    int startX = 0;
    int startY = 0;
    // --replay FILE: keys from a file; --record FILE: keys into a file.
    char replay[256] = "";
    char record[256] = "";
    // --frames N: quit after N frames; -1 runs until the player quits.
    long frames = -1;
    // --fast: no pacing, a fixed random seed, lighting on the main thread.
    bool fast = false;
    // With fast, the lighting stays on its worker thread (no command-line
    // option: the soak run uses it to exercise the threads at full speed).
    bool fastKeepsWorker = false;
    // With fast, each slot is waited for half a second of frames after its
    // door, so that a failure is told on the same frame every time while
    // the door's frame goes on at once; off, the game never waits for the
    // writer's thread, as in a person's game (no command-line option: the
    // door bench times doors both ways).
    bool fastWaitsForSlots = true;
    // --trace FILE: one line of state per frame.
    char trace[256] = "";
    std::vector<SHOT> shots;
    // --window: a window instead of the full screen.
    bool window = false;
    // --brightness N: the brightness step of this run, in place of the
    // player's setting.
    bool brightnessGiven = false;
    int brightness = 0;
    // --slot N: the slot 0 to 4 a --start or --replay run stores its game
    // in; -1 keeps it in a slot of its own ("Save/replay.sav").
    int slot = -1;
    // --player-folder DIR: where the files the game writes (slots, key
    // bindings) go, instead of the game folder.
    char playerFolder[256] = "";
    // Why the command line was refused.
    char error[256] = "";
};

extern const char* const runUsage;

// Reads the options after the program name. Returns 1, or 0 with the
// reason in options->error for an unknown option, a bad argument (a --start
// level outside the level folder or a position out of a slot's range), or a
// --shot of a frame that --frames does not run.
int parseRunOptions(int argc, char** argv, RUN_OPTIONS* options);

// Whether the level of --start is a level file of the game, in its data
// folder (the working folder). Returns 1, or 0 with the reason in
// options->error.
int checkStartLevel(RUN_OPTIONS* options);
// The slot a run stores its game in: empty for a person's run (the menu's
// slots), else the slot --slot names or the replay slot.
void runSlot(const RUN_OPTIONS& options, char* out, int size);

// Makes the relative file names of the options (replay, record, trace,
// shots, player folder) name the same files from any working folder: the start-up moves
// into the game's data folder afterwards. A name too long to anchor is
// emptied, so that nothing is read or written in the wrong place.
void anchorRunFiles(RUN_OPTIONS* options);
