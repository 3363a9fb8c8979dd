#pragma once

#include "save/SaveState.h"

#include <cstddef>
#include <string>

// Save slots on disk. A slot is written to a temporary file beside it,
// flushed to the disk and renamed over the old one, so a crash or a full
// disk never leaves half a slot; before that, the slot being replaced is
// kept as "NAME.bak" when it is itself good. A slot that cannot be read is
// refused whole, and reading then falls back to its ".bak" copy. Relative
// paths are the player's files: written to the player's folder when one is
// set, and read from it when it holds them (platform/GameFolders.h).
//
// The game's calls, the writes through a SlotWriter (SlotWriter.h) on its
// thread: storing after a door, writeSlot(slotFile, state); storing the
// checkpoint level after the last continue, writeSlot(slotFile, state,
// checkpointLevel); a new game, readSlot("./Save/begin.sav", state); a
// continue or a return after a death, readSlot(slotFile, state), entering
// the state only when it answers SlotStatus::good. The slot screen shows
// formatSlotSummary(summarizeSlot(path)) and may continue only a good slot.

// The path of the game's save slot `index` (from 0), relative to the game's
// folder: "./Save/slot<index>.sav".
std::string slotPath(int index);
// The slot of the runs a developer starts from the command line, which
// never touch the player's games.
constexpr const char* replaySlot = "./Save/replay.sav";

// Largest slot file read.
constexpr std::size_t slotMaxBytes = 256u << 20;

// Whether a slot's ".bak" copy is used: kept when the slot is replaced,
// read when the slot is damaged.
enum class SlotBackup { use, none };

enum class SlotStatus { empty, good, damaged };

// Writes the binary slot; `level` replaces the record's level when given.
// Returns 1, or 0 with the old slot left as it was and, when `failure` is
// given, the reason in words for the player ("the disk is full"). A record
// the reader would refuse (larger than slotMaxBytes, values out of its
// limits) is refused before anything is touched.
int writeSlot(const char* path, const SAVE_STATE& state, const char* level = nullptr,
              SlotBackup backup = SlotBackup::use, std::string* failure = nullptr);

// Reads the binary slot at `path`, or its ".bak" copy when the slot exists
// but is damaged. Only `good` changes `state`; a missing slot is empty, not
// damaged, and has no fallback.
SlotStatus readSlot(const char* path, SAVE_STATE& state, SlotBackup backup = SlotBackup::use);

// The game's text form, written and read as a whole (parseSaveText).
int writeSlotText(const char* path, const SAVE_STATE& state, SaveText form = SaveText::game);
int readSlotText(const char* path, SAVE_STATE& state, SaveText form = SaveText::game);

// What the slot screen shows of a slot: what continuing it would restore.
struct SLOT_SUMMARY {
    SlotStatus status = SlotStatus::empty;
    int life = 0;
    int coin = 0;
    int diamond = 0;
    int keys = 0;
    // The level the stored game stands in.
    char level[saveStringSize] = "";
};

SLOT_SUMMARY summarizeSlot(const char* path);

// The slot screen's line: "empty", "damaged", or life, coins, diamonds and
// keys in columns (coins get three digits from 100 on).
void formatSlotSummary(const SLOT_SUMMARY& summary, char* out, std::size_t size);
