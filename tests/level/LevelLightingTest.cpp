#include "level/Level.h"

#include "level/LevelFixtures.h"
#include "level/Light.h"
#include "level/LightingReference.h"
#include "render/Screen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace {

// A room whose picture is one width x height element at world (0, 0), so
// that world pixel (i, j) is map cell (i + 1, j + 1) and the map's border
// cells hold the base depth 10.
struct Room {
    Room(int width, int height, int depth = 3)
    {
        tile = solidTile(width, height, int(0xFF808080u), depth);
        place(&level, tile.get(), 0, 0);
    }
    TILE_PIXEL& pixel(int i, int j) { return tile->frames[0].data[i * tile->height + j]; }
    void compile() { ASSERT_EQ(level.compile(), 1); }
    // One pass whose region is the whole map.
    void lightAll() { level.computeLighting(-level.originX, -level.originY, level.mapWidth, level.mapHeight, 0); }
    LevelPixel& at(int mx, int my) { return cell(level, mx, my); }
    CellLight& received(int mx, int my, int b) { return level.lightOf(b, mx * level.mapHeight + my); }
    Light* add(Light* l)
    {
        level.addLight(l);
        return l;
    }
    Light* omni(int mx, int my, int radius, bool attenuate = false, int colour = int(0xFFFFFFFFu))
    {
        Light* l = new Light;
        l->createOmni(colour, 1.0f, mx + level.originX, my + level.originY, radius, attenuate);
        return add(l);
    }
    std::unique_ptr<Tile> tile;
    Level level;
};

} // namespace

TEST(LightingPassTest, SelfLightOnlyFromIncandescenceAndALevelWithoutMapIsLeftAlone)
{
    Room room(4, 1);
    room.pixel(1, 0).incandescence = 0.5f;
    room.compile();
    room.lightAll();
    EXPECT_EQ(room.level.front, 1);
    const CellLight& glowing = room.received(2, 1, 1);
    for (int k = 0; k < 3; k++) {
        EXPECT_FLOAT_EQ(glowing.lit[k], 0.5f);
        EXPECT_FLOAT_EQ(glowing.unshadowed[k], 0.5f);
    }
    EXPECT_FALSE(glowing.dark());
    EXPECT_TRUE(room.received(1, 1, 1).dark());
    EXPECT_EQ(room.received(1, 1, 1).lit[0], 0.0f);
    // The shown buffer is left alone.
    EXPECT_TRUE(room.received(2, 1, 0).dark());
    room.lightAll();
    EXPECT_EQ(room.level.front, 0);
    EXPECT_FLOAT_EQ(room.received(2, 1, 0).lit[1], 0.5f);

    // A level without a map is left alone.
    Level empty;
    empty.computeLighting(0, 0, 100, 100, 30);
    EXPECT_EQ(empty.front, 0);
    EXPECT_EQ(empty.lightGetDepth(0, 0, 0, 0), 0);
}

TEST(LightingPassTest, OmniLightsStrictlyInsideItsRadiusAndAnAttenuatedOneFadesWithDistance)
{
    Room room(101, 101);
    room.compile();
    const int cx = 51, cy = 51;
    room.omni(cx, cy, 40);
    room.lightAll();
    int litCells = 0;
    for (int mx = 0; mx < room.level.mapWidth; mx++)
        for (int my = 0; my < room.level.mapHeight; my++) {
            int dx = mx - cx, dy = my - cy;
            bool inside = dx * dx + dy * dy < 40 * 40;
            const CellLight& received = room.received(mx, my, 1);
            ASSERT_EQ(!received.dark(), inside) << mx << "," << my;
            if (inside) {
                // Not attenuated: full white everywhere inside the disc.
                ASSERT_FLOAT_EQ(received.lit[2], 1.0f);
                litCells++;
            }
        }
    // The loop above holds the edge cases (40, 0) and (24, -32), both dark.
    EXPECT_EQ(litCells, 5013);

    // Attenuated, it fades with distance.
    room.level.deleteLight(0);
    room.omni(cx, cy, 20, true);
    room.lightAll();
    EXPECT_FLOAT_EQ(room.received(cx, cy, 0).lit[0], 1.0f);
    EXPECT_FLOAT_EQ(room.received(cx + 10, cy, 0).lit[0], 0.75f);
    EXPECT_FLOAT_EQ(room.received(cx + 10, cy, 0).unshadowed[0], 0.75f);
}

TEST(LightingPassTest, OccluderSoftensLitButNotUnshadowed)
{
    Room room(40, 3);
    room.pixel(19, 1).depth = 7; // cell (20, 2)
    room.pixel(29, 1).depth = 10; // rock at cell (30, 2)
    room.compile();
    room.omni(10, 2, 35);
    room.lightAll();
    EXPECT_EQ(room.level.lightGetDepth(21, 2, 10 + room.level.originX, 2 + room.level.originY), 7);
    const CellLight& behind = room.received(21, 2, 1);
    EXPECT_FLOAT_EQ(behind.lit[0], 0.2f);
    EXPECT_FLOAT_EQ(behind.unshadowed[0], 1.0f);
    // The shadow fades by one depth per cell behind the occluder.
    EXPECT_FLOAT_EQ(room.received(22, 2, 1).lit[0], 0.25f);
    EXPECT_FLOAT_EQ(room.received(19, 2, 1).lit[0], 1.0f);
    // Behind rock nothing arrives, not even unshadowed light.
    EXPECT_TRUE(room.received(31, 2, 1).dark());
    EXPECT_EQ(room.received(31, 2, 1).unshadowed[0], 0.0f);
    // A light outside the map casts no shadow.
    EXPECT_EQ(room.level.lightGetDepth(21, 2, -50, 0), 0);
}

TEST(LightingPassTest, LightInRockShinesFromWhereItsRaysLeaveTheRock)
{
    Room room(40, 3);
    for (int i = 7; i <= 10; i++)
        room.pixel(i, 1).depth = 10; // rock at cells (8..11, 2)
    room.compile();
    room.omni(9, 2, 35);
    room.lightAll();
    for (int mx : {5, 12, 30, 9})
        EXPECT_FLOAT_EQ(room.received(mx, mx == 9 ? 1 : 2, 1).lit[0], 1.0f) << mx;
}

TEST(LightingPassTest, SpotApertureWrapsAroundZeroAnd360)
{
    Room room(101, 101);
    room.compile();
    const int cx = 51, cy = 51;
    Light* spot = new Light;
    spot->createSpot(int(0xFFFFFFFFu), 1.0f, cx + room.level.originX, cy + room.level.originY, 50, false, 120, 0);
    room.add(spot);
    room.lightAll();
    auto lit = [&](int dx, int dy) { return !room.received(cx + dx, cy + dy, room.level.front).dark(); };
    EXPECT_TRUE(lit(20, 0));
    EXPECT_TRUE(lit(10, 10));   // 45 degrees
    EXPECT_TRUE(lit(10, -10));  // 315 degrees, taken as -45
    EXPECT_TRUE(lit(20, -34));  // about 300 degrees
    EXPECT_FALSE(lit(20, -36)); // about 299 degrees
    EXPECT_FALSE(lit(-20, 0));
    // Right below the lamp only the cells within 0.141 of the radius.
    EXPECT_TRUE(lit(0, 7));
    EXPECT_FALSE(lit(0, 8));
    EXPECT_TRUE(lit(-7, 0));

    // A cone around 350 degrees reaches past 360.
    spot->direction = 350;
    spot->aperture = 40;
    room.lightAll();
    EXPECT_TRUE(lit(40, 7));   // about 10 degrees, taken as 370
    EXPECT_FALSE(lit(30, 11)); // about 20 degrees
    EXPECT_TRUE(lit(30, -11)); // about 340 degrees
    EXPECT_FALSE(lit(30, -18)); // about 329 degrees
}

TEST(LightingPassTest, RevealRingGrowsForThirtyPassesThenGoes)
{
    Room room(330, 1, 0);
    room.compile();
    auto pass = [&] { room.lightAll(); };
    room.level.showAll(0, 0); // cell (1, 1)
    for (int k = 1; k <= 30; k++) {
        pass();
        ASSERT_EQ(room.level.lights.size(), 1u);
        EXPECT_EQ(room.level.lights[0]->radius, 10 * k);
        EXPECT_EQ(room.at(1 + 10 * k, 1).quality, 1.0f) << k;
        EXPECT_FALSE(room.received(1 + 10 * k, 1, room.level.front).dark());
        EXPECT_EQ(room.at(2 + 10 * k, 1).quality, 0.0f) << k;
        // The ring is 20 pixels wide.
        if (k >= 3) {
            EXPECT_TRUE(room.received(1 + 10 * k - 21, 1, room.level.front).dark()) << k;
        }
    }
    pass();
    EXPECT_TRUE(room.level.lights.empty());
    EXPECT_EQ(room.at(311, 1).quality, 0.0f);
}

TEST(LightingPassTest, DirectionalShadows)
{
    Room room(200, 3, 2);
    room.pixel(99, 1).depth = 7;  // cell (100, 2)
    room.pixel(149, 0).depth = 10; // rock at cell (150, 1)
    room.compile();
    Light* sun = new Light;
    sun->createDirectional(int(0xFFFFFFFFu), 1.0f, 1, 0);
    room.add(sun);
    room.lightAll();
    Level& level = room.level;
    EXPECT_EQ(level.lightGetDirectionalDepth(101, 2, 1, 0), 6);
    EXPECT_FLOAT_EQ(room.received(99, 2, 1).lit[0], 1.0f);
    EXPECT_FLOAT_EQ(room.received(101, 2, 1).lit[0], 0.2f);
    EXPECT_FLOAT_EQ(room.received(102, 2, 1).lit[0], 0.25f);
    EXPECT_FLOAT_EQ(room.received(101, 2, 1).unshadowed[0], 1.0f);
    // Rock (the base depth) shadows the 60 cells after it completely, as
    // does the map's rock border.
    EXPECT_TRUE(room.received(151, 1, 1).dark());
    EXPECT_FALSE(room.received(110, 1, 1).dark());
    EXPECT_TRUE(room.received(30, 2, 1).dark());
    EXPECT_FALSE(room.received(61, 2, 1).dark());
    // Marches that start outside the map begin at its first cell inside.
    EXPECT_EQ(level.lightGetDirectionalDepth(5, 1, -1, 0), 2);
    EXPECT_EQ(level.lightGetDirectionalDepth(5, 1, 1, 0), 10);
}

TEST(LightingPassTest, LampsChargeTheirOwnChannelAndAmbientAndDirectionalLightChargeNothing)
{
    Room room(60, 3);
    room.compile();
    LevelPixel& white = room.at(10, 2);
    LevelPixel& green = room.at(12, 2);
    white.glow = 0x00FFFFFF;
    green.glow = 0x0000FF00;
    Light* ambient = new Light;
    ambient->createAmbient(int(0xFF336699u), 0.5f);
    room.add(ambient);
    Light* sun = new Light; // shines down, so the border rock above shades the room
    sun->createDirectional(int(0xFFFFFFFFu), 1.0f, 0, 1);
    room.add(sun);
    room.lightAll();
    EXPECT_EQ(white.glow, 0x00FFFFFF);
    EXPECT_FLOAT_EQ(room.received(10, 2, 1).lit[2], 0x99 * 0.5f / 255.0f);
    EXPECT_FALSE(room.received(0, 0, 1).dark());
    // Each lamp stands at cell (5, 2), added to those already there.
    auto lamp = [&](int style) {
        Light* l = new Light;
        l->setStyle(style);
        l->x = 5 + room.level.originX;
        l->y = 2 + room.level.originY;
        room.add(l);
        room.lightAll();
    };
    lamp(Light::StyleCandle);
    EXPECT_EQ(unsigned(white.glow) >> 24, 1u);
    EXPECT_EQ(green.glow, 0x0000FF00);
    room.lightAll();
    EXPECT_EQ(unsigned(white.glow) >> 24, 1u);
    lamp(Light::StyleAceto);
    EXPECT_EQ(unsigned(white.glow) >> 24, 5u);
    EXPECT_EQ(green.glow, 0x0000FF00);
    lamp(Light::StyleElectric);
    room.lightAll();
    EXPECT_EQ(unsigned(white.glow) >> 24, 7u);
    EXPECT_EQ(green.glow, 0x0200FF00);
    EXPECT_EQ(white.glow & 0xFFFFFF, 0xFFFFFF);
}

TEST(LightingPassTest, MemorySpreadsByFourFifthsIntoOpenCells)
{
    Room room(12, 12);
    room.pixel(7, 5).depth = 10; // rock at cell (8, 6)
    room.compile();
    room.at(6, 6).quality = 1.0f;
    room.at(1, 3).quality = 0.05f; // too faint to spread
    room.lightAll();
    EXPECT_FLOAT_EQ(room.at(6, 6).quality, 1.0f);
    EXPECT_FLOAT_EQ(room.at(5, 6).quality, 0.8f);
    EXPECT_FLOAT_EQ(room.at(6, 7).quality, 0.8f);
    EXPECT_EQ(room.at(5, 5).quality, 0.0f);
    EXPECT_EQ(room.at(1, 3).quality, 0.0f);
    room.lightAll();
    EXPECT_FLOAT_EQ(room.at(5, 5).quality, 0.64f);
    EXPECT_FLOAT_EQ(room.at(4, 6).quality, 0.64f);
    // Rock is never remembered.
    EXPECT_EQ(room.at(8, 6).quality, 0.0f);
    // Cells on the map's border do not spread.
    room.at(0, 5).quality = 1.0f;
    room.at(0, 5).tempQuality = 1.0f;
    room.lightAll();
    EXPECT_LT(room.at(1, 5).tempQuality, 0.8f);
}

TEST(LightingPassTest, SimpleLightingScalesTheScreenByUnshadowedLight)
{
    Room room(4, 4);
    room.compile();
    room.received(2, 3, 1).unshadowed[0] = 0.5f;
    room.received(2, 3, 1).unshadowed[1] = 1.0f;
    room.received(2, 3, 1).unshadowed[2] = 0.25f;
    room.level.front = 1;
    Screen screen(8, 8, 1);
    screen.clear(int(0xFFC8C8C8u));
    // Screen pixel (sx, sy) shows world (sx - 3, sy - 2).
    room.level.mulBySimpleLighting(&screen, 3, 2);
    EXPECT_EQ(unsigned(screen.getPixel(4, 4)), 0xFF64C832u);
    // Cells with no light turn black; pixels off the map are left alone.
    EXPECT_EQ(unsigned(screen.getPixel(3, 4)), 0xFF000000u);
    EXPECT_EQ(unsigned(screen.getPixel(0, 0)), 0xFFC8C8C8u);
    EXPECT_EQ(unsigned(screen.getPixel(7, 7)), 0xFFC8C8C8u);
}

// Deleting lights keeps external ones alive. An owner hands its changed
// light over whole; the listed light keeps who deletes it, whatever the copy
// says, and the next pass lights from it.
TEST(LightingPassTest, DeletedExternalLightsLiveOnAndACopiedLightIsLitAndKeepsItsOwner)
{
    Room room(40, 3);
    room.compile();
    Light lamp;
    lamp.external = true;
    room.level.addLight(&lamp);
    room.level.addLight(new Light);
    room.level.deleteLight(5);
    room.level.deleteLight(-1);
    EXPECT_EQ(room.level.lights.size(), 2u);
    room.level.deleteLight(0);
    ASSERT_EQ(room.level.lights.size(), 1u);
    EXPECT_TRUE(lamp.update());
    room.level.deleteLight(0);
    EXPECT_TRUE(room.level.lights.empty());

    room.level.addLight(&lamp);
    Light moved;
    moved.createOmni(int(0xFFFFFFFFu), 1.0f, 30 + room.level.originX, 2 + room.level.originY, 5, false);
    room.level.copyLight(&lamp, moved);
    EXPECT_TRUE(lamp.external);
    EXPECT_EQ(lamp.x, moved.x);
    EXPECT_EQ(lamp.radius, 5);
    room.lightAll();
    EXPECT_FALSE(room.received(30, 2, 1).dark());
    EXPECT_TRUE(room.received(10, 2, 1).dark());
    room.level.lights.clear();

    Light* owned = room.add(new Light);
    Light mine;
    mine.external = true;
    room.level.copyLight(owned, mine);
    EXPECT_FALSE(owned->external) << "a light the level owns stays the level's to delete";
}

namespace {

// A random room: depths in runs from open space to rock, some incandescent,
// phosphorescent and remembered cells, and one light of every kind, some
// outside the map.
void buildRandomRoom(Room& room, unsigned seed)
{
    std::srand(seed);
    int w = room.tile->width, h = room.tile->height;
    for (int i = 0; i < w; i++) {
        int depth = std::rand() % 11;
        for (int j = 0; j < h; j++) {
            if (std::rand() % 6 == 0)
                depth = std::rand() % 11;
            room.pixel(i, j).depth = depth;
            room.pixel(i, j).incandescence = std::rand() % 9 == 0 ? float(std::rand() % 100) / 100.0f : 0.0f;
        }
    }
    // A shallower base leaves deeper cells than it, which the directional
    // shadows treat apart.
    if (seed % 3 == 0)
        room.level.baseDepth = 6;
    room.compile();
    Level& level = room.level;
    for (int i = 0; i < level.mapWidth * level.mapHeight; i++) {
        if (std::rand() % 7 == 0)
            level.map[i].glow = std::rand() & 0xFFFFFF;
        if (std::rand() % 50 == 0)
            level.map[i].quality = 1.0f;
        // Open border cells too, so that marches reach the map's edges.
        if (std::rand() % 3 == 0)
            level.map[i].depth = level.map[i].cleanDepth = std::rand() % 11;
        // Some rooms hold cells deeper than rock.
        if (seed % 4 == 1 && std::rand() % 40 == 0)
            level.map[i].depth = level.map[i].cleanDepth = 11 + std::rand() % 10;
    }
    auto randomColour = [] { return int(0xFF000000u | unsigned(std::rand() & 0xFFFFFF)); };
    auto randomX = [&] { return std::rand() % (w + 40) - 20; };
    auto randomY = [&] { return std::rand() % (h + 40) - 20; };
    Light* l = new Light;
    l->createAmbient(randomColour(), 0.3f);
    room.add(l);
    for (int k = 0; k < 4; k++) {
        l = new Light;
        l->createOmni(randomColour(), 0.8f, randomX(), randomY(), 5 + std::rand() % 40, std::rand() % 2);
        l->style = std::rand() % 5;
        room.add(l);
        l = new Light;
        l->createSpot(randomColour(), 0.9f, randomX(), randomY(), 5 + std::rand() % 40, std::rand() % 2,
                      std::rand() % 200, std::rand() % 400 - 20);
        l->style = std::rand() % 5;
        room.add(l);
    }
    l = new Light;
    l->createDirectional(randomColour(), 0.7f, std::rand() % 7 - 3, std::rand() % 7 - 3);
    room.add(l);
    l = new Light;
    l->createOmni(randomColour(), 1.0f, 10, 10, 30, true);
    l->on = false;
    room.add(l);
    room.level.showAll(randomX(), randomY());
}

// Cell i of the two levels, and its light in both buffers, are the same.
bool sameCell(const Level& one, const Level& other, int i)
{
    for (int buffer = 0; buffer < 2; buffer++) {
        const CellLight& a = one.lightOf(buffer, i);
        const CellLight& b = other.lightOf(buffer, i);
        if (a.dark() != b.dark())
            return false;
        for (int k = 0; k < 3; k++)
            if (a.lit[k] != b.lit[k] || a.unshadowed[k] != b.unshadowed[k])
                return false;
    }
    const LevelPixel& a = one.map[i];
    const LevelPixel& b = other.map[i];
    return a.glow == b.glow && a.depth == b.depth && a.quality == b.quality && a.tempQuality == b.tempQuality;
}

// Checks every cell of the two rooms after the same pass.
void expectSameMaps(Room& fast, Room& plain, int pass)
{
    ASSERT_EQ(fast.level.front, plain.level.front);
    ASSERT_EQ(fast.level.lights.size(), plain.level.lights.size());
    for (int i = 0; i < fast.level.mapWidth * fast.level.mapHeight; i++)
        ASSERT_TRUE(sameCell(fast.level, plain.level, i))
            << "pass " << pass << " cell " << i / fast.level.mapHeight << "," << i % fast.level.mapHeight;
}

// The engine's pass on `fast` and the plain one on `plain`, over the same
// region with the same flicker (drawn from `seed`), then every cell checked.
void passBoth(Room& fast, Room& plain, unsigned seed, int x, int y, int w, int h, int margin,
              LIGHTING_SCRATCH* scratch = nullptr, int pass = 0)
{
    std::srand(seed);
    if (scratch)
        fast.level.computeLighting(x, y, w, h, margin, *scratch);
    else
        fast.level.computeLighting(x, y, w, h, margin);
    std::srand(seed);
    reference::pass(plain.level, x, y, w, h, margin);
    expectSameMaps(fast, plain, pass);
}

// Sets the depth of cell (mx, my) as baked and as seen now.
void setDepth(Room& room, int mx, int my, int depth)
{
    LevelPixel& p = room.at(mx, my);
    p.depth = p.cleanDepth = depth;
}

} // namespace

TEST(LightingPassTest, FastPassMatchesThePlainPassOnRandomRoomsWithDepthsBeyondAByte)
{
    for (unsigned seed = 1; seed <= 12; seed++) {
        int w = 40 + int(seed * 7 % 50), h = 30 + int(seed * 13 % 40);
        Room fast(w, h), plain(w, h);
        buildRandomRoom(fast, seed);
        buildRandomRoom(plain, seed);
        for (Room* room : {&fast, &plain}) { // depths no byte holds
            setDepth(*room, 20, 20, 300);
            room->at(30, 10).cleanDepth = -200;
        }
        std::srand(seed);
        int x = std::rand() % 40 - 20, y = std::rand() % 40 - 20;
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        for (int pass = 0; pass < 4; pass++)
            passBoth(fast, plain, seed * 100 + pass, x + pass, y, w / 2, h / 2, 10, nullptr, pass);
        // Then one pass over the whole map, which bakes every cell's depth again.
        const Level& l = plain.level;
        passBoth(fast, plain, seed, -l.originX, -l.originY, l.mapWidth, l.mapHeight, 0, nullptr, 4);
    }
}

TEST(LightingPassTest, DirectionalShadowsMatchThePlainMarchInEveryDirection)
{
    // Dense rock, rare rock, and a base shallower than the rock.
    const int bases[3] = {10, 10, 7}, rockOneIn[3] = {4, 300, 4};
    for (int run = 0; run < 3; run++) {
        const int base = bases[run];
        Room fast(110, 90), plain(110, 90);
        for (Room* room : {&fast, &plain}) {
            std::srand(unsigned(run));
            for (int i = 0; i < 110; i++)
                for (int j = 0; j < 90; j++)
                    room->pixel(i, j).depth = std::rand() % rockOneIn[run] == 0 ? 10 : std::rand() % 10;
            room->level.baseDepth = base;
            room->compile();
        }
        for (int dirX = -3; dirX <= 3; dirX++)
            for (int dirY = -3; dirY <= 3; dirY++) {
                for (Room* room : {&fast, &plain}) {
                    while (!room->level.lights.empty())
                        room->level.deleteLight(0);
                    Light* sun = new Light;
                    sun->createDirectional(int(0xFFFFFFFFu), 1.0f, dirX, dirY);
                    room->add(sun);
                }
                SCOPED_TRACE(testing::Message() << "direction " << dirX << "," << dirY);
                passBoth(fast, plain, 0, -20, -10, 80, 60, 5);
            }
    }
}

// Passes that keep their memory between them, as the lighting thread does,
// over lights that move, stop and move again, lights switched off and on,
// depths changing under lights that stay put (inside the region and, as
// moving objects leave them, outside it), lights at the edges of the
// region and of the map, and paint losing its charge under still lamps.
// Without the growing ring and the flicker, most passes change the light of
// a few cells only.
TEST(LightingPassTest, KeptPassesMatchThePlainPassWhileLightsAndDepthsChange)
{
    for (unsigned seed = 1; seed <= 6; seed++) {
        const int w = 70, h = 50;
        Room fast(w, h), plain(w, h);
        buildRandomRoom(fast, seed);
        buildRandomRoom(plain, seed);
        LIGHTING_SCRATCH scratch;
        for (int pass = 0; pass < 14; pass++) {
            for (Room* room : {&fast, &plain}) {
                Level& level = room->level;
                if (pass == 0) {
                    level.deleteLight(int(level.lights.size()) - 1);
                    for (Light* l : level.lights)
                        l->style = Light::StyleNone;
                    level.lights[2]->style = Light::StyleElectric;
                }
                for (int i = 0; pass == 13 && i < level.mapWidth * level.mapHeight; i++)
                    level.map[i].glow = level.map[i].glow & 0xFFFFFF;
                // Light 1 moves on passes 3 to 6 and 10 to 11, stands still otherwise.
                Light* walker = level.lights[1];
                if ((pass >= 3 && pass <= 6) || pass == 10 || pass == 11)
                    walker->x += pass % 2 ? 1 : 3;
                // Light 2 sits on the region's last column, light 3 on the map's corner.
                level.lights[2]->x = 55 + level.originX;
                level.lights[3]->x = level.originX;
                level.lights[3]->y = level.originY;
                // Light 4 goes off for two passes.
                level.lights[4]->on = pass != 7 && pass != 8;
                // Depths change near the static lights: in the region, and
                // outside it (where the pass does not restore them).
                if (pass % 3 == 2) {
                    setDepth(*room, 10 + pass, 12, (pass * 7) % 11);
                    setDepth(*room, 20, 5 + pass, 10);
                    room->at(60 + pass % 5, 40).depth = pass % 11;
                    room->at(1 + pass % 3, 1 + pass).depth = (pass * 3) % 11;
                }
            }
            // The region moves by two columns from pass 9 on.
            passBoth(fast, plain, seed * 100 + unsigned(pass), pass < 9 ? -5 : -7, -3, 45, 30, 5, &scratch, pass);
        }
    }
}

// Lights are added a few columns at a time: lights whose squares begin and
// end on either side of a strip's first column, a region that starts and
// ends inside strips, a lamp walking across strip borders and rings
// crossing many strips, in a room many strips wide, pass after pass.
TEST(LightingPassTest, LightsAcrossColumnStripsMatchThePlainPass)
{
    const int w = 150, h = 40;
    Room fast(w, h), plain(w, h);
    buildRandomRoom(fast, 21);
    buildRandomRoom(plain, 21);
    const int columns[6] = {15, 16, 17, 31, 32, 64};
    LIGHTING_SCRATCH scratch;
    for (int pass = 0; pass < 10; pass++) {
        for (Room* room : {&fast, &plain}) {
            Level& level = room->level;
            for (int k = 0; k < 6; k++) {
                level.lights[1 + k]->x = columns[k] + level.originX;
                level.lights[1 + k]->radius = 1 + (k * 5 + pass) % 20;
            }
            level.lights[7]->x = 10 + 3 * pass + level.originX;
            if (pass == 4)
                level.showAll(level.originX + 40, level.originY + 20);
        }
        passBoth(fast, plain, unsigned(pass), -9, -2, 101, 30, 3, &scratch, pass);
    }
}

// The lighting thread.

namespace {

void waitFor(bool (*condition)())
{
    while (!condition())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

// Asks for a pass over the room's region, as the game does once a frame,
// until `count` more passes have run.
void askForPasses(const Level& level, int w, int h, long long count)
{
    long long target = lightingWorker().passes() + count;
    while (lightingWorker().passes() < target) {
        lightingWorker().setRegion(-level.originX, -level.originY, w, h);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

} // namespace

TEST(LightingWorkerTest, RunsPausesAndStopsWithinOnePass)
{
    Room room(200, 150);
    room.compile();
    room.omni(100, 75, 60, true);
    lightingWorker().setRegion(-room.level.originX, -room.level.originY, 160, 120);
    static long long target;
    target = lightingWorker().passes() + 1;
    lightingWorker().start(&room.level);
    // The first pass runs unasked, the next ones when asked for; unasked,
    // the worker sleeps.
    waitFor([] { return lightingWorker().passes() >= target; });
    askForPasses(room.level, 160, 120, 2);
    // (A request made during the last pass may still run one more.)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    long long asked = lightingWorker().passes();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(lightingWorker().passes(), asked);
    // Reading the shown buffer as a frame does: holding `drawing`.
    room.level.drawing = true;
    EXPECT_FALSE(room.received(100, 75, room.level.front).dark());
    room.level.drawing = false;

    // Paused: nothing more is computed or published.
    lightingWorker().setControl(LightingPaused);
    waitFor([] { return lightingWorker().paused(); });
    long long paused = lightingWorker().passes();
    int shown = room.level.front;
    float value = room.received(110, 75, shown).lit[0];
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(lightingWorker().passes(), paused);
    EXPECT_EQ(room.level.front, shown);
    EXPECT_EQ(room.received(110, 75, shown).lit[0], value);

    lightingWorker().setControl(LightingRun);
    askForPasses(room.level, 160, 120, 2);

    // A frame being drawn holds the next pass back.
    room.level.drawing = true;
    long long held = lightingWorker().passes();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LE(lightingWorker().passes(), held + 1);
    room.level.drawing = false;

    lightingWorker().setControl(LightingStopRequested);
    long long atStop = lightingWorker().passes();
    waitFor([] { return lightingWorker().control() == LightingStopped; });
    EXPECT_LE(lightingWorker().passes(), atStop + 1);
    lightingWorker().stop();
    EXPECT_EQ(lightingWorker().control(), LightingStopped);
}

TEST(LightingWorkerTest, ManyStartsAndStopsEndClean)
{
    Room room(120, 80);
    room.compile();
    room.omni(50, 40, 30);
    lightingWorker().setRegion(-room.level.originX, -room.level.originY, 100, 60);
    Screen screen(100, 60, 1);
    static long long target;
    for (int i = 0; i < 200; i++) {
        lightingWorker().start(&room.level);
        if (i % 2)
            room.level.showAll(50 + room.level.originX, 40 + room.level.originY);
        if (i % 10 == 0) {
            // Some cycles draw frames over finished passes before stopping.
            target = lightingWorker().passes() + 2;
            while (lightingWorker().passes() < target) {
                lightingWorker().setRegion(-room.level.originX, -room.level.originY, 100, 60);
                room.level.drawing = true;
                screen.clear(int(0xFFFFFFFFu));
                room.level.mulBySimpleLighting(&screen, -room.level.originX, -room.level.originY);
                room.level.drawing = false;
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
        }
        lightingWorker().stop();
        ASSERT_EQ(lightingWorker().control(), LightingStopped);
    }
    // Stopping with no worker running does nothing.
    lightingWorker().stop();
    EXPECT_EQ(lightingWorker().control(), LightingStopped);
}

TEST(LightingWorkerTest, DeletingTheLevelStopsTheWorkerFirst)
{
    // Under AddressSanitizer a worker left running reads the freed map.
    std::unique_ptr<Room> room(new Room(160, 100));
    room->compile();
    room->omni(80, 50, 40);
    lightingWorker().setRegion(-room->level.originX, -room->level.originY, 120, 80);
    lightingWorker().start(&room->level);
    askForPasses(room->level, 120, 80, 2);
    room.reset();
    EXPECT_EQ(lightingWorker().control(), LightingStopped);
    long long after = lightingWorker().passes();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(lightingWorker().passes(), after) << "no pass runs on a deleted level";

    // A level the worker does not run on leaves it running.
    Room lit(80, 60);
    lit.compile();
    lightingWorker().start(&lit.level);
    delete new Level;
    EXPECT_EQ(lightingWorker().control(), LightingRun);
    lightingWorker().stop();
}
