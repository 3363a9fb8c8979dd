#include "ui/Hud.h"

#include "assets/Typo.h"
#include "player/Player.h"
#include "render/Screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

const int white = int(0xFFFFFFFF);
const int background = int(0xFF000000);
const int skull = int(0xFF111111);
const int heart = int(0xFF222222);
const int emptyHeart = int(0xFF333333);
const int coin = int(0xFF444444);
const int diamond = int(0xFF555555);
const int key = int(0xFF666666);

void solid(Tile& tile, int w, int h, int colour)
{
    ASSERT_EQ(tile.create(w, h, 1, 0), 1);
    for (int i = 0; i < w * h; i++)
        tile.frames[0].data[i].colour = colour;
}

// Icons as solid blocks of known sizes and colours; every character of the
// counters prints as the substitute "x", a solid 3x5 block.
class HudTest : public testing::Test {
protected:
    void SetUp() override
    {
        solid(hud.skullIcon, 7, 8, skull);
        solid(hud.heartIcon, 6, 6, heart);
        solid(hud.emptyHeartIcon, 5, 6, emptyHeart);
        solid(hud.coinIcon, 7, 7, coin);
        solid(hud.diamondIcon, 7, 8, diamond);
        solid(hud.keyIcon, 11, 5, key);
        std::string path = testing::TempDir() + "hud_font.dat";
        std::ofstream(path) << "1\nx 3 5\nXXX\nXXX\nXXX\nXXX\nXXX\n";
        ASSERT_EQ(font.load(path.c_str()), 1);
        hud.setTypo(&font);
    }

    // Draws the HUD of a player with these numbers.
    void show(int respawn, int life, int maxLife, int coins = 0, int diamonds = 0, int keys = 0)
    {
        player.state.respawn = respawn;
        player.state.life = life;
        player.state.maxLife = maxLife;
        player.state.coin = coins;
        player.state.diamond = diamonds;
        player.nKey = keys;
        s.clear(background);
        hud.draw(&s, &player);
    }

    // The colour of each icon's left column along the top row, left to right.
    std::string row()
    {
        std::string seen;
        for (int x = 0; x < s.width; x++) {
            int c = s.getPixel(x, 4);
            if (c != background && (x == 0 || s.getPixel(x - 1, 4) != c))
                seen += c == skull ? 'S' : c == heart ? 'H' : c == emptyHeart ? 'E' : '?';
        }
        return seen;
    }

    // The rightmost inked column of a counter's line.
    int counterEnd(int y)
    {
        int end = -1;
        for (int x = 13; x < s.width; x++)
            if (s.getPixel(x, y + 2) == white)
                end = x;
        return end;
    }

    Hud hud;
    Player player;
    Typo font;
    Screen s{480, 270, 4};
};

} // namespace

// Where each icon lies, one pixel apart, is held by EveryIconAndFigureHasADarkEdgeOverABrightRoom.
TEST_F(HudTest, SkullsThenHeartsThenEmptyHeartsUpToTheMaximumExtraLifeShowsWholeAndAnEndlessLifeStopsAtTheEdge)
{
    const struct {
        int respawns, life, maximum;
        const char* row;
    } cases[] = {{2, 3, 6, "SSHHHEEE"}, {0, 2, 3, "HHE"}, {1, 8, 6, "SHHHHHHHH"}, {0, 0, 3, "EEE"}};
    for (const auto& c : cases) {
        show(c.respawns, c.life, c.maximum);
        EXPECT_EQ(row(), c.row);
    }
    // Without respawns the hearts take the skulls' place at x = 2.
    show(0, 2, 3);
    EXPECT_EQ(s.getPixel(2, 2), heart);
    EXPECT_EQ(s.getPixel(1, 2), background);
    show(0, 2000000000, 2000000000);
    EXPECT_EQ(s.getPixel(s.width - 1, 2), heart) << "hearts up to the right edge";
}

TEST_F(HudTest, CountersBesideTheirIconsGrowToTheRight)
{
    show(0, 0, 0, 7, 42, 123456789);
    EXPECT_EQ(s.getPixel(3, 12), coin);
    EXPECT_EQ(s.getPixel(2, 12), background);
    EXPECT_EQ(s.getPixel(4, 20), diamond);
    EXPECT_EQ(s.getPixel(1, 33), key);
    EXPECT_EQ(s.getPixel(13, 13), white) << "coins from x = 13, y = 13";
    EXPECT_EQ(s.getPixel(13, 12), background);
    EXPECT_EQ(counterEnd(13), 13 + 1 * 4 - 2);
    EXPECT_EQ(counterEnd(23), 13 + 2 * 4 - 2) << "diamonds at y = 23";
    EXPECT_EQ(counterEnd(33), 13 + 9 * 4 - 2) << "all nine digits of the keys at y = 33";
}

TEST(HudIcons, TheGameTilesHoldEveryIcon)
{
    Hud hud;
    EXPECT_EQ(hud.load(GLOAMER_GAME_DIR "/tiles.dat"), 1);
    EXPECT_EQ(hud.heartIcon.width, hud.emptyHeartIcon.width) << "full and empty hearts take the same room";
    Hud missing;
    EXPECT_EQ(missing.load("no such tiles.dat"), 0);
}

TEST_F(HudTest, EveryIconAndFigureHasADarkEdgeOverABrightRoom)
{
    show(1, 1, 2, 5);
    s.clear(white);
    hud.draw(&s, &player);
    EXPECT_EQ(s.getPixel(2, 2), skull) << "the icons drawn over their edges";
    EXPECT_EQ(s.getPixel(10, 2), heart);
    EXPECT_EQ(s.getPixel(17, 2), emptyHeart);
    auto dark = [this](int x, int y) { return (s.getPixel(x, y) & 0xFF) < 0x40; };
    const struct {
        int x, y;
        const char* beside;
    } edges[] = {{1, 4, "the skull"}, {9, 4, "skull and heart"}, {16, 4, "heart and empty heart"},
                 {22, 4, "the empty heart"}, {19, 1, "the empty heart's top"}, {2, 14, "the coin"},
                 {12, 15, "the figure's left"}, {16, 15, "the figure's right"}};
    for (const auto& e : edges)
        EXPECT_TRUE(dark(e.x, e.y)) << e.beside;
    EXPECT_EQ(s.getPixel(13, 15), white) << "the figure itself";
    EXPECT_EQ(s.getPixel(30, 4), white) << "nothing beyond the row";
}
