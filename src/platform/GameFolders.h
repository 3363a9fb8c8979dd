#pragma once

#include <string>

// Where the game's files are. The game names its data with paths relative to
// the working folder ("./tiles.dat", "./Level/metro2.lvl"); at start-up
// enterGameFolders finds the data and makes its folder the working folder, so
// the program runs the same from any folder and from the desktop menu.
//
// The data folder is the program's own folder when it holds the data (a build
// runs from its game directory), else the installed data folder
// (PROGRAM_FOLDER/../share/gloamer, then the folder chosen at build time).
// The files the game writes (the save slots, "control.ini") stay next to the
// data only when the data is the program's own, writable folder; otherwise
// they go to the player's folder, $XDG_DATA_HOME/gloamer or
// ~/.local/share/gloamer, so nothing is ever written into installed data.

struct GAME_FOLDERS {
    std::string data;
    // Empty when the written files go next to the data.
    std::string player;
};

// 1 when the folder holds the game's data (its tile container).
int holdsGameData(const std::string& folder);

// The choice, from the program's folder, the installed data folder and the
// environment. Returns 1, or 0 with `message` naming what is missing.
int chooseGameFolders(const std::string& programFolder, const std::string& installedData,
                      const char* xdgDataHome, const char* home, GAME_FOLDERS* folders, std::string* message);

// Finds the folders for this process, enters the data folder and remembers
// the player's folder. Returns 1, or 0 after showing the user what is
// missing (standard error and the error box).
int enterGameFolders();

// Sets the folder the written files go to; empty: next to the data.
void setPlayerFolder(const std::string& folder);
const std::string& playerFolder();

// The path to read a file the game writes: the player's copy when the
// player's folder holds one, else the name itself (the data's copy).
// Absolute names are kept as they are.
std::string playerFileToRead(const char* name);
// The path to write a file the game writes: in the player's folder (its
// folders made) when one is set, else the name itself.
std::string playerFileToWrite(const char* name);
