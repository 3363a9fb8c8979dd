// The two playthroughs, composed from their routes (content/playthrough),
// played by the program from its menu to each ending and checked in the
// trace.

#include "authoring/PlayComposer.h"

#include "ReplayHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <set>
#include <sstream>

using namespace replay;

namespace {

std::string playthroughFile(const std::string& name)
{
    return std::string(GLOAMER_SOURCE_DIR) + "/content/playthrough/" + name;
}

// The frames the route plays, from the replay's header.
int routeFrames(const std::string& replayText)
{
    const std::string header = "# frames ";
    std::size_t at = replayText.find(header);
    return at == std::string::npos ? 0 : std::stoi(replayText.substr(at + header.size()));
}

// Plays the composed replay `name` from the menu, a while past its route's end.
Rows playFromTheMenu(const std::string& name, int after)
{
    std::string replayPath = playthroughFile(name);
    int frames = routeFrames(read(replayPath)) + after;
    std::string trace = file((name + ".trace").c_str());
    // A new game in the first slot of the player's folder of the test's own.
    std::remove(playerFile("Save/slot0.sav").c_str());
    EXPECT_EQ(play("--fast --frames " + std::to_string(frames) + " --replay " + replayPath + " --trace " + trace),
              0)
        << read(file("stderr.txt"));
    return traceRows(trace);
}

std::string roomOf(const std::vector<std::string>& row)
{
    std::string room = row[Level].substr(row[Level].rfind('/') + 1);
    return room.substr(0, room.rfind(".lvl"));
}

std::vector<std::string> roomsEntered(const Rows& rows)
{
    std::vector<std::string> entered;
    for (const auto& row : rows)
        if (row[Level] != "-" && (entered.empty() || entered.back() != roomOf(row)))
            entered.push_back(roomOf(row));
    return entered;
}

// The rooms the route plays through, in its order.
std::vector<std::string> routeRooms(const std::string& route)
{
    PlayComposer composer;
    EXPECT_EQ(composer.readRoute(playthroughFile(route).c_str()), 1) << composer.error;
    std::vector<std::string> rooms;
    for (const PlayComposer::LEG& leg : composer.legs)
        if ((leg.kind == PlayComposer::Reach || leg.kind == PlayComposer::WaitRoom) &&
            (rooms.empty() || rooms.back() != leg.room))
            rooms.push_back(leg.room);
    return rooms;
}

// Whether `wanted` comes in `entered` in its order.
bool inOrder(const std::vector<std::string>& entered, const std::vector<std::string>& wanted)
{
    std::size_t next = 0;
    for (const std::string& room : entered)
        if (next < wanted.size() && room == wanted[next])
            next++;
    return next == wanted.size();
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

// Of the frames the player controls once he carries a lamp, the share in
// which it is out, and the rooms where it is.
double darkShare(const Rows& rows, std::set<std::string>* rooms)
{
    int controlled = 0, dark = 0;
    for (const auto& row : rows) {
        if (row[Level] == "-" || row[Lamp] == "0" || row[Cutscene] != "0" || row[Stage] != "0")
            continue;
        controlled++;
        if (row[Lit] == "0") {
            dark++;
            rooms->insert(roomOf(row));
        }
    }
    return controlled ? double(dark) / controlled : 0.0;
}

// The room in which the player's keys became `count`, or "" if never.
std::string roomOfKey(const Rows& rows, int count)
{
    for (const auto& row : rows)
        if (row[Level] != "-" && std::stoi(row[Keys]) == count)
            return roomOf(row);
    return "";
}

// The fewest keys the player held on coming into `room` from `from`, or -1
// if he never came that way.
int keysComingInto(const Rows& rows, const std::string& room, const std::string& from)
{
    int fewest = -1;
    for (std::size_t i = 1; i < rows.size(); i++)
        if (rows[i - 1][Level] != "-" && roomOf(rows[i - 1]) == from && roomOf(rows[i]) == room) {
            int keys = std::stoi(rows[i][Keys]);
            fewest = fewest < 0 ? keys : std::min(fewest, keys);
        }
    return fewest;
}

struct LOCK {
    const char* room;
    const char* from;
    int keys;
};

struct ENDING {
    const char* name;
    std::vector<LOCK> locks;
};

void checkPlaythrough(const ENDING& ending)
{
    std::string name = ending.name;
    PlayComposer composer;
    ASSERT_EQ(composer.readRoute(playthroughFile(name + ".route").c_str()), 1) << composer.error;
    ASSERT_NE(read(playthroughFile(name + ".replay")).find("# fingerprint " + composer.fingerprint(GLOAMER_GAME_DIR)),
              std::string::npos)
        << name << ".replay is older than its route or rooms: compose it again with make playthroughs";

    Rows rows = playFromTheMenu(name + ".replay", 200);
    ASSERT_GT(rows.size(), 10000u);
    std::vector<std::string> entered = roomsEntered(rows);
    EXPECT_TRUE(inOrder(entered, routeRooms(name + ".route"))) << "the rooms come in the route's order";
    EXPECT_EQ(lampsCarried(rows), (std::vector<int>{0, 1, 2, 3})) << "candle, torch, acetylene lamp";
    std::set<std::string> darkRooms;
    EXPECT_LE(darkShare(rows, &darkRooms), 0.05)
        << "the lamp is out in" << std::accumulate(darkRooms.begin(), darkRooms.end(), std::string(),
                                                   [](const std::string& a, const std::string& b) { return a + " " + b; });
    EXPECT_EQ(roomOfKey(rows, 1), "maze");
    EXPECT_EQ(roomOfKey(rows, 2), "orsolans_grave");
    EXPECT_EQ(roomOfKey(rows, 3), "technic01");
    for (const LOCK& lock : ending.locks)
        EXPECT_GE(keysComingInto(rows, lock.room, lock.from), lock.keys) << lock.from << " to " << lock.room;
    bool finished = false;
    for (const auto& row : rows) {
        int stage = std::stoi(row[Stage]);
        EXPECT_TRUE(stage == 0 || stage == 7) << "no death: stage " << stage << " at frame " << row[Frame];
        finished = finished || stage == 7;
        if (stage != 0)
            break;
    }
    EXPECT_TRUE(finished) << "the game ends";
}

} // namespace

TEST(Playthrough, ToThePoliceCarAtTheWayOut)
{
    checkPlaythrough({"ending8", {{"locked_door", "hub_metro", 1}, {"locked_door2", "hub_cave", 2},
                                  {"unstable_room", "big_pool", 3}}});
}

TEST(Playthrough, ToTheBalloonAboveTheVault)
{
    checkPlaythrough({"ending9", {{"locked_door", "hub_metro", 1}, {"locked_door2", "hub_cave", 2},
                                  {"vault", "Z", 3}}});
}
