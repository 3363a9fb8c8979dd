#include "app/RunOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace {

int parse(std::vector<const char*> words, RUN_OPTIONS* options)
{
    words.insert(words.begin(), "gloamer");
    return parseRunOptions(int(words.size()), const_cast<char**>(words.data()), options);
}

} // namespace

TEST(RunOptions, EveryOptionIsRead)
{
    RUN_OPTIONS o;
    ASSERT_EQ(1, parse({"--start", "metro3.lvl", "-8", "64", "--replay", "in.txt", "--record", "out.txt", "--frames",
                        "300", "--fast", "--trace", "t.txt", "--shot", "0:a.png", "--shot", "299:b.png", "--window"},
                       &o))
        << o.error;
    EXPECT_TRUE(o.start);
    EXPECT_STREQ(o.startLevel, "metro3.lvl");
    EXPECT_EQ(o.startX, -8);
    EXPECT_EQ(o.startY, 64);
    EXPECT_STREQ(o.replay, "in.txt");
    EXPECT_STREQ(o.record, "out.txt");
    EXPECT_EQ(o.frames, 300);
    EXPECT_TRUE(o.fast);
    EXPECT_STREQ(o.trace, "t.txt");
    ASSERT_EQ(o.shots.size(), 2u);
    EXPECT_EQ(o.shots[1].frame, 299);
    EXPECT_STREQ(o.shots[1].file, "b.png");
    EXPECT_TRUE(o.window);
}

TEST(RunOptions, BadCommandLinesAreRefused)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--help"},
        {"-fast"},
        {"--start", "metro2.lvl", "10"},
        {"--start", "metro2.lvl", "10", "y"},
        {"--frames"},
        {"--frames", "0"},
        {"--frames", "12x"},
        {"--frames", "99999999999999999999999"},
        {"--shot", "12"},
        {"--shot", "x:a.png"},
        {"--shot", "-1:a.png"},
        {"--shot", "5:"},
        {"--trace"},
        {"--replay", ""},
        {"--start", "../../../../dev/zero", "0", "0"},
        {"--start", "/etc/passwd", "0", "0"},
        {"--start", "caves/../../x.lvl", "0", "0"},
        {"--start", "metro2.lvl", "1000001", "0"},
        {"--start", "metro2.lvl", "0", "-2147483648"},
        {"--frames", "10", "--shot", "10:a.png"},
        {"--slot", "5"},
        {"--slot", "-1"},
        {"--player-folder"},
    };
    for (const auto& words : bad) {
        RUN_OPTIONS o;
        EXPECT_EQ(0, parse(words, &o)) << words[0];
        EXPECT_NE(o.error[0], '\0');
    }
}

TEST(RunOptions, RelativeFilesAreAnchoredToTheCallersFolder)
{
    RUN_OPTIONS o;
    ASSERT_EQ(1, parse({"--replay", "in.txt", "--trace", "/tmp/t.txt", "--shot", "3:shots/a.png"}, &o)) << o.error;
    char folder[4096];
    ASSERT_NE(getcwd(folder, sizeof folder), nullptr);
    anchorRunFiles(&o);
    EXPECT_EQ(std::string(o.replay), std::string(folder) + "/in.txt");
    EXPECT_STREQ(o.trace, "/tmp/t.txt");
    EXPECT_EQ(std::string(o.shots[0].file), std::string(folder) + "/shots/a.png");
    EXPECT_STREQ(o.record, "") << "an option not given stays empty";
}

// A run from the command line never stores into a player's slot unless
// --slot names one; a person's run leaves the choice to the menu.
TEST(RunOptions, RunsFromTheCommandLineKeepTheirGameApart)
{
    const std::vector<std::pair<std::vector<const char*>, const char*>> runs = {
        {{}, ""},
        {{"--window"}, ""},
        {{"--start", "metro2.lvl", "1", "2"}, "./Save/replay.sav"},
        {{"--replay", "keys.txt"}, "./Save/replay.sav"},
        {{"--replay", "keys.txt", "--slot", "3"}, "./Save/slot3.sav"},
    };
    for (const auto& run : runs) {
        RUN_OPTIONS o;
        ASSERT_EQ(1, parse(run.first, &o)) << o.error;
        char slot[256] = "?";
        runSlot(o, slot, sizeof slot);
        EXPECT_STREQ(slot, run.second);
    }
}
