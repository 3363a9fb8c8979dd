#include "ReplayHarness.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

std::string replayFile(const char* name)
{
    static std::string folder = [] {
        char pattern[] = "/tmp/gloamer_replay_XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder + "/" + name;
}

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int playGame(const std::string& arguments)
{
    return playGameIn(GLOAMER_GAME_DIR, arguments);
}

int playGameIn(const std::string& gameFolder, const std::string& arguments)
{
    std::string command = "cd " + gameFolder + " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./gloamer " +
                          arguments + " 2>" + replayFile("stderr.txt");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string& ownGameFolder()
{
    // The program must be a file of the folder, not a link: it finds its
    // data beside its own resolved path. The player's files are not linked.
    static const std::string folder = [] {
        std::string own = replayFile("game"), built = GLOAMER_GAME_DIR;
        mkdir(own.c_str(), 0755);
        mkdir((own + "/Save").c_str(), 0755);
        writeText(own + "/gloamer", readText(built + "/gloamer"));
        chmod((own + "/gloamer").c_str(), 0755);
        writeText(own + "/Save/begin.sav", readText(built + "/Save/begin.sav"));
        std::set<std::string> notLinked = {".", "..", "gloamer", "Save", "control.ini", "settings.ini"};
        DIR* entries = opendir(built.c_str());
        while (const dirent* e = entries ? readdir(entries) : nullptr)
            if (!notLinked.count(e->d_name))
                symlink((built + "/" + e->d_name).c_str(), (own + "/" + e->d_name).c_str());
        if (entries)
            closedir(entries);
        return own;
    }();
    return folder;
}

std::vector<std::vector<std::string>> traceRows(const std::string& path)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<std::string> row;
        std::string w;
        while (words >> w)
            row.push_back(w);
        rows.push_back(row);
    }
    return rows;
}

FirstSlotKeeper::FirstSlotKeeper()
{
    for (const char* name : {"/Save/slot0.sav", "/Save/slot0.sav.bak"}) {
        std::string path = std::string(GLOAMER_GAME_DIR) + name;
        std::ifstream in(path, std::ios::binary);
        kept.push_back({path, bool(in), in ? readText(path) : std::string()});
    }
}

FirstSlotKeeper::~FirstSlotKeeper()
{
    for (const KEPT& k : kept) {
        if (k.existed)
            std::ofstream(k.path, std::ios::binary) << k.bytes;
        else
            std::remove(k.path.c_str());
    }
}
