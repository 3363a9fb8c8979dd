#pragma once

#include "base/BoundedString.h"
#include "assets/Tile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

// A tile whose every pixel is distinct and opaque: colour 0xFF000000 | f << 16 | x << 8 | y,
// depth f * 100 + x * 10 + y, incandescence (x + y) / 10.
inline void makeTile(Tile* tile, const char* name, int width, int height, int frames, int extras = 0)
{
    ASSERT_EQ(tile->create(width, height, frames, extras), 1);
    boundedCopy(tile->name, sizeof tile->name, name);
    for (int f = 0; f < frames; f++)
        for (int x = 0; x < width; x++)
            for (int y = 0; y < height; y++)
                tile->frames[f].data[x * height + y] =
                    TILE_PIXEL{int(0xFF000000u | unsigned(f) << 16 | unsigned(x) << 8 | unsigned(y)),
                               f * 100 + x * 10 + y, float(x + y) / 10.0f};
    for (int i = 0; i < extras; i++)
        tile->extra[i] = i * 1000 - 7;
}

// A path in the test's temporary folder, named after the running test so
// that tests run side by side never share a file.
inline std::string tempPath(const char* name)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return std::string(testing::TempDir()) + test->test_suite_name() + "-" + test->name() + "-" + name;
}

// Writes `text` into the file tempPath(name) and returns its path.
inline std::string writeTestFile(const std::string& name, const std::string& text)
{
    std::string path = tempPath(name.c_str());
    std::ofstream(path, std::ios::binary) << text;
    return path;
}
