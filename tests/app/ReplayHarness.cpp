#include "ReplayHarness.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

std::string playerFile(const char* name)
{
    std::filesystem::create_directories(replayFile("player") + "/Save");
    return replayFile("player") + "/" + name;
}

int playGame(const std::string& arguments, const std::string& before)
{
    std::string command = std::string("cd ") + GLOAMER_GAME_DIR + (before.empty() ? "" : " && " + before) +
                          " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./gloamer --player-folder " +
                          replayFile("player") + " " + arguments + " 2>" +
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
