#include "player/BoundingBox.h"

#include "PlayerFixtures.h"
#include "level/LevelFixtures.h"

#include <climits>

namespace {

BoundingBox box(int x, int y, int w, int h) { return BoundingBox{x, y, w, h}; }

// An open 40 x 40 level, with one movable 8 x 8 element at (ex, 0) when given.
struct OpenLevel {
    explicit OpenLevel(int ex = -1) : tile(solidTile(8, 8))
    {
        rockMap(&level, 40, 40);
        carve(&level, 0, 0, 40, 40);
        if (ex < 0)
            return;
        Element* e = new Element(tile.get());
        e->x = ex;
        level.actives.push_back(e);
    }
    std::unique_ptr<Tile> tile;
    Level level;
};

} // namespace

TEST(BoundingBoxTest, TheOutlineWithoutItsFarCornerTouchesRockAndCloudCountsOnlyInLevelsWithCloud)
{
    OpenLevel open;
    Level& level = open.level;
    BoundingBox b{10, 10, 8, 8};
    level.map[14 * 40 + 14].depth = rockDepth; // strictly inside
    level.map[18 * 40 + 18].depth = rockDepth; // the far corner
    EXPECT_EQ(b.getCollision(&level), 0);
    level.map[18 * 40 + 17].depth = rockDepth; // right column, last row sampled
    EXPECT_EQ(b.getCollision(&level), 1);
    level.map[18 * 40 + 17].depth = 9;         // deep but open
    EXPECT_EQ(b.getCollision(&level), 0);
    level.map[17 * 40 + 18].depth = rockDepth; // bottom row, last column sampled
    EXPECT_EQ(b.getCollision(&level), 1);

    // Cloud counts on the outline too, only in levels with cloud.
    level.map[10 * 40 + 12].cloud = 1; // on the left column
    EXPECT_EQ(b.getCloudCollision(&level), 0);
    level.hasCloud = true;
    EXPECT_EQ(b.getCloudCollision(&level), 1);
    level.map[10 * 40 + 12].cloud = 0;
    level.map[14 * 40 + 14].cloud = 10; // inside, not on the outline
    EXPECT_EQ(b.getCloudCollision(&level), 0);
}

TEST(BoundingBoxTest, OutsideTheMapCountsAsItsBaseDepth)
{
    OpenLevel open;
    Level& level = open.level;
    BoundingBox partlyOut{-3, 10, 8, 8};
    EXPECT_EQ(partlyOut.getCollision(&level), 1);
    level.baseDepth = 0;
    EXPECT_EQ(partlyOut.getCollision(&level), 0);
    // Edges beyond the int range are far outside, not wrapped into the map.
    level.baseDepth = rockDepth;
    EXPECT_EQ(box(INT_MAX - 2, INT_MAX - 2, 8, 8).getCollision(&level), 1);
    level.baseDepth = 0;
    EXPECT_EQ(box(INT_MAX - 2, INT_MAX - 2, 8, 8).getCollision(&level), 0);
}

TEST(BoundingBoxTest, MovableElementsCollideTouchAndOverlapByCentreDistance)
{
    BoundingBox b{0, 0, 8, 8};
    OpenLevel touching(8);
    EXPECT_EQ(b.getCollision(&touching.level), 1);
    EXPECT_EQ(b.getActiveCollision(&touching.level), -1);
    OpenLevel near(9);
    EXPECT_EQ(b.getCollision(&near.level), 0);
    EXPECT_EQ(b.getActiveTouch(&near.level), 0);
    OpenLevel away(10);
    EXPECT_EQ(b.getActiveTouch(&away.level), -1);
    OpenLevel overlapping(7);
    EXPECT_EQ(b.getActiveCollision(&overlapping.level), 0);
}

TEST(BoundingBoxTest, RectangleTestsAreCornerTests)
{
    DOOR door = {};
    door.x = 10;
    door.y = 0;
    door.width = 4;
    door.height = 40;
    BoundingBox across{0, 18, 30, 4}; // crosses the door like a plus sign
    EXPECT_EQ(across.getCollisionWithDoor(&door), 0);
    EXPECT_EQ(box(14, 40, 5, 5).getCollisionWithDoor(&door), 1); // corner on corner
    EXPECT_EQ(box(15, 40, 5, 5).getCollisionWithDoor(&door), 0);

    auto tile = solidTile(4, 40);
    Element e(tile.get());
    e.x = 10;
    EXPECT_EQ(across.getCollisionWithElement(&e), 0);
    EXPECT_EQ(box(8, 5, 3, 3).getCollisionWithElement(&e), 1);
    EXPECT_EQ(box(2, 5, 30, 40).getCollisionWithElement(&e), 1); // the element's lower corners inside the box
}

TEST(BoundingBoxTest, PixelTestSeesOnlyOpaquePixelsOfTheShownFrame)
{
    auto tile = filledTile(10, 10, 2, TILE_PIXEL{0, 0, 0.0f});
    tile->frames[1].data[3 * 10 + 2].colour = int(0x01000000u); // barely opaque, frame 1 only
    Element e(tile.get());
    e.x = 20;
    e.y = 20;
    BoundingBox covering{20, 20, 5, 5};
    EXPECT_EQ(covering.getCollisionWithElementPixels(&e), 0);
    e.frame = 1.7f;
    EXPECT_EQ(covering.getCollisionWithElementPixels(&e), 1);
    // The far edges lie outside the box: the pixel (23, 22) is covered only
    // by a box reaching past it on both axes.
    EXPECT_EQ(box(10, 10, 14, 13).getCollisionWithElementPixels(&e), 1);
    EXPECT_EQ(box(10, 10, 13, 13).getCollisionWithElementPixels(&e), 0);
    EXPECT_EQ(box(10, 10, 14, 12).getCollisionWithElementPixels(&e), 0);
}

// The spiral: a 4 x 4 box entering at (50, 50) in rock, with holes that
// free it at chosen offsets only.
class SpiralTest : public testing::Test {
protected:
    void SetUp() override
    {
        rockMap(&level, 100, 100);
        b = box(50, 50, 4, 4);
    }
    void freeAt(int dx, int dy) { carve(&level, 50 + dx, 50 + dy, 5, 5); }

    Level level;
    BoundingBox b;
};

TEST_F(SpiralTest, FirstPlacesAreVisitedInTheirOrder)
{
    const int order[][2] = {{0, -1}, {1, -1}, {2, -1}, {2, 0},   {2, 1},   {1, 1},  {0, 1},
                            {-1, 1}, {-1, 0}, {-1, -1}, {-1, -2}, {0, -2}, {1, -2}, {2, -2}};
    for (int k = 0; k + 1 < 14; k++) {
        rockMap(&level, 100, 100);
        freeAt(order[k + 1][0], order[k + 1][1]);
        freeAt(order[k][0], order[k][1]);
        b = box(50, 50, 4, 4);
        b.findSpace(&level);
        EXPECT_EQ(b.x - 50, order[k][0]) << "place " << k;
        EXPECT_EQ(b.y - 50, order[k][1]) << "place " << k;
    }
}

TEST_F(SpiralTest, OneToTheRightAndPlacesBeyondFiveHundredStepsAreNeverVisited)
{
    // Step 500 of the walk ends at (12, 6), step 501 would reach (12, 7).
    freeAt(1, 0);
    freeAt(12, 7);
    b.findSpace(&level);
    EXPECT_EQ(b.x, 50);
    EXPECT_EQ(b.y, 50);
    freeAt(12, 6);
    b.findSpace(&level);
    EXPECT_EQ(b.x, 62);
    EXPECT_EQ(b.y, 56);
}
