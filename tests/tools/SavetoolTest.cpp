// savetool as a player or developer uses it, and the new game's start state
// the data build makes with it.
#include "player/Player.h"
#include "save/SaveFixtures.h"
#include "save/SlotFile.h"
#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

int savetool(const std::string& args)
{
    std::string command = std::string(GLOAMER_TOOLS_DIR) + "/savetool " + args + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string gamePath(const char* relative) { return std::string(GLOAMER_GAME_DIR) + "/" + relative; }

} // namespace

TEST(Savetool, DumpAndPackGiveTheSameSlotBack)
{
    std::string dir = testing::TempDir();
    std::string slot = dir + "tool_slot.sav";
    ASSERT_EQ(writeSlot(slot.c_str(), richState(), nullptr, SlotBackup::none), 1);
    ASSERT_EQ(savetool("dump '" + slot + "' > '" + dir + "tool_slot.txt'"), 0);
    ASSERT_EQ(savetool("pack '" + dir + "tool_slot.txt' '" + dir + "tool_again.sav'"), 0);
    EXPECT_EQ(readFile(dir + "tool_again.sav"), readFile(slot));

    // Strings holding what the text's lines are made of: a line break with a
    // line after it, blanks, quotes, backslashes, other bytes, nothing.
    SAVE_STATE odd = richState();
    odd.player.coin = 7;
    boundedLevel(odd, "./Level/metro2.lvl\nPLAYER_COIN 999");
    boundedCopy(odd.player.checkpointLevel, saveStringSize, "");
    odd.objects = {namedObject("a b"), namedObject(""), namedObject("\"q\" \\x41 \t\xff")};
    auto unnamed = std::make_shared<SAVE_MEMORY>(*odd.memories[0]);
    boundedCopy(unnamed->name, saveStringSize, "\n");
    odd.memories[0] = unnamed;
    ASSERT_EQ(writeSlot(slot.c_str(), odd, nullptr, SlotBackup::none), 1);
    ASSERT_EQ(savetool("dump '" + slot + "' > '" + dir + "tool_slot.txt'"), 0);
    ASSERT_EQ(savetool("pack '" + dir + "tool_slot.txt' '" + dir + "tool_again.sav'"), 0);
    EXPECT_EQ(readFile(dir + "tool_again.sav"), readFile(slot));

    std::ofstream(dir + "tool_bad.sav") << "not a slot";
    EXPECT_EQ(savetool("dump '" + dir + "tool_bad.sav'"), 1);
    EXPECT_EQ(savetool("dump '" + dir + "missing.sav'"), 1);
    EXPECT_EQ(savetool("pack '" + dir + "tool_bad.sav' '" + dir + "out.sav'"), 1);
    std::ofstream(dir + "tool_away.txt") << "PLAYER_LEVEL /dev/zero\nEND";
    EXPECT_EQ(savetool("pack '" + dir + "tool_away.txt' '" + dir + "out.sav'"), 1) << "a room the game would not load";
    EXPECT_EQ(savetool("pack only_one_argument"), 2);
}

TEST(Savetool, TheNewGameStartsOnTheMetroPlatformWithANewPlayersValues)
{
    SAVE_STATE begin;
    ASSERT_EQ(readSlot(gamePath("Save/begin.sav").c_str(), begin, SlotBackup::none), SlotStatus::good);
    EXPECT_STREQ(begin.level, "./Level/metro2.lvl");
    EXPECT_STREQ(begin.player.checkpointLevel, "./Level/metro3.lvl");
    // The levels open from the game directory, as the game spells their paths.
    EXPECT_EQ(access(gamePath(begin.level).c_str(), R_OK), 0);
    EXPECT_EQ(access(gamePath(SAVE_STATE().player.checkpointLevel).c_str(), R_OK), 0);
    Player player;
    EXPECT_EQ(access(gamePath(player.state.checkpointLevel).c_str(), R_OK), 0);

    SAVE_STATE fresh;
    EXPECT_EQ(begin.player.life, fresh.player.life);
    EXPECT_EQ(begin.player.maxLife, fresh.player.maxLife);
    EXPECT_EQ(begin.player.respawn, fresh.player.respawn);
    EXPECT_EQ(begin.player.currentTorch, Player::noLamp) << "the candle is the first lamp";
    EXPECT_FALSE(begin.player.torch);
    EXPECT_EQ(begin.player.coin + begin.player.diamond, 0);
    EXPECT_TRUE(begin.objects.empty());
    EXPECT_TRUE(begin.memories.empty());
    EXPECT_TRUE(begin.player.visible);
}
