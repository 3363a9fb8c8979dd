#pragma once

#include "assets/TileContainer.h"
#include "assets/TileFixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <unistd.h>

// The folder of the test levels: its Level/ folder holds them, so that the
// "./Level/..." paths of special files resolve from it.
inline std::string levelData()
{
    return std::string(GLOAMER_TEST_DATA) + "/levels";
}

// Writes the small tile container the test levels use: a 10 x 10 wall, a
// four-frame animation, the dog and the seven pictures of random bonuses.
inline void writeLevelTiles(const std::string& file)
{
    struct {
        const char* name;
        int size;
        int frames;
    } tiles[] = {{"wall.til", 10, 1},       {"anim.anm", 8, 4},      {"dog_idle.anm", 6, 2},
                 {"gold_coin01.anm", 4, 3}, {"diamond01.anm", 4, 1}, {"eye.til", 4, 1},
                 {"heart2.til", 4, 1},      {"candle02.til", 4, 1},  {"torchlight2.til", 4, 1},
                 {"aceto.til", 4, 1}};
    TileContainer container;
    for (const auto& t : tiles) {
        Tile tile;
        makeTile(&tile, t.name, t.size, t.size, t.frames);
        ASSERT_EQ(container.add(tile), 1);
    }
    ASSERT_EQ(container.save(file.c_str()), 1) << container.error;
}

// Works in `folder` for its lifetime, then goes back.
class InFolder {
public:
    explicit InFolder(const std::string& folder)
    {
        if (!getcwd(previous, sizeof previous))
            previous[0] = 0;
        EXPECT_EQ(chdir(folder.c_str()), 0) << folder;
    }
    ~InFolder()
    {
        if (previous[0]) {
            EXPECT_EQ(chdir(previous), 0);
        }
    }

private:
    char previous[PATH_MAX];
};
