#include "platform/GameFolders.h"

#include "platform/Platform.h"

#include <cstdlib>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#ifndef GLOAMER_INSTALLED_DATA
#define GLOAMER_INSTALLED_DATA "/usr/local/share/gloamer"
#endif

namespace {

std::string currentPlayerFolder;

bool isFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The player's folder after the XDG rules: a relative XDG_DATA_HOME is ignored.
std::string playerDataFolder(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/gloamer";
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/gloamer";
    return std::string();
}

std::string programFolder()
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return std::string();
    std::string program(path, std::size_t(length));
    return program.substr(0, program.find_last_of('/'));
}

// Makes every folder on the way to `folder`; returns 1 when it exists after.
int makeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
        mkdir(folder.substr(0, slash).c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    return isFolder(folder);
}

std::string withoutDotSlash(const char* name)
{
    return name[0] == '.' && name[1] == '/' ? std::string(name + 2) : std::string(name);
}

} // namespace

int holdsGameData(const std::string& folder)
{
    return !folder.empty() && isFile(folder + "/tiles.dat");
}

int chooseGameFolders(const std::string& programFolder, const std::string& installedData,
                      const char* xdgDataHome, const char* home, GAME_FOLDERS* folders, std::string* message)
{
    std::string player = playerDataFolder(xdgDataHome, home);
    const std::string beside = programFolder + "/../share/gloamer";
    if (holdsGameData(programFolder)) {
        folders->data = programFolder;
        folders->player = access(programFolder.c_str(), W_OK) == 0 ? std::string() : player;
    } else if (holdsGameData(beside)) {
        folders->data = beside;
        folders->player = player;
    } else if (holdsGameData(installedData)) {
        folders->data = installedData;
        folders->player = player;
    } else {
        *message = "Cannot find the game data (tiles.dat) beside the program in " + programFolder + " nor in " +
                   installedData + ".\nBuild it with make, or reinstall the game.\n";
        return 0;
    }
    if (folders->player.empty() && access(folders->data.c_str(), W_OK) != 0) {
        *message = "Cannot choose a folder for saved games: set HOME or XDG_DATA_HOME.\n";
        return 0;
    }
    return 1;
}

int enterGameFolders()
{
    GAME_FOLDERS folders;
    std::string message;
    if (!chooseGameFolders(programFolder(), GLOAMER_INSTALLED_DATA, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                           &folders, &message)) {
        showErrorBox("Error", message.c_str());
        return 0;
    }
    if (chdir(folders.data.c_str()) != 0) {
        message = "Cannot enter the game data folder " + folders.data + ".\n";
        showErrorBox("Error", message.c_str());
        return 0;
    }
    setPlayerFolder(folders.player);
    return 1;
}

void setPlayerFolder(const std::string& folder)
{
    currentPlayerFolder = folder;
}

const std::string& playerFolder()
{
    return currentPlayerFolder;
}

std::string playerFileToRead(const char* name)
{
    if (currentPlayerFolder.empty() || name[0] == '/')
        return name;
    std::string own = currentPlayerFolder + "/" + withoutDotSlash(name);
    return isFile(own) ? own : std::string(name);
}

std::string playerFileToWrite(const char* name)
{
    if (currentPlayerFolder.empty() || name[0] == '/')
        return name;
    std::string own = currentPlayerFolder + "/" + withoutDotSlash(name);
    makeFolders(own.substr(0, own.find_last_of('/')));
    return own;
}
