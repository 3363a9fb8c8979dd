// The room picture tool: its command line, where it looks, and the picture
// it writes.

#include "assets/PngImage.h"
#include "level/LevelShot.h"
#include "render/Screen.h"
#include "LevelFixtures.h"
#include "assets/TileFixtures.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(shot.atX, -12);
    EXPECT_EQ(shot.atY, 40);
    EXPECT_EQ(shot.width, 64);
    EXPECT_EQ(shot.height, 32);
    EXPECT_EQ(shot.lamp, LevelShot::LampAceto);
    EXPECT_EQ(shot.passes, 3);
    EXPECT_STREQ(shot.game, "build/game");

    LevelShot named;
    ASSERT_EQ(parse(&named, {"a.lvl", "--at", "start", "b.png", "--lamp", "none"}), 1) << named.error;
    EXPECT_STREQ(named.atName, "start");
    EXPECT_STREQ(named.output, "b.png");
    EXPECT_EQ(named.lamp, LevelShot::LampNone);

    const std::vector<std::vector<const char*>> bad = {
        {"a.lvl"},
        {"a.lvl", "b.png", "c"},
        {"a.lvl", "b.png", "--size", "0x10"},
        {"a.lvl", "b.png", "--size", "10x99999"},
        {"a.lvl", "b.png", "--size", "10"},
        {"a.lvl", "b.png", "--lamp", "lantern"},
        {"a.lvl", "b.png", "--passes", "-1"},
        {"a.lvl", "b.png", "--passes", "2x"},
        {"a.lvl", "b.png", "--passes"},
        {"a.lvl", "b.png", "--zoom", "2"},
    };
    for (const auto& args : bad) {
        LevelShot s;
        EXPECT_EQ(parse(&s, args), 0) << args.back();
        EXPECT_NE(s.error[0], 0);
    }
}

TEST(LevelShotTest, CameraCentresOnAnElementAPointOrTheMap)
{
    Level level;
    auto t = solidTile(10, 6);
    Element* door = place(&level, t.get(), 100, 200);
    boundedCopy(door->name, sizeof door->name, "door1");
    ASSERT_EQ(level.compile(), 1);

    LevelShot shot;
    int x = 0, y = 0;
    ASSERT_EQ(shot.findPoint(&level, &x, &y), 1);
    EXPECT_EQ(x, 99 + 12 / 2);
    EXPECT_EQ(y, 199 + 8 / 2);

    boundedCopy(shot.atName, sizeof shot.atName, "door1");
    ASSERT_EQ(shot.findPoint(&level, &x, &y), 1);
    EXPECT_EQ(x, 105);
    EXPECT_EQ(y, 203);
    int ox, oy;
    LevelShot::centre(x, y, 480, 270, &ox, &oy);
    EXPECT_EQ(x + ox, 240);
    EXPECT_EQ(y + oy, 135);

    boundedCopy(shot.atName, sizeof shot.atName, "nowhere");
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
    EXPECT_EQ(picture.get(0, 0), 0xFF000000u);
    EXPECT_EQ(picture.get(4, 0), 0xFF102030u);
    EXPECT_EQ(picture.get(7, 3), 0xFF102030u);
    EXPECT_EQ(picture.get(8, 3), 0xFF000000u);
    EXPECT_EQ(picture.get(11, 7), 0xFFFFFFFFu);

    // The fingerprint sees a one-channel change anywhere.
    uint32_t before = LevelShot::checksum(&s);
    s.setPixel(0, 1, 1);
    EXPECT_NE(LevelShot::checksum(&s), before);
}
