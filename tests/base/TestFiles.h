#pragma once

// Files the tests write and read back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

// The whole content of a file; "" when it cannot be read.
inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// An empty folder `name` in the tests' temporary folder, holding an empty
// folder `inside` when one is named.
inline std::string freshFolder(const std::string& name, const std::string& inside = "")
{
    std::string dir = std::string(testing::TempDir()) + name;
    std::string command = "rm -rf '" + dir + "' && mkdir -p '" + dir + "/" + inside + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return dir;
}

// A tool of the build, run through the shell: its exit status and what it
// printed on both outputs.
struct TOOL_RUN {
    int status;
    std::string output;
    bool says(const std::string& text) const { return output.find(text) != std::string::npos; }
};

inline TOOL_RUN runTool(const std::string& tool, const std::string& arguments)
{
    std::string out = std::string(testing::TempDir()) + tool + "_output.txt";
    std::string command = std::string(GLOAMER_TOOLS_DIR) + "/" + tool + " " + arguments + " > '" + out + "' 2>&1";
    int status = std::system(command.c_str());
    return TOOL_RUN{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out)};
}
