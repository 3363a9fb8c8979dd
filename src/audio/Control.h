#pragma once

// Key bindings, key names and the volume settings.
//
// Actions are bound to keys through a table indexed by each action's default
// key symbol (SDL 1.2 numbering, as in the held-key table): getControl(276)
// gives the key bound to the action whose default key is the left arrow. The
// bindings and both volumes are kept in "control.ini", one decimal integer per
// line: the 512 table entries, then the music volume, then the effects volume.

const int controlCount = 512;
const int controlNameSize = 50;

// Action slots: each is the default key of its action.
const int controlLeft = 276;
const int controlRight = 275;
const int controlUp = 273;
const int controlDown = 274;
const int controlJump = 32;
const int controlAction = 101;
const int controlThrowCoin = 114;
const int controlReveal = 97;
const int controlShowMap = 9;
const int controlLookLeft = 113;
const int controlLookRight = 100;
const int controlLookUp = 122;
const int controlLookDown = 115;

// Entry s holds the key symbol bound to action slot s.
extern int control[controlCount];
// The printable name of every key symbol (up to 49 characters).
extern char controlName[controlCount][controlNameSize];
// Percentages 0..100.
extern int musicVolume;
extern int fxVolume;

// Builds controlName: "<k>" for every key k, then the names of the keys the
// game shows (letters, digits, arrows, function keys, AZERTY punctuation...).
void initControlNames();
// Both take a relative path as the player's file (platform/GameFolders.h):
// read from the player's folder when it holds it, and written there.
//
// Reads the bindings and volumes from the file and applies the volumes.
// The file must hold exactly what saveControls writes: 512 key symbols in
// 0..511, then both volumes (clamped to 0..100). A missing file, or one that
// does not read as a whole (text, random bytes, a folder), gives the default
// bindings and keeps the volumes; a damaged one is reported on standard
// error. Returns 1 when the file was taken, 0 when the defaults were.
int loadControls(const char* path);
// Writes the bindings and volumes through a temporary file renamed over the
// old one. Returns 1 on success; on failure the old file stays as it was.
int saveControls(const char* path);
// Binds every slot to itself: each action to its default key.
void loadDefaultControls();
// The key bound to the slot, or 0 for a slot outside 0..511.
int getControl(int slot);
// Binds key to slot; a slot outside 0..511 is ignored.
void setControl(int slot, int key);

// The printable name of a key symbol; a symbol outside 0..511 has the name of
// key 0.
const char* keyName(int key);
// The printable name of the key bound to the slot: keyName(getControl(slot)).
const char* getControlName(int slot);

int getMusicVolume();
int getFxVolume();
// Add delta to a volume, clamp it to 0..100, then apply both volumes.
void addMusicVolume(int delta);
void addFxVolume(int delta);
