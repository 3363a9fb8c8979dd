#include "ReplayHarness.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

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
    std::string command = std::string("cd ") + GLOAMER_GAME_DIR +
                          " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./gloamer " + arguments + " 2>" +
                          replayFile("stderr.txt");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
