#pragma once

// What the slot screen shows of a stored game.
struct SLOT_SUMMARY {
    int life = 0;
    int coins = 0;
    int diamonds = 0;
    int keys = 0;
};

// What reading a slot found.
const int slotMissing = 0;
const int slotGood = 1;
const int slotDamaged = 2;

// Reads the summary of the slot file at path. A file that cannot be opened is
// missing; one that is cut short or holds impossible lengths is damaged.
int readSlotSummary(const char* path, SLOT_SUMMARY* summary);
