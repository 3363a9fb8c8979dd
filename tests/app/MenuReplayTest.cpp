#include "ReplayPlay.h"
#include "ScratchGame.h"

#include <gtest/gtest.h>

#include <string>

// The front end played through the program with replayed keys.

using namespace replay;

TEST(MenuReplay, NewGameOnAStoredGameAsksFirst)
{
    ASSERT_FALSE(scratchGame().empty());
    const std::string slot = scratchGame() + "/Save/slot0.sav";
    // A stored game in the first slot: the state every new game begins from.
    ASSERT_EQ(std::system(("cp " + scratchGame() + "/Save/begin.sav " + slot).c_str()), 0);
    // NEW GAME, the first slot, "no"; the first slot again, "yes".
    write(file("overwrite.txt"), "2 down return\n3 up return\n6 down return\n7 up return\n"
                                 "10 down return\n11 up return\n14 down return\n15 up return\n"
                                 "18 down left\n19 up left\n22 down return\n23 up return\n");
    ASSERT_EQ(playScratch("--fast --frames 40 --replay " + file("overwrite.txt") + " --trace " +
                          file("overwrite_trace.txt") + " --shot 8:" + file("overwrite_question.png")),
              0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("overwrite_trace.txt"));
    ASSERT_EQ(rows.size(), 40u);
    for (int frame = 0; frame < 22; frame++)
        ASSERT_EQ(rows[frame][Level], "-") << "no game began before \"yes\", frame " << frame;
    EXPECT_NE(rows[22][Level], "-") << "\"yes\" began the new game";
    EXPECT_EQ(rows[22][Cutscene], "1") << "under the opening";
    std::remove(slot.c_str());
    std::remove((slot + ".bak").c_str());
}
