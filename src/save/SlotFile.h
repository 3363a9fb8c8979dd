#pragma once

#include "save/SaveState.h"

#include <cstddef>

// Save slots on disk. A slot is written to a temporary file beside it,
// flushed to the disk and renamed over the old one, so a crash or a full
// disk never leaves half a slot; before that, the slot being replaced is
// kept as "NAME.bak" when it is itself good. A slot that cannot be read is
// refused whole, and reading then falls back to its ".bak" copy. Relative
// paths are the player's files: written to the player's folder when one is
// set, and read from it when it holds them (platform/GameFolders.h).
//
// The game's calls: storing after a door, writeSlot(slotFile, state); storing
// the checkpoint level after the last continue, writeSlot(slotFile, state,
// checkpointLevel); a new game, readSlot("./Save/begin.sav", state); a
// continue or a return after a death, readSlot(slotFile, state), entering
// the state only when it answers SlotStatus::good. The slot screen shows
// formatSlotSummary(summarizeSlot(path)) and may continue only a good slot.

// Largest slot file read.
constexpr std::size_t slotMaxBytes = 256u << 20;

// Whether a slot's ".bak" copy is used: kept when the slot is replaced,
// read when the slot is damaged.
enum class SlotBackup { use, none };

enum class SlotStatus { empty, good, damaged };

// Writes the binary slot; `level` replaces the record's level when given.
// Returns 1, or 0 (reported on the log) with the old slot left as it was.
int writeSlot(const char* path, const SAVE_STATE& state, const char* level = nullptr,
              SlotBackup backup = SlotBackup::use);

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
