#include "WorldFixtures.h"

#include "cutscene/Movie.h"
#include "level/Light.h"

#include <algorithm>
#include <mutex>
#include <vector>

TEST_F(InGame, ANewGameBeginsBlackWithoutHudUnderTheOpeningScene)
{
    begin("metro2.lvl", 200, 40);
    // An earlier game's scene ended and took its script along.
    delete world.movie;
    world.movie = nullptr;
    char slot[] = "./Save/slot1.sav";
    world.init(&typo, pixelScreen, slot);
    EXPECT_STREQ(world.slotFile, slot);
    ASSERT_NE(world.movie, nullptr);
    EXPECT_TRUE(world.moviePlaying);
    EXPECT_FALSE(world.control);
    EXPECT_FALSE(world.hudVisible);
    EXPECT_FLOAT_EQ(world.luminance, 0.0f);
}

TEST_F(InGame, TheScriptsEndGivesTheKeysBackAndNothingIsReadWhilePaused)
{
    begin("metro2.lvl", 200, 40);
    char slot[] = "./Save/slot1.sav";
    world.init(&typo, pixelScreen, slot);
    // An emptied script has only its end left to read.
    world.movie->reset();
    world.movie->rewind();
    int keys[512] = {};
    world.pause(true);
    world.input2(keys, &typo, pixelScreen);
    EXPECT_TRUE(world.moviePlaying) << "no code is read while paused";
    world.pause(false);
    world.input2(keys, &typo, pixelScreen);
    EXPECT_FALSE(world.moviePlaying);
    EXPECT_TRUE(world.control);
    EXPECT_EQ(world.movie, nullptr);
}

TEST_F(InGame, AMissingSlotLeavesTheGameAsItWas)
{
    begin("metro3.lvl", 8, 64);
    Level* before = world.level;
    char slot[] = "./Save/no_such_slot.sav";
    world.loadStateBinary(slot, &typo, pixelScreen);
    EXPECT_EQ(world.level, before);
    EXPECT_EQ(world.player->x, 8);
    EXPECT_EQ(world.workerStarts, 1);
}

TEST_F(InGame, PausingIdlesTheWorkerAndResumingRunsIt)
{
    begin("metro2.lvl", 200, 40);
    world.pause();
    EXPECT_TRUE(world.paused);
    EXPECT_EQ(getCloseThread(), LightingPaused);
    world.pause();
    EXPECT_FALSE(world.paused);
    EXPECT_EQ(getCloseThread(), LightingRun);
}

// The lighting thread reads the room's copy of the lamp, never the one the
// player changes: the frame hands it over whole at the start of each
// update, before the player moves it again.
TEST_F(InGame, TheRoomLightsTheLampHandedOverAtEachUpdate)
{
    begin("test_hall.lvl", 80, 26);
    Player& p = *world.player;
    {
        std::lock_guard<std::mutex> hold(world.level->lightsLock);
        const std::vector<Light*>& lights = world.level->lights;
        EXPECT_EQ(std::count(lights.begin(), lights.end(), &p.sharedLight), 1);
        EXPECT_EQ(std::count(lights.begin(), lights.end(), &p.light), 0);
    }
    runFrames(1);
    p.light.setStyle(Light::StyleElectric);
    p.light.x = 12345;
    EXPECT_EQ(p.sharedLight.type, Light::Omni) << "not handed over before the update";
    runFrames(1);
    EXPECT_EQ(p.sharedLight.type, Light::Spot);
    EXPECT_EQ(p.sharedLight.x, 12345);
    EXPECT_NE(p.light.x, 12345) << "the player placed his lamp after the hand-over";
    EXPECT_TRUE(p.sharedLight.external);
}

namespace {

unsigned sceneClock = 0;
unsigned readSceneClock()
{
    return sceneClock;
}

// What the room shows of its elements: name, place, picture and whether drawn.
std::string elementsOf(const Level& level)
{
    std::string text;
    for (const std::vector<Element*>* list : {&level.elements, &level.entities})
        for (const Element* e : *list)
            text += std::string(e->name) + " " + std::to_string(e->x) + " " + std::to_string(e->y) + " " +
                    (e->tile ? e->tile->name : "-") + (e->visible ? "\n" : " hidden\n");
    return text;
}

} // namespace

// The cat's scene, watched, and skipped by holding the action key from its
// second frame: it leaves the cat and the player where watching does.
TEST_F(InGame, ASkippedSceneLeavesTheElementsWhereWatchingItDoes)
{
    world.clock = readSceneClock;
    auto play = [this](bool skip) {
        sceneClock = 0;
        begin("hub_metro.lvl", 16, 18);
        int keys[512] = {};
        int frame = 0;
        for (; frame < 3000 && (frame == 0 || world.moviePlaying); frame++) {
            keys[SDLK_e] = skip && frame > 0;
            world.input2(keys, &typo, pixelScreen);
            world.update(pixelScreen);
            sceneClock += 33;
        }
        EXPECT_EQ(frame, skip ? World::skipHoldFrames + 1 : 2401) << "the scene ended";
        return elementsOf(*world.level) + std::to_string(world.player->x) + " " + std::to_string(world.player->y);
    };
    std::string watched = play(false);
    EXPECT_NE(watched.find("element074 "), std::string::npos);
    EXPECT_EQ(play(true), watched);
}
