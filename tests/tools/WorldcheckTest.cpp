// The world checker, run as the data build runs it, on worlds the test
// writes: a whole world of the map table with plain rooms, then broken
// copies of it, each problem named by its room.

#include "assets/TileContainer.h"
#include "authoring/WorldCheck.h"
#include "assets/TileFixtures.h"
#include "base/BoundedString.h"
#include "base/TestFiles.h"
#include "map/Map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

const int squareWidth = 512;
const int squareHeight = 320;
const int doorSize = 24;

struct DOOR_PLACE {
    std::string to;
    int x;
    int y;
    int keys = 0;
};

// A room's level text: its ground picture of whole squares, doors, things.
struct FAKE_ROOM {
    int column = 0;
    int row = 0;
    int columns = 1;
    int rows = 1;
    std::vector<DOOR_PLACE> doors;
    std::string things;
    // The MUSIC line's track, -1 for none.
    int music = 1;
};

std::string element(const std::string& block, const std::string& name, const std::string& tile, int x, int y,
                    const std::string& text)
{
    return block + "\n" + name + "\n  " + tile + "\n 0 0\n " + std::to_string(x) + " " + std::to_string(y) +
           " 0\n  " + text + "\n";
}

// The world of the map table with every passage a pair of doors on the
// facing sides, plain doors only, the two endings in outside02 and end02.
class FakeWorld {
public:
    FakeWorld()
    {
        Map map;
        for (const MAP_CELL* c : map.cells) {
            FAKE_ROOM room;
            room.column = c->x / Map::square + 1;
            room.row = c->y / Map::square;
            room.columns = (c->w + 2) / Map::square;
            room.rows = (c->h + 2) / Map::square;
            rooms[stem(c->name)] = room;
        }
        for (const MAP_LINK* l : map.links)
            if (l->cellA && l->cellB)
                join(stem(l->cellA->name), l->x1, l->y1, stem(l->cellB->name), l->x2, l->y2);
        // J7-J8 and J8-J9 meet in the empty square J8: one way down.
        join("phospho_intro", 9 * Map::square, 6 * Map::square, "switch_intro", 9 * Map::square, 7 * Map::square, false);
        join("switch_intro", 9 * Map::square, 8 * Map::square, "phospho_intro", 9 * Map::square, 7 * Map::square, false);
        rooms["outside02"].things += element("BONUS", "-", "mark.til", 100, 100, "movie 8");
        rooms["end02"].things += element("BONUS", "-", "mark.til", 100, 100, "movie 9");
    }

    DOOR_PLACE* door(const std::string& room, const std::string& to)
    {
        for (DOOR_PLACE& d : rooms[room].doors)
            if (d.to == to)
                return &d;
        return nullptr;
    }
    void removeDoor(const std::string& room, const std::string& to)
    {
        auto& doors = rooms[room].doors;
        for (std::size_t i = 0; i < doors.size(); i++)
            if (doors[i].to == to)
                doors.erase(doors.begin() + long(i));
    }
    void key(const std::string& room, const std::string& name)
    {
        rooms[room].things += element("BONUS", name, "mark.til", 200, 100, "one_time");
    }

    // Writes the game directory; returns it.
    std::string write(const std::string& name) const
    {
        std::string dir = freshFolder("worldcheck_" + name, "Level");
        TileContainer tiles;
        addTile(&tiles, "mark.til", doorSize / 2, doorSize, 2);
        for (int w = 1; w <= 2; w++)
            for (int h = 1; h <= 2; h++)
                addTile(&tiles, ground(w, h), w * squareWidth, h * squareHeight, 1);
        EXPECT_EQ(tiles.save((dir + "/tiles.dat").c_str()), 1);
        for (const auto& r : rooms) {
            if (missing.count(r.first))
                continue;
            std::ofstream out(dir + "/Level/" + r.first + ".lvl");
            if (r.second.music >= 0)
                out << "MUSIC " << r.second.music << "\n";
            out << element("ELEMENT", "-", ground(r.second.columns, r.second.rows), 0, 0, "");
            for (const DOOR_PLACE& d : r.second.doors) {
                std::string kind = d.keys ? "locked_key_door " : "door ";
                out << element("ELEMENT", "to_" + d.to, "mark.til", d.x, d.y,
                               kind + d.to + ".lvl to_" + r.first + (d.keys ? " " + std::to_string(d.keys) : ""));
            }
            out << r.second.things;
        }
        return dir;
    }

    std::map<std::string, FAKE_ROOM> rooms;
    std::set<std::string> missing;

private:
    static std::string stem(const char* level)
    {
        std::string s = level + std::strlen("./Level/");
        return s.substr(0, s.size() - std::strlen(".lvl"));
    }
    static std::string ground(int w, int h) { return "ground_" + std::to_string(w) + "x" + std::to_string(h) + ".til"; }
    static void addTile(TileContainer* tiles, const std::string& name, int w, int h, int frames)
    {
        Tile t;
        ASSERT_EQ(t.create(w, h, frames, 0), 1);
        boundedCopy(t.name, sizeof t.name, name.c_str());
        for (int f = 0; f < frames; f++)
            for (int i = 0; i < w * h; i++)
                t.frames[f].data[i] = TILE_PIXEL{int(0xFF606060u), 5, 0.0f};
        ASSERT_EQ(tiles->add(t), 1);
    }
    // Doors in both rooms, each in its end square, in the middle of the
    // side facing the other end (map pixels give the squares).
    void join(const std::string& a, int ax, int ay, const std::string& b, int bx, int by, bool both = true)
    {
        place(a, b, ax / Map::square + 1, ay / Map::square, bx / Map::square + 1, by / Map::square);
        if (both)
            place(b, a, bx / Map::square + 1, by / Map::square, ax / Map::square + 1, ay / Map::square);
    }
    void place(const std::string& room, const std::string& to, int column, int row, int towardsColumn, int towardsRow)
    {
        const FAKE_ROOM& r = rooms[room];
        int left = (column - r.column) * squareWidth, top = (row - r.row) * squareHeight;
        int x = left + squareWidth / 2, y = top + squareHeight / 2;
        if (towardsColumn != column)
            x = towardsColumn > column ? left + squareWidth - 40 : left + 20;
        else
            y = towardsRow > row ? top + squareHeight - 40 : top + 20;
        rooms[room].doors.push_back({to, x, y});
    }
};

// Checks the world through the tool: it fails naming each of `problems`,
// and, when `only`, nothing else.
void expectReported(const FakeWorld& world, const char* name, std::initializer_list<const char*> problems,
                    bool only = true)
{
    TOOL_RUN run = runTool("worldcheck", "'" + world.write(name) + "'");
    EXPECT_EQ(run.status, 1);
    for (const char* problem : problems)
        EXPECT_TRUE(run.says(problem)) << run.output;
    // The lines naming a problem: all but the summary.
    std::istringstream lines(run.output);
    std::size_t named = 0;
    for (std::string line; std::getline(lines, line);)
        named += line.compare(0, 11, "worldcheck:") != 0;
    if (only)
        EXPECT_EQ(named, problems.size()) << run.output;
}

} // namespace

TEST(WorldcheckTest, AWholeWorldWithLockedDoorsAndTheirKeysBeforeThemPasses)
{
    FakeWorld world;
    world.door("hub_metro", "locked_door")->keys = 1;
    world.key("maze", "key_maze");
    world.door("hub_cave", "locked_door2")->keys = 2;
    world.key("orsolans_grave", "key_grave");
    // A door into a scene room outside the table is allowed.
    world.rooms["outside02"].doors.push_back({"end04", 60, 60});
    TOOL_RUN run = runTool("worldcheck", "'" + world.write("whole") + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(run.says("worldcheck: 87 rooms, 96 passages, 0 problems")) << run.output;
}

TEST(WorldcheckTest, AMissingRoomAndTheRoomsOnlyItLeadsToAreReported)
{
    FakeWorld world;
    world.missing.insert("vault");
    expectReported(world, "missing",
                   {"vault: Level/vault.lvl is missing or does not load\n",
                    "maze2: cannot be reached from metro2 through doors\n",
                    "end02: cannot be reached from metro2 through doors\n",
                    "end02: its ending trigger \"bonus movie 9\" cannot be reached\n"});
}

TEST(WorldcheckTest, DoorsWithoutPartnerLeadingElsewhereTargetingTheWrongElementOrOnTheWrongSideAreReported)
{
    FakeWorld world;
    // dark05 keeps its door to dark04, which has none back.
    world.removeDoor("dark04", "dark05");
    // A door between rooms no passage joins.
    world.rooms["metro2"].doors.push_back({"hub_cave", 100, 100});
    // metro3's door to entrance on its west side instead of the east.
    world.door("metro3", "entrance")->x = 20;
    world.rooms["entrance"].doors.clear();
    world.rooms["entrance"].things +=
        element("ELEMENT", "to_metro3", "mark.til", 20, 160, "door metro3.lvl platform") +
        element("ELEMENT", "to_intro_part10", "mark.til", 480, 160, "door intro_part10.lvl to_entrance");
    expectReported(world, "doors",
                   {"dark04: no door to dark05 for the passage C2-D2\n",
                    "metro2: door to_hub_cave leads to hub_cave, which no passage of the map joins to it\n",
                    "metro3: door to_entrance at (20, 160) is not within the outer 16 columns of the east side of square B1\n",
                    "entrance: door to_metro3 targets metro3 platform, not its door to_entrance back\n"});
}

TEST(WorldcheckTest, AKeyBehindItsOwnLockedDoorLeavesTheDoorShutAndWhatLiesBeyond)
{
    FakeWorld world;
    world.door("hub_metro", "locked_door")->keys = 1;
    world.key("deads_corner", "key_corner");
    expectReported(world, "key",
                   {"hub_metro: locked door to_locked_door needs 1 keys, but only 0 can be found without passing through it\n",
                    "deads_corner: cannot be reached from metro2 through doors\n",
                    "orsolans_grave: cannot be reached from metro2 through doors\n"},
                   false);

    // Two keys for a door needing two: one before it is not enough either.
    FakeWorld two;
    two.door("hub_cave", "locked_door2")->keys = 2;
    two.key("maze", "key_maze");
    expectReported(two, "two_keys", {"hub_cave: locked door to_locked_door2 needs 2 keys, but only 1 can be found"},
                   false);
}

TEST(WorldcheckTest, AnUnreachableRoomAGridOfTheWrongSizeAndRoomsWithoutTheirTrackAreReported)
{
    FakeWorld world;
    world.rooms["maze"].music = -1;
    world.rooms["maze2"].music = 3;
    // vertical02's only way in is double03's door.
    world.removeDoor("double03", "vertical02");
    world.rooms["metro2"].rows = 2;
    expectReported(world, "unreachable",
                   {"vertical02: cannot be reached from metro2 through doors\n",
                    "double03: no door to vertical02 for the passage D5-C5\n",
                    "metro2: grid of 64 x 80 cells, the map's 1 x 1 squares need 64 x 40\n",
                    "maze: no MUSIC line: Continue or a death here starts no music\n",
                    "maze2: MUSIC 3 is the game-over track, not a room's\n"},
                   false);
}

TEST(WorldcheckTest, TheStoryNeedsTheWaysOnThePathsToKeysLockedDoorsAndEndings)
{
    FakeWorld world;
    world.door("hub_metro", "locked_door")->keys = 1;
    world.key("maze", "key_maze");
    world.key("orsolans_grave", "key_grave");
    std::string dir = world.write("story");
    WorldCheck check;
    ASSERT_EQ(check.run(dir.c_str()), 0) << (check.problems.empty() ? "" : check.problems[0]);
    std::set<std::string> ways;
    for (const STORY_WAY& way : check.storyWays())
        ways.insert(check.rooms[way.room].stem + " " + way.from + " " + way.to);
    // The first line of rooms, on every path; the locked door itself; the
    // way on beyond it to the second key once the first is found.
    EXPECT_TRUE(ways.count("metro3 to_metro2 to_entrance"));
    EXPECT_TRUE(ways.count("hub_metro to_unknow_room to_locked_door"));
    EXPECT_TRUE(ways.count("locked_door to_hub_metro to_fall_game_entrance") ||
                ways.count("locked_door to_hub_metro to_cloud_run_entrance") ||
                ways.count("locked_door to_hub_metro to_enigma_entrance"))
        << "past the locked door towards the grave";
    for (const std::string& way : ways) {
        EXPECT_NE(way.compare(0, 7, "metro2 "), 0) << way << ": the game starts there, not at a door";
        std::istringstream words(way);
        std::string room, from, to;
        words >> room >> from >> to;
        EXPECT_NE(from, to) << way;
    }
    // Fewer than every pair of doors of every room.
    int pairs = 0;
    for (const WORLD_ROOM& room : check.rooms)
        pairs += int(room.doors.size() * (room.doors.size() - 1));
    EXPECT_LT(int(ways.size()), pairs / 2);
}
