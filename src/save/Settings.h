#pragma once

#include <string>
#include <vector>

// The player's choices that control.ini (the keys and volumes) does not
// hold: the picture's brightness, full screen or window, and the gamepad's
// buttons. They are kept in "settings.ini", one "name = value" line each.
// Lines the game does not know (comments, settings of a later version) are
// kept as they were when the file is written again.

// The file's name, beside control.ini.
constexpr const char* settingsFile = "settings.ini";

// Brightness steps: below 0 darker, 0 the picture as drawn, above brighter.
constexpr int brightnessLowest = -2;
constexpr int brightnessHighest = 5;

// What a gamepad button does, in the order of the gamepad screen.
enum PadAction { PadJump, PadAct, PadWalk, PadThrow, PadMap, PadPause, padActionCount };
// Buttons are numbered from 0, as SDL numbers a joystick's buttons.
constexpr int padButtonLimit = 32;

struct SETTINGS {
    int brightness = 0;
    bool fullScreen = true;
    // The button of each PadAction.
    int padButton[padActionCount] = {0, 1, 2, 3, 6, 7};
    // The lines of the file that are not settings of this version, in order.
    std::vector<std::string> otherLines;
};

extern SETTINGS settings;

// The name of a pad action as the file and the gamepad screen write it.
const char* padActionName(int action);

// Reads the file into `out`. A missing file gives the defaults silently; a
// damaged one (a line that is not "name = value" or a comment, a value out
// of range, binary bytes, an oversized file) gives the defaults and says so
// on standard error. Returns 1 when the file was taken, 0 when the defaults
// were. Relative paths are the player's files (platform/GameFolders.h).
int loadSettings(const char* path, SETTINGS* out);
// Writes the settings through a temporary file renamed over the old one.
// Returns 1, or 0 with the old file left as it was.
int saveSettings(const char* path, const SETTINGS& in);
