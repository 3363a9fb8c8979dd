// The player in rooms of the game off the playthroughs' way, or where they
// cannot show it: the devices of the caves, the machine rooms and the
// catacombs' switch rooms work as their rooms mean them to, and the wrong
// levers and the wrong side keep the player out.
#include "authoring/PlayerRoom.h"

#include "PlayerFixtures.h"
#include "level/LevelFixtures.h"
#include "level/Element.h"
#include "level/Level.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

Element* ofKind(const std::vector<Element*>& list, int kind)
{
    for (Element* e : list)
        if (e->kind == kind)
            return e;
    return nullptr;
}

// The player steered in a room whose movers, water and falling things
// move, as a person would steer him: holding keys until he is where he
// wants to be.
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
    // The destination of the door where he stands, "" when there is none.
    std::string doorHere()
    {
        wait(5);
        DOOR* taken = press();
        return taken ? taken->destination : "";
    }
    // Stands on the floor under the thing, his body over its left edge,
    // and presses the action key.
    void useStandingAt(const Element* thing)
    {
        room.place(thing->x - 8, thing->y + thing->tile->height - 24);
        wait(2);
        press();
    }
    // Gets on top of the lift from its right and pulls the box's lever
    // beside it, the one that sets the lift off.
    void pullFromTheLift(const Element* lift, const char* box)
    {
        ASSERT_TRUE(walkTo(lift->x + 40));
        jumpLeft(14);
        pull(box, 0);
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
    // From the maze's door of the vault towards the shaft up to Z: where he gets.
    int vaultWalkEast()
    {
        room.placeAt("to_maze2");
        room.frames(200, held("R"));
        return room.player.state.x;
    }
};

} // namespace

TEST(CaveRooms, TheWestLadderOfTheGreatCaveClimbsFromTheCatacombsToTheCarPark)
{
    Visit v;
    ASSERT_TRUE(v.load("hub_cave.lvl"));
    Element* from = named(v.room.level->elements, "to_hub_metro");
    Element* to = named(v.room.level->elements, "to_hub_parking");
    ASSERT_TRUE(from && to);
    Element* ladder = nullptr;
    for (Element* e : v.room.level->ladders)
        if (e->x > from->x && (!ladder || e->x < ladder->x))
            ladder = e;
    ASSERT_TRUE(ladder);

    v.arriveAt("to_hub_metro");
    v.walkTo(ladder->x - 4);
    for (int step = 0; step < 800 && v.room.player.state.y > to->y - 8; step++)
        v.room.frame(held("U"));
    v.walkTo(to->x);
    EXPECT_NE(v.doorHere().find("hub_parking"), std::string::npos);
    EXPECT_EQ(v.room.player.state.life, 3);
}

TEST(CaveRooms, TheVaultGateOpensOnlyToTheInspectorsCombinationOrFromTheFarSide)
{
    Visit v;
    ASSERT_TRUE(v.load("vault.lvl"));
    Element* gate = ofKind(v.room.level->actives, Element::Mover);
    ASSERT_TRUE(gate);
    EXPECT_LT(v.vaultWalkEast(), gate->x) << "shut at first";

    Element* first = v.lever("vault_lock", 0);
    Element* middle = v.lever("vault_lock", 1);
    Element* last = v.lever("vault_lock", 2);
    ASSERT_TRUE(first && middle && last);
    v.useStandingAt(first);
    v.useStandingAt(middle);
    v.useStandingAt(last);
    EXPECT_LT(v.vaultWalkEast(), gate->x) << "a wrong combination keeps it shut";

    // The middle lever on round to its first notch again: first and last up.
    for (int press = 0; press < 3; press++)
        v.useStandingAt(middle);
    EXPECT_GT(v.vaultWalkEast(), gate->x + 24) << "the gate dropped into its slot";

    // From the far side its own lever drops it too.
    Visit farSide;
    ASSERT_TRUE(farSide.load("vault.lvl"));
    ASSERT_TRUE(farSide.lever("gate_low", 0));
    farSide.useStandingAt(farSide.lever("gate_low", 0));
    EXPECT_GT(farSide.vaultWalkEast(), gate->x + 24);
}

TEST(CaveRooms, TheServiceLiftCarriesThePlayerUpToTheGenerators)
{
    Visit v;
    ASSERT_TRUE(v.load("entrance21.lvl"));
    Element* lift = ofKind(v.room.level->actives, Element::Mover);
    Element* top = named(v.room.level->elements, "to_technic02");
    ASSERT_TRUE(lift && v.lever("lift_box", 0) && top);

    // On the lift, touching the lever beside it.
    v.room.place(lift->x + lift->tile->width - 10, lift->y - 24);
    v.wait(5);
    v.press();
    v.wait(260);
    EXPECT_LT(v.room.player.state.y, top->y + 30) << "up at the top landing";

    v.walkTo(top->x);
    EXPECT_NE(v.doorHere().find("technic02"), std::string::npos);
}

TEST(CaveRooms, ThePumpGantryFerriesThePlayerOverTheCables)
{
    Visit v;
    ASSERT_TRUE(v.load("technic03.lvl"));
    Element* gantry = ofKind(v.room.level->actives, Element::Mover);
    Element* lever = v.lever("gantry_west", 0);
    ASSERT_TRUE(gantry && lever);
    int homeX = gantry->x, deckY = gantry->y;

    v.useStandingAt(lever);
    v.room.frames(15, held("R"));
    v.wait(260);
    EXPECT_EQ(gantry->x, homeX + 200);
    EXPECT_GT(v.room.player.state.x, homeX + 180) << "rode along";
    EXPECT_LT(v.room.player.state.y, deckY) << "on the deck, not in the pit";
    EXPECT_EQ(v.room.player.state.life, 3) << "the cables never touched";
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
}
