// The player with the game's own character sheet in rooms of the game.
#include "player/PlayerRoom.h"

#include "level/Element.h"
#include "level/Level.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PlayerInTheGame, WalksAlongThePlatform)
{
    PlayerRoom room;
    ASSERT_EQ(room.load(GLOAMER_GAME_DIR, "metro2.lvl"), 1);
    room.place(100, 40);
    room.frames(20, PLAYER_COMMANDS());
    int floorY = room.player.y;
    EXPECT_FALSE(room.player.jumping);
    PLAYER_COMMANDS right;
    right.right = true;
    room.frames(60, right);
    EXPECT_GT(room.player.x, 130);
    EXPECT_EQ(room.player.y, floorY);
    EXPECT_EQ(room.player.life, 3);
}

TEST(PlayerInTheGame, ClimbsTheTallLadder)
{
    PlayerRoom room;
    ASSERT_EQ(room.load(GLOAMER_GAME_DIR, "test_ladders.lvl"), 1);
    room.place(184, 70);
    room.frames(20, PLAYER_COMMANDS());
    int floorY = room.player.y;
    PLAYER_COMMANDS up;
    up.up = true;
    room.frames(60, up);
    EXPECT_TRUE(room.player.onLadder);
    EXPECT_LT(room.player.y, floorY - 20);
}

namespace {

Element* namedIn(const std::vector<Element*>& list, const char* name)
{
    for (Element* e : list)
        if (std::strcmp(e->name, name) == 0)
            return e;
    return nullptr;
}

// The action key, standing on the floor (its top row 80) just left of the
// named lever of the switch room.
void pressLever(PlayerRoom& room, const char* lever)
{
    room.place(namedIn(room.level->entities, lever)->x - 4, 80 - 25);
    room.player.action(room.level, false);
}

} // namespace

TEST(PlayerInTheGame, TheLeversOfTheSwitchRoomRaiseTheLiftAndDropTheWall)
{
    PlayerRoom room;
    ASSERT_EQ(room.load(GLOAMER_GAME_DIR, "test_switches.lvl"), 1);
    Element* lift = nullptr;
    Element* wall = nullptr;
    for (Element* e : room.level->actives)
        if (std::strcmp(e->name, "gate") == 0)
            (e->kind == Element::Mover ? lift : wall) = e;
    ASSERT_TRUE(lift && wall);
    int liftY = lift->y, wallY = wall->y;

    pressLever(room, "switch01");
    EXPECT_FALSE(lift->active);
    pressLever(room, "switch03");
    EXPECT_TRUE(lift->active);
    EXPECT_TRUE(wall->active);

    room.roomMoves = true;
    room.place(20, 55);
    room.frames(60, PLAYER_COMMANDS());
    EXPECT_EQ(lift->y, liftY - 42);
    EXPECT_GT(wall->y, wallY);

    // One lever more and the box closes: the lift goes home.
    pressLever(room, "switch02");
    EXPECT_FALSE(lift->active);
    room.place(20, 55);
    room.frames(60, PLAYER_COMMANDS());
    EXPECT_EQ(lift->y, liftY);
}

TEST(PlayerInTheGame, TheCrateOfTheLadderRoomIsPushed)
{
    PlayerRoom room;
    ASSERT_EQ(room.load(GLOAMER_GAME_DIR, "test_ladders.lvl"), 1);
    Element* crate = nullptr;
    for (Element* e : room.level->actives)
        if (e->kind == Element::Pushable)
            crate = e;
    ASSERT_TRUE(crate);
    int startX = crate->x, floorTop = crate->y + crate->tile->height;
    room.roomMoves = true;
    room.place(startX - 16, floorTop - 25);
    PLAYER_COMMANDS right;
    right.right = true;
    room.frames(40, right);
    EXPECT_GT(crate->x, startX + 10);
    // Still on the floor, settled into its surface by at most the crust.
    EXPECT_LE(crate->y + crate->tile->height, floorTop + 2);
    EXPECT_LT(room.player.x, crate->x);
}

TEST(PlayerInTheGame, TheBridgeOfTheEnemyRoomGivesWayUnderThePlayer)
{
    PlayerRoom room;
    ASSERT_EQ(room.load(GLOAMER_GAME_DIR, "test_enemies.lvl"), 1);
    Element* first = namedIn(room.level->actives, "ennemy04");
    ASSERT_TRUE(first);
    int blockY = first->y;
    room.roomMoves = true;
    room.place(first->x - 4, blockY - 25);
    room.frames(40, PLAYER_COMMANDS());
    EXPECT_GT(first->y, blockY + 8);
    EXPECT_GT(room.player.y, blockY - 25);
}
