#include "level/Level.h"

#include "level/SimRoom.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace {

// An open room of width x height cells (depth 5), its margins open too,
// built with whatever the test set on its level before.
struct OpenRoom : SimRoom {
    OpenRoom(int width, int height) : SimRoom(width - 2, height - 2) { level.baseDepth = 5; }
    // Builds a cloud room with a source of density 10 at (mx, my).
    void cloud(int mx, int my, int steps = 1)
    {
        level.hasCloud = true;
        level.cloudSteps = steps;
        build();
        cell(level, mx, my).cloud = 10;
    }
    // The cloud densities of the cells (x, y) listed as x, y pairs.
    std::vector<int> cloudAt(std::initializer_list<std::pair<int, int>> cells)
    {
        std::vector<int> densities;
        for (auto c : cells)
            densities.push_back(cell(level, c.first, c.second).cloud);
        return densities;
    }
};

// The water's surface row after each of `ticks` updates.
std::vector<int> fillRows(Level& level, int ticks)
{
    std::vector<int> rows;
    for (int tick = 0; tick < ticks; tick++) {
        level.computeFill(tick);
        rows.push_back(level.waterLevel);
    }
    return rows;
}

} // namespace

TEST(LevelMapTest, AngleInEveryQuadrant)
{
    Level level;
    EXPECT_FLOAT_EQ(level.getAngle(0, 0, 0, 0), 0.0f);
    const struct {
        int x0, y0, x1, y1;
        float angle, within;
    } angles[] = {{0, 0, 5, 0, 0, 1e-4f},        {0, 0, 0, 5, 90, 1e-4f},       {0, 0, -1, 0, 180, 1e-3f},
                  {0, 0, 0, -5, 270, 1e-3f},     {10, 10, 13, 13, 45, 0.01f},   {10, 10, 7, 13, 135, 0.01f},
                  {10, 10, 7, 7, 225, 0.01f},    {10, 10, 13, 7, 315, 0.01f}};
    for (const auto& a : angles)
        EXPECT_NEAR(level.getAngle(a.x0, a.y0, a.x1, a.y1), a.angle, a.within) << a.x1 - a.x0 << "," << a.y1 - a.y0;
    // The approximate constants show: just below a full turn, not above it.
    EXPECT_LT(level.getAngle(0, 0, 1000, -1), 360.0f);
    EXPECT_GT(level.getAngle(0, 0, 1000, -1), 359.9f);
}

TEST(LevelMapTest, CloudSpreadsOneDensityPerStep)
{
    OpenRoom room(20, 20);
    room.cloud(10, 10);
    const std::initializer_list<std::pair<int, int>> around = {{10, 10}, {9, 10}, {11, 10}, {10, 9}, {10, 11},
                                                               {9, 9},   {12, 10}, {8, 10}, {13, 10}};
    room.level.computeCloud();
    EXPECT_EQ(room.cloudAt(around), (std::vector<int>{10, 9, 9, 9, 9, 0, 0, 0, 0}));
    // The neighbours scanned after the source hand it their own density less one.
    room.level.computeCloud();
    EXPECT_EQ(room.cloudAt(around), (std::vector<int>{8, 9, 9, 9, 9, 8, 8, 8, 0}));
}

TEST(LevelMapTest, CloudStepsPerUpdateAndRockStopsIt)
{
    OpenRoom room(12, 12);
    room.cloud(5, 5, 2);
    // A wall of rock in column 7.
    for (int my = 0; my < 12; my++)
        cell(room.level, 7, my).depth = 10;
    room.level.computeCloud();
    EXPECT_EQ(room.cloudAt({{5, 5}, {3, 5}, {7, 5}}), (std::vector<int>{8, 8, 0}));
    for (int i = 0; i < 20; i++)
        room.level.computeCloud();
    for (int my = 0; my < 12; my++) {
        ASSERT_EQ(room.cloudAt({{7, my}, {8, my}}), (std::vector<int>{0, 0})) << my;
    }
    for (int i = 0; i < 12 * 12; i++)
        ASSERT_LE(room.level.map[i].cloud, 10);

    // A huge step count from a level file is bounded: the update returns,
    // and the shared step counter is back at its start for the next level.
    OpenRoom thick(6, 6), thin(6, 6);
    thick.cloud(2, 2, 2000000000);
    thick.level.computeCloud();
    thin.cloud(2, 2);
    thin.level.computeCloud();
    EXPECT_EQ(thin.cloudAt({{2, 2}, {3, 2}, {4, 2}}), (std::vector<int>{10, 9, 0}));
}

// The map is first given a block one column longer, which compile then
// reuses: the cells past its end are owned, and must stay as they were.
TEST(LevelMapTest, CloudInTheLastColumnWritesNothingPastTheMap)
{
    OpenRoom room(6, 6);
    ASSERT_EQ(room.level.allocateMap(7, 6), 1);
    const LevelPixel* longer = room.level.map;
    room.cloud(5, 2);
    ASSERT_EQ(room.level.map, longer);
    LevelPixel* past = room.level.map + 6 * 6;
    for (int my = 0; my < 6; my++) {
        past[my].depth = 5;
        past[my].cloudNext = -1;
    }
    room.level.computeCloud();
    EXPECT_EQ(room.cloudAt({{5, 2}, {4, 2}}), (std::vector<int>{10, 9}));
    for (int my = 0; my < 6; my++)
        EXPECT_EQ(past[my].cloudNext, -1) << my;
}

TEST(LevelMapTest, FillingWaterRisesEverySecondTickToItsLimit)
{
    FakeMixer mixer;
    initSounds();
    OpenRoom room(10, 100);
    Level& level = room.level;
    level.water = true;
    level.waterLimit = 40;
    room.build();
    EXPECT_EQ(level.waterLevel, 100);
    EXPECT_EQ(level.waterLimit, 40);
    EXPECT_EQ(fillRows(level, 8), (std::vector<int>{99, 99, 98, 98, 97, 97, 96, 96}));
    EXPECT_EQ(level.waterFrame, 8);
    fillRows(level, 400);
    EXPECT_EQ(level.waterLevel, 39);

    // The filling sound loops while the surface moves and stops when it rests.
    EXPECT_EQ(heard(mixer, waterFillSlot), "PH");
    closeSounds();

    // A limit below the map is dropped: the water fills the whole room.
    OpenRoom deep(10, 30);
    deep.level.water = true;
    deep.level.waterLimit = 500;
    deep.build();
    EXPECT_EQ(deep.level.waterLimit, 0);
    fillRows(deep.level, 100);
    EXPECT_EQ(deep.level.waterLevel, 0);
}

TEST(LevelMapTest, SwitchedWaterSinksAndRisesBetweenItsBounds)
{
    OpenRoom room(10, 60);
    Level& level = room.level;
    level.water = true;
    level.waterMode = 1;
    level.waterLevel = 77;
    level.waterTop = 20;
    level.waterLimit = 25;
    room.build();
    EXPECT_EQ(level.waterLevel, 20);
    level.waterMode = 2;
    EXPECT_EQ(fillRows(level, 14), (std::vector<int>{21, 21, 22, 22, 23, 23, 24, 24, 25, 25, 25, 25, 25, 25}));
    level.waterMode = 1;
    EXPECT_EQ(fillRows(level, 14), (std::vector<int>{24, 24, 23, 23, 22, 22, 21, 21, 20, 20, 20, 20, 20, 20}));

    Level dry;
    dry.waterLevel = 3;
    dry.computeFill(0);
    EXPECT_EQ(dry.waterLevel, 3);
    EXPECT_EQ(dry.waterFrame, 0);
}
