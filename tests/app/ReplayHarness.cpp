#include "ReplayHarness.h"

#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace replay {

std::string file(const char* name)
{
    static std::string folder = [] {
        char pattern[] = "/tmp/gloamer_replay_XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder + "/" + name;
}

void write(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

std::string read(const std::string& path)
{
    return readFile(path);
}

std::string playerFile(const char* name)
{
    std::filesystem::create_directories(file("player") + "/Save");
    return file("player") + "/" + name;
}

int play(const std::string& arguments, const std::string& before)
{
    std::string command = std::string("cd ") + GLOAMER_GAME_DIR + (before.empty() ? "" : " && " + before) +
                          " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./gloamer --player-folder " +
                          file("player") + " " + arguments + " 2>" + file("stderr.txt");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Rows traceRows(const std::string& path)
{
    Rows rows;
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

Rows run(const std::string& name, const std::string& options, const std::string& keys, int frames)
{
    std::string replay = file((name + ".keys").c_str()), trace = file((name + ".trace").c_str());
    write(replay, keys);
    EXPECT_EQ(play("--fast --frames " + std::to_string(frames) + " " + options + " --replay " + replay + " --trace " +
                   trace),
              0)
        << read(file("stderr.txt"));
    Rows rows = traceRows(trace);
    EXPECT_EQ(rows.size(), size_t(frames));
    // Rows of "-" stand for frames a failed run did not trace, so that the
    // checks after it fail rather than read past the trace.
    rows.resize(size_t(frames), std::vector<std::string>(ColumnCount, "-"));
    return rows;
}

int firstRow(const Rows& rows, int column, const std::string& value, int from)
{
    for (int i = from; i < int(rows.size()); i++)
        if (rows[i].size() > size_t(column) && rows[i][column] == value)
            return i;
    return -1;
}

} // namespace replay
