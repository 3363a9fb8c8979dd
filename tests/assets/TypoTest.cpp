#include "assets/Typo.h"
#include "render/Screen.h"

#include "TileFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace {

const int white = int(0xFFFFFFFF);

// A glyph given as its header character and size, all pixels inked.
std::string solid(char c, int w, int h)
{
    std::ostringstream s;
    s << c << " " << w << " " << h << "\n";
    for (int y = 0; y < h; y++)
        s << std::string(std::size_t(w), 'X') << "\n";
    return s.str();
}

// Solid glyphs with distinct sizes, so that where each lands is easy to see:
// a 3x5, b 2x7, x 1x2 (plain substitute), X 4x3 (word substitute), byte 200 5x1.
std::string testFont()
{
    return "5\n" + solid('a', 3, 5) + solid('b', 2, 7) + solid('x', 1, 2) + solid('X', 4, 3) +
           solid(char(200), 5, 1);
}

// The box around the ink of the screen's columns x0..x1, and how many pixels are inked.
struct Ink {
    int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1, count = 0;
};

Ink inkIn(const Screen& s, int x0 = 0, int x1 = 1 << 20)
{
    Ink ink;
    for (int x = x0; x <= x1 && x < s.width; x++)
        for (int y = 0; y < s.height; y++)
            if (s.getPixel(x, y) != 0) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ink.count++;
            }
    return ink;
}

class TypoTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, font.load(writeTestFile("typo_test.dat", testFont()).c_str()));
        screen.clear(0);
    }
    Typo font;
    Screen screen{80, 40, 1};
};

} // namespace

TEST(TypoLoad, ReadsGlyphsColumnMajorWithSpaceAndDuplicates)
{
    // The space glyph's header starts with the space itself; "c" is listed
    // twice and the later definition wins.
    std::string text = "4\n"
                       "c 3 2\nXX.\n..X\n"
                       "  2 1\nX.\n"
                       "c 3 2\nX..\n.XX\n"
                       "d 2 1\nXX\n";
    Typo font;
    ASSERT_EQ(1, font.load(writeTestFile("typo_shapes.dat", text).c_str()));
    EXPECT_EQ(3, font.getGlyphCount());
    const GLYPH* c = font.getGlyph('c');
    ASSERT_NE(nullptr, c);
    ASSERT_EQ(3, c->width);
    ASSERT_EQ(2, c->height);
    // Pixel (x, y) is ink[x * height + y]: "X.." over ".XX".
    const int ink[] = {white, 0, 0, white, 0, white};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(ink[i], c->ink[i]) << i;
    ASSERT_NE(nullptr, font.getGlyph(' '));
    EXPECT_EQ(2, font.getGlyph(' ')->width);
    ASSERT_NE(nullptr, font.getGlyph('d'));
}

TEST(TypoLoad, MalformedFilesAreRefusedButKeepWhatWasReadAndNeverOverflow)
{
    struct Case {
        const char* name;
        std::string text;
        int glyphs;
        int whole;
    };
    std::string longRow(1000, 'X');
    const Case cases[] = {
        // A row far longer than the row buffer: the glyph keeps its declared
        // width and the next glyph still reads.
        {"long_row", "2\na 3 1\n" + longRow + "\nb 1 1\nX\n", 2, 1},
        {"negative_size", "3\n" + solid('a', 1, 1) + "b -4 2\nX\nX\n" + solid('c', 1, 1), 1, 0},
        {"absurd_size", "2\n" + solid('a', 1, 1) + "b 100000 100000\nX\n", 1, 0},
        {"ends_in_rows", "3\n" + solid('a', 1, 1) + "b 2 5\nXX\nXX\n", 1, 0},
        {"ends_in_header", "3\n" + solid('a', 1, 1) + "b 2", 1, 0},
        {"count_too_large", "40\n" + solid('a', 1, 1), 1, 0},
        // A glyph without rows ends at its header's line; the next header follows.
        {"zero_height", "3\na 3 0\nb 1 1\nX\nc 2 0\n", 3, 1},
        {"bad_count", "many\n" + solid('a', 1, 1), 0, 0},
        {"empty", "", 0, 0},
    };
    for (const Case& c : cases) {
        Typo font;
        EXPECT_EQ(c.whole, font.load(writeTestFile(std::string("typo_") + c.name + ".dat", c.text).c_str())) << c.name;
        EXPECT_EQ(c.glyphs, font.getGlyphCount()) << c.name;
    }
    Typo font;
    font.load(writeTestFile("typo_long_row.dat", cases[0].text).c_str());
    ASSERT_NE(nullptr, font.getGlyph('a'));
    EXPECT_EQ(3, font.getGlyph('a')->width);
    EXPECT_EQ(white, font.getGlyph('a')->ink[2]);
    // A file that cannot be opened leaves the table as it was.
    EXPECT_EQ(0, font.load((testing::TempDir() + "no_such_font.dat").c_str()));
    EXPECT_EQ(2, font.getGlyphCount());
}

TEST_F(TypoTest, SpaceAdvancesSixAndGlyphsTheirWidthPlusOne)
{
    font.print("a b", 10, 5, &screen);
    // "a" is 3 wide at 10..12; "b" starts at 10 + 3 + 1 + 6 = 20.
    Ink a = inkIn(screen, 0, 15);
    EXPECT_EQ(10, a.left);
    EXPECT_EQ(12, a.right);
    EXPECT_EQ(5, a.top);
    Ink b = inkIn(screen, 16);
    EXPECT_EQ(20, b.left);
    EXPECT_EQ(21, b.right);
    EXPECT_EQ(5, b.top);
    EXPECT_EQ(15 + 14, inkIn(screen).count);
}

TEST_F(TypoTest, LineFeedGoesBackAndDownByTheTallestGlyphOfTheLine)
{
    font.print("ba\na", 10, 2, &screen);
    // "b" (7 high) covers rows 2..8; the second line starts at 2 + 7 + 1 = 10, back at x.
    EXPECT_EQ(white, screen.getPixel(10, 8));
    EXPECT_EQ(0, screen.getPixel(10, 9));
    EXPECT_EQ(white, screen.getPixel(10, 10));
    EXPECT_EQ(white, screen.getPixel(12, 14));
    EXPECT_EQ(0, screen.getPixel(12, 9));
    EXPECT_EQ(14 + 15 + 15, inkIn(screen).count);

    // Only spaces and line feeds: nothing is drawn.
    screen.clear(0);
    font.print("  \n \n", 0, 0, &screen);
    EXPECT_EQ(0, inkIn(screen).count);
}

TEST_F(TypoTest, PlainPrintingSubstitutesLowerXAndWordWrappingUpperX)
{
    // "q" has no glyph: plain printing draws "x" (1x2) in its place.
    font.print("q", 0, 0, &screen);
    Ink plain = inkIn(screen);
    EXPECT_EQ(2, plain.count);
    EXPECT_EQ(0, plain.right);

    // Word-wrapped printing draws and measures "X" (4x3).
    screen.clear(0);
    font.print2("q", 0, 0, 100, 9, 100, white, &screen);
    Ink wrapped = inkIn(screen);
    EXPECT_EQ(12, wrapped.count);
    EXPECT_EQ(3, wrapped.right);
    EXPECT_EQ(4 + 1 + 3, font.getWordWidth("qa", 0));

    // Without a substitute nothing is drawn and the pen does not move.
    Typo bare;
    bare.load(writeTestFile("typo_bare.dat", "1\n" + solid('a', 3, 5)).c_str());
    screen.clear(0);
    bare.print("qa", 0, 0, &screen);
    EXPECT_EQ(0, inkIn(screen).left);
    EXPECT_EQ(3, bare.getWordWidth("qa q", 0));
}

TEST_F(TypoTest, CodesAbove127UseTheirOwnGlyph)
{
    const char text[] = {char(200), 0};
    font.print(text, 0, 0, &screen);
    Ink ink = inkIn(screen);
    EXPECT_EQ(5, ink.count);
    EXPECT_EQ(4, ink.right);
    EXPECT_EQ(0, ink.bottom);
    EXPECT_EQ(5, font.getWordWidth(text, 0));
}

TEST_F(TypoTest, CentresALineOnX)
{
    // Advance of "ab" is 4 + 3 = 7, so W = 6 and the line starts at 40 - 3.
    font.printCenter("ab", 40, 0, &screen);
    Ink ink = inkIn(screen);
    EXPECT_EQ(37, ink.left);
    EXPECT_EQ(37 + 3 + 1 + 1, ink.right);
    // Each line of several is centred on its own.
    screen.clear(0);
    font.printCenter("ab\na", 40, 0, &screen);
    Ink second = inkIn(screen);
    EXPECT_EQ(37, second.left);
    EXPECT_EQ(white, screen.getPixel(39, 8));
    EXPECT_EQ(0, screen.getPixel(38, 8));
}

TEST_F(TypoTest, LimitedPrintingWrapsAtGlyphsAndCountsCharacters)
{
    // Three "a" (3 wide) in a 9-wide box: the third would end past it, so it
    // starts a new line 5 + 1 lower. Height used: 6 + 5.
    EXPECT_EQ(11, font.print("aaa", 0, 0, 9, -1, white, &screen));
    EXPECT_EQ(white, screen.getPixel(0, 6));
    EXPECT_EQ(0, screen.getPixel(8, 6));
    // Measuring without a screen gives the same height.
    EXPECT_EQ(11, font.print("aaa", 0, 0, 9, -1, white, nullptr));
    // Only the first maxChars characters are processed.
    EXPECT_EQ(5, font.print("aaa", 0, 0, 9, 2, white, nullptr));
    screen.clear(0);
    EXPECT_EQ(0, font.print("aaa", 0, 0, 9, 0, white, &screen));
    EXPECT_EQ(0, inkIn(screen).count);
    // The colour is applied to the ink.
    font.print("a", 0, 0, 100, -1, int(0xFF112233), &screen);
    EXPECT_EQ(int(0xFF112233), screen.getPixel(1, 1));
}

TEST_F(TypoTest, WordWrappedHeightIsLineHeightTimesLines)
{
    EXPECT_EQ(9, font.print2("a b", 0, 0, 100, 9, -1, white, nullptr));
    EXPECT_EQ(18, font.print2("a\nb", 0, 0, 100, 9, -1, white, nullptr));
    EXPECT_EQ(18, font.print2("a b\n", 0, 0, 100, 9, -1, white, nullptr));
    // One word wider than the box starts a new line before itself.
    EXPECT_EQ(18, font.print2("aaaa", 0, 0, 10, 9, -1, white, nullptr));
    // "aa" is 7 wide: the second word fits after 7 + 6 only while 13 + 7 < maxWidth.
    EXPECT_EQ(9, font.print2("aa aa", 0, 0, 21, 9, -1, white, nullptr));
    EXPECT_EQ(18, font.print2("aa aa", 0, 0, 20, 9, -1, white, nullptr));
    // Where the wrapped word lands: back at x, one line height down.
    font.print2("aa aa", 5, 2, 20, 9, 100, white, &screen);
    EXPECT_EQ(white, screen.getPixel(5, 11));
    EXPECT_EQ(0, screen.getPixel(5 + 13, 2));
}

TEST_F(TypoTest, PrintWordRevealsByPositionInTheWholeString)
{
    EXPECT_EQ(3, font.getNWord(" a  b\nab "));
    EXPECT_EQ(0, font.getNWord(" \n "));
    EXPECT_EQ(3 + 1 + 2, font.getWordWidth(" a  b\nab ", 2));
    EXPECT_EQ(0, font.getWordWidth("a", 1));

    // maxChars 0 still draws the character at string position 0.
    EXPECT_EQ(2, font.printWord("ab", 0, 0, 0, 0, white, &screen));
    Ink ink = inkIn(screen);
    EXPECT_EQ(15, ink.count);
    EXPECT_EQ(2, ink.right);

    // Word 1 of "a ba" starts at position 2: with maxChars 2 only its "b" shows.
    screen.clear(0);
    EXPECT_EQ(4, font.printWord("a ba", 1, 0, 0, 2, white, &screen));
    EXPECT_EQ(14, inkIn(screen).count);
    EXPECT_EQ(0, font.printWord("a ba", 2, 0, 0, 10, white, &screen));

    // The reveal through print2 grows with maxChars; the space at position 2 adds nothing.
    const int expected[] = {15, 29, 29, 44, 58};
    for (int chars = 0; chars <= 4; chars++) {
        screen.clear(0);
        font.print2("ab ab", 0, 0, 100, 9, chars, white, &screen);
        EXPECT_EQ(expected[chars], inkIn(screen).count) << chars;
    }
}
