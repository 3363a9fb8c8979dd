#include "assets/Tile.h"
#include "render/Screen.h"

#include "assets/TileFixtures.h"
#include "audio/FakeMixer.h"

#include <functional>
#include <vector>

namespace {

const int background = int(0xFF101010u);

std::vector<int> pixelsOf(const Screen& s)
{
    return std::vector<int>(s.pixels, s.pixels + s.width * s.height);
}

} // namespace

TEST(Tile, PixelReadsClampAndWrap)
{
    Tile tile;
    makeTile(&tile, "t.til", 16, 16, 1);
    EXPECT_EQ(tile.getPixel(5, -3, 1000), tile.frames[0].data[15].colour);

    Tile two;
    makeTile(&two, "t.anm", 3, 2, 2);
    EXPECT_EQ(unsigned(two.getPixel(-4, 9, -9)), 0xFF000200u);
    EXPECT_EQ(unsigned(two.getPixel2(3, 4, 5)), 0xFF010101u);
    // Negative indices wrap too rather than reading outside the frame.
    EXPECT_EQ(unsigned(two.getPixel2(-1, -1, -1)), 0xFF010201u);

    Tile empty;
    EXPECT_EQ(empty.getPixel(0, 0, 0), 0);
    EXPECT_EQ(empty.getPixel2(0, 0, 0), 0);
}

// Every mode with settings that keep the colour must place exactly the
// pixels of the tile that fall inside the screen, at every edge.
TEST(Tile, EveryDrawingModeClipsAtEveryEdge)
{
    Tile tile;
    makeTile(&tile, "clip.anm", 3, 4, 2);
    using Draw = std::function<void(int, int, Screen*)>;
    std::vector<std::pair<const char*, Draw>> modes = {
        {"draw", [&](int x, int y, Screen* s) { tile.draw(1, x, y, s); }},
        {"noAlpha", [&](int x, int y, Screen* s) { tile.drawNoAlpha(1, x, y, s); }},
        {"alpha", [&](int x, int y, Screen* s) { tile.draw(1, x, y, s, 1.0f); }},
        {"colour", [&](int x, int y, Screen* s) { tile.draw(1, x, y, 1.0f, s); }},
        {"mirror0", [&](int x, int y, Screen* s) { tile.draw(1, x, y, 0, s); }},
        {"icds", [&](int x, int y, Screen* s) { tile.drawIcds(1, x, y, 0, s); }},
    };
    const int positions[][2] = {{-1, 1}, {-2, -3}, {6, 2}, {1, 5}, {5, -2}, {-3, 0}, {-4, 0}, {7, 0}, {0, -4}, {0, 7}, {2, 2}};
    for (auto& mode : modes) {
        for (auto& at : positions) {
            Screen s(7, 7, 1);
            s.clear(background);
            mode.second(at[0], at[1], &s);
            for (int sx = 0; sx < 7; sx++) {
                for (int sy = 0; sy < 7; sy++) {
                    int i = sx - at[0], j = sy - at[1];
                    bool covered = i >= 0 && i < 3 && j >= 0 && j < 4;
                    // The icds mode skips pixel (0, 0): its incandescence is 0.
                    if (mode.first == std::string("icds") && i == 0 && j == 0)
                        covered = false;
                    int expected = covered ? tile.frames[1].data[i * 4 + j].colour : background;
                    ASSERT_EQ(s.getPixel(sx, sy), expected)
                        << mode.first << " at " << at[0] << "," << at[1] << " pixel " << sx << "," << sy;
                }
            }
        }
    }
}

TEST(Tile, NothingIsDrawnForMissingFramesOrTiles)
{
    Tile tile, empty;
    makeTile(&tile, "t.til", 2, 2, 1);
    Screen s(4, 4, 1);
    s.clear(background);
    std::vector<int> before = pixelsOf(s);
    tile.draw(1, 0, 0, &s);
    tile.draw(-1, 0, 0, 1, &s);
    tile.drawBorder(3, 1, 1, &s, -1);
    empty.draw(0, 0, 0, &s);
    empty.drawNoAlpha(0, 0, 0, &s);
    empty.drawBorder(0, 0, 0, &s, -1);
    EXPECT_EQ(pixelsOf(s), before);
}

TEST(Tile, MirroringFlipsColumnsOnly)
{
    Tile tile;
    makeTile(&tile, "m.til", 3, 2, 1);
    for (int x = -1; x <= 0; x++) {
        Screen plain(3, 2, 1), icds(3, 2, 1);
        tile.draw(0, x, 0, 1, &plain);
        tile.drawIcds(0, x, 0, 1, &icds);
        for (int sx = 0; sx < 3; sx++) {
            for (int y = 0; y < 2; y++) {
                int source = 2 - (sx - x);
                int expected = source >= 0 ? tile.getPixel(0, source, y) : 0;
                EXPECT_EQ(plain.getPixel(sx, y), expected) << x << " " << sx << "," << y;
                // Source pixel (0, 0) is not incandescent.
                EXPECT_EQ(icds.getPixel(sx, y), source == 0 && y == 0 ? 0 : expected);
            }
        }
    }
}

TEST(Tile, ScaledAlphaAndColour)
{
    Tile tile;
    ASSERT_EQ(tile.create(1, 1, 1, 0), 1);
    tile.frames[0].data[0].colour = int(0x80FF0000u);
    Screen s(1, 1, 1), reference(1, 1, 1);
    tile.draw(0, 0, 0, &s, 0.5f);
    reference.addPixel(0, 0, int(0x40FF0000u));
    EXPECT_EQ(s.getPixel(0, 0), reference.getPixel(0, 0));
    // A factor above one saturates the alpha instead of spilling over.
    tile.draw(0, 0, 0, &s, 2.0f);
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0xFFFF0000u);

    tile.frames[0].data[0].colour = int(0xFF804020u);
    tile.draw(0, 0, 0, 0.5f, &s);
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0xFF402010u);
}

TEST(Tile, NoAlphaCoversTheWholeRectangle)
{
    Tile tile;
    ASSERT_EQ(tile.create(2, 2, 1, 0), 1);
    tile.frames[0].data[1].colour = int(0x10336699u);
    Screen s(3, 3, 1);
    s.clear(int(0xFFFFFFFFu));
    tile.drawNoAlpha(0, 0, 0, &s);
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0xFF000000u);
    EXPECT_EQ(unsigned(s.getPixel(0, 1)), 0xFF336699u);
    EXPECT_EQ(unsigned(s.getPixel(1, 1)), 0xFF000000u);
    EXPECT_EQ(unsigned(s.getPixel(2, 2)), 0xFFFFFFFFu);
}

TEST(Tile, BorderOfOnePixelIsTheEightAroundIt)
{
    Tile tile;
    ASSERT_EQ(tile.create(1, 1, 1, 0), 1);
    tile.frames[0].data[0].colour = int(0xFFFFFFFFu);
    const int red = int(0xFFFF0000u);
    Screen s(5, 5, 1);
    tile.drawBorder(0, 2, 2, &s, red);
    for (int x = 0; x < 5; x++)
        for (int y = 0; y < 5; y++) {
            bool ring = x >= 1 && x <= 3 && y >= 1 && y <= 3 && !(x == 2 && y == 2);
            EXPECT_EQ(s.getPixel(x, y), ring ? red : 0) << x << "," << y;
        }

    // At the screen's corner only the three pixels inside are written.
    Screen corner(3, 3, 1);
    tile.drawBorder(0, 0, 0, &corner, red);
    EXPECT_EQ(pixelsOf(corner), (std::vector<int>{0, red, 0, red, red, 0, 0, 0, 0}));
}

// Only the plain draw sounds, and only steam at frame 0 and electricity at frame 9.
TEST(Tile, PlainDrawPlaysTheSteamAndElectricCues)
{
    LoadedMixer fake;
    Tile steam, arc;
    makeTile(&steam, "steam_pipe.anm", 2, 2, 10);
    makeTile(&arc, "electric01.anm", 2, 2, 10);
    Screen s(4, 4, 1);
    fake.events.clear();
    steam.draw(1, 0, 0, &s);
    steam.draw(0, 0, 0, 0, &s);
    steam.draw(0, 0, 0, &s, 1.0f);
    arc.draw(0, 0, 0, &s);
    arc.drawIcds(9, 0, 0, 0, &s);
    EXPECT_TRUE(fake.calls("playChannel").empty());
    steam.draw(0, 0, 0, &s);
    // Drawn off the screen, the cue still sounds.
    arc.draw(9, 100, 100, &s);
    auto played = fake.calls("playChannel");
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].first, 26);
    EXPECT_EQ(played[1].first, 27);
}
