#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

// Running the program itself from the tests: headless, from its game
// directory, with replayed keys, and reading back its trace.

namespace replay {

// A folder of this test run for replays, traces and pictures.
inline std::string folder()
{
    static std::string path = [] {
        char pattern[] = "/tmp/gloamer_replay_XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return path;
}

inline std::string file(const char* name)
{
    return folder() + "/" + name;
}

inline void write(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

inline std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the game with `arguments`; returns its exit code. Its error output
// goes to file("stderr.txt").
inline int play(const std::string& arguments)
{
    std::string command = std::string("cd ") + GLOAMER_GAME_DIR +
                          " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./gloamer " + arguments + " 2>" +
                          file("stderr.txt");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The trace's lines split into their columns.
inline std::vector<std::vector<std::string>> traceRows(const std::string& path)
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

// Trace columns, counted from 0.
enum Column { Frame, Level, X, Y, Dy, Way, Life, Coins, Diamonds, Keys, Jumping, OnLadder, Crawl, Visible,
              CamX, CamY, Cutscene, Stage, Luminance, Lamp, ColumnCount };

} // namespace replay
