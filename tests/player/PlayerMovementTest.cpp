#include "player/Player.h"

#include "HallRoomFixture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

const int floorTop = 150;

class HallTest : public HallRoomTest {
protected:
    // Frames with `keys` held; the player's y after each.
    std::vector<int> heights(int count, const char* keys)
    {
        std::vector<int> ys;
        for (int i = 0; i < count; i++) {
            room.frame(held(keys));
            ys.push_back(room.player.state.y);
        }
        return ys;
    }
};

} // namespace

TEST_F(HallTest, HeldJumpRisesThirtySixPixelsThenLands)
{
    enter(50);
    room.frames(3, held());
    std::vector<int> ys = heights(60, "J");
    std::vector<int> rises;
    int previous = restY;
    for (int i = 0; i < 15; i++) {
        rises.push_back(previous - ys[i]);
        previous = ys[i];
    }
    EXPECT_EQ(rises, (std::vector<int>{4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1}));
    EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), restY - 36);
    // Still holding the key after landing does not jump again.
    EXPECT_EQ(ys.back(), restY);
    EXPECT_FALSE(p.state.jumping);
}

TEST_F(HallTest, LettingGoOfJumpEndsTheRiseAndInTheAirWalkingMovesTwoAndRunningThree)
{
    enter(50);
    room.frames(3, held());
    room.frame(held("J"));
    EXPECT_EQ(p.state.y, restY - 4);
    std::vector<int> ys = heights(40, "");
    // The move of the frame that sees the key up still rises; then the rise stops.
    EXPECT_EQ(ys[0], restY - 8);
    EXPECT_EQ(ys[1], restY - 8);
    EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), restY - 8);
    EXPECT_EQ(ys.back(), restY);

    // In the air walking moves two pixels a frame and running three.
    ASSERT_EQ(p.state.x, 50);
    room.frames(3, held());
    room.frame(held("JRW"));
    EXPECT_EQ(p.state.x, 52);
    room.frame(held("JRW"));
    EXPECT_EQ(p.state.x, 54);
    room.frame(held("JR"));
    EXPECT_EQ(p.state.x, 57);
    room.frame(held("JL"));
    EXPECT_EQ(p.state.x, 54);
    EXPECT_EQ(p.state.way, 1);
}

TEST_F(HallTest, FallingSpeedTopsOutAtFour)
{
    enter(30, 20);
    std::vector<int> drops;
    int previous = 20;
    bool airborneBeforeFast = false;
    for (int i = 0; i < 60; i++) {
        room.frame(held());
        drops.push_back(p.state.y - previous);
        previous = p.state.y;
        ASSERT_LE(p.state.dy, 4.0f);
        if (p.state.dy <= 2.0f && p.state.jumping)
            airborneBeforeFast = true;
    }
    EXPECT_EQ(std::vector<int>(drops.begin(), drops.begin() + 5), (std::vector<int>{0, 0, 0, 0, 1}));
    EXPECT_EQ(*std::max_element(drops.begin(), drops.end()), 4);
    EXPECT_FALSE(airborneBeforeFast);
    EXPECT_EQ(p.state.y, restY);
    EXPECT_FALSE(p.state.jumping);
}

namespace {

// A hall with a ledge of `height` rows on the floor from x 100 to 139.
class LEDGE_HALL {
public:
    explicit LEDGE_HALL(int height) : game(("ledge" + std::to_string(height)).c_str()), height(height)
    {
        game.rock(0, 0, 300, 200);
        game.open(10, 10, 280, 140);
        game.rock(100, floorTop - height, 40, height);
        PlayerRoom written;
        game.load(&written);
    }
    // Walking or running towards the ledge from `startX`: whether he gets
    // onto it, and where he is at the end.
    bool climbs(int startX, const char* keys, int* endX = nullptr)
    {
        PlayerRoom room;
        EXPECT_EQ(room.load(game.dir.c_str(), "room.lvl"), 1);
        room.place(startX, restY);
        bool climbed = false;
        for (int i = 0; i < 90; i++) {
            room.frame(held(keys));
            climbed |= room.player.state.y == restY - height;
        }
        if (endX)
            *endX = room.player.state.x;
        return climbed;
    }

private:
    TestGame game;
    int height;
};

} // namespace

TEST(LedgeTest, FiveRowsAreWalkedUpSevenStopHimAndSixOnlyFromTheLeft)
{
    // Every start within two strides, so that the last step before the
    // ledge comes at every distance from it. The body's right column is 13
    // right of the picture's left walking right, its left column 8 walking left.
    struct {
        const char* keys;
        int firstStart;
        int stopX;
    } walks[] = {{"RW", 60, 100 - 14}, {"R", 60, 100 - 14}, {"LW", 158, 140 - 8}, {"L", 158, 140 - 8}};
    LEDGE_HALL five(5), six(6), seven(7);
    for (const auto& w : walks) {
        int sixClimbed = 0;
        for (int start = w.firstStart; start < w.firstStart + 12; start++) {
            SCOPED_TRACE(testing::Message() << w.keys << " from " << start);
            EXPECT_TRUE(five.climbs(start, w.keys));
            int stopped = 0;
            EXPECT_FALSE(seven.climbs(start, w.keys, &stopped));
            EXPECT_EQ(stopped, w.stopX);
            sixClimbed += six.climbs(start, w.keys);
        }
        // The body's outline leaves out its lower far corner: walking right,
        // a step that brings the right column onto the ledge's first column
        // finds the lowest row free after the 5 row lift, and he gets up.
        // Walking left the lowest row reaches the ledge first.
        if (w.keys[0] == 'R')
            EXPECT_GT(sixClimbed, 0) << w.keys;
        else
            EXPECT_EQ(sixClimbed, 0) << w.keys;
    }
}

TEST_F(HallTest, WalkingBackKeepsTheNearestFreePlaceOnTheWay)
{
    enter(274);
    // Moved 5 pixels into the right wall (its first column is 290): the
    // candidates go back one pixel at a time, and 276 is the first free one.
    p.state.x = 279;
    p.state.dy = 0.5f;
    p.collide(room.level);
    EXPECT_EQ(p.state.x, 276);
    EXPECT_EQ(p.state.y, restY);
    EXPECT_FLOAT_EQ(p.state.dy, 0.5f); // held back sideways only: no landing

    // Fallen 32 rows and 3 columns from (100, 100) to 7 rows into the floor,
    // beyond the step-up: every candidate goes back 1/32 of a column per row,
    // and the first free one keeps the column and lands on the floor.
    p.state.oldX = 100;
    p.state.oldY = 100;
    p.state.x = 103;
    p.state.y = restY + 7;
    p.state.dy = 3.0f;
    p.state.jumping = true;
    p.collide(room.level);
    EXPECT_EQ(p.state.x, 103);
    EXPECT_EQ(p.state.y, restY);
    EXPECT_FLOAT_EQ(p.state.dy, 0.0f);
    EXPECT_FALSE(p.state.jumping);
}

TEST_F(HallTest, ALookAroundFadesBackWhileHeStands)
{
    enter(100);
    p.viewX = -93.0f;
    for (int i = 0; i < 20; i++)
        room.frame(held(""));
    EXPECT_LT(std::fabs(p.viewX), 1.0f);
}

TEST_F(HallTest, AJumpBumpsALowCeilingAndLands)
{
    game.rock(10, 10, 280, 100); // the ceiling's lowest row is 109
    enter(50);
    room.frames(3, held());
    int highest = restY;
    bool rose = false, risingAfterBump = false;
    for (int i = 0; i < 50; i++) {
        room.frame(held("J"));
        highest = std::min(highest, p.state.y);
        risingAfterBump |= rose && p.state.dy < 0.0f;
        rose |= p.state.y == 105;
    }
    // The body's top row is 5 below the picture's: 105 is the highest place.
    EXPECT_EQ(highest, 105);
    EXPECT_FALSE(risingAfterBump);
    EXPECT_EQ(p.state.y, restY);
    EXPECT_FALSE(p.state.jumping);
}

TEST_F(HallTest, ClimbsTheFirstOfTwoOverlappingLaddersAndStepsOffSideways)
{
    game.ladder("first", 100, 60, 8, 90);
    game.ladder("second", 104, 60, 12, 90);
    enter(95);
    room.frame(held("U"));
    // Centred on the first: its middle 104, minus half the picture's width, plus one.
    EXPECT_EQ(p.state.x, 97);
    EXPECT_TRUE(p.state.onLadder);
    room.frames(30, held("U"));
    int top = p.state.y;
    EXPECT_LT(top, restY - 25);
    EXPECT_EQ(p.state.x, 97);
    room.frames(10, held());
    EXPECT_EQ(p.state.y, top); // holds on without falling
    EXPECT_TRUE(p.state.onLadder);

    // Sideways, away from the second, until the body leaves the ladder (its
    // steps are PlayerInputTest's).
    room.frame(held("L"));
    EXPECT_TRUE(p.state.onLadder);
    for (int i = 0; i < 10 && p.state.onLadder; i++)
        room.frame(held("L"));
    EXPECT_FALSE(p.state.onLadder);
    room.frames(40, held());
    EXPECT_EQ(p.state.y, restY);
    EXPECT_FALSE(p.state.jumping);
}

// A block over the floor leaves a tunnel 12 rows high from x = 150 to 209.
class TunnelTest : public HallTest {
protected:
    void SetUp() override
    {
        HallTest::SetUp();
        game.rock(150, 10, 60, 128);
    }
};

TEST_F(TunnelTest, OnlyCrawlingGetsInAndTheCeilingKeepsHimDown)
{
    enter(120);
    room.frames(100, held("R"));
    EXPECT_EQ(p.state.x, 150 - 14);
    EXPECT_FALSE(p.state.crawl);
    room.frames(100, held("DR"));
    EXPECT_TRUE(p.state.crawl);
    EXPECT_GE(p.state.x, 150);
    int x = p.state.x;
    room.frames(5, held());
    EXPECT_TRUE(p.state.crawl);
    EXPECT_EQ(p.state.x, x);
    EXPECT_EQ(p.state.y, restY);
}

TEST_F(HallTest, CannotCrouchWhereTheCrouchedBodyDoesNotFit)
{
    // A shaft 10 columns wide: the standing body fits, the crouched one not.
    game.rock(10, 10, 90, 140);
    game.rock(110, 10, 180, 140);
    enter(95);
    room.frames(5, held("D"));
    EXPECT_FALSE(p.state.crawl);
    EXPECT_EQ(p.state.y, restY);
    EXPECT_EQ(p.state.life, 3);
}

TEST_F(HallTest, StuckWithNoFreePlaceNearIsCrushed)
{
    game.rock(150, 10, 140, 140);
    enter(200, 80);
    room.frame(held());
    EXPECT_EQ(p.state.life, 0);
    // The body goes back where it was and the picture is put back on it
    // with the standing offset from the body, two rows lower.
    EXPECT_EQ(p.state.x, 200);
    EXPECT_EQ(p.state.y, 82);
    // Nothing moves the dead.
    room.frames(3, held());
    EXPECT_EQ(p.state.x, 200);
}

TEST_F(HallTest, StuckSlightlyIsMovedToTheNearestFreePlaceAndStaysThere)
{
    // Two columns into the right wall, with nothing to walk back to. The
    // spiral frees the body just above the floor, and the picture is put
    // back on it 2 rows lower, 8 pushing to the right. Standing still, the
    // next frame's step up lifts him out of the floor.
    enter(278);
    room.frame(held());
    EXPECT_EQ(p.state.x, 276);
    EXPECT_EQ(p.state.y, restY + 2);
    room.frame(held());
    EXPECT_EQ(p.state.y, restY);
    // Falling at full speed, or pushing, that would sink him beyond the
    // reach of a step up for good: the picture goes onto the free place
    // and the fall stops.
    struct {
        int pushTimer;
        float dy;
    } trapped[] = {{0, 4.0f}, {15, 0.0f}};
    for (const auto& t : trapped) {
        SCOPED_TRACE(t.pushTimer);
        PlayerRoom stuck;
        game.load(&stuck);
        Player& q = stuck.player;
        stuck.place(278, restY);
        q.pushTimer = t.pushTimer;
        q.state.dy = t.dy;
        q.state.jumping = t.dy > 2.0f;
        stuck.frame(held());
        EXPECT_EQ(q.state.life, 3);
        EXPECT_EQ(q.state.y, restY);
        EXPECT_FLOAT_EQ(q.state.dy, 0.0f);
        EXPECT_FALSE(q.state.jumping);
        EXPECT_LE(q.bbox.x + q.bbox.w, 289);
        stuck.frames(20, held());
        EXPECT_EQ(q.state.y, restY);
        EXPECT_FALSE(q.state.jumping);
    }
    // In the air the place found is 2 rows lower, and the picture 2 below
    // that is free: it stays there and falls on.
    PlayerRoom air;
    game.load(&air);
    air.place(278, 60);
    air.frame(held());
    EXPECT_EQ(air.player.state.x, 276);
    EXPECT_EQ(air.player.state.y, 64);
}

TEST_F(HallTest, RidesAMovingElementSidewaysAndUpButNotDown)
{
    auto platformTile = solidTile(40, 6);
    enter(65, 76);
    Element* platform = new Element(platformTile.get());
    platform->x = 60;
    platform->y = 100;
    room.level->actives.push_back(platform);
    room.frames(5, held());
    ASSERT_EQ(p.state.y, 76);

    platform->vx = 1.0f;
    for (int i = 0; i < 20; i++) {
        platform->x += 1;
        room.frame(held());
    }
    EXPECT_EQ(p.state.x, 85);
    EXPECT_EQ(p.state.y, 76);

    platform->vx = 0.0f;
    platform->vy = -1.0f;
    for (int i = 0; i < 10; i++) {
        platform->y -= 1;
        room.frame(held());
    }
    EXPECT_EQ(p.state.y, 66);

    platform->vy = 1.0f;
    p.state.dy = 0.0f;
    platform->y += 1;
    room.frame(held());
    EXPECT_EQ(p.state.y, 66); // left behind: only gravity brings him down
}

TEST_F(HallTest, FarOutsideTheRoomWithADamagedSpeedIsCrushedSafely)
{
    enter(INT_MAX - 3, INT_MAX - 3);
    p.state.dy = 1e30f;
    room.frame(held("R"));
    EXPECT_EQ(p.state.life, 0);
    // Kept near the limit instead of running past the int range.
    EXPECT_LT(p.state.x, Player::positionLimit + 16);
    EXPECT_LT(p.state.y, Player::positionLimit + 16);

    PlayerRoom inside;
    game.load(&inside);
    inside.place(50, restY);
    inside.player.state.dy = std::nanf("");
    inside.frames(3, held());
    EXPECT_EQ(inside.player.state.y, restY);
    EXPECT_TRUE(std::isfinite(inside.player.state.dy));

    // Stuck, with a previous position from a damaged save at the far end of
    // the range: the walk back gives up within a room's length.
    inside.player.state.x = 278;
    inside.player.state.oldX = -Player::positionLimit;
    inside.frame(held());
    EXPECT_EQ(inside.player.state.life, 3);
    EXPECT_EQ(inside.player.state.x, 276);
}

TEST_F(HallTest, ABalloonCarriesHimOutThroughTheOpenTopOfTheMap)
{
    // A shaft open at the map's top edge; beyond the map everything counts
    // as rock, which must not hold a flyer under the edge.
    game.open(10, 0, 280, 10);
    enter(50);
    p.flying = true;
    room.frames(restY + 200, held("R"));
    EXPECT_EQ(p.state.y, -200) << "one pixel a frame, past the top";
    EXPECT_EQ(p.state.x, 50) << "held keys do not steer a flyer";
    EXPECT_EQ(p.state.life, 3);
}
