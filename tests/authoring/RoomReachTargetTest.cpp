// The room search aimed at things that are not doors, and going on from
// where an earlier search, or a scene, left the player.

#include "authoring/RoomReach.h"

#include "player/PlayerFixtures.h"

namespace {

const int floorTop = 150;

// A hall with a door at each end and a candle on the floor between them.
class ReachTargets : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.rock(0, 0, 400, 200);
        game.open(10, 10, 380, floorTop - 10);
        game.thing("west", 20, floorTop - 24, 16, 24, "door room.lvl east");
        game.thing("east", 360, floorTop - 24, 16, 24, "door room.lvl west");
        game.bonus("candle", 200, floorTop - 6, "candle");
        PlayerRoom written;
        game.load(&written);
        ASSERT_EQ(reach.load(game.dir.c_str(), "room.lvl"), 1) << reach.error;
    }

    TestGame game{"targets"};
    RoomReach reach;
};

} // namespace

TEST_F(ReachTargets, AnElementIsTouchedAndTheSearchGoesOnFromThere)
{
    ASSERT_EQ(reach.searchTo("west", "candle"), 1);
    const int doorX = reach.startX;
    std::vector<uint8_t> taken = reach.script;
    taken.push_back(RoomReach::Action);
    EXPECT_EQ(reach.searchTo("west", "nothing"), -1) << "an element that is not there is an error";

    reach.lead = taken;
    ASSERT_EQ(reach.search("west", "east"), 1);
    EXPECT_GT(reach.startX, doorX + 150) << "the second search starts by the candle, not at the door";
    EXPECT_LT(reach.script.size(), size_t(200 - 36) / 2 + 20) << "and runs only the rest of the way";
}

TEST_F(ReachTargets, TheCandleIsNoDoorOutsideTheSearchAimedAtIt)
{
    EXPECT_EQ(reach.search("west", "candle"), -1);
    ASSERT_EQ(reach.searchTo("west", "candle"), 1);
    EXPECT_EQ(reach.search("west", "candle"), -1) << "the door given to the candle does not stay";
}

TEST_F(ReachTargets, HereStartsWhereTheCallerSaysThePlayerIs)
{
    reach.hereX = 300;
    reach.hereY = floorTop - 25;
    ASSERT_EQ(reach.search(RoomReach::here, "east"), 1);
    EXPECT_EQ(reach.startX, 300);
    EXPECT_LT(reach.script.size(), 60u);
}
