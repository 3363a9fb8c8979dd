#include "ReplayHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// Every scene of the game played through the program twice: watched to its
// end, and skipped by holding the action key. The game must go on from the
// same state either way.

using namespace replay;

namespace {

struct SCENE_RUN {
    int scene;
    // The --start arguments, or "" for a new game from the menu (the opening).
    const char* start;
    // Keys that bring the player to the scene's trigger; those released
    // are released before the scene's second frame, so that both runs hold
    // the same keys when the game goes on.
    const char* keys;
    // Frames enough for the whole scene and what follows it.
    int frames;
};

const char* const newGameFromTheMenu = "2 down return\n3 up return\n6 down return\n7 up return\n";

const SCENE_RUN scenes[] = {
    {1, "hub_metro.lvl 16 18", "", 2440},
    {2, "intro_part10.lvl 24 210", "2 down right\n", 215},
    {3, "", newGameFromTheMenu, 640},
    {4, "metro2.lvl 165 34", "2 down right\n", 1045},
    {5, "phospho_intro.lvl 24 66", "2 down right\n", 745},
    {6, "hub_parking.lvl 976 586", "2 down left\n", 710},
    {7, "fall01.lvl 120 208", "2 down right\n40 up right\n", 300},
    {8, "outside02.lvl 300 231", "2 down left\n40 up left\n", 675},
    {9, "end02.lvl 24 578", "2 down right\n40 up right\n", 1275},
    {10, "orsolans_grave.lvl 220 248", "2 down left\n2 down down\n", 1145},
};

// How the test names its scene when listed or failing.
void PrintTo(const SCENE_RUN& run, std::ostream* out)
{
    *out << "scene " << run.scene;
}

// Frames played after the scene, to see the game go on alike.
const int after = 30;

Rows playScene(const SCENE_RUN& scene, const std::string& keys, int frames, const std::string& name)
{
    // A new game needs its slot empty, or the menu asks before overwriting it.
    std::remove(playerFile("Save/slot0.sav").c_str());
    return run(name, *scene.start ? std::string("--start ") + scene.start : "", keys, frames);
}

// The frame after which the game goes on without the scene: the one that
// gave the keys back, or the one that finished the game.
int sceneEnd(const Rows& rows, int start)
{
    int finished = firstRow(rows, Stage, "7", start);
    return finished >= 0 ? finished : firstRow(rows, Cutscene, "0", start);
}

} // namespace

// One test a scene, so that the scenes play on both cores side by side.
class SceneSkip : public testing::TestWithParam<SCENE_RUN> {};

TEST_P(SceneSkip, ASkippedSceneLeavesTheGameWhereWatchingItDoes)
{
    const SCENE_RUN& run = GetParam();
    Rows watched = playScene(run, run.keys, run.frames, "watched");
    int start = firstRow(watched, Cutscene, "1", 0);
    ASSERT_GE(start, 0) << "the scene started";
    int end = sceneEnd(watched, start);
    ASSERT_GT(end, start) << "the scene ended";
    ASSERT_LT(end + after, run.frames);

    // The action key held from the scene's second frame: the first
    // frames of the scene are instant actions, so its press ends no wait.
    int press = start + 1;
    std::string keys = std::string(run.keys) + std::to_string(press) + " down e\n" +
                       std::to_string(press + 45) + " up e\n";
    Rows skipped = playScene(run, keys, press + 45 + after + 5, "skipped");
    int skippedEnd = sceneEnd(skipped, start);
    ASSERT_GT(skippedEnd, start);
    EXPECT_EQ(skippedEnd, press + 30 - 1) << "a second of holding skips";
    ASSERT_LT(skippedEnd + after, int(skipped.size()));
    for (int k = 0; k <= after; k++) {
        std::vector<std::string> w(watched[end + k].begin() + 1, watched[end + k].end());
        std::vector<std::string> s(skipped[skippedEnd + k].begin() + 1, skipped[skippedEnd + k].end());
        ASSERT_EQ(w, s) << k << " frames after the scene (frames " << end + k << " and " << skippedEnd + k << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryScene, SceneSkip, testing::ValuesIn(scenes),
                         [](const testing::TestParamInfo<SCENE_RUN>& info) { return "Scene" + std::to_string(info.param.scene); });
