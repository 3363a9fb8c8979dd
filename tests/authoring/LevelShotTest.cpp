// The room picture tool: its command line, where it looks, and the picture
// it writes.

#include "render/PngImage.h"
#include "assets/TileContainer.h"
#include "authoring/LevelShot.h"
#include "render/Screen.h"
#include "level/LevelFixtures.h"
#include "assets/TileFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

namespace {

int parse(LevelShot* shot, std::vector<const char*> args)
{
    args.insert(args.begin(), "levelshot");
    return shot->parseArguments(int(args.size()), const_cast<char**>(args.data()));
}

} // namespace

TEST(LevelShotTest, CommandLineReadsEveryOptionAndRejectsBadValues)
{
    LevelShot shot;
    ASSERT_EQ(parse(&shot, {"metro2.lvl", "out.png", "--at", "-12", "40", "--size", "64x32", "--lamp", "aceto",
                            "--passes", "3", "--game", "build/game"}),
              1)
        << shot.error;
    EXPECT_STREQ(shot.level, "metro2.lvl");
    EXPECT_STREQ(shot.output, "out.png");
    EXPECT_TRUE(shot.atPoint);
    EXPECT_EQ(std::make_tuple(shot.atX, shot.atY, shot.width, shot.height, shot.lamp, shot.passes),
              std::make_tuple(-12, 40, 64, 32, LevelShot::LampAceto, 3));
    EXPECT_STREQ(shot.game, "build/game");

    LevelShot named;
    ASSERT_EQ(parse(&named, {"a.lvl", "--at", "start", "b.png", "--lamp", "none"}), 1) << named.error;
    EXPECT_STREQ(named.atName, "start");
    EXPECT_STREQ(named.output, "b.png");
    EXPECT_EQ(named.lamp, LevelShot::LampNone);

    const std::vector<std::vector<const char*>> bad = {
        {"a.lvl"},          {"a.lvl", "b.png", "c"},   {"a.lvl", "b.png", "--size", "0x10"},
        {"a.lvl", "b.png", "--size", "10"}, {"a.lvl", "b.png", "--lamp", "lantern"},
        {"a.lvl", "b.png", "--passes", "2x"}, {"a.lvl", "b.png", "--passes"}, {"a.lvl", "b.png", "--zoom", "2"},
    };
    for (const auto& args : bad) {
        LevelShot s;
        EXPECT_EQ(parse(&s, args), 0) << args.back();
        EXPECT_NE(s.error[0], 0);
    }
}

// Where the camera stands, on an element, a point or the map, and how it
// centres there, is seen in every picture of EachTestRoomKeepsItsPicture.
TEST(LevelShotTest, AnElementNameTheRoomLacksIsAnError)
{
    Level level;
    auto t = solidTile(10, 6);
    place(&level, t.get(), 100, 200);
    ASSERT_EQ(level.compile(), 1);
    LevelShot shot;
    boundedCopy(shot.atName, sizeof shot.atName, "nowhere");
    int x = 0, y = 0;
    EXPECT_EQ(shot.findPoint(&level, &x, &y), 0);
    EXPECT_NE(shot.error[0], 0);
}

TEST(LevelShotTest, PictureIsMagnifiedFourTimesAndOpaque)
{
    Screen s(3, 2, 1);
    s.clear(0);
    s.setPixel(1, 0, int(0x7F102030u));
    s.setPixel(2, 1, int(0xFFFFFFFFu));
    LevelShot shot;
    std::string file = tempPath("shot.png");
    ASSERT_EQ(shot.savePicture(&s, file.c_str()), 1) << shot.error;
    PngImage picture;
    ASSERT_EQ(picture.load(file.c_str()), 1);
    ASSERT_EQ(picture.width, 12);
    ASSERT_EQ(picture.height, 8);
    const uint32_t expected[][3] = {{0, 0, 0xFF000000u}, {4, 0, 0xFF102030u}, {7, 3, 0xFF102030u},
                                    {8, 3, 0xFF000000u}, {11, 7, 0xFFFFFFFFu}};
    for (const auto& p : expected)
        EXPECT_EQ(picture.get(int(p[0]), int(p[1])), p[2]) << p[0] << "," << p[1];

    // The fingerprint sees a one-channel change anywhere.
    uint32_t before = LevelShot::checksum(&s);
    s.setPixel(0, 1, 1);
    EXPECT_NE(LevelShot::checksum(&s), before);
}

namespace {

// A picture whose pixel (x, y) is paint(f, x, y).
template <typename F>
void addTile(TileContainer* container, const char* name, int width, int height, int frames, F paint)
{
    Tile tile;
    ASSERT_EQ(tile.create(width, height, frames, 0), 1);
    boundedCopy(tile.name, sizeof tile.name, name);
    for (int f = 0; f < frames; f++)
        for (int x = 0; x < width; x++)
            for (int y = 0; y < height; y++)
                tile.frames[f].data[x * height + y] = paint(f, x, y);
    ASSERT_EQ(container->add(tile), 1) << container->error;
}

TILE_PIXEL opaque(unsigned colour, int depth, float incandescence = 0.0f)
{
    return TILE_PIXEL{int(colour | 0xFF000000u), depth, incandescence};
}

// The pictures of the test rooms: a 64 x 40 hall of stone with a rock floor
// and left wall, a pillar that casts shadows, a black panel and the
// phosphorescent paint laid on it, a small lamp, a shelf of depths 7 to 9,
// and the animated things (the water texture, a glow-worm, ooze, the dog,
// a coin) next to a crate.
void writeRoomTiles(const std::string& file)
{
    TileContainer c;
    addTile(&c, "room.til", 64, 40, 1, [](int, int x, int y) {
        bool rock = y >= 34 || x < 3;
        unsigned r = 110 + (x * 7 + y * 3) % 40, g = 90 + (x * 5 + y * 11) % 30, b = 70 + (x + y) % 20;
        return opaque(r << 16 | g << 8 | b, rock ? 10 : 5);
    });
    addTile(&c, "pillar.til", 4, 14, 1, [](int, int, int y) { return opaque(0x806040u + unsigned(y), 8); });
    addTile(&c, "panel.til", 12, 8, 1, [](int, int, int) { return opaque(0, 5); });
    addTile(&c, "paint.til", 12, 8, 1, [](int, int x, int y) {
        return (x + y) % 3 ? opaque(0xFF8040u, 0) : TILE_PIXEL{0, 0, 0.0f};
    });
    addTile(&c, "lamp.til", 2, 2, 1, [](int, int, int) { return opaque(0xFFFF00u, 5, 1.0f); });
    addTile(&c, "shelf.til", 10, 6, 1, [](int, int, int y) { return opaque(0x4060A0u, 7 + y / 2); });
    addTile(&c, "water04.anm", 8, 8, 2, [](int f, int x, int y) {
        return opaque(unsigned(20 + 10 * f) << 8 | unsigned(120 + (x * 13 + y * 7) % 100), 0);
    });
    addTile(&c, "anim.anm", 6, 6, 2, [](int f, int x, int y) {
        return opaque(0x30C030u + unsigned(f * 0x202020), 0, (x + y) % 4 == 0 ? 1.0f : 0.0f);
    });
    addTile(&c, "crate.til", 6, 6, 1, [](int, int x, int y) {
        return opaque(x == 0 || y == 0 || x == 5 || y == 5 ? 0x60401Cu : 0xA07838u, 0);
    });
    addTile(&c, "ooze.anm", 10, 4, 2, [](int f, int x, int) { return opaque(0x40FF40u - unsigned((x + f) % 3 * 0x100), 0); });
    addTile(&c, "dog_idle.anm", 6, 6, 2, [](int, int, int y) { return opaque(y < 2 ? 0x705030u : 0x503010u, 0); });
    addTile(&c, "gold_coin01.anm", 4, 4, 2, [](int, int, int) { return opaque(0xFFD700u, 0, 0.3f); });
    ASSERT_EQ(c.save(file.c_str()), 1) << c.error;
}

// A game folder holding the test rooms and their pictures.
std::string roomFolder()
{
    std::string dir = tempPath("game");
    std::string command = "rm -rf '" + dir + "' && mkdir -p '" + dir + "' && cp -r '" +
                          std::string(GLOAMER_TEST_DATA) + "/levelshot/Level' '" + dir + "/'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    writeRoomTiles(dir + "/tiles.dat");
    return dir;
}

// Draws a test room as the tool does and compares the buffer with the
// stored fingerprint. A changed fingerprint names the picture to look at.
void checkPicture(const char* level, std::vector<const char*> options, uint32_t expected)
{
    std::string game = roomFolder();
    // GLOAMER_SHOT_DIR keeps the pictures for a look; by default they go
    // with the test's temporary folder.
    const char* keep = std::getenv("GLOAMER_SHOT_DIR");
    std::string out = keep ? std::string(keep) + "/" + level + ".png" : tempPath("shot.png");
    std::vector<const char*> args = {level, out.c_str(), "--game", game.c_str(), "--size", "144x60"};
    args.insert(args.end(), options.begin(), options.end());
    LevelShot shot;
    ASSERT_EQ(parse(&shot, args), 1) << shot.error;
    Screen s(shot.width, shot.height, 1);
    ASSERT_EQ(shot.render(&s), 1) << shot.error;
    ASSERT_EQ(shot.savePicture(&s, out.c_str()), 1) << shot.error;
    uint32_t sum = LevelShot::checksum(&s);
    EXPECT_EQ(sum, expected) << "The picture of " << level << " changed. Look at it first: run this test "
                             << "with GLOAMER_SHOT_DIR=<folder> set and open <folder>/" << level << ".png. "
                             << "If the change is meant, store 0x" << std::hex << sum
                             << " for it in tests/level/LevelShotTest.cpp.";
}

} // namespace

TEST(LevelShotPictureTest, EachTestRoomKeepsItsPicture)
{
    const struct {
        const char* level;
        std::vector<const char*> options;
        uint32_t expected;
    } rooms[] = {
        {"lit.lvl", {"--at", "30", "20", "--passes", "2"}, 0x7870f918u},        // light and shadow round a pillar
        {"memory.lvl", {"--at", "10", "10", "--passes", "10"}, 0x27063825u},    // memory fades round what was lit
        {"reveal.lvl", {"--at", "20", "20", "--lamp", "torch"}, 0x39fd91d9u},   // a revealed room remembered everywhere
        {"phospho.lvl", {"--at", "paint", "--passes", "2"}, 0x532ab523u},       // a candle charges paint, glowing red
        {"water.lvl", {"--lamp", "none", "--passes", "6"}, 0xee15dc06u},        // lit water and cloud
        {"entities.lvl", {"--lamp", "aceto", "--passes", "2"}, 0xb8e8ab00u},    // moving things lit on their layers
        {"basedepth.lvl", {"--lamp", "none"}, 0x1ac4cb4bu},                     // base depth paints shallower rock
    };
    for (const auto& r : rooms)
        checkPicture(r.level, r.options, r.expected);
}
