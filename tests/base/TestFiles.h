#pragma once

// Files the tests write and read back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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
