// Character sheets: both text formats, the bounds a damaged file is held
// to, and the three ways a frame is drawn.

#include "assets/Animation.h"
#include "render/Screen.h"

#include "TileFixtures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const int red = int(0xFFFF0000u);
const int green = int(0xFF00FF00u);
const int blue = int(0xFF0000FFu);

// Palette lines: 0 transparent, 1 green written signed, 2 blue written as
// its unsigned value, then 0x11000000 + d for d = 3..9.
std::string palette()
{
    std::string s = "0\n" + std::to_string(green) + "\n" + std::to_string(0xFF0000FFu) + "\n";
    for (int d = 3; d < 10; d++)
        s += std::to_string(0x11000000 + d) + "\n";
    return s;
}

// 3 x 2 frames: frame 0 moves (2, 0) with its light at (1, 0); frame 1
// moves (-1, 3), light (2, 1). Row 1 of frame 0 is one character short.
std::string paletteSheet()
{
    return "3 2 2 2\nwalk 0 1\nclimb 1 1\n" + palette() + "2 0\n1 0\n12.\n2\n-1 3\n2 1\n 0 \n219\n";
}

void expectEmpty(const Animation& a)
{
    EXPECT_EQ(a.frameCount, 0);
    EXPECT_EQ(a.seqCount, 0);
    EXPECT_EQ(a.frames, nullptr);
    EXPECT_EQ(a.seqs, nullptr);
    EXPECT_EQ(a.getColor(0, 0, 0), 0);
    EXPECT_EQ(a.getSeqEnd(0), 0);
}

} // namespace

TEST(Animation, PaletteFormatGivesDigitsTheirColoursAndEverythingElseRed)
{
    Animation a;
    ASSERT_EQ(a.loadFromFile2(writeTestFile("sheet.txt", paletteSheet()).c_str()), 1);
    EXPECT_EQ(a.getWidth(), 3);
    EXPECT_EQ(a.getHeight(), 2);
    EXPECT_EQ(a.getColor(0, 0, 0), green);
    EXPECT_EQ(a.getColor(1, 0, 0), blue);
    EXPECT_EQ(a.getColor(2, 0, 0), red) << "a dot is not a digit";
    EXPECT_EQ(a.getColor(0, 1, 0), blue);
    EXPECT_EQ(a.getColor(1, 1, 0), 0) << "a short row ends in transparent pixels";
    EXPECT_EQ(a.getColor(0, 0, 1), red) << "a space is not a digit";
    EXPECT_EQ(a.getColor(1, 0, 1), 0);
    EXPECT_EQ(a.getColor(2, 1, 1), 0x11000009);
    int x, y;
    a.moveCoords(&x, &y, 1);
    EXPECT_EQ(x * 100 + y, -100 + 3);
    a.lightCoords(&x, &y, 0);
    EXPECT_EQ(x * 100 + y, 100);
    EXPECT_EQ(a.getSeqBegin(1), 1);
    EXPECT_EQ(a.getSeqEnd(0), 1);
}

TEST(Animation, PlainFormatReadsDecimalColoursColumnByColumn)
{
    std::string text = "2 2 1 1\nall 0 0\n0 0\n1 1\n";
    for (int c : {1, 2, 3, red})
        text += std::to_string(c) + "\n";
    Animation a;
    ASSERT_EQ(a.loadFromFile(writeTestFile("sheet.txt", text).c_str()), 1);
    EXPECT_EQ(a.getColor(0, 0, 0), 1);
    EXPECT_EQ(a.getColor(0, 1, 0), 2);
    EXPECT_EQ(a.getColor(1, 0, 0), 3);
    EXPECT_EQ(a.getColor(1, 1, 0), red);
}

TEST(Animation, QueriesOutsideTheSheetAnswerZero)
{
    Animation a;
    ASSERT_EQ(a.loadFromFile2(writeTestFile("sheet.txt", paletteSheet()).c_str()), 1);
    EXPECT_EQ(a.getColor(3, 0, 0), 0);
    EXPECT_EQ(a.getColor(0, -1, 0), 0);
    EXPECT_EQ(a.getColor(0, 0, 2), 0);
    EXPECT_EQ(a.getSeqBegin(2), 0);
    EXPECT_EQ(a.getSeqEnd(-1), 0);
    EXPECT_EQ(a.getSeqByName("climb"), 1);
    EXPECT_EQ(a.getSeqByName("Climb"), 0) << "names are case-sensitive";
    EXPECT_EQ(a.getSeqByName("swim"), 0);
    int x = 5, y = 5;
    a.moveCoords(&x, &y, 7);
    EXPECT_EQ(x | y, 0);
}

TEST(Animation, MissingFileLeavesAnEmptySheetThatDrawsNothing)
{
    Animation a;
    ASSERT_EQ(a.loadFromFile2(writeTestFile("sheet.txt", paletteSheet()).c_str()), 1);
    EXPECT_EQ(a.loadFromFile2((testing::TempDir() + "no-such-sheet.txt").c_str()), 0);
    expectEmpty(a);
    EXPECT_EQ(a.loadFromFile((testing::TempDir() + "no-such-sheet.txt").c_str()), 0);
    Screen s(4, 4, 1);
    a.draw(0, 0, 0, 0, &s);
    EXPECT_EQ(s.getPixel(0, 0), 0);
}

TEST(Animation, DamagedFilesLeaveAnEmptySheet)
{
    const std::string frame = "0 0\n0 0\n11\n11\n";
    struct Case {
        const char* fault;
        std::string text;
    } cases[] = {
        {"no header", ""},
        {"header not numbers", "two by two\n"},
        {"zero width", "0 2 1 0\n" + palette() + frame},
        {"width past 256", "257 2 1 0\n" + palette() + frame},
        {"height past 256", "2 300 1 0\n" + palette() + frame},
        {"no frame", "2 2 0 0\n" + palette()},
        {"frames past 4096", "2 2 4097 0\n" + palette() + frame},
        {"negative sequence count", "2 2 1 -1\n" + palette() + frame},
        {"sequences past 256", "2 2 1 257\n" + palette() + frame},
        {"sequence ends past the frames", "2 2 1 1\na 0 1\n" + palette() + frame},
        {"sequence begins below 0", "2 2 1 1\na -1 0\n" + palette() + frame},
        {"sequence runs backwards", "2 2 2 1\na 1 0\n" + palette() + frame + frame},
        {"sequence line incomplete", "2 2 1 1\na 0\n" + palette() + frame},
        {"palette cut short", "2 2 1 0\n0\n1\n"},
        {"palette entry not a number", "2 2 1 0\n" + palette().replace(0, 1, "x") + frame},
        {"movement line incomplete", "2 2 1 0\n" + palette() + "0\n0 0\n11\n11\n"},
        {"move past a frame's side", "2 2 1 0\n" + palette() + "2147483647 0\n0 0\n11\n11\n"},
        {"light offset past the int range", "2 2 1 0\n" + palette() + "0 0\n0 -99999999999\n11\n11\n"},
        {"rows cut short", "2 2 1 0\n" + palette() + "0 0\n0 0\n11\n"},
        {"second frame missing", "2 2 2 0\n" + palette() + frame},
    };
    for (const Case& c : cases) {
        Animation a;
        EXPECT_EQ(a.loadFromFile2(writeTestFile("sheet.txt", c.text).c_str()), 0) << c.fault;
        expectEmpty(a);
    }
    Animation plain;
    std::string cut = writeTestFile("sheet.txt", "1 1 2 0\n0 0\n0 0\n5\n0 0\n");
    EXPECT_EQ(plain.loadFromFile(cut.c_str()), 0) << "pixels cut short";
    expectEmpty(plain);
}

TEST(Animation, LargestSheetLinesAndLongNamesAreHeldToTheirBounds)
{
    std::string longName(200, 'n');
    std::string row(256, '1');
    std::string text = "256 1 1 1\n" + longName + " 0 0\n" + palette() + "0 0\n0 0\n" + row + "22222\n";
    Animation a;
    ASSERT_EQ(a.loadFromFile2(writeTestFile("sheet.txt", text).c_str()), 1);
    EXPECT_EQ(std::string(a.getSeqName(0)), std::string(31, 'n'));
    EXPECT_EQ(a.getColor(255, 0, 0), green) << "a row of 256 pixels is read whole; what follows it is dropped";
}

TEST(Animation, DrawsPlainMirroredAndMasked)
{
    // Frame 0 of the palette sheet: row 0 green, blue, red; row 1 blue, empty, empty.
    Animation a;
    ASSERT_EQ(a.loadFromFile2(writeTestFile("sheet.txt", paletteSheet()).c_str()), 1);
    Screen s(8, 4, 1);
    a.draw(1, 1, 0, 0, &s);
    EXPECT_EQ(s.getPixel(1, 1), green);
    EXPECT_EQ(s.getPixel(3, 1), red);
    EXPECT_EQ(s.getPixel(1, 2), blue);
    EXPECT_EQ(s.getPixel(2, 2), 0);

    s.clear(0);
    a.draw(1, 1, 0, 1, &s);
    EXPECT_EQ(s.getPixel(3, 1), green) << "column 0 lands on the right";
    EXPECT_EQ(s.getPixel(1, 1), red);
    EXPECT_EQ(s.getPixel(3, 2), blue);

    const int black = int(0xFF000000u);
    s.clear(black);
    a.draw(0, 0, 0, 0, &s, 0x80FFFFFF);
    Screen blended(1, 1, 1);
    blended.clear(black);
    blended.addPixel(0, 0, green & 0x80FFFFFF);
    EXPECT_EQ(s.getPixel(0, 0), blended.getPixel(0, 0)) << "green blended at the masked alpha";
    EXPECT_NE(s.getPixel(0, 0), green);

    s.clear(0);
    a.draw(-2, 0, 0, 0, &s);
    EXPECT_EQ(s.getPixel(0, 0), red) << "clipped at the screen's left edge";
    a.draw(7, 3, 0, 0, &s);
    EXPECT_EQ(s.getPixel(7, 3), green) << "clipped at the bottom right corner";
    a.draw(4, 0, 5, 0, &s);
    EXPECT_EQ(s.getPixel(4, 0), 0) << "a frame outside the sheet draws nothing";
}

TEST(Animation, JitterShiftsEachRowOnItsOwnByAtMostTheAmplitude)
{
    // A 3 x 8 frame, every pixel blue, drawn at x 8 with red ORed in.
    std::string text = "3 8 1 0\n" + palette() + "0 0\n0 0\n";
    for (int row = 0; row < 8; row++)
        text += "222\n";
    Animation a;
    ASSERT_EQ(a.loadFromFile2(writeTestFile("sheet.txt", text).c_str()), 1);
    Screen s(20, 8, 1);
    a.drawRandom(8, 0, 0, 0, &s, 0x00FF0000, 4.0f);
    std::set<int> starts;
    for (int row = 0; row < 8; row++) {
        int first = 0;
        while (first < 20 && s.getPixel(first, row) == 0)
            first++;
        EXPECT_TRUE(first >= 8 - 4 && first <= 8 + 4) << "row " << row << " starts at " << first;
        for (int x = first; x < first + 3; x++)
            EXPECT_EQ(s.getPixel(x, row), int(0xFFFF00FFu)) << "row " << row << ", blue ORed with red";
        EXPECT_EQ(s.getPixel(first + 3, row), 0) << "row " << row << " stays whole";
        starts.insert(first);
    }
    EXPECT_GT(starts.size(), 1u) << "the rows do not move as one";
}
