#pragma once

#include "ReplayHarness.h"

#include <string>
#include <vector>

// The replay harness under short names, and every column of the trace.

namespace replay {

inline std::string file(const char* name)
{
    return replayFile(name);
}

inline void write(const std::string& path, const std::string& text)
{
    writeText(path, text);
}

inline std::string read(const std::string& path)
{
    return readText(path);
}

inline int play(const std::string& arguments)
{
    return playGame(arguments);
}

using ::traceRows;

// Trace columns, counted from 0.
enum Column { Frame, Level, X, Y, Dy, Way, Life, Coins, Diamonds, Keys, Jumping, OnLadder, Crawl, Visible,
              CamX, CamY, Cutscene, Stage, Luminance, Lamp, Lit, OldX, OldY, PushTimer, Torch, Moving, Run, JumpReleased,
              Flying, ExactDy, Hitted, BoxX, BoxY, BoxW, BoxH, AnimSeq, AnimFrame, AnimSpeed, AnimMoved, Tick,
              RoomUpdates, Music, ColumnCount };

} // namespace replay
