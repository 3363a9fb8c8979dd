// The player with the game's own character sheet in rooms of the game.
#include "player/PlayerRoom.h"

#include <gtest/gtest.h>

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
