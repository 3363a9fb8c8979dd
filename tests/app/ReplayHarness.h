#pragma once

#include <string>
#include <vector>

// Runs the program itself headless from its game directory, with replayed
// keys, and reads back what it wrote: the tests that play the game.

namespace replay {

using Rows = std::vector<std::vector<std::string>>;

// A file of the tests' own temporary folder.
std::string file(const char* name);
void write(const std::string& path, const std::string& text);
std::string read(const std::string& path);
// Runs the game with `arguments` and the tests' player folder, after the
// shell commands `before` when given (such as a file-size limit); its
// errors go to file("stderr.txt"). Returns its exit code.
int play(const std::string& arguments, const std::string& before = "");
// The trace's lines split into their words.
Rows traceRows(const std::string& path);
// Plays the replay lines `keys` for `frames` frames under --fast with the
// further `options` (such as --start), tracing into file(name + ".trace"):
// the run must end well and trace every frame. Returns `frames` rows.
Rows run(const std::string& name, const std::string& options, const std::string& keys, int frames);
// The first row from `from` on whose `column` reads `value`, -1 if none.
int firstRow(const Rows& rows, int column, const std::string& value, int from = 0);

// The folder the runs write their slots and key bindings into (the
// player's folder of --player-folder), apart from the game directory's.
// A run started with --start or --replay keeps its game in the slot
// playerFile("Save/replay.sav").
std::string playerFile(const char* name);

// Trace columns, counted from 0.
enum Column { Frame, Level, X, Y, Dy, Way, Life, Coins, Diamonds, Keys, Jumping, OnLadder, Crawl, Visible,
              CamX, CamY, Cutscene, Stage, Luminance, Lamp, Lit, OldX, OldY, PushTimer, Torch, Moving, Run, JumpReleased,
              Flying, ExactDy, Hitted, BoxX, BoxY, BoxW, BoxH, AnimSeq, AnimFrame, AnimSpeed, AnimMoved, Tick,
              RoomUpdates, Music, ColumnCount };

} // namespace replay
