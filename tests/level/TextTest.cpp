#include "level/Text.h"

#include "assets/Typo.h"
#include "audio/Control.h"
#include "render/Screen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

unsigned fakeNow = 0;
unsigned fakeClock()
{
    return fakeNow;
}

const int white = int(0xFFFFFFFF);

class TextTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved = Text::clock;
        Text::clock = fakeClock;
        fakeNow = 1000;
        // Every character is drawn as the substitute "X", a solid 4x5 block.
        std::string path = testing::TempDir() + "text_font.dat";
        std::ofstream(path, std::ios::binary) << "1\nX 4 5\nXXXX\nXXXX\nXXXX\nXXXX\nXXXX\n";
        ASSERT_EQ(1, font.load(path.c_str()));
        screen.clear(int(0xFF000000));
        box.init(&font, &screen);
        initControlNames();
        loadDefaultControls();
    }
    void TearDown() override { Text::clock = saved; }

    std::vector<int> drawn()
    {
        screen.clear(int(0xFF000000));
        box.draw();
        return std::vector<int>(screen.pixels, screen.pixels + screen.width * screen.height);
    }

    unsigned (*saved)();
    Typo font;
    Screen screen{200, 60, 1};
    Text box;
};

} // namespace

TEST_F(TextTest, PanelGrowsTwoPixelsAFrameThenTextIsRevealed)
{
    box.create("Hello there", 10, white);
    EXPECT_TRUE(box.isActive());
    EXPECT_EQ(120, box.boxWidth);
    EXPECT_EQ(9, box.textHeight);
    const int heights[] = {2, 4, 6, 8, 10};
    for (int h : heights) {
        box.update();
        EXPECT_EQ(h, box.shown);
        EXPECT_EQ(1, box.chars);
    }
    box.update();
    box.update();
    EXPECT_EQ(10, box.shown);
    EXPECT_EQ(5, box.chars);
    // A word wider than the panel goes on a second line.
    box.create(std::string(30, 'X').c_str(), 5, white);
    EXPECT_EQ(18, box.textHeight);
}

TEST_F(TextTest, ZeroSecondsOnlyFadesAtTheStartingHeight)
{
    box.create("Hi", 0, white);
    EXPECT_FALSE(box.isActive());
    box.update();
    EXPECT_EQ(250, box.alpha);
    EXPECT_EQ(0, box.shown);
    drawn();
    EXPECT_NE(int(0xFF000000), screen.getPixel(60, 21)); // fill, 1 pixel high
    EXPECT_EQ(white, screen.getPixel(60, 22));          // frame, 3 pixels high
    EXPECT_EQ(int(0xFF000000), screen.getPixel(60, 23));
    for (int i = 0; i < 49; i++)
        box.update();
    EXPECT_EQ(5, box.alpha);
    EXPECT_NE(int(0xFF000000), drawn()[60 * screen.height + 22]);
    box.update();
    EXPECT_EQ(0, box.alpha);
    std::vector<int> empty(std::size_t(screen.width * screen.height), int(0xFF000000));
    EXPECT_EQ(empty, drawn());
}

TEST_F(TextTest, TimeRunsOnTheClockAndFadeGoesInStepsOf25)
{
    box.create("Hi", 2, white);
    for (int i = 0; i < 8; i++)
        box.update();
    fakeNow += 1500;
    box.update();
    EXPECT_EQ(500, box.time);
    EXPECT_TRUE(box.isActive());
    fakeNow += 500;
    box.update();
    EXPECT_FALSE(box.isActive());
    box.update();
    EXPECT_EQ(250, box.alpha);

    auto at = [&](int alpha) {
        box.alpha = alpha;
        return drawn();
    };
    const std::vector<int> at245 = at(245);
    EXPECT_EQ(at(255), at(250));
    EXPECT_NE(at(250), at245);
    EXPECT_EQ(at245, at(230));
    // The stepped alpha dims the frame: 245 draws it at 225 over black.
    int frame = at245[60 * screen.height + 20];
    EXPECT_LT(Screen::getRed(frame), 230);
    EXPECT_GT(Screen::getRed(frame), 220);

    // end() hides a shown box at once.
    box.create("Hi", 10, white);
    box.end();
    EXPECT_FALSE(box.isActive());
    EXPECT_EQ(std::vector<int>(at245.size(), int(0xFF000000)), drawn());
}

TEST_F(TextTest, EscapesNameTheBoundKeysAndTheExpandedMessageIsCutAt255Characters)
{
    box.formatMessage("Press %101 to act");
    EXPECT_STREQ("Press E to act", box.message);
    setControl(controlJump, 97);
    box.formatMessage("%032 jumps, %276 walks");
    EXPECT_STREQ("A jumps, LEFT walks", box.message);
    // Slot 4 holds key 4, which has only a number for a name.
    box.formatMessage("%004!");
    EXPECT_STREQ("<4>!", box.message);
    // Exactly three characters are taken, digits or not.
    box.formatMessage("%27612");
    EXPECT_STREQ("LEFT12", box.message);
    // An escape cut short by the end of the text is kept as it is, and
    // nothing past the text's end is read (the copies are exactly as long
    // as the texts, so a sanitizer build sees any read beyond them).
    for (const char* text : {"Jump with %03", "100%", "%1"}) {
        std::vector<char> exact(text, text + std::strlen(text) + 1);
        box.formatMessage(exact.data());
        EXPECT_STREQ(text, box.message);
    }
    box.create("Use %101", 5, white);
    EXPECT_STREQ("Use E", box.message);

    std::string text(300, 'a');
    box.formatMessage(text.c_str());
    EXPECT_EQ(255u, std::string(box.message).size());
    std::string nearEnd = std::string(253, 'a') + "%276";
    box.formatMessage(nearEnd.c_str());
    EXPECT_EQ(std::string(253, 'a') + "LE", box.message);
}
