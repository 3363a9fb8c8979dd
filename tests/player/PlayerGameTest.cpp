// The player with the game's own character sheet in rooms of the game.
#include "authoring/PlayerRoom.h"

#include "HallRoomFixture.h"

#include <gtest/gtest.h>

TEST(PlayerInTheGame, WalksAlongThePlatformHeardTwiceAStrideAndStandingNotAtAll)
{
    FakeMixer mixer;
    initSounds();
    PlayerRoom room;
    ASSERT_EQ(room.load(GLOAMER_GAME_DIR, "metro2.lvl"), 1);
    room.place(100, 40);
    room.frames(20, PLAYER_COMMANDS());
    int floorY = room.player.state.y;
    EXPECT_FALSE(room.player.state.jumping);
    EXPECT_TRUE(played(mixer).empty());

    PLAYER_COMMANDS right;
    right.right = true;
    right.walk = true;
    int startX = room.player.state.x;
    room.frames(60, right);
    EXPECT_GT(room.player.state.x, 130);
    EXPECT_EQ(room.player.state.y, floorY);
    EXPECT_EQ(room.player.state.life, 3);
    std::vector<int> steps;
    for (int slot : played(mixer))
        if (slot == 28 || slot == 29)
            steps.push_back(slot);
    // A six-frame stride covers 17 pixels: one step every 8.5 pixels walked.
    int expected = (room.player.state.x - startX) * 2 / 17;
    EXPECT_NEAR(int(steps.size()), expected, 1);
    for (std::size_t i = 1; i < steps.size(); ++i)
        EXPECT_NE(steps[i], steps[i - 1]);
    closeSounds();
}
