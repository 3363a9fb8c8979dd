#pragma once

#include "save/PackedWords.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Everything a save slot holds, as a plain record, and its two encodings:
// the binary slot format the game reads and writes, and a line-oriented text
// form.
//
// Wiring a game to it: to store, copy the player's PLAYER_STATE into a
// SAVE_STATE whole (`level` is the name of the level the player is in) and
// hand the record to writeSlot (SlotFile.h). To load, read into a
// SAVE_STATE first; only when that succeeds, stop the old level and copy
// the PLAYER_STATE back into the player (the current torch through its
// setter), set its key count to keyCount(state), reveal the map when
// revealsMap(state) says so, mark each memory's level on the map, and load
// `level`. On failure the game stays exactly as it was: the player, his lists
// and his respawn count are untouched until the copy. Objects and memories
// map one record each onto the player's OBJECT and MEMORY_SAVE lists, in the
// same order; the memory arrays are the level map's quality and glow words,
// copied bit for bit, and may differ in size from the level they name. A
// memory never changes once made: the player, his records and the slot
// writer share it.
//
// Binary layout (32-bit little-endian numbers, IEEE single floats, strings as
// a 32-bit length and that many bytes without terminator, no header):
//   x y oldX oldY way, flag window 1, currentTorch, flag windows 2 3 4, dy,
//   life maxLife respawn, hitted, coin diamond, level, checkpointX
//   checkpointY checkpointLevel, object count, objects (name, 4-byte slot
//   whose first byte is the flag), memory count, memories (name, w, h, w*h
//   quality words, w*h glow words).
// The eight flags, in order torch, moving, run, crawl, jumping, jumpReleased,
// onLadder, visible, are written as four overlapping windows of four bytes
// starting at torch, moving, crawl and jumping; read in file order, each flag
// keeps the value of the last window that covers it.

// Longest string a slot holds, and the size of the record's string fields.
constexpr int saveStringMax = 255;
constexpr int saveStringSize = saveStringMax + 1;

// A one-time bonus the player has taken.
struct SAVE_OBJECT {
    char name[saveStringSize] = "";
    std::uint8_t flag = 1;
};

// What the player remembers of one level: per level map cell, the memory
// quality (a float's bits) and the phosphorescent glow word, column after
// column.
struct SAVE_MEMORY {
    char name[saveStringSize] = "";
    int w = 0;
    int h = 0;
    PackedWords quality;
    PackedWords glow;
};
using SHARED_MEMORY = std::shared_ptr<const SAVE_MEMORY>;

// What a slot keeps of the player himself, as the player holds it: the
// player and a save record each embed one and copy it whole. The defaults
// are those of a player that was just built.
struct PLAYER_STATE {
    int x = 0;
    int y = 20;
    int oldX = 0;
    int oldY = 20;
    // Facing: 0 right, 1 left.
    int way = 0;
    bool torch = true;
    bool moving = false;
    bool run = false;
    bool crawl = false;
    bool jumping = false;
    bool jumpReleased = false;
    bool onLadder = false;
    bool visible = true;
    // 1 candle, 2 electric torch, 3 acetylene lamp; 0 before the first lamp
    // is taken.
    int currentTorch = 3;
    float dy = 0.0f;
    int life = 3;
    int maxLife = 6;
    int respawn = 3;
    float hitted = 0.0f;
    int coin = 0;
    int diamond = 0;
    int checkpointX = 0;
    int checkpointY = 0;
    // Spelt as the game opens its levels ("./Level/"): a lower-case folder
    // cannot be opened on a case-sensitive file system.
    char checkpointLevel[saveStringSize] = "./Level/metro3.lvl";
};

struct SAVE_STATE {
    PLAYER_STATE player;
    // Path of the level the player is in, as it was loaded ("./Level/NAME.lvl").
    char level[saveStringSize] = "";
    std::vector<SAVE_OBJECT> objects;
    std::vector<SHARED_MEMORY> memories;
};

// Limits a slot must keep to be read. Positions stay far from the integer
// range so that placing and moving the player cannot overflow; speeds and
// the hurt timer stay finite and small enough to convert to whole pixels.
constexpr int savePositionLimit = 1000000;
constexpr float saveSpeedLimit = 100000.0f;
constexpr int saveMaxObjects = 100000;
constexpr int saveMaxMemories = 10000;

// Whether a slot may name `level` as the player's room or his checkpoint's:
// not yet named, or a relative path that does not climb out of the game's
// folder (base/LevelPath.h); the game then loads only rooms of its level folder.
bool savedLevelAllowed(const char* level);

// The binary slot format of a record, storing `level` as the level when it
// is given (a level other than the one the player is in), else the record's.
std::vector<unsigned char> encodeSaveState(const SAVE_STATE& state, const char* level = nullptr);
// The same bytes written to `out` as they are made, so that a slot of every
// room seen is never held whole in memory. Returns whether all were written.
bool writeSaveState(std::FILE* out, const SAVE_STATE& state, const char* level = nullptr);
// The size of those bytes, and whether the reader would take them: what
// decodeSaveState checks, checked on the record.
std::size_t encodedSize(const SAVE_STATE& state, const char* level = nullptr);
bool readableSaveState(const SAVE_STATE& state, const char* level = nullptr);

// Reads a binary slot from `size` bytes. Everything is checked before
// `state` is touched: string lengths, counts, memory sizes against the level
// map limits and the bytes left, values within the limits above, and the
// data consumed exactly. Returns 1, or 0 with `state` unchanged.
int decodeSaveState(const unsigned char* data, std::size_t size, SAVE_STATE& state);

// The text form. The game's form holds a fixed list of lines in a fixed
// order: position, facing, lamp, four of the eight flags, fall speed, life,
// hurt timer, coins, diamonds, level and objects (no checkpoint, no
// memories), and ends with "END" without a line break; the complete form adds lines for everything else, so that a slot
// can be dumped, edited and packed again.
enum class SaveText { game, complete };
std::string formatSaveText(const SAVE_STATE& state, SaveText form);

// Reads a text form into `state`, changing only what the text holds: the
// object list is replaced, memories are replaced only by a text that lists
// any, other fields keep their values. The game's form reads its own lines
// only and ignores every other key (the complete form's too, and "END"); the
// complete form, written by people, reads all its lines and refuses unknown keys. A known
// line that does not parse, or values outside the limits, refuse the whole
// text: returns 0 with `state` unchanged.
int parseSaveText(const char* text, std::size_t size, SAVE_STATE& state, SaveText form = SaveText::game);

// Objects whose name begins with "key" are keys; otherwise one beginning with
// "map" reveals the world map.
int keyCount(const SAVE_STATE& state);
bool revealsMap(const SAVE_STATE& state);
