// The door-to-door search on rooms whose answer is known: a ledge the player
// steps up and one he cannot, a gap a running jump clears and one a pixel
// wider; and a way found in a shipped room, played by the program itself.

#include "authoring/RoomReach.h"

#include "app/ReplayHarness.h"
#include "authoring/BackWalls.h"
#include "base/TestFiles.h"
#include "player/PlayerFixtures.h"

namespace {

const int doorWidth = 16;
const int doorHeight = 24;
const int floorTop = 150;

// A hall with a step `ledge` pixels high from x 160 on.
void ledgeRoom(TestGame* game, int ledge)
{
    game->rock(0, 0, 320, 200);
    game->open(10, 10, 300, floorTop - 10);
    game->rock(160, floorTop - ledge, 150, ledge);
    game->thing("west", 20, floorTop - doorHeight, doorWidth, doorHeight, "door room.lvl east");
    game->thing("east", 280, floorTop - ledge - doorHeight, doorWidth, doorHeight, "door room.lvl west");
}

// A hall with a pit `gap` pixels wide from x 100, deeper than a jump is high.
void gapRoom(TestGame* game, int gap)
{
    game->rock(0, 0, 400, 240);
    game->open(10, 10, 380, floorTop - 10);
    game->open(100, floorTop, gap, 60);
    game->thing("west", 20, floorTop - doorHeight, doorWidth, doorHeight, "door room.lvl east");
    game->thing("east", 360, floorTop - doorHeight, doorWidth, doorHeight, "door room.lvl west");
}

// A floor 680 high and a ledge 100 high joined by a ladder in a shaft at
// the east wall; between them a cave open to the floor, with shelves rising
// to just under the ledge: near the door as the crow flies, and a dead end.
void ladderRoom(TestGame* game)
{
    game->rock(0, 0, 400, 700);
    game->open(10, 600, 380, 80);
    game->open(360, 60, 30, 620);
    game->open(200, 60, 160, 40);
    game->open(10, 110, 340, 490);
    for (int shelf = 0; shelf < 15; shelf++)
        game->rock(20 + (shelf % 2) * 160, 570 - shelf * 30, 150, 6);
    game->ladder("ladder", 368, 60, 8, 620);
    game->thing("west", 20, 680 - doorHeight, doorWidth, doorHeight, "door room.lvl east");
    game->thing("east", 210, 100 - doorHeight, doorWidth, doorHeight, "door room.lvl west");
}

// Writes the test game and loads the room for the search.
void loadReach(TestGame* game, RoomReach* reach)
{
    PlayerRoom written;
    game->load(&written);
    ASSERT_EQ(reach->load(game->dir.c_str(), "room.lvl"), 1) << reach->error;
}

// Whether the player, put on the floor at `x`, holding right, walking or
// running, with the jump held from frame `jumpFrame` on, gets beyond the pit.
bool runJumpClears(PlayerRoom* room, const RoomReach::BODY& start, int gap, int x, int jumpFrame, bool walking)
{
    RoomReach::restore(&room->player, start);
    room->place(x, floorTop - 25);
    for (int frame = 0; frame < 80; frame++) {
        PLAYER_COMMANDS c = held(frame >= jumpFrame ? "RJ" : "R");
        c.walk = walking;
        room->frame(c);
    }
    return room->player.state.y < floorTop && room->player.state.x > 100 + gap;
}

// Every take-off: from each place before the edge, at each frame of the run
// up or of the first fall over the pit.
bool someRunJumpClears(int gap)
{
    TestGame game("gap");
    gapRoom(&game, gap);
    PlayerRoom room;
    game.load(&room);
    const RoomReach::BODY start = RoomReach::bodyOf(room.player);
    for (int x = 70; x < 100; x++)
        for (int jumpFrame = 0; jumpFrame < 25; jumpFrame++)
            for (bool walking : {false, true})
                if (runJumpClears(&room, start, gap, x, jumpFrame, walking))
                    return true;
    return false;
}

// The widest pit that a run and a jump of that plain kind clears: a
// bisection, as a pit a run clears is cleared by the same run when narrower.
int widestClearedGap()
{
    int cleared = 8, notCleared = 200;
    while (notCleared - cleared > 1) {
        int gap = (cleared + notCleared) / 2;
        (someRunJumpClears(gap) ? cleared : notCleared) = gap;
    }
    return cleared;
}

} // namespace

TEST(RoomReachTest, WalkingClimbsLedgesOfFiveAndSixPixelsButNotSevenThatAJumpClimbs)
{
    const uint8_t forward = RoomReach::Right | RoomReach::Walk;
    const uint8_t walking = forward | RoomReach::Left;
    struct {
        int ledge;
        uint8_t allowed;
        int found;
    } cases[] = {
        {5, forward, 1},
        // A step that brings only the body's last column over the ledge: the
        // step up of 5 frees all of it but its bottom corner pixel, which no
        // collision samples, and the next step lifts it the sixth pixel.
        {6, forward, 1},
        {7, walking, 0},
        {7, 0xFF, 1},
    };
    for (const auto& c : cases) {
        TestGame game(("ledge" + std::to_string(c.ledge)).c_str());
        ledgeRoom(&game, c.ledge);
        RoomReach reach;
        loadReach(&game, &reach);
        reach.allowed = c.allowed;
        ASSERT_EQ(reach.search("west", "east"), c.found) << c.ledge << " pixels, commands " << int(c.allowed);
        if (c.found) {
            EXPECT_TRUE(reach.replays("west", "east", reach.script));
            EXPECT_FALSE(reach.replays("west", "east", std::vector<uint8_t>(reach.script.size() / 2, RoomReach::Right)))
                << "half the way does not reach the door";
            continue;
        }
        EXPECT_TRUE(reach.script.empty());
        EXPECT_GT(reach.nodes, 100) << "the whole floor was searched";
        EXPECT_LT(reach.nodes, reach.maxNodes) << "it ran out of states, not out of budget";
    }
}

TEST(RoomReachTest, AGapIsJumpedUpToAPixelAndNoWiderThanTheBestTakeOffGives)
{
    // What a plain run and jump clears, the search must clear too; its own
    // choice of take-off may gain a few pixels more, no more than that.
    const int plain = widestClearedGap();
    ASSERT_GT(plain, 40);
    const int mostGained = 4;
    int gap = plain;
    for (; gap <= plain + mostGained + 1; gap++) {
        TestGame game("gap");
        gapRoom(&game, gap);
        RoomReach reach;
        loadReach(&game, &reach);
        int found = reach.search("west", "east");
        if (found == 1) {
            EXPECT_TRUE(reach.replays("west", "east", reach.script)) << "gap of " << gap;
            continue;
        }
        EXPECT_EQ(found, 0);
        EXPECT_LT(reach.nodes, reach.maxNodes) << "gap of " << gap << ": out of states, not out of budget";
        break;
    }
    EXPECT_GT(gap, plain) << "the plain run's gap is cleared";
    EXPECT_LE(gap, plain + mostGained) << "a pixel wider than the widest found is not cleared";
}

TEST(RoomReachTest, ATallLadderIsClimbedPastTheShelvesThatLeadNowhere)
{
    TestGame game("ladder");
    ladderRoom(&game);
    RoomReach reach;
    loadReach(&game, &reach);
    // Drawn straight at the door, a search spends far more states than this
    // on the shelves and the climb's many sideways shifts.
    reach.maxNodes = 200000;
    ASSERT_EQ(reach.search("west", "east"), 1) << reach.nodes << " states";
    EXPECT_GT(reach.script.size(), 580u / 4) << "580 pixels up, at most 4 a frame";
    EXPECT_TRUE(reach.replays("west", "east", reach.script));
    ASSERT_EQ(reach.search("east", "west"), 1) << "and down again";
}

TEST(RoomReachTest, TheCellsReachedWithoutAWallBehindAreFoundFromEveryDoorAndMissingDoorsAreErrors)
{
    // A low hall whose wall is painted from x 10 to 10 + `painted`; with an
    // open base depth the unpainted rest is open, far space, otherwise rock.
    const int ceiling = floorTop - 40;
    struct {
        int painted;
        bool openBase;
        int firstBareColumn;
    } cases[] = {{180, true, -1}, {100, true, 14}, {100, false, -1}};
    for (const auto& c : cases) {
        TestGame game("backwalls");
        if (c.openBase)
            game.line("BASE_DEPTH 0");
        game.rock(0, 0, 200, ceiling);
        game.rock(0, floorTop, 200, 50);
        game.rock(0, 0, 10, floorTop);
        game.rock(190, 0, 10, floorTop);
        game.open(10, ceiling, c.painted, floorTop - ceiling);
        game.thing("west", 20, floorTop - doorHeight, doorWidth, doorHeight, "door room.lvl east");
        game.thing("east", 160, floorTop - doorHeight, doorWidth, doorHeight, "door room.lvl west");
        RoomReach reach;
        loadReach(&game, &reach);
        BackWalls walls;
        int bare = walls.check(&reach, {"west", "east"});
        EXPECT_TRUE(walls.complete);
        if (c.firstBareColumn < 0) {
            EXPECT_EQ(bare, 0) << c.painted << " pixels painted";
            continue;
        }
        ASSERT_GT(bare, 0);
        EXPECT_EQ(walls.bare.begin()->first, c.firstBareColumn) << "the first cell whose middle is not painted";
        EXPECT_LT(walls.bare.rbegin()->first * BackWalls::cell, 190) << "none in the east wall";
        EXPECT_LT(walls.bare.rbegin()->second * BackWalls::cell, floorTop) << "none in the floor";
        EXPECT_EQ(walls.check(&reach, {"west", "nowhere"}), -1);
        // Errors, not failed searches.
        EXPECT_EQ(reach.search("west", "nowhere"), -1);
        EXPECT_NE(std::string(reach.error).find("nowhere"), std::string::npos);
        EXPECT_EQ(reach.search("nowhere", "east"), -1);
    }
}

// A way found in a shipped room is played through the door by the program
// itself; and a player read back from a line of the program's trace,
// mid-run and mid-jump, goes on frame by frame exactly as the program shows
// him: the trace holds all of the pose his next frames read.
TEST(RoomReachTest, AWayFoundInAShippedRoomAndAPoseReadFromTheTraceGoOnAsTheProgramDoes)
{
    const std::string game = GLOAMER_GAME_DIR;
    RoomReach reach;
    ASSERT_EQ(reach.load(game.c_str(), "test_hall.lvl"), 1) << reach.error;
    ASSERT_EQ(reach.search("west", "lights"), 1);
    int wayFrames = int(reach.script.size()) + 2;
    const std::string start = "--start test_hall.lvl " + std::to_string(reach.startX) + " " + std::to_string(reach.startY);
    replay::Rows way = replay::run("reach_way", start, reach.replayText(), wayFrames);
    EXPECT_EQ(way[reach.script.size() - 1][replay::Level], "./Level/test_hall.lvl") << "still in the room before the action key";
    EXPECT_EQ(way[reach.script.size()][replay::Level], "./Level/test_lights.lvl") << "the action key took the door";

    // Runs right from frame 2, jumps from 12 to 30, walks from 40.
    const int frames = 70;
    replay::Rows rows = replay::run("reach_pose", start, "2 down right\n12 down space\n30 up space\n40 down a\n", frames);

    PlayerRoom room;
    ASSERT_EQ(room.load(game.c_str(), "test_hall.lvl"), 1);
    const RoomReach::BODY loaded = RoomReach::bodyOf(room.player);
    int moving = 0;
    for (int from : {8, 14, 20, 27, 38}) {
        RoomReach::BODY body = loaded;
        int tick = 0, updates = 0;
        ASSERT_EQ(RoomReach::fromTrace(rows[from], &body, &tick, &updates), 1) << "frame " << from;
        body.animation.anim = loaded.animation.anim;
        RoomReach::restore(&room.player, body);
        for (int frame = from + 1; frame < from + 20; frame++) {
            PLAYER_COMMANDS c = held(frame >= 2 ? (frame >= 12 && frame < 30 ? "RJ" : "R") : "");
            c.walk = frame >= 40;
            room.frame(c);
            ASSERT_EQ(std::to_string(room.player.state.x) + " " + std::to_string(room.player.state.y),
                      rows[frame][replay::X] + " " + rows[frame][replay::Y])
                << "from frame " << from << ", at frame " << frame;
        }
        moving += body.x != RoomReach::bodyOf(room.player).x;
    }
    EXPECT_EQ(moving, 5) << "every start was in motion";
    std::vector<std::string> cut(rows[8].begin(), rows[8].end() - 1);
    RoomReach::BODY body{};
    int tick = 0, updates = 0;
    EXPECT_EQ(RoomReach::fromTrace(cut, &body, &tick, &updates), 0) << "a line without the pose";
    cut = rows[8];
    cut[30] = "x";
    EXPECT_EQ(RoomReach::fromTrace(cut, &body, &tick, &updates), 0) << "a word that is not a number";
}
