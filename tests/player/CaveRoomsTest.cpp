// The player in the rooms of the caves and of the machine rooms: the
// devices on the way to the second ending and round the ring of machine
// rooms work as their rooms mean them to.
#include "authoring/PlayerRoom.h"

#include "HallRoomFixture.h"
#include "level/Element.h"
#include "level/Level.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

Element* withText(const std::vector<Element*>& list, const char* text)
{
    for (Element* e : list)
        if (std::strcmp(e->text, text) == 0)
            return e;
    return nullptr;
}

Element* ofKind(const std::vector<Element*>& list, int kind)
{
    for (Element* e : list)
        if (e->kind == kind)
            return e;
    return nullptr;
}

// A room of the game whose movers, water and falling things move.
bool loadMoving(PlayerRoom& room, const char* levelFile)
{
    room.roomMoves = true;
    return room.load(GLOAMER_GAME_DIR, levelFile) == 1;
}

// The player stands on the floor under the thing, his body over its left
// edge, and presses the action key.
void useStandingAt(PlayerRoom& room, const Element* thing)
{
    room.place(thing->x - 8, thing->y + thing->tile->height - 24);
    room.frames(2, PLAYER_COMMANDS());
    room.player.action(room.level, false);
}

// Walks from the maze's door of the vault towards the shaft up to Z.
int vaultWalkEast(PlayerRoom& room)
{
    room.placeAt("to_maze2");
    room.frames(200, held("R"));
    return room.player.state.x;
}

// Walks one way until x passes `to` (or the time runs out).
void walkTo(PlayerRoom& room, int to)
{
    bool right = room.player.state.x < to;
    for (int step = 0; step < 600 && (right ? room.player.state.x < to : room.player.state.x > to); step++)
        room.frame(held(right ? "R" : "L"));
}

// The action key at the end of a walk; the door it opens, if any.
const char* doorReached(PlayerRoom& room)
{
    room.frames(5, PLAYER_COMMANDS());
    DOOR* taken = room.player.action(room.level, false);
    return taken ? taken->destination : "";
}

} // namespace

TEST(CaveRooms, TheWestLadderOfTheGreatCaveClimbsFromTheCatacombsToTheCarPark)
{
    PlayerRoom room;
    ASSERT_EQ(room.load(GLOAMER_GAME_DIR, "hub_cave.lvl"), 1);
    Element* from = named(room.level->elements, "to_hub_metro");
    Element* to = named(room.level->elements, "to_hub_parking");
    ASSERT_TRUE(from && to);
    Element* ladder = nullptr;
    for (Element* e : room.level->ladders)
        if (e->x > from->x && (!ladder || e->x < ladder->x))
            ladder = e;
    ASSERT_TRUE(ladder);

    room.placeAt("to_hub_metro");
    room.frames(10, PLAYER_COMMANDS());
    walkTo(room, ladder->x - 4);
    for (int step = 0; step < 800 && room.player.state.y > to->y - 8; step++)
        room.frame(held("U"));
    walkTo(room, to->x);
    EXPECT_NE(std::string(doorReached(room)).find("hub_parking"), std::string::npos);
    EXPECT_EQ(room.player.state.life, 3);
}

TEST(CaveRooms, TheVaultGateOpensOnlyToTheInspectorsCombination)
{
    PlayerRoom room;
    ASSERT_TRUE(loadMoving(room, "vault.lvl"));
    Element* gate = ofKind(room.level->actives, Element::Mover);
    ASSERT_TRUE(gate);
    EXPECT_LT(vaultWalkEast(room), gate->x) << "shut at first";

    Element* first = withText(room.level->entities, "switch vault_lock 0");
    Element* middle = withText(room.level->entities, "switch vault_lock 1");
    Element* last = withText(room.level->entities, "switch vault_lock 2");
    ASSERT_TRUE(first && middle && last);
    useStandingAt(room, first);
    useStandingAt(room, middle);
    useStandingAt(room, last);
    EXPECT_LT(vaultWalkEast(room), gate->x) << "a wrong combination keeps it shut";

    // The middle lever on round to its first notch again: first and last up.
    for (int press = 0; press < 3; press++)
        useStandingAt(room, middle);
    EXPECT_GT(vaultWalkEast(room), gate->x + 24) << "the gate dropped into its slot";
}

TEST(CaveRooms, TheVaultGateOpensFromTheFarSideToo)
{
    PlayerRoom room;
    ASSERT_TRUE(loadMoving(room, "vault.lvl"));
    Element* gate = ofKind(room.level->actives, Element::Mover);
    Element* lever = withText(room.level->entities, "switch gate_low 0");
    ASSERT_TRUE(gate && lever);
    useStandingAt(room, lever);
    EXPECT_GT(vaultWalkEast(room), gate->x + 24);
}

TEST(CaveRooms, TheServiceLiftCarriesThePlayerUpToTheGenerators)
{
    PlayerRoom room;
    ASSERT_TRUE(loadMoving(room, "entrance21.lvl"));
    Element* lift = ofKind(room.level->actives, Element::Mover);
    Element* lever = withText(room.level->entities, "switch lift_box 0");
    Element* top = named(room.level->elements, "to_technic02");
    ASSERT_TRUE(lift && lever && top);

    // On the lift, touching the lever beside it.
    room.place(lift->x + lift->tile->width - 10, lift->y - 24);
    room.frames(5, PLAYER_COMMANDS());
    room.player.action(room.level, false);
    room.frames(260, PLAYER_COMMANDS());
    EXPECT_LT(room.player.state.y, top->y + 30) << "up at the top landing";

    walkTo(room, top->x);
    EXPECT_NE(std::string(doorReached(room)).find("technic02"), std::string::npos);
}

TEST(CaveRooms, ThePumpGantryFerriesThePlayerOverTheCables)
{
    PlayerRoom room;
    ASSERT_TRUE(loadMoving(room, "technic03.lvl"));
    Element* gantry = ofKind(room.level->actives, Element::Mover);
    Element* lever = withText(room.level->entities, "switch gantry_west 0");
    ASSERT_TRUE(gantry && lever);
    int homeX = gantry->x, deckY = gantry->y;

    useStandingAt(room, lever);
    room.frames(15, held("R"));
    room.frames(260, PLAYER_COMMANDS());
    EXPECT_EQ(gantry->x, homeX + 200);
    EXPECT_GT(room.player.state.x, homeX + 180) << "rode along";
    EXPECT_LT(room.player.state.y, deckY) << "on the deck, not in the pit";
    EXPECT_EQ(room.player.state.life, 3) << "the cables never touched";
}

TEST(CaveRooms, TheCisternDrainsWhenItsValveIsTurned)
{
    // Standing on the cistern's floor beside its lowest coins.
    auto standOnTheBottom = [](bool turnValve) {
        PlayerRoom room;
        EXPECT_TRUE(loadMoving(room, "ferte_in.lvl"));
        if (turnValve)
            useStandingAt(room, ofKind(room.level->entities, Element::WaterSwitch));
        room.frames(120, PLAYER_COMMANDS());
        Element* coin = withText(room.level->bonus, "diamond");
        room.place(coin->x - 8, coin->y + coin->tile->height - 24);
        room.frames(90, PLAYER_COMMANDS());
        return room.player.state.life;
    };
    EXPECT_LT(standOnTheBottom(false), 3) << "full, it drowns";
    EXPECT_EQ(standOnTheBottom(true), 3) << "drained, it is dry";
}

TEST(CaveRooms, TheSlabsOfTheRunFallBehindTheRunner)
{
    PlayerRoom room;
    ASSERT_TRUE(loadMoving(room, "run01.lvl"));
    Element* slab = ofKind(room.level->actives, Element::Unstable);
    ASSERT_TRUE(slab);
    int bridgeTop = slab->y;
    room.place(slab->x - 40, bridgeTop - 24);
    room.frames(10, PLAYER_COMMANDS());
    int runnerY = room.player.state.y;

    room.frames(220, held("R"));
    EXPECT_NEAR(room.player.state.y, runnerY, 3) << "over without falling";
    EXPECT_GT(room.player.state.x, 440) << "at the far end";
    EXPECT_GT(slab->y, bridgeTop + 32) << "the first slab is down in the pit";

    // There is no way back over the bridge: the player drops into the pit.
    room.frames(220, held("L"));
    EXPECT_GT(room.player.state.y, runnerY + 40);
}
