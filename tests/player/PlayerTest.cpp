#include "player/Player.h"

#include "HallRoomFixture.h"
#include "map/Map.h"
#include "render/Screen.h"

#include <cmath>

namespace {

const char* shownSequence(const Player& p)
{
    return p.animation.getSeqName(p.controler->seq);
}

} // namespace

TEST(PlayerBodyTest, BodyFollowsPoseAndFacingAndBack)
{
    struct {
        bool crawl;
        int pushTimer;
        bool jumping;
        int way;
        int boxX, boxY, boxW, boxH; // from the picture at (100, 50)
        int fromX, fromY;           // back from a body at (200, 80)
    } cases[] = {
        {false, 0, false, 0, 106, 55, 7, 19, 194, 77},  {false, 0, false, 1, 108, 55, 7, 19, 192, 77},
        {false, 5, false, 0, 104, 55, 10, 19, 196, 83}, {false, 5, false, 1, 107, 55, 10, 19, 193, 77},
        {false, 5, true, 0, 106, 55, 7, 19, 196, 83},   {true, 0, false, 0, 104, 63, 13, 11, 196, 67},
        {true, 0, false, 1, 103, 63, 13, 11, 197, 67},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.crawl << c.pushTimer << c.jumping << c.way);
        Player p;
        p.state.x = 100;
        p.state.y = 50;
        p.state.crawl = c.crawl;
        p.pushTimer = c.pushTimer;
        p.state.jumping = c.jumping;
        p.state.way = c.way;
        p.bbox.w = 13; // a crouched size, which only standing and pushing replace
        p.bbox.h = 11;
        p.setBBox();
        EXPECT_EQ(p.bbox.x, c.boxX);
        EXPECT_EQ(p.bbox.y, c.boxY);
        EXPECT_EQ(p.bbox.w, c.boxW);
        EXPECT_EQ(p.bbox.h, c.boxH);
        p.bbox.x = 200;
        p.bbox.y = 80;
        p.setPositionFromBBox();
        EXPECT_EQ(p.state.x, c.fromX);
        EXPECT_EQ(p.state.y, c.fromY);
    }
}

TEST(PlayerInputTest, JumpNeedsGroundStandingAndAReleasedKey)
{
    Player p;
    p.state.jumpReleased = true;
    p.state.crawl = true;
    p.jump();
    EXPECT_FALSE(p.state.jumping);
    p.state.crawl = false;
    p.state.onLadder = true;
    p.jump();
    EXPECT_TRUE(p.state.jumping);
    EXPECT_FALSE(p.state.onLadder);
    EXPECT_FLOAT_EQ(p.state.dy, -4.5f);
    EXPECT_FALSE(p.state.jumpReleased);

    p.state.jumping = false;
    p.state.dy = 0.0f;
    p.jump(); // the key has not been let go
    EXPECT_FALSE(p.state.jumping);
    p.state.jumpReleased = true;
    p.state.jumping = true;
    p.jump(); // already airborne
    EXPECT_FLOAT_EQ(p.state.dy, 0.0f);
}

TEST(PlayerInputTest, OnALadderSidewaysShiftsOneMoreWhenTurningAndLookingAroundFadesAndStopsSteeringTheLamp)
{
    Player p;
    p.state.onLadder = true;
    p.state.x = 100;
    p.left();
    EXPECT_EQ(p.state.x, 97);
    p.left();
    EXPECT_EQ(p.state.x, 95);
    p.right();
    EXPECT_EQ(p.state.x, 98);
    EXPECT_EQ(p.state.way, 0);
    EXPECT_EQ(p.light.direction, 0);
    EXPECT_TRUE(p.state.moving);

    // Looking around fades and stops steering the lamp.
    p.viewX = -93.0f;
    for (int i = 0; i < 12; i++)
        p.updateView();
    EXPECT_GT(std::fabs(p.viewX), 1.0f);
    EXPECT_EQ(p.light.direction, 180);
    p.updateView();
    EXPECT_LT(std::fabs(p.viewX), 1.0f);
    p.light.direction = 42;
    p.updateView();
    EXPECT_EQ(p.light.direction, 42);
}

using PlayerInRoomTest = HallRoomTest;

TEST_F(PlayerInRoomTest, PlacementByNameAndByDefault)
{
    game.mark("arrival", 60, 100);
    game.mark("exit", 200, 100, "door other.lvl arrival");
    game.mark("start", 150, 90, "default_entrance");
    enter(40);
    p.state.jumping = p.state.crawl = p.state.run = true;
    p.state.dy = 3.0f;
    p.setPositionAtElement("nowhere", room.level);
    EXPECT_EQ(p.state.x, 40);
    EXPECT_TRUE(p.state.jumping);
    p.setPositionAtElement("arrival", room.level);
    EXPECT_EQ(p.state.x, 60);
    EXPECT_EQ(p.state.oldY, 100);
    EXPECT_FALSE(p.state.jumping || p.state.crawl || p.state.run);
    EXPECT_FLOAT_EQ(p.state.dy, 0.0f);

    p.getDefaultPosition(room.level);
    EXPECT_EQ(p.state.x, 150);
    named(room.level->elements, "start")->text[0] = 0;
    p.getDefaultPosition(room.level);
    EXPECT_EQ(p.state.x, 200); // the first door when no default entrance is marked
}

TEST_F(PlayerInRoomTest, TheMapMarksThePlayerWhereTheMiddleOfHisPictureStandsInTheRoom)
{
    game.load(&room);
    const Level& l = *room.level;
    room.place(l.originX + l.mapWidth / 2 - sheetWidth / 2, l.originY + l.mapHeight / 2 - sheetHeight / 2);
    Screen screen(200, 150, 1);
    screen.clear(0);
    p.drawFront(room.level, &screen, 0, 0);
    EXPECT_EQ(screen.getPixel(100, 75), 0) << "the map is hidden until toggled";
    p.toggleMap();
    p.drawFront(room.level, &screen, 0, 0);
    EXPECT_NE(screen.getPixel(100, 75), 0);
    EXPECT_NEAR(p.map->markAcross, 0.5f, 0.004f);
    EXPECT_NEAR(p.map->markDown, 0.5f, 0.004f);
}

TEST_F(PlayerInRoomTest, LampSitsAtTheHandAndItsPictureFollowsItsColour)
{
    enter(50);
    room.frame(held("R"));
    EXPECT_EQ(p.light.x, 50 + 12 + (p.state.x - 50));
    EXPECT_EQ(p.light.y, p.state.y + 10);
    room.frame(held("L"));
    EXPECT_EQ(p.light.x, p.state.x + sheetWidth - 12 - 1);

    p.setCurrentTorch(1);
    EXPECT_EQ(p.getCurrentTorch(), 3); // the picture changes with the next frame
    room.frame(held());
    EXPECT_EQ(p.getCurrentTorch(), 1);
    EXPECT_EQ(p.carriedTile, &p.candleTile);

    p.torchOff();
    room.frame(held());
    EXPECT_FLOAT_EQ(p.light.intensity, 0.0f);
}

TEST_F(PlayerInRoomTest, PoseShownWithoutInput)
{
    enter(50);
    room.frame(held());
    EXPECT_STREQ(shownSequence(p), "idle_t");
    EXPECT_FLOAT_EQ(p.controler->speed, 0.35f);
    room.frame(held("J"));
    EXPECT_STREQ(shownSequence(p), "run_t");
    p.state.torch = false;
    room.frames(20, held("J"));
    EXPECT_STREQ(shownSequence(p), "fall");
    EXPECT_FLOAT_EQ(p.controler->speed, 0.0f);
    room.frames(40, held());
    p.state.hitted = 7.3f;
    room.frame(held());
    EXPECT_STREQ(shownSequence(p), "fall"); // knocked back at the start of a hurt
    room.frame(held());
    EXPECT_STREQ(shownSequence(p), "idle");
}
