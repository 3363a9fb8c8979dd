#include "assets/Typo.h"
#include "assets/TileFixtures.h"
#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

int runFontpack(const std::string& arguments)
{
    return runTool("fontpack", arguments).status;
}

// Every character the game prints must have a glyph of its own: the printable
// ASCII set, the degree sign of the slot screen and the superscript two that
// names a key.
void expectGameCoverage(const char* file, int capitalHeight)
{
    Typo font;
    ASSERT_EQ(1, font.load((std::string(GLOAMER_GAME_DIR) + "/" + file).c_str())) << file;
    for (int code = 33; code <= 126; code++)
        EXPECT_NE(nullptr, font.getGlyph((unsigned char)code)) << file << " lacks " << char(code);
    EXPECT_NE(nullptr, font.getGlyph(0xB0)) << file;
    EXPECT_NE(nullptr, font.getGlyph(0xB2)) << file;
    // Capitals and digits share one height, so lines of them are even.
    for (const char* p = "AMZ09"; *p; p++)
        EXPECT_EQ(capitalHeight, font.getGlyph((unsigned char)*p)->height) << file << " " << *p;
}

} // namespace

TEST(GameFonts, CoverEverythingTheGamePrints)
{
    expectGameCoverage("typo.dat", 7);
    expectGameCoverage("typo_small.dat", 5);
}

TEST(GameFonts, PackerWritesTheFontFormat)
{
    std::string source = writeTestFile("pack_source.txt",
                                   "# comment\n"
                                   "= space\n...\n\n"
                                   "= 0xB0\n.X\nX\n"
                                   "= =\nXXX\n");
    std::string font = testing::TempDir() + "pack_font.dat";
    ASSERT_EQ(0, runFontpack(source + " " + font));
    Typo typo;
    ASSERT_EQ(1, typo.load(font.c_str()));
    EXPECT_EQ(3, typo.getGlyphCount());
    const GLYPH* degree = typo.getGlyph(0xB0);
    ASSERT_NE(nullptr, degree);
    // Short rows are padded to the longest one.
    EXPECT_EQ(2, degree->width);
    EXPECT_EQ(2, degree->height);
    EXPECT_EQ(0, degree->ink[0]);
    EXPECT_NE(0, degree->ink[1]);
    EXPECT_NE(0, degree->ink[2]);
    EXPECT_EQ(0, degree->ink[3]);
    ASSERT_NE(nullptr, typo.getGlyph(' '));
    EXPECT_EQ(3, typo.getGlyph(' ')->width);
    ASSERT_NE(nullptr, typo.getGlyph('='));
    EXPECT_EQ(1, typo.getGlyph('=')->height);
}

TEST(GameFonts, PackerRefusesBadSources)
{
    const char* bad[] = {
        "= a\nX#X\n",       // a row with a mark other than X and .
        "= a\nX\n= a\nX\n", // a character twice
        "= ab\nX\n",        // a name that is no character
    };
    int n = 0;
    for (const char* text : bad) {
        std::string source = writeTestFile("pack_bad.txt", text);
        std::string font = testing::TempDir() + "pack_bad" + std::to_string(n++) + ".dat";
        EXPECT_NE(0, runFontpack(source + " " + font)) << text;
        EXPECT_FALSE(std::ifstream(font).good()) << text;
    }
}

TEST(GameFonts, SheetRefusesADamagedFont)
{
    std::string image = testing::TempDir() + "damaged_sheet.bmp";
    std::remove(image.c_str());
    for (const std::string& font : {writeTestFile("damaged_font.dat", "95\n! 1 5\nX\nX\n"),
                                    writeTestFile("garbage_font.dat", std::string("\x7f\x45\x4c\x46\x02\x01", 6))}) {
        EXPECT_NE(0, runFontpack("--sheet '" + font + "' '" + image + "'")) << font;
        EXPECT_FALSE(std::ifstream(image).good()) << font;
    }
}
