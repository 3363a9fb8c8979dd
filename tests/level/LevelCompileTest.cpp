#include "level/Level.h"

#include "level/Element.h"
#include "level/LevelFixtures.h"
#include "level/Light.h"
#include "assets/Typo.h"
#include "render/Screen.h"
#include "level/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(LevelTest, ANewLevelIsEmptyItsMessageBoxGivesTheFontUntilDeletedAndExternalLightsOutliveIt)
{
    Light lamp;
    lamp.external = true;
    {
        Level level;
        level.lights.push_back(&lamp);
        level.lights.push_back(new Light);
    }
    // Deleting the stack light would have crashed; it is still usable.
    EXPECT_TRUE(lamp.update());

    Level level;
    EXPECT_EQ(level.map, nullptr);
    EXPECT_EQ(level.getTypo(), nullptr);
    Typo font;
    level.message = new Text;
    level.message->init(&font, nullptr);
    EXPECT_EQ(level.getTypo(), &font);
    level.deleteIntro();
    EXPECT_EQ(level.message, nullptr);
    EXPECT_EQ(level.getTypo(), nullptr);
    // The level's destructor deletes a message box it still holds.
    level.message = new Text;
}

TEST(LevelCompileTest, BoundsOriginAndPlacement)
{
    Level level;
    level.baseColor = int(0xFF000010u);
    auto tile = solidTile(10, 5, int(0xFFC08040u), 4);
    place(&level, tile.get(), 100, 200);
    ASSERT_EQ(level.compile(), 1);
    // Compiled again over light a pass wrote, as a room given the memory of
    // the room before: its light must still start dark.
    std::fill(level.light[0], level.light[0] + 2 * 12 * 7, CellLight{{1, 1, 1}, {1, 1, 1}, 1, 1});
    ASSERT_EQ(level.compile(), 1);
    EXPECT_EQ(level.originX, 99);
    EXPECT_EQ(level.originY, 199);
    EXPECT_EQ(level.mapWidth, 12);
    EXPECT_EQ(level.mapHeight, 7);
    EXPECT_EQ(level.front, 0);
    for (int mx = 0; mx < 12; mx++)
        for (int my = 0; my < 7; my++) {
            bool inside = mx >= 1 && mx <= 10 && my >= 1 && my <= 5;
            LevelPixel& p = cell(level, mx, my);
            ASSERT_EQ(unsigned(p.colour), inside ? 0xFFC08040u : 0xFF000010u) << mx << "," << my;
            ASSERT_EQ(p.depth, inside ? 4 : 10);
            ASSERT_EQ(p.cleanDepth, p.depth);
            int c = mx * level.mapHeight + my;
            ASSERT_TRUE(level.lightOf(0, c).dark() && level.lightOf(1, c).dark());
            ASSERT_EQ(p.glow, 0);
            ASSERT_EQ(p.cloud, 0);
        }
    EXPECT_EQ(level.getDepth(100, 200), 4);
    EXPECT_EQ(level.getDepth(99, 200), 10);
    EXPECT_EQ(level.getDepth(5000, 5000), 10);
    level.baseDepth = 8;
    EXPECT_EQ(level.getDepthClean(-5, 200), 8);
    EXPECT_EQ(level.getCloud(-5, 200), 8);
    EXPECT_EQ(level.getCloud(100, 200), 0);
}

TEST(LevelCompileTest, OnlyPixelsAboveHalfAlphaShapeTheRoom)
{
    Level level;
    auto tile = filledTile(2, 1, 1, TILE_PIXEL{int(0x80FF0000u), 3, 0.5f});
    tile->frames[0].data[1] = TILE_PIXEL{int(0x7F00FF00u), 3, 0.5f};
    place(&level, tile.get(), 0, 0);
    ASSERT_EQ(level.compile(), 1);
    LevelPixel& strong = cell(level, 1, 1);
    LevelPixel& weak = cell(level, 2, 1);
    EXPECT_EQ(strong.depth, 3);
    EXPECT_EQ(strong.cleanDepth, 3);
    EXPECT_FLOAT_EQ(strong.incandescence, 0.5f);
    EXPECT_EQ(weak.depth, 10);
    EXPECT_EQ(weak.incandescence, 0.0f);
    // Both blend their colour over the opaque black base.
    EXPECT_EQ(Screen::getRed(strong.colour), int(255 * (128 / 255.0f)));
    EXPECT_EQ(Screen::getGreen(weak.colour), int(255 * (127 / 255.0f)));
    EXPECT_EQ(Screen::getGreen(strong.colour), 0);
}

TEST(LevelCompileTest, GraphElementsOnlyPaintAndOtherElementsAddTheirDepthAndCoverEarlierOnes)
{
    Level level;
    auto rock = solidTile(4, 4, int(0xFF404040u), 6);
    auto paint = filledTile(2, 2, 1, TILE_PIXEL{int(0xFFFF0000u), 1, 0.9f});
    place(&level, rock.get(), 0, 0);
    place(&level, paint.get(), 1, 1, "graph");
    place(&level, paint.get(), 20, 20, "graph");
    ASSERT_EQ(level.compile(), 1);
    EXPECT_EQ(unsigned(cell(level, 2, 2).colour), 0xFFFF0000u);
    EXPECT_EQ(cell(level, 2, 2).depth, 6);
    EXPECT_EQ(cell(level, 2, 2).incandescence, 0.0f);
    EXPECT_EQ(unsigned(cell(level, 21, 21).colour), 0xFFFF0000u);
    EXPECT_EQ(cell(level, 21, 21).depth, 10);

    // An element's depth adds to its pixels' depth; later elements cover.
    Level layered;
    auto back = solidTile(3, 3, int(0xFF0000FFu), 2);
    auto front = solidTile(1, 1, int(0xFF00FF00u), 1);
    place(&layered, back.get(), 0, 0)->depth = 3;
    place(&layered, front.get(), 1, 1);
    ASSERT_EQ(layered.compile(), 1);
    EXPECT_EQ(cell(layered, 1, 1).depth, 5);
    EXPECT_EQ(cell(layered, 2, 2).depth, 1);
    EXPECT_EQ(unsigned(cell(layered, 2, 2).colour), 0xFF00FF00u);
}

TEST(LevelCompileTest, BackgroundsSpecialLayerAndPhosphorescence)
{
    Level level;
    auto rock = solidTile(10, 10, int(0xFF808080u), 10);
    auto glowing = filledTile(2, 2, 1, TILE_PIXEL{int(0xFFFF8040u), 2, 0.0f});
    auto old = solidTile(3, 3, int(0xFF00C864u));
    place(&level, rock.get(), 0, 0);
    place(&level, glowing.get(), 5, 5, "phospho", Element::Phospho);
    level.backgrounds.push_back(place(&level, rock.get(), 8, 8, "", Element::Background));
    level.elements.pop_back();
    level.specials.push_back(new Element(old.get()));
    ASSERT_EQ(level.compile(), 1);

    // Phosphorescent paint is kept apart, uncharged, and not baked.
    EXPECT_EQ(unsigned(cell(level, 6, 6).glow), 0x00FF8040u);
    EXPECT_EQ(unsigned(cell(level, 6, 6).colour), 0xFF808080u);
    EXPECT_EQ(cell(level, 6, 6).depth, 10);
    EXPECT_EQ(cell(level, 5, 5).glow, 0);
    // Background cells are open, the margin ones too, until a picture baked
    // later shapes them again.
    EXPECT_EQ(cell(level, 11, 11).depth, 0);
    EXPECT_EQ(cell(level, 11, 9).cleanDepth, 0);
    EXPECT_EQ(cell(level, 9, 9).depth, 10);
    EXPECT_EQ(cell(level, 8, 11).depth, 10);
    // The special picture, halved and greyed: (0 + 200 + 100) / 3 of half.
    int expected = Screen::colorMul(int(0xFF00C864u), 0.5f);
    Screen::desaturate(&expected);
    EXPECT_EQ(cell(level, 2, 2).specialMemoryColour, expected);
    EXPECT_EQ(cell(level, 5, 5).specialMemoryColour, 0);
}

TEST(LevelCompileTest, MemoryLooksAndReveal)
{
    Level level;
    level.reveal = true;
    auto tile = solidTile(2, 2, int(0xFF306090u));
    place(&level, tile.get(), 0, 0);
    ASSERT_EQ(level.compile(), 1);
    LevelPixel& p = cell(level, 1, 1);
    EXPECT_EQ(Screen::getRed(p.memoryColour), (0x18 + 0x30 + 0x48) / 3);
    EXPECT_EQ(Screen::getRed(p.memoryColour), Screen::getBlue(p.memoryColour));
    EXPECT_EQ(Screen::getAlpha(p.memoryColour), 127);
    EXPECT_EQ(p.quality, 1.0f);
    EXPECT_EQ(cell(level, 0, 0).quality, 1.0f);

    Level plain;
    place(&plain, tile.get(), 0, 0);
    ASSERT_EQ(plain.compile(), 1);
    EXPECT_EQ(cell(plain, 1, 1).quality, 0.0f);
}

// Kind lines may be indented, as the level reader hands them over; the
// elements they are on are baked like any other picture.
TEST(LevelCompileTest, KindLinesMakeLightsDoorsAndTheCloudSource)
{
    Level level;
    auto lamp = solidTile(4, 4);
    auto door = solidTile(16, 24);
    auto mist = solidTile(7, 4, int(0xFF808080u), 3);
    place(&level, lamp.get(), 50, 60, "\t light omni 0xFF112233 0.75 8 -4 40")->name[0] = 'o';
    place(&level, lamp.get(), 10, 20, "light ambient FF445566 0.5");
    place(&level, lamp.get(), 30, 40, "light spot ffffffff 1.0 2 3 100 90 180");
    place(&level, lamp.get(), 0, 0, "light directional FF010203 0.25 1 2");
    place(&level, lamp.get(), 70, 80, "light fire");
    place(&level, lamp.get(), 0, 0, "light laser 1 2");
    place(&level, lamp.get(), 0, 0, "lightning");
    place(&level, door.get(), 40, 10, "    door metro2.lvl entrance", Element::DoorKind);
    place(&level, door.get(), 90, 10, "locked_key_door crypt.lvl stairs 3");
    place(&level, door.get(), 0, 0, "doorway");
    // Names longer than their fields are cut.
    std::string longNames = "door " + std::string(200, 'a') + " " + std::string(200, 'b');
    place(&level, door.get(), 0, 0, longNames.c_str());
    place(&level, mist.get(), 10, 10, "     cloud 3");
    ASSERT_EQ(level.compile(), 1);
    EXPECT_EQ(level.getDepth(50, 60), 5);

    ASSERT_EQ(level.lights.size(), 5u);
    Light* omni = level.lights[0];
    EXPECT_STREQ(omni->name, "o");
    EXPECT_EQ(omni->type, Light::Omni);
    EXPECT_EQ(unsigned(omni->colour), 0xFF112233u);
    EXPECT_FLOAT_EQ(omni->intensity, 0.75f);
    EXPECT_EQ((std::vector<int>{omni->x, omni->y, omni->radius}), (std::vector<int>{58, 56, 40}));
    EXPECT_FALSE(omni->attenuate);
    Light* ambient = level.lights[1];
    EXPECT_EQ(ambient->type, Light::Ambient);
    EXPECT_EQ(unsigned(ambient->colour), 0xFF445566u);
    EXPECT_FLOAT_EQ(ambient->intensity, 0.5f);
    Light* spot = level.lights[2];
    EXPECT_EQ(spot->type, Light::Spot);
    EXPECT_EQ((std::vector<int>{spot->x, spot->y, spot->radius, spot->aperture, spot->direction}),
              (std::vector<int>{32, 43, 100, 90, 180}));
    Light* sun = level.lights[3];
    EXPECT_EQ(sun->type, Light::Directional);
    EXPECT_EQ(std::make_pair(sun->dirX, sun->dirY), std::make_pair(1, 2));
    Light* fire = level.lights[4];
    EXPECT_EQ(fire->style, Light::StyleFire);
    EXPECT_EQ(std::make_pair(fire->x, fire->y), std::make_pair(70, 80));

    ASSERT_EQ(level.doors.size(), 3u);
    EXPECT_EQ(std::string(level.doors[2]->destination), std::string(127, 'a'));
    DOOR* plain = level.doors[0];
    EXPECT_EQ((std::vector<int>{plain->x, plain->y, plain->width, plain->height}), (std::vector<int>{40, 10, 16, 24}));
    EXPECT_STREQ(plain->destination, "metro2.lvl");
    EXPECT_STREQ(plain->target, "entrance");
    EXPECT_EQ(plain->locked, 0);
    EXPECT_EQ(plain->tile, door.get());
    DOOR* locked = level.doors[1];
    EXPECT_STREQ(locked->destination, "crypt.lvl");
    EXPECT_STREQ(locked->target, "stairs");
    EXPECT_EQ(locked->locked, 1);
    EXPECT_EQ(locked->key, 3);

    // The cloud source is the cell at its element's centre.
    EXPECT_TRUE(level.getCloud());
    EXPECT_EQ(level.cloudSteps, 3);
    EXPECT_EQ(level.getCloud(13, 12), 10);
    EXPECT_EQ(level.getCloud(12, 12), 0);
}

TEST(LevelCompileTest, WithoutAStaticElementOrWithAnOversizedOneThereIsNoMap)
{
    Level empty;
    EXPECT_EQ(empty.compile(), 0);
    EXPECT_EQ(empty.map, nullptr);

    Level animated;
    auto moving = solidTile(5, 5, int(0xFF808080u), 5, 2);
    place(&animated, moving.get(), 0, 0, "light fire");
    place(&animated, nullptr, 0, 0);
    EXPECT_EQ(animated.compile(), 0);
    EXPECT_EQ(animated.map, nullptr);
    EXPECT_TRUE(animated.lights.empty());
    EXPECT_EQ(animated.getDepth(0, 0), 10);

    // A picture beyond any position whose sums an int could hold (maps too
    // wide or too large are refused where level files are read).
    Level far;
    auto tile = solidTile(4, 4);
    place(&far, tile.get(), 2147483000, 0);
    EXPECT_EQ(far.compile(), 0);
    EXPECT_EQ(far.map, nullptr);
}

TEST(LevelCompileTest, DirtDarkensBelowLedgesOnly)
{
    Level level;
    level.dirt = true;
    level.baseDepth = 9;
    // A ledge of depth 9 over open space of depth 2, in a flat room of depth 9.
    auto room = solidTile(6, 20, int(0xFFC8C8C8u), 9);
    auto open = solidTile(6, 10, int(0xFFC8C8C8u), 2);
    place(&level, room.get(), 0, 0);
    place(&level, open.get(), 0, 10);
    ASSERT_EQ(level.compile(), 1);
    bool darkened = false;
    for (int mx = 1; mx <= 6; mx++)
        for (int my = 1; my <= 20; my++) {
            int r = Screen::getRed(cell(level, mx, my).colour);
            ASSERT_EQ(Screen::getAlpha(cell(level, mx, my).colour), 255);
            if (my <= 10) {
                ASSERT_EQ(r, 0xC8) << mx << "," << my;
            } else {
                ASSERT_GE(r, int(0xC8 * 0.8f) - 1);
                ASSERT_LE(r, 0xC8);
                darkened |= r < 0xC8;
            }
        }
    EXPECT_TRUE(darkened);
}

TEST(LevelCompileTest, NoiseDarkensSlightly)
{
    Level level;
    level.noise = true;
    auto tile = solidTile(30, 30, int(0xFFC8C8C8u));
    place(&level, tile.get(), 0, 0);
    ASSERT_EQ(level.compile(), 1);
    int lowest = 255;
    for (int i = 0; i < level.mapWidth * level.mapHeight; i++) {
        int r = Screen::getRed(level.map[i].colour);
        if (Screen::getAlpha(level.map[i].colour) == 255 && r > 0) {
            ASSERT_GE(r, int(0xC8 * 0.93f) - 1);
            lowest = std::min(lowest, r);
        }
    }
    EXPECT_LT(lowest, 0xC8);
}

TEST(LevelCompileTest, OneFrameElementsBakeTheirOnlyFrameWhateverTheirFrame)
{
    for (float frame : {1.0f, -1.0f, 3.5f}) {
        Level level;
        auto wall = filledTile(4, 4, 1, TILE_PIXEL{int(0xFF406080u), 4, 0.5f});
        auto paint = filledTile(2, 2, 1, TILE_PIXEL{int(0xFF00FF00u), 0, 0.0f});
        auto mark = filledTile(2, 2, 1, TILE_PIXEL{int(0xFFFF0000u), 0, 0.0f});
        place(&level, wall.get(), 0, 0)->frame = frame;
        place(&level, paint.get(), 0, 0, "phospho", Element::Phospho)->frame = frame;
        Element* special = new Element(mark.get());
        special->frame = frame;
        level.specials.push_back(special);
        ASSERT_EQ(level.compile(), 1);
        LevelPixel& p = cell(level, 3, 3);
        EXPECT_EQ(unsigned(p.colour), 0xFF406080u) << "frame " << frame;
        EXPECT_EQ(p.depth, 4) << "frame " << frame;
        EXPECT_FLOAT_EQ(p.incandescence, 0.5f) << "frame " << frame;
        EXPECT_EQ(cell(level, 1, 1).glow, 0x0000FF00) << "frame " << frame;
        EXPECT_NE(cell(level, 1, 1).specialMemoryColour, 0) << "frame " << frame;
    }
}
