// The switch rooms of the catacombs played with the game's own player and
// rooms: levers, electric boxes, lifts and gates have to take the player
// where the story needs him, and the torch has to be reached.
#include "authoring/PlayerRoom.h"

#include "PlayerFixtures.h"
#include "level/LevelFixtures.h"
#include "level/Element.h"
#include "level/Level.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The player steered in a room whose movers and falling things move, as a
// person would steer him: holding keys until he is where he wants to be.
struct Visit {
    PlayerRoom room;

    bool load(const char* levelFile)
    {
        room.roomMoves = true;
        return room.load(GLOAMER_GAME_DIR, levelFile) == 1;
    }
    void wait(int frames) { room.frames(frames, PLAYER_COMMANDS()); }
    void arriveAt(const char* door)
    {
        room.placeAt(door);
        wait(20);
    }
    // Walks to x, then steps until his picture's left edge is within 2
    // pixels of it, and stands still. False when a wall stopped him short.
    bool walkTo(int x)
    {
        for (int step = 0; step < 30 && std::abs(x - room.player.state.x) > 2; step++) {
            int side = room.player.state.x < x ? 1 : -1;
            for (int frame = 0; frame < 900 && (x - room.player.state.x) * side > 2; frame++) {
                room.frame(held(side > 0 ? "RW" : "LW"));
                if (step > 0)
                    break;
            }
            wait(10);
        }
        return std::abs(room.player.state.x - x) <= 4;
    }
    void jumpLeft(int frames)
    {
        room.frames(frames, held("JL"));
        wait(20);
    }
    DOOR* press() { return room.player.action(room.level, false); }
    // Gets on top of the lift from its right and pulls the box's lever
    // beside it, the one that sets the lift off.
    void pullFromTheLift(const Element* lift, const char* box)
    {
        ASSERT_TRUE(walkTo(lift->x + 40));
        jumpLeft(14);
        pull(box, 0);
    }
    // Walks to the door to `destination` and takes it; the door taken.
    DOOR* leaveFor(const char* destination)
    {
        for (DOOR* d : room.level->doors)
            if (std::strcmp(d->destination, destination) == 0)
                return walkTo(d->x) ? press() : nullptr;
        return nullptr;
    }

    // The lever setting input `input` of the box `box`.
    Element* lever(const char* box, int input)
    {
        std::string text = "switch " + std::string(box) + " " + std::to_string(input);
        return named(room.level->entities, "", text.c_str());
    }
    // Stands so that his body covers the lever, and pulls it.
    void pull(const char* box, int input)
    {
        Element* l = lever(box, input);
        ASSERT_TRUE(l) << box << " " << input;
        ASSERT_TRUE(walkTo(l->x - 4)) << "walked to lever " << input << " of " << box;
        press();
    }
};

} // namespace

TEST(CatacombSwitchRooms, TheTorchAndTheWayUpAreReachedFromTheDoorBelow)
{
    Visit v;
    ASSERT_TRUE(v.load("switch_room02.lvl"));
    v.arriveAt("to_switch_enigma01");
    Element* lift = named(v.room.level->actives, "lift");
    ASSERT_TRUE(lift);
    int liftHome = lift->y;

    // The outer levers up, the middle one down: the last one from on top
    // of the lift, which then carries him to the torch's shelf.
    v.pull("liftbox", 2);
    v.pullFromTheLift(lift, "liftbox");
    v.wait(130);
    EXPECT_EQ(liftHome - 106, lift->y) << "the lift stays up while the box is solved";
    EXPECT_EQ(lift->y - 24, v.room.player.state.y) << "riding on the lift";

    Element* torch = named(v.room.level->bonus, "", "electric");
    ASSERT_TRUE(torch);
    ASSERT_TRUE(v.walkTo(torch->x - 4));
    v.press();
    EXPECT_EQ(2, v.room.player.state.currentTorch) << "the torch taken";

    // Up the ladder to the upper gallery, the gate dropped by its lever, and
    // out through the top door.
    Element* ladder = v.room.level->ladders.front();
    ASSERT_TRUE(v.walkTo(ladder->x - 2));
    v.room.frames(150, held("U"));
    v.room.frames(12, held("R"));
    v.wait(20);
    EXPECT_LT(v.room.player.state.y, 96) << "on the floor of the upper gallery";
    v.pull("gatebox", 0);
    v.wait(40);
    DOOR* top = v.leaveFor("classic_entrance.lvl");
    ASSERT_TRUE(top);
    EXPECT_STREQ(top->destination, "classic_entrance.lvl");
}

TEST(CatacombSwitchRooms, TheGateKeepsTheStoreShutFromTheStreetAbove)
{
    Visit v;
    ASSERT_TRUE(v.load("switch_room02.lvl"));
    v.arriveAt("to_classic_entrance");
    Element* gate = named(v.room.level->actives, "gate");
    ASSERT_TRUE(gate);
    EXPECT_FALSE(v.walkTo(0)) << "the gate stops him";
    EXPECT_GE(v.room.player.bbox.x, gate->x + 16);
    v.jumpLeft(20);
    EXPECT_GE(v.room.player.bbox.x, gate->x + 16) << "nor can he jump it";
}

TEST(CatacombSwitchRooms, OnlyThePaintedSettingOfTheRiddleRaisesTheLift)
{
    Visit v;
    ASSERT_TRUE(v.load("switch_enigma01.lvl"));
    v.arriveAt("to_switch_intro");
    Element* lift = named(v.room.level->actives, "lift");
    ASSERT_TRUE(lift);
    int liftHome = lift->y;

    // A wrong setting first: every lever of the wall pulled.
    v.pull("riddle", 3);
    v.pull("riddle", 2);
    v.pull("riddle", 1);
    v.pullFromTheLift(lift, "riddle");
    v.wait(60);
    EXPECT_EQ(liftHome, lift->y) << "a wrong setting leaves the lift down";

    // A lever goes round four positions and counts as pulled only in the
    // first: the lift lever and the second one are turned back round, and
    // the lift lever pulled last from on top of the lift carries him up.
    for (int turn = 0; turn < 3; turn++)
        v.press();
    for (int turn = 0; turn < 3; turn++)
        v.pull("riddle", 1);
    v.wait(60);
    EXPECT_EQ(liftHome, lift->y) << "the lift lever is back down";
    v.pullFromTheLift(lift, "riddle");
    v.wait(200);
    EXPECT_EQ(liftHome - 162, lift->y);
    DOOR* top = v.leaveFor("switch_room02.lvl");
    ASSERT_TRUE(top);
    EXPECT_STREQ(top->destination, "switch_room02.lvl");
}
