#pragma once

#include "app/RunOptions.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

class ReplacingFile;
class Screen;
class World;

// One key event of a replay: at frame `frame` (from 0), key `key` went
// down or up.
struct REPLAY_KEY {
    int frame;
    bool down;
    int key;
    // A gamepad input (app/Pad.h) in place of the key, or -1.
    int padInput = -1;
};

// What makes a run repeatable and visible from outside: keys replayed from
// a file or recorded into one, a line of state per frame and pictures of
// chosen frames. The frame calls it around every frame.
class Session {
public:
    Session() = default;
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Reads the replay and creates the output files of the options (SDL's
    // video must be up, for the key names). Returns 1, or 0 with the
    // reason in `error`.
    int open(const RUN_OPTIONS& options);
    // Queues this frame's replayed keys as SDL events, so that they take
    // the path of real keys.
    void beginFrame();
    // A key event the frame handled, for the record.
    void seeKey(const SDL_Event& event);
    // A gamepad input that went down or up, for the record.
    void seePad(int input, bool down);
    // The trace line and the pictures of the frame just presented.
    void endFrame(const World& world, const Screen& screen);
    // The game was finished this frame. The frame leaves the game at once
    // and clears the stage, so the trace line of this frame shows the
    // finishing stage in its place.
    void gameFinished() { finishedGame = true; }
    // Whether a picture is taken at the end of this frame.
    bool shotDue() const;
    // The number of frames asked for has run.
    bool finished() const { return frames >= 0 && frame >= frames; }
    // Writes the record and the trace. Returns 1, or 0 when one could not be written.
    int close();

    int frame = 0;
    char error[512] = "";

private:
    int readReplay(const char* path);

    std::vector<REPLAY_KEY> replay;
    std::size_t nextKey = 0;
    // The replayed pad's hat.
    int padHat = 0;
    std::vector<SHOT> shots;
    long frames = -1;
    ReplacingFile* record = nullptr;
    ReplacingFile* trace = nullptr;
    bool writeFailed = false;
    bool finishedGame = false;
};

// Reads the key events of a replay from `in` (called `name` in messages):
// lines "FRAME down|up KEY" with FRAME from 0, KEY an SDL key name ("right",
// "left shift") or a gamepad input ("pad:3", "pad:hat-left"), '#' starting a
// comment, blank lines ignored; the events sorted by frame. Returns 1, or 0
// with the file and line at fault in `error` (SDL's video must be up, for the
// key names).
int readReplayKeys(std::FILE* in, const char* name, std::vector<REPLAY_KEY>* keys, char* error, std::size_t size);
// Writes the screen as presented (magnified by its scale, through its
// brightness) as a PNG. Returns 1 on success.
int saveShot(const Screen& screen, const char* file);
