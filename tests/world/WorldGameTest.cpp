#include "WorldFixtures.h"

#include "cutscene/Movie.h"
#include "level/Light.h"
#include "level/LightingWorker.h"
#include "map/Map.h"
#include "render/Screen.h"
#include "save/SlotFile.h"

#include <algorithm>
#include <mutex>
#include <vector>

TEST_F(InGame, ANewGameBeginsBlackWithoutHudUnderTheOpeningSceneWhoseEndGivesTheKeysBack)
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

TEST_F(InGame, AGameWhoseRoomDoesNotLoadGoesBackToTheMenuSayingWhy)
{
    begin("metro3.lvl", 8, 64);
    const std::string stored = std::string(folder) + "/stored.sav", start = std::string(folder) + "/begin.sav",
                      fresh = std::string(folder) + "/fresh.sav";
    SAVE_STATE state;
    std::snprintf(state.level, sizeof state.level, "./Level/no_such_room.lvl");
    ASSERT_EQ(writeSlot(stored.c_str(), state, nullptr, SlotBackup::none), 1);
    ASSERT_EQ(writeSlot(start.c_str(), state, nullptr, SlotBackup::none), 1);
    world.beginFile = start.c_str();
    const struct {
        int request;
        std::string slot;
        const char* reason;
    } cases[] = {{Menu::startContinue, stored, "no_such_room.lvl"},
                 {Menu::startNewGame, fresh, "no_such_room.lvl"},
                 {Menu::startContinue, std::string(folder) + "/missing.sav", "missing.sav"}};
    for (const auto& c : cases) {
        std::snprintf(menu.slotFile, sizeof menu.slotFile, "%s", c.slot.c_str());
        menu.setStartGame(c.request);
        menu.setGameState(Menu::statePlaying);
        runFrames(1);
        EXPECT_EQ(menu.getGameState(), Menu::stateMainMenu) << c.slot;
        EXPECT_NE(std::strstr(menu.notice, c.reason), nullptr) << menu.notice;
    }
    EXPECT_NE(access(fresh.c_str(), F_OK), 0) << "no slot stored for a game that did not begin";
    key(SDL_KEYDOWN, 274);
    runFrames(1);
    EXPECT_STREQ(menu.notice, "") << "a key clears the message";
}

TEST_F(InGame, AMissingSlotLeavesTheGameAsItWasAndTheTextFormLoadsItsObjectsWithoutTouchingTheMap)
{
    begin("metro3.lvl", 8, 64);
    Level* room = world.level;
    char slot[] = "./Save/no_such_slot.sav";
    world.loadStateBinary(slot, &typo, pixelScreen);
    EXPECT_EQ(world.level, room);
    EXPECT_EQ(world.player->state.x, 8);
    EXPECT_EQ(world.workerStarts, 1);

    const std::string text = std::string(folder) + "/text.sav";
    FILE* out = std::fopen(text.c_str(), "w");
    ASSERT_NE(out, nullptr);
    std::fputs("PLAYER_N_OBJECTS 2\nPLAYER_OBJECT map_cave 1\nPLAYER_OBJECT key_x 1\n"
               "PLAYER_LEVEL ./Level/metro2.lvl\nPLAYER_CHECKPOINT 5 6\nEND", out);
    std::fclose(out);
    auto unseen = [] {
        const std::vector<MAP_CELL*>& cells = world.player->map->cells;
        return std::count_if(cells.begin(), cells.end(), [](const MAP_CELL* c) { return c->state == 0; });
    };
    ASSERT_NE(world.player->map, nullptr);
    long before = unseen();
    ASSERT_GT(before, 0);
    const int checkpointX = world.player->state.checkpointX;
    std::vector<char> name(text.begin(), text.end());
    name.push_back('\0');
    world.loadState(name.data(), &typo, pixelScreen);
    EXPECT_STREQ(world.level->getName(), "./Level/metro2.lvl");
    EXPECT_EQ(world.player->nKey, 1);
    EXPECT_EQ(unseen(), before) << "the map is not revealed";
    EXPECT_EQ(world.player->state.checkpointX, checkpointX) << "the checkpoint is not the text's";
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

// Paused under the menu, the game idles the lighting worker and shows the
// world as it stands, also when it was paused before, then resumed and moved.
TEST_F(InGame, APausedGameShowsTheWorldAsItStands)
{
    begin("metro2.lvl", 448, 42);
    auto pausedPictureIsFresh = [] {
        menu.setGameState(Menu::statePaused);
        world.pause(true);
        while (!lightingWorker().paused())
            SDL_Delay(1);
        runFrames(3);
        Screen fresh(pixelScreen->width, pixelScreen->height, 1);
        fresh.clear(int(0xFF000000u));
        world.draw(&fresh);
        menu.draw(&fresh);
        return std::equal(fresh.pixels, fresh.pixels + fresh.width * fresh.height, pixelScreen->pixels);
    };
    EXPECT_TRUE(pausedPictureIsFresh());
    menu.setGameState(Menu::statePlaying);
    world.pause(false);
    EXPECT_EQ(lightingWorker().control(), LightingRun);
    int x = world.player->state.x;
    changeKeyState(SDLK_RIGHT, 1);
    runFrames(20);
    changeKeyState(SDLK_RIGHT, 0);
    ASSERT_NE(world.player->state.x, x);
    EXPECT_TRUE(pausedPictureIsFresh());
}
