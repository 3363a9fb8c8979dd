// Drawing a room: the lit picture, memory and glow of dark cells, cloud and
// water, rock, and the composition of the three buffers. The light buffers
// are filled by the tests themselves.

#include "level/Element.h"
#include "level/Level.h"
#include "level/LevelView.h"
#include "render/Screen.h"
#include "LevelFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const int grey = int(0xFF808080u);

// Sets the published light buffer of a cell: lit, unshadowed and dark.
void light(Level& level, int mx, int my, float lit, float unshadowed = -1.0f)
{
    CellLight& received = level.lightOf(level.front, mx * level.mapHeight + my);
    for (int c = 0; c < 3; c++) {
        received.lit[c] = lit;
        received.unshadowed[c] = unshadowed < 0 ? lit : unshadowed;
    }
    received.reached = lit <= 0.0f && unshadowed <= 0.0f ? 0.0f : 1.0f;
}

void lightAll(Level& level, float lit, float unshadowed = -1.0f)
{
    for (int mx = 0; mx < level.mapWidth; mx++)
        for (int my = 0; my < level.mapHeight; my++)
            light(level, mx, my, lit, unshadowed);
}

// A compiled level whose map is (w + 2) x (h + 2), the picture one grey
// w x h element at (1, 1) so that map cell (mx, my) is world (mx, my).
struct Room {
    Room(int w, int h, int colour = grey, int depth = 5) : tile(solidTile(w, h, colour, depth))
    {
        place(&level, tile.get(), 1, 1);
    }
    Level& compile()
    {
        EXPECT_EQ(level.compile(), 1);
        return level;
    }

    std::unique_ptr<Tile> tile;
    Level level;
};

// What colour c blended onto a fully transparent layer pixel leaves.
int onEmpty(int c)
{
    Screen one(1, 1, 1);
    one.clear(0);
    one.addPixel(0, 0, c);
    return one.getPixel(0, 0);
}

} // namespace

TEST(LevelDrawTest, WithMemoriesALitCellIsRememberedAndShownDimWhenDarkWithoutThemDarkIsBlack)
{
    Room room(6, 6);
    room.level.memories = true;
    Level& level = room.compile();
    Screen s(8, 8, 1);

    light(level, 3, 3, 1.0f);
    s.clear(int(0xFF000000u));
    level.draw(&s, 0, 0, 0, 0);
    EXPECT_EQ(cell(level, 3, 3).quality, 1.0f);
    EXPECT_EQ(s.getPixel(3, 3), grey);
    // Dark cells were never seen: nothing of them is remembered yet.
    EXPECT_EQ(cell(level, 4, 3).quality, 0.0f);

    // Two lighting passes without a light: all falls dark, and the memory
    // spreads one cell per pass, fading by 0.8.
    level.computeLighting(0, 0, 8, 8, 0);
    level.computeLighting(0, 0, 8, 8, 0);
    s.clear(int(0xFF000000u));
    level.draw(&s, 0, 0, 0, 0);
    int m = cell(level, 3, 3).memoryColour;
    EXPECT_NE(m, 0);
    EXPECT_EQ(s.getPixel(3, 3), m);
    EXPECT_EQ(s.getPixel(4, 3), Screen::colorMul(cell(level, 4, 3).memoryColour, 0.8f));
    // A cell never remembered shows its memory at strength 0.
    EXPECT_EQ(s.getPixel(6, 3), 0);

    // A level with a special layer shows that layer's memory instead.
    level.special = true;
    cell(level, 3, 3).specialMemoryColour = int(0x7F102030u);
    level.draw(&s, 0, 0, 0, 0);
    EXPECT_EQ(s.getPixel(3, 3), int(0x7F102030u));
    // A zone remembered across the map's corner touches only the cells on
    // it (its disc is checked where a hard impact is remembered).
    level.addZoneInMemory(0, 0, 1);
    EXPECT_EQ(cell(level, 0, 0).quality, 1.0f);
    level.addZoneInMemory(-1000000, 2000000000, 1000);

    // Without memories dark cells are black and nothing is remembered.
    Room plain(6, 6);
    Level& forgetful = plain.compile();
    light(forgetful, 2, 2, 0.5f);
    forgetful.draw(&s, 0, 0, 0, 0);
    EXPECT_EQ(s.getPixel(2, 2), int(0xFF404040u));
    EXPECT_EQ(s.getPixel(3, 3), int(0xFF000000u));
    EXPECT_EQ(cell(forgetful, 2, 2).quality, 0.0f);
    forgetful.addZoneInMemory(3, 3, 2);
    EXPECT_EQ(cell(forgetful, 3, 3).quality, 0.0f);
}

TEST(LevelDrawTest, ChargedPaintGlowsInItsChargedChannelsOnly)
{
    Room room(6, 6, int(0xFF000000u));
    room.level.memories = true;
    Level& level = room.compile();
    Screen s(8, 8, 1);
    cell(level, 1, 1).glow = 0x01FF8040;     // candle only
    cell(level, 2, 1).glow = 0x06FF8040;     // torch and acetylene
    cell(level, 3, 1).glow = 0x00FF8040;     // never charged: the memory shows
    cell(level, 4, 1).glow = 0x07FF8040;     // lit, and painted black
    light(level, 4, 1, 1.0f);
    cell(level, 5, 1).glow = 0x01FF8040;     // lit, and painted grey
    cell(level, 5, 1).colour = grey;
    light(level, 5, 1, 1.0f);
    cell(level, 1, 1).quality = 1.0f;        // remembered, but the glow wins
    level.draw(&s, 0, 0, 0, 0);
    EXPECT_EQ(s.getPixel(1, 1), int(0xFFFF0000u));
    EXPECT_EQ(s.getPixel(2, 1), int(0xFF008040u));
    EXPECT_EQ(s.getPixel(3, 1), 0);
    EXPECT_EQ(s.getPixel(4, 1), int(0xFFFF8040u));
    EXPECT_EQ(s.getPixel(5, 1), grey);
}

TEST(LevelDrawTest, CameraOffsetMovesThePictureAndClipsAtTheEdges)
{
    Room room(6, 6);
    Level& level = room.compile();
    lightAll(level, 1.0f);
    Screen s(4, 4, 1);
    s.clear(0x12345678);
    level.draw(&s, -5, 2, 0, 0);
    // Screen (0, 2) shows map cell (5, 0), the unpainted border in baseColor.
    EXPECT_EQ(s.getPixel(0, 2), int(0xFF000000u));
    EXPECT_EQ(s.getPixel(0, 3), grey);          // cell (5, 1)
    EXPECT_EQ(s.getPixel(2, 3), int(0xFF000000u)); // cell (7, 1), border
    EXPECT_EQ(s.getPixel(3, 3), 0x12345678);      // off the map, untouched
    EXPECT_EQ(s.getPixel(0, 1), 0x12345678);

    // Cameras far outside the map draw nothing and read nothing.
    level.draw(&s, 2000000000, -2000000000, 0, 0);
    level.drawBlack(&s, -2000000000, 2000000000);
    EXPECT_EQ(s.getPixel(1, 1), int(0xFF000000u));
}

TEST(LevelDrawTest, WaterFillsLitRowsFromTheSurfaceWithALineAboveAndOnlyLitCloudIsTinted)
{
    Room room(4, 58);   // a 6 x 60 map
    Level& level = room.compile();
    ASSERT_EQ(level.mapHeight, 60);
    ASSERT_EQ(level.waterTile.create(2, 2, 1, 0), 1);
    for (int i = 0; i < 4; i++)
        level.waterTile.frames[0].data[i].colour = int(0xFF0000FFu);
    level.water = true;
    level.waterLevel = 50;
    lightAll(level, 1.0f);
    for (int my = 0; my < 60; my++)
        light(level, 2, my, 0.0f);

    Screen layer(6, 64, 1);
    layer.clear(0);
    level.drawCloudAndWater(&layer, 0, 0);
    for (int y = 0; y < 64; y++) {
        int expected = 0;
        if (y == 49)
            expected = onEmpty(int(0xBB66FFAAu));
        else if (y >= 50 && y < 60)
            expected = onEmpty(int(0xBB0000FFu));
        EXPECT_EQ(layer.getPixel(1, y), expected) << "row " << y;
    }
    // An unlit column shows no water, only the surface line.
    EXPECT_EQ(layer.getPixel(2, 55), 0);
    EXPECT_EQ(layer.getPixel(2, 49), onEmpty(int(0xBB66FFAAu)));

    // A surface above the map floods from its first row without reading outside it.
    level.waterLevel = -30;
    layer.clear(0);
    level.drawCloudAndWater(&layer, 0, 0);
    EXPECT_EQ(layer.getPixel(1, 0), onEmpty(int(0xBB0000FFu)));

    // Only lit cloud is tinted (column 2 is dark).
    level.water = false;
    level.hasCloud = true;
    cell(level, 1, 1).cloud = 5;
    cell(level, 2, 1).cloud = 5;
    layer.clear(0);
    level.drawCloudAndWater(&layer, 0, 0);
    EXPECT_EQ(layer.getPixel(1, 1), onEmpty(int(0xAA008800u)));
    EXPECT_EQ(layer.getPixel(2, 1), 0);
    EXPECT_EQ(layer.getPixel(1, 2), 0);
}

TEST(LevelDrawTest, RockIsEverythingFromTheBaseDepthAndOffTheMap)
{
    Room room(6, 1);
    room.level.baseDepth = 8;
    room.level.baseColor = int(0xFF223344u);
    Level& level = room.compile();
    for (int mx = 1; mx <= 4; mx++)
        cell(level, mx, 1).depth = 6 + mx;
    Screen s(10, 4, 1);
    s.clear(0x11111111);
    level.drawBlack(&s, 0, 0);
    for (int mx = 1; mx <= 4; mx++)
        EXPECT_EQ(s.getPixel(mx, 1), mx == 1 ? 0x11111111 : int(0xFF223344u)) << "depth " << 6 + mx;
    EXPECT_EQ(s.getPixel(0, 0), int(0xFF223344u));   // unpainted border: base depth
    EXPECT_EQ(s.getPixel(9, 3), int(0xFF223344u));   // off the map

    // A map beside or below the screen: everything is rock, and nothing is
    // written past the screen (the buffer's second half stays as it was).
    Screen wide(20, 4, 1);
    wide.clear(0x11111111);
    wide.width = 10;
    const int offsets[][2] = {{0, 150}, {150, 0}, {0, -150}, {150, 150}};
    for (const auto& offset : offsets) {
        level.drawBlack(&wide, offset[0], offset[1]);
        EXPECT_EQ(std::count(wide.pixels, wide.pixels + 40, int(0xFF223344u)), 40) << offset[0] << " " << offset[1];
        EXPECT_EQ(std::count(wide.pixels + 40, wide.pixels + 80, 0x11111111), 40) << offset[0] << " " << offset[1];
    }
    wide.width = 20;

    // A level without a map is all rock.
    Level empty;
    s.clear(0);
    empty.drawBlack(&s, 0, 0);
    EXPECT_EQ(s.getPixel(5, 2), int(0xFF000000u));
}

TEST(LevelDrawTest, LayersDrawTheirListsInOrder)
{
    Room room(8, 8);
    Level& level = room.compile();
    auto red = solidTile(1, 1, int(0xFFFF0000u), 0, 2);
    auto blue = solidTile(1, 1, int(0xFF0000FFu), 0, 1);

    auto at = [](Element& e, int kind, int xy) {
        e.kind = kind;
        e.x = e.y = xy;
    };
    Element animated(red.get()), movie(blue.get()), gold(blue.get());
    at(animated, Element::Decor, 2);
    at(movie, Element::BonusMovie, 3);
    at(gold, Element::BonusGold, 4);
    level.entities.push_back(&animated);
    level.bonus.push_back(&movie);
    level.bonus.push_back(&gold);

    Screen layer(10, 10, 1);
    layer.clear(0);
    level.drawEntity(&layer, 0, 0);
    EXPECT_EQ(layer.getPixel(2, 2), int(0xFFFF0000u));
    EXPECT_EQ(layer.getPixel(3, 3), 0);
    EXPECT_EQ(layer.getPixel(4, 4), int(0xFF0000FFu));

    // Only animated overlays are drawn again in front, translucent.
    layer.clear(0);
    level.drawFront(&layer, 0, 0);
    EXPECT_EQ(layer.getPixel(2, 2), 0);
    animated.kind = Element::Overlay;
    level.drawFront(&layer, 0, 0);
    int overlay = layer.getPixel(2, 2);
    EXPECT_GT(Screen::getRed(overlay), 0);
    EXPECT_LT(Screen::getAlpha(overlay), 255);

    level.entities.clear();
    level.bonus.clear();
}

TEST(LevelDrawTest, ViewLightsLayersUnsoftenedAndPaintsRockLast)
{
    Room room(6, 6);
    Level& level = room.compile();
    // Softened light on the picture, full light on the moving things.
    lightAll(level, 0.5f, 1.0f);
    cell(level, 3, 3).depth = 10;

    auto white = solidTile(1, 1, int(0xFFFFFFFFu), 0, 2);
    Element mover(white.get());
    mover.x = 2;
    mover.y = 2;
    level.entities.push_back(&mover);
    Element crate(white.get());
    crate.x = 3;
    crate.y = 3;
    level.actives.push_back(&crate);

    Screen s(8, 8, 1);
    s.clear(int(0xFF000000u));
    LevelView view(4, 4);
    view.draw(&level, &s, 0, 0);
    EXPECT_FALSE(level.drawing);
    EXPECT_EQ(view.frontLayer->width, 8);
    EXPECT_EQ(s.getPixel(1, 1), int(0xFF404040u));
    EXPECT_EQ(s.getPixel(2, 2), int(0xFFFFFFFFu));
    // The crate sits in rock: painted over in the base colour.
    EXPECT_EQ(s.getPixel(3, 3), int(0xFF000000u));

    // In the front layer the crate is lit like the moving things.
    cell(level, 3, 3).depth = 5;
    s.clear(int(0xFF000000u));
    view.draw(&level, &s, 0, 0);
    EXPECT_EQ(s.getPixel(3, 3), int(0xFFFFFFFFu));
    level.entities.clear();
    level.actives.clear();
}
