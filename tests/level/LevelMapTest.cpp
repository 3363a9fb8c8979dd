#include "level/Level.h"

#include "assets/TileList.h"
#include "audio/FakeMixer.h"
#include "level/Element.h"
#include "level/LevelFixtures.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// A compiled open room of width x height cells (depth 5), margins included.
void openRoom(Level* level, std::unique_ptr<Tile>* tile, int width, int height)
{
    *tile = solidTile(width - 2, height - 2, int(0xFF808080u), 5);
    level->baseDepth = 5;
    place(level, tile->get(), 0, 0);
    ASSERT_EQ(level->compile(), 1);
    ASSERT_EQ(level->mapWidth, width);
    ASSERT_EQ(level->mapHeight, height);
}

int cloudAt(Level& level, int mx, int my)
{
    return cell(level, mx, my).cloud;
}

} // namespace

TEST(LevelMapTest, AngleInEveryQuadrant)
{
    Level level;
    EXPECT_FLOAT_EQ(level.getAngle(0, 0, 0, 0), 0.0f);
    EXPECT_NEAR(level.getAngle(0, 0, 5, 0), 0.0f, 1e-4);
    EXPECT_NEAR(level.getAngle(0, 0, 0, 5), 90.0f, 1e-4);
    EXPECT_NEAR(level.getAngle(0, 0, -1, 0), 180.0f, 1e-3);
    EXPECT_NEAR(level.getAngle(0, 0, 0, -5), 270.0f, 1e-3);
    EXPECT_NEAR(level.getAngle(10, 10, 13, 13), 45.0f, 0.01);
    EXPECT_NEAR(level.getAngle(10, 10, 7, 13), 135.0f, 0.01);
    EXPECT_NEAR(level.getAngle(10, 10, 7, 7), 225.0f, 0.01);
    EXPECT_NEAR(level.getAngle(10, 10, 13, 7), 315.0f, 0.01);
    // The approximate constants show: just below a full turn, not above it.
    EXPECT_LT(level.getAngle(0, 0, 1000, -1), 360.0f);
    EXPECT_GT(level.getAngle(0, 0, 1000, -1), 359.9f);
}

TEST(LevelMapTest, CloudSpreadsOneDensityPerStep)
{
    Level level;
    std::unique_ptr<Tile> tile;
    openRoom(&level, &tile, 20, 20);
    level.hasCloud = true;
    cell(level, 10, 10).cloud = 10;

    level.computeCloud();
    EXPECT_EQ(cloudAt(level, 10, 10), 10);
    EXPECT_EQ(cloudAt(level, 9, 10), 9);
    EXPECT_EQ(cloudAt(level, 11, 10), 9);
    EXPECT_EQ(cloudAt(level, 10, 9), 9);
    EXPECT_EQ(cloudAt(level, 10, 11), 9);
    EXPECT_EQ(cloudAt(level, 9, 9), 0);
    EXPECT_EQ(cloudAt(level, 12, 10), 0);

    // The neighbours scanned after the source hand it their own density less one.
    level.computeCloud();
    EXPECT_EQ(cloudAt(level, 10, 10), 8);
    EXPECT_EQ(cloudAt(level, 9, 10), 9);
    EXPECT_EQ(cloudAt(level, 10, 11), 9);
    EXPECT_EQ(cloudAt(level, 8, 10), 8);
    EXPECT_EQ(cloudAt(level, 9, 9), 8);
    EXPECT_EQ(cloudAt(level, 12, 10), 8);
    EXPECT_EQ(cloudAt(level, 13, 10), 0);
}

TEST(LevelMapTest, CloudStepsPerUpdateAndRockStopsIt)
{
    Level level;
    std::unique_ptr<Tile> tile;
    openRoom(&level, &tile, 12, 12);
    level.hasCloud = true;
    level.cloudSteps = 2;
    // A wall of rock in column 7.
    for (int my = 0; my < 12; my++)
        cell(level, 7, my).depth = 10;
    cell(level, 5, 5).cloud = 10;

    level.computeCloud();
    EXPECT_EQ(cloudAt(level, 5, 5), 8);
    EXPECT_EQ(cloudAt(level, 3, 5), 8);
    EXPECT_EQ(cloudAt(level, 7, 5), 0);
    for (int i = 0; i < 20; i++)
        level.computeCloud();
    for (int my = 0; my < 12; my++) {
        ASSERT_EQ(cloudAt(level, 7, my), 0);
        ASSERT_EQ(cloudAt(level, 8, my), 0);
    }
    for (int i = 0; i < 12 * 12; i++)
        ASSERT_LE(level.map[i].cloud, 10);

    // A huge step count from a level file is bounded: the update returns,
    // and the shared step counter is back at its start for the next level.
    Level thick;
    std::unique_ptr<Tile> small;
    openRoom(&thick, &small, 6, 6);
    thick.hasCloud = true;
    thick.cloudSteps = 2000000000;
    cell(thick, 2, 2).cloud = 10;
    thick.computeCloud();
    Level thin;
    std::unique_ptr<Tile> other;
    openRoom(&thin, &other, 6, 6);
    thin.hasCloud = true;
    cell(thin, 2, 2).cloud = 10;
    thin.computeCloud();
    EXPECT_EQ(cloudAt(thin, 2, 2), 10);
    EXPECT_EQ(cloudAt(thin, 3, 2), 9);
    EXPECT_EQ(cloudAt(thin, 4, 2), 0);

    // Without a cloud source nothing moves.
    Level still;
    std::unique_ptr<Tile> stillTile;
    openRoom(&still, &stillTile, 6, 6);
    cell(still, 2, 2).cloud = 10;
    still.computeCloud();
    EXPECT_EQ(cloudAt(still, 3, 2), 0);
}

TEST(LevelMapTest, FillingWaterRisesEverySecondTickToItsLimit)
{
    FakeMixer mixer;
    initSounds();
    Level level;
    std::unique_ptr<Tile> tile;
    level.water = true;
    level.waterLimit = 40;
    openRoom(&level, &tile, 10, 100);
    EXPECT_EQ(level.waterLevel, 100);
    EXPECT_EQ(level.waterLimit, 40);

    std::vector<int> rows;
    for (int tick = 0; tick < 8; tick++) {
        level.computeFill(tick);
        rows.push_back(level.waterLevel);
    }
    EXPECT_EQ(rows, (std::vector<int>{99, 99, 98, 98, 97, 97, 96, 96}));
    EXPECT_EQ(level.waterFrame, 8);
    for (int tick = 8; tick < 400; tick++)
        level.computeFill(tick);
    EXPECT_EQ(level.waterLevel, 39);

    // The filling sound loops while the surface moves and stops when it rests.
    ASSERT_FALSE(mixer.calls("playChannel").empty());
    EXPECT_EQ(mixer.calls("playChannel")[0].first, 31);
    EXPECT_EQ(mixer.calls("playChannel")[0].second, -1);
    ASSERT_EQ(mixer.calls("haltChannel").size(), 1u);
    EXPECT_EQ(mixer.calls("haltChannel")[0].first, 31);
    closeSounds();
}

TEST(LevelMapTest, FillingLimitBelowTheMapIsDropped)
{
    Level level;
    std::unique_ptr<Tile> tile;
    level.water = true;
    level.waterLimit = 500;
    openRoom(&level, &tile, 10, 30);
    EXPECT_EQ(level.waterLimit, 0);
    for (int tick = 0; tick < 100; tick++)
        level.computeFill(tick);
    EXPECT_EQ(level.waterLevel, 0);
}

TEST(LevelMapTest, SwitchedWaterSinksAndRisesBetweenItsBounds)
{
    Level level;
    std::unique_ptr<Tile> tile;
    level.water = true;
    level.waterMode = 1;
    level.waterLevel = 77;
    level.waterTop = 20;
    level.waterLimit = 25;
    openRoom(&level, &tile, 10, 60);
    EXPECT_EQ(level.waterLevel, 20);

    level.waterMode = 2;
    std::vector<int> rows;
    for (int tick = 0; tick < 14; tick++) {
        level.computeFill(tick);
        rows.push_back(level.waterLevel);
    }
    EXPECT_EQ(rows, (std::vector<int>{21, 21, 22, 22, 23, 23, 24, 24, 25, 25, 25, 25, 25, 25}));

    level.waterMode = 1;
    rows.clear();
    for (int tick = 0; tick < 14; tick++) {
        level.computeFill(tick);
        rows.push_back(level.waterLevel);
    }
    EXPECT_EQ(rows, (std::vector<int>{24, 24, 23, 23, 22, 22, 21, 21, 20, 20, 20, 20, 20, 20}));

    Level dry;
    dry.waterLevel = 3;
    dry.computeFill(0);
    EXPECT_EQ(dry.waterLevel, 3);
    EXPECT_EQ(dry.waterFrame, 0);
}

TEST(LevelMapTest, RandomBonusReachesAllSevenAndToleratesMissingTiles)
{
    TileList tiles("no such container");
    const char* names[] = {"gold_coin01.anm", "diamond01.anm", "eye.til", "heart2.til", "candle02.til",
                           "torchlight2.til"};
    for (const char* name : names) {
        Tile* t = new Tile;
        boundedCopy(t->name, sizeof t->name, name);
        tiles.list.push_back(t);
    }
    tiles.count = int(tiles.list.size());

    Level level;
    std::set<int> kinds;
    const struct {
        int kind;
        const char* text;
        const char* tile;
    } table[] = {{Element::BonusGold, "gold", "gold_coin01.anm"},  {Element::BonusDiamond, "diamond", "diamond01.anm"},
                 {Element::BonusEye, "eye", "eye.til"},              {Element::BonusLife, "life", "heart2.til"},
                 {Element::BonusCandle, "candle", "candle02.til"},   {Element::BonusElectric, "electric", "torchlight2.til"},
                 {Element::BonusAceto, "aceto", nullptr}};
    for (int i = 0; i < 1000 && kinds.size() < 7; i++) {
        Element e;
        boundedCopy(e.text, sizeof e.text, "random");
        level.createRandomBonus(&e, &tiles);
        bool known = false;
        for (const auto& row : table)
            if (row.kind == e.kind) {
                known = true;
                EXPECT_STREQ(e.text, row.text);
                if (row.tile) {
                    ASSERT_NE(e.tile, nullptr);
                    EXPECT_STREQ(e.tile->name, row.tile);
                } else {
                    // "aceto.til" is not in this library: no picture, no crash.
                    EXPECT_EQ(e.tile, nullptr);
                }
            }
        ASSERT_TRUE(known) << e.kind;
        kinds.insert(e.kind);
    }
    EXPECT_EQ(kinds.size(), 7u);
}
