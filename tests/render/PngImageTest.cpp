#include "render/PngImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

TEST(PngImage, SaveThenLoadKeepsEveryChannel)
{
    PngImage picture;
    picture.resize(3, 2);
    picture.set(0, 0, 0xFF102030u);
    picture.set(2, 1, 0x80FFFFFFu);
    picture.set(1, 0, 0x00000000u);
    std::string file = testing::TempDir() + "roundtrip.png";
    ASSERT_EQ(picture.save(file.c_str()), 1) << picture.error;

    PngImage back;
    ASSERT_EQ(back.load(file.c_str()), 1) << back.error;
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, picture.pixels);
    std::remove(file.c_str());
}

TEST(PngImage, FilesThatCannotBeReadOrWrittenFail)
{
    PngImage picture;
    EXPECT_EQ(picture.load("/nonexistent/picture.png"), 0);
    EXPECT_NE(std::string(picture.error).find("cannot open"), std::string::npos);

    std::string garbage = testing::TempDir() + "garbage.png";
    std::ofstream(garbage) << "this is not a picture";
    EXPECT_EQ(picture.load(garbage.c_str()), 0);
    EXPECT_EQ(picture.width, 0);
    EXPECT_TRUE(picture.pixels.empty());
    std::remove(garbage.c_str());

    // 142 bytes declaring 16384 x 16384 pixels: refused before the gigabyte is allocated.
    std::string huge = std::string(GLOAMER_SOURCE_DIR) + "/tests/data/bad/png-16384-cut.png";
    EXPECT_EQ(picture.load(huge.c_str()), 0);
    EXPECT_NE(std::string(picture.error).find("more than the file holds"), std::string::npos) << picture.error;

    picture.resize(1, 1, 0xFFFFFFFFu);
    EXPECT_EQ(picture.save("/nonexistent/folder/out.png"), 0);
}
