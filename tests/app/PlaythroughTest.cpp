// The playthroughs composed from their routes (content/playthrough), played
// by the program from its menu and checked in the trace.

#include "authoring/PlayComposer.h"

#include "ReplayPlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace replay;

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string playthroughFile(const std::string& name)
{
    return std::string(GLOAMER_SOURCE_DIR) + "/content/playthrough/" + name;
}

// The frame of the replay's last key.
int lastFrame(const std::string& replayText)
{
    std::istringstream lines(replayText);
    std::string line;
    int last = 0;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] != '#')
            last = std::max(last, std::stoi(line));
    return last;
}

// Plays the composed replay `name` from the menu, a while past its last key.
Rows playFromTheMenu(const std::string& name, int after)
{
    FirstSlotKeeper keeper;
    std::string replayPath = playthroughFile(name);
    int frames = lastFrame(read(replayPath)) + after;
    std::string trace = file((name + ".trace").c_str());
    EXPECT_EQ(play("--fast --frames " + std::to_string(frames) + " --replay " + replayPath + " --trace " + trace), 0)
        << read(file("stderr.txt"));
    return traceRows(trace);
}

std::vector<std::string> roomsEntered(const Rows& rows)
{
    std::vector<std::string> entered;
    for (const auto& row : rows) {
        std::string room = row[Level].substr(row[Level].rfind('/') + 1);
        room = room.substr(0, room.rfind(".lvl"));
        if (row[Level] != "-" && (entered.empty() || entered.back() != room))
            entered.push_back(room);
    }
    return entered;
}

// The lamps in the order they came into the player's hand, once a game runs.
std::vector<int> lampsCarried(const Rows& rows)
{
    std::vector<int> lamps;
    for (const auto& row : rows)
        if (row[Level] != "-" && (lamps.empty() || lamps.back() != std::stoi(row[Lamp])))
            lamps.push_back(std::stoi(row[Lamp]));
    return lamps;
}

int lowestLife(const Rows& rows)
{
    int lowest = 1000;
    for (const auto& row : rows)
        if (row[Level] != "-")
            lowest = std::min(lowest, std::stoi(row[Life]));
    return lowest;
}

} // namespace

TEST(Playthrough, TheComposedReplayIsUpToDateWithItsRouteAndRooms)
{
    PlayComposer composer;
    ASSERT_EQ(composer.readRoute(playthroughFile("common.route").c_str()), 1) << composer.error;
    EXPECT_NE(read(playthroughFile("common.replay")).find("# fingerprint " + composer.fingerprint(GLOAMER_GAME_DIR)),
              std::string::npos)
        << "compose it again: cd build/game && ../tools/playcompose . ../../content/playthrough/common.route "
           "../../content/playthrough/common.replay";
}

TEST(Playthrough, TheCommonPartGoesFromTheMenuThroughTheSubwayWithTheCandleToTheCatacombs)
{
    Rows rows = playFromTheMenu("common.replay", 100);
    ASSERT_GT(rows.size(), 4000u);
    std::vector<std::string> line = {"metro2",       "metro3",      "entrance",     "intro_part10",
                                      "intro_part20", "tuto_ladder", "intro_part30", "intro_part40",
                                      "intro_part50", "intro_part35", "simple_unstable2", "unknow_room",
                                      "hub_metro"};
    EXPECT_EQ(roomsEntered(rows), line);
    // A new game has no lamp; the candle of the entrance is the first.
    EXPECT_EQ(lampsCarried(rows), (std::vector<int>{0, 1}));
    for (const auto& row : rows)
        if (row[Lamp] == "1") {
            EXPECT_EQ(row[Level], "./Level/entrance.lvl") << "the candle was taken where it lies";
            break;
        }
    EXPECT_EQ(lowestLife(rows), 3) << "never hurt on the way";
}
