// The art generator, run as the build runs it: its output must be the same
// on every run, hold every picture the game looks up by name with the frames
// the game relies on, and let hand-made PNGs replace generated ones.

#include "render/PngImage.h"
#include "assets/Tile.h"
#include "assets/TileList.h"
#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <unistd.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
    std::string name;
    std::string image;
    int frame = 0;
    std::string depth = "0";
    std::string glow = "0";
};

std::string tempDir(const std::string& name)
{
    return freshFolder("artgen_" + name);
}

int runArtgen(const std::string& args)
{
    return runTool("artgen", args).status;
}

std::vector<Entry> readManifest(const std::string& file)
{
    std::vector<Entry> entries;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        Entry e;
        words >> e.name >> e.image;
        std::string option;
        while (words >> option) {
            std::string key = option.substr(0, option.find('='));
            std::string value = option.substr(option.find('=') + 1);
            if (key == "frame")
                e.frame = std::atoi(value.c_str());
            else if (key == "depth")
                e.depth = value;
            else if (key == "glow")
                e.glow = value;
        }
        entries.push_back(e);
    }
    return entries;
}

// The generated art, made once for all the tests that only read it.
class ArtgenOutput : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Per process: the test runner may run several of these at once.
        dir = new std::string(tempDir("shared" + std::to_string(getpid())));
        ASSERT_EQ(runArtgen("'" + *dir + "'"), 0);
        for (const char* m : {"tiles.manifest", "tiles_control.manifest"})
            for (const Entry& e : readManifest(*dir + "/" + m))
                (*entries)[m][e.name] = e;
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }

    // Frame count of a tile from its image, -1 when it is missing.
    int frames(const char* manifest, const std::string& name)
    {
        auto& list = (*entries)[manifest];
        auto it = list.find(name);
        if (it == list.end())
            return -1;
        PngImage png;
        if (!png.load((*dir + "/" + it->second.image).c_str()) || it->second.frame <= 0)
            return -1;
        return png.width % it->second.frame == 0 ? png.width / it->second.frame : -1;
    }

    static std::string* dir;
    static std::map<std::string, std::map<std::string, Entry>>* entries;
};

std::string* ArtgenOutput::dir = nullptr;
std::map<std::string, std::map<std::string, Entry>>* ArtgenOutput::entries =
    new std::map<std::string, std::map<std::string, Entry>>();

} // namespace

TEST_F(ArtgenOutput, TwoRunsWriteTheSameBytes)
{
    std::string again = tempDir("again" + std::to_string(getpid()));
    ASSERT_EQ(runArtgen("'" + again + "'"), 0);
    int files = 0;
    for (const char* m : {"tiles.manifest", "tiles_control.manifest"}) {
        ASSERT_EQ(readFile(*dir + "/" + m), readFile(again + "/" + m)) << m;
        for (const Entry& e : readManifest(again + "/" + m))
            for (const std::string& f : {e.image, e.depth, e.glow}) {
                if (f.find(".png") == std::string::npos)
                    continue;
                std::string first = readFile(*dir + "/" + f);
                ASSERT_FALSE(first.empty()) << f;
                EXPECT_EQ(first, readFile(again + "/" + f)) << f;
                files++;
            }
    }
    EXPECT_GT(files, 100);
}

TEST_F(ArtgenOutput, EveryPictureTheGameNamesExistsWithItsFrames)
{
    // Name and the fewest frames the game's code relies on.
    const std::map<std::string, int> needed = {
        {"water04.anm", 2}, {"gold_coin01.anm", 2}, {"diamond01.anm", 2}, {"eye.til", 1},
        {"heart2.til", 1}, {"candle02.til", 1}, {"torchlight2.til", 1}, {"aceto.til", 1},
        {"key.til", 1}, {"skull01.til", 1}, {"heart_33.til", 1}, {"heart_empty2.til", 1},
        {"logo4.til", 1}, {"cat04.til", 1}, {"candle01.anm", 2}, {"candle.anm", 2},
        {"torchlight.til", 1}, {"aceto.anm", 2}, {"balloon.til", 1}, {"dog_idle.anm", 2},
        {"dog_run.anm", 2}, {"void.til", 1}, {"cat01.anm", 2}, {"cat02.anm", 2},
        {"cat03.anm", 2}, {"car01.til", 1}, {"switch01.anm", 4},
    };
    // The containers the build packed for the game hold them too.
    TileList game(GLOAMER_GAME_DIR "/tiles.dat", false);
    for (auto& n : needed) {
        Tile* packed = game.findByName2(n.first.c_str());
        ASSERT_NE(packed, nullptr) << n.first;
        EXPECT_GE(packed->frameCount, n.second) << n.first;
    }
    // A steam and an electric animation whose first and tenth frames play sounds.
    bool steam = false, elect = false;
    for (auto& e : (*entries)["tiles.manifest"]) {
        if (e.first.rfind("steam", 0) == 0 && frames("tiles.manifest", e.first) >= 10)
            steam = true;
        if (e.first.rfind("elect", 0) == 0 && frames("tiles.manifest", e.first) >= 10)
            elect = true;
    }
    EXPECT_TRUE(steam);
    EXPECT_TRUE(elect);
    // The key caps live only in the control container, two frames each.
    TileList control(GLOAMER_GAME_DIR "/tiles_control.dat", true);
    for (char c = 'a'; c <= 'z'; c++) {
        std::string name = std::string("key_") + c + ".anm";
        Tile* packed = control.findByName2(name.c_str());
        ASSERT_NE(packed, nullptr) << name;
        EXPECT_EQ(packed->frameCount, 2) << name;
        EXPECT_EQ(game.findByName2(name.c_str()), nullptr) << name;
    }
}

TEST_F(ArtgenOutput, StillPicturesHaveOneFrameAndAnimationsMore)
{
    // A level bakes one-frame pictures and animates the others, so the
    // extension must tell the truth.
    for (const char* manifest : {"tiles.manifest", "tiles_control.manifest"})
        for (auto& e : (*entries)[manifest]) {
            const std::string& name = e.first;
            ASSERT_GT(name.size(), 4u);
            std::string extension = name.substr(name.size() - 4);
            int count = frames(manifest, name);
            if (extension == ".til")
                EXPECT_EQ(count, 1) << name;
            else if (extension == ".anm")
                EXPECT_GE(count, 2) << name;
            else
                ADD_FAILURE() << name << " has neither .til nor .anm";
        }
}

TEST(Artgen, HandMadePicturesReplaceGeneratedOnes)
{
    std::string content = tempDir("content"), out = tempDir("override");
    // A bigger key of the artist's own, still one frame.
    PngImage key;
    key.resize(13, 6, 0xFF112233u);
    ASSERT_EQ(key.save((content + "/key.til.png").c_str()), 1);
    // A coin with its own incandescence map.
    PngImage coin, coinGlow;
    coin.resize(7 * 8, 7, 0xFFEEDD00u);
    coinGlow.resize(7 * 8, 7, 0xFF808080u);
    ASSERT_EQ(coin.save((content + "/gold_coin01.anm.png").c_str()), 1);
    ASSERT_EQ(coinGlow.save((content + "/gold_coin01.anm.glow.png").c_str()), 1);
    ASSERT_EQ(runArtgen("'" + out + "' '" + content + "'"), 0);

    std::map<std::string, Entry> list;
    for (const Entry& e : readManifest(out + "/tiles.manifest"))
        list[e.name] = e;
    PngImage back;
    ASSERT_EQ(back.load((out + "/" + list["key.til"].image).c_str()), 1);
    EXPECT_EQ(back.pixels, key.pixels);
    EXPECT_EQ(list["key.til"].frame, 13);
    // Its size differs from the generated key, so the generated depth map
    // cannot serve: the key keeps one depth, and no glow.
    EXPECT_EQ(list["key.til"].depth.find(".png"), std::string::npos);
    EXPECT_EQ(list["key.til"].glow, "0");
    EXPECT_EQ(list["gold_coin01.anm"].frame, 7);
    EXPECT_EQ(list["gold_coin01.anm"].glow, "gold_coin01.anm.glow.png");
    ASSERT_EQ(back.load((out + "/gold_coin01.anm.glow.png").c_str()), 1);
    EXPECT_EQ(back.pixels, coinGlow.pixels);
}

TEST(Artgen, AHandMadeAnimationMustKeepItsFrameCount)
{
    std::string content = tempDir("badcontent"), out = tempDir("badout");
    PngImage coin;
    coin.resize(7 * 8 + 3, 7, 0xFFEEDD00u);
    ASSERT_EQ(coin.save((content + "/gold_coin01.anm.png").c_str()), 1);
    EXPECT_NE(runArtgen("'" + out + "' '" + content + "'"), 0);
    std::ifstream manifest(out + "/tiles.manifest");
    EXPECT_FALSE(manifest.good()) << "no manifest is written from a failed run";
}

TEST(Artgen, ContactSheetOfTheBuiltContainers)
{
    std::string dir = tempDir("sheet");
    std::string sheet = dir + "/sheet.png";
    ASSERT_EQ(runArtgen("--sheet '" + sheet + "' " GLOAMER_GAME_DIR "/tiles.dat " GLOAMER_GAME_DIR "/tiles_control.dat"), 0);
    PngImage png;
    ASSERT_EQ(png.load(sheet.c_str()), 1) << png.error;
    // Every tile of the art (rooms' pictures left out) has a row at least its
    // own height: the sheet is as tall as the art.
    TileList game(GLOAMER_GAME_DIR "/tiles.dat", false);
    int heights = 0;
    for (Tile* t : game.list)
        if (std::strncmp(t->name, "room_", 5) != 0)
            heights += game.findByName2(t->name)->height;
    EXPECT_GE(png.height, heights);
    EXPECT_NE(runArtgen("--sheet '" + dir + "/none.png' '" + dir + "/missing.dat'"), 0);
    EXPECT_FALSE(std::ifstream(dir + "/none.png").good());
}
