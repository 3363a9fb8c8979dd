#include "app/Frame.h"

#include "assets/Typo.h"
#include "audio/Sound.h"
#include "base/TestFiles.h"
#include "render/Screen.h"
#include "ui/Menu.h"
#include "level/LevelView.h"
#include "platform/GameFolders.h"
#include "world/World.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Shutting down leaves the frame's globals as they were before start-up, so
// each test starts fresh. Start-up reads the fonts: the tests run in the
// game folder, and write the games they begin into a folder of their own.
class FrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
        ASSERT_EQ(0, chdir(GLOAMER_GAME_DIR));
        setPlayerFolder(freshFolder("frame_player"));
        ASSERT_EQ(startUp(), 0) << SDL_GetError();
    }
    void TearDown() override
    {
        // Events a test left unhandled would reach the next test's frame.
        SDL_Event left;
        while (SDL_PollEvent(&left)) {
        }
        shutDown();
        setPlayerFolder("");
        ASSERT_EQ(0, chdir(previous));
    }
    char previous[4096];

    static void push(int type, int symbol = 0)
    {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = Uint8(type);
        e.key.keysym.sym = SDLKey(symbol);
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
};

} // namespace

TEST(KeyTable, OutOfRangeKeysAreIgnored)
{
    changeKeyState(511, 1);
    changeKeyState(512, 1);
    changeKeyState(-1, 1);
    EXPECT_EQ(keyState(511), 1);
    EXPECT_EQ(keyState(512), 0);
    EXPECT_EQ(keyState(-1), 0);
    EXPECT_EQ(keyState(0), 0);
    changeKeyState(511, 0);
    EXPECT_EQ(keyState(511), 0);
}

TEST_F(FrameTest, StartUpMakesAQuarterSizeScreenAndLayersAndLoadsBothFonts)
{
    ASSERT_TRUE(typo.getGlyph('A') && typo2.getGlyph('A'));
    EXPECT_EQ(7, typo.getGlyph('A')->height);
    EXPECT_EQ(5, typo2.getGlyph('A')->height);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(pixelScreen->width, screen->w / 4);
    EXPECT_EQ(pixelScreen->height, screen->h / 4);
    EXPECT_EQ(pixelScreen->scale, 4);
    ASSERT_NE(world.view, nullptr);
    EXPECT_EQ(world.view->frontLayer->width, pixelScreen->width);
    EXPECT_EQ(world.frameTime, 33);
    char caption[64] = "", *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    if (title)
        std::strncpy(caption, title, sizeof caption - 1);
    EXPECT_STREQ(caption, "Gloamer");
}

TEST_F(FrameTest, RunsOnSdlsDummyDriversWhateverTheEnvironment)
{
    char name[32] = "";
    ASSERT_NE(SDL_VideoDriverName(name, sizeof name), nullptr);
    EXPECT_STREQ(name, "dummy");
    ASSERT_NE(SDL_AudioDriverName(name, sizeof name), nullptr);
    EXPECT_STREQ(name, "dummy");
}

TEST_F(FrameTest, KeysAreHeldUntilReleasedAndAQuitInABurstEndsTheFrameAtOnce)
{
    push(SDL_KEYDOWN, 'x');
    EXPECT_EQ(update(), 0);
    EXPECT_EQ(keyState('x'), 1);
    push(SDL_KEYUP, 'x');
    push(SDL_KEYDOWN, 'a');
    push(SDL_QUIT);
    push(SDL_KEYDOWN, 'b');
    EXPECT_EQ(update(), 1);
    EXPECT_EQ(keyState('x'), 0);
    EXPECT_EQ(keyState('a'), 1);
    EXPECT_EQ(keyState('b'), 0) << "events after the quit request are not handled";
}

TEST_F(FrameTest, LosingTheFocusPausesTheGameAndReleasesEveryKey)
{
    auto focus = [](int gain) {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = SDL_ACTIVEEVENT;
        e.active.gain = Uint8(gain);
        e.active.state = SDL_APPINPUTFOCUS;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    };
    menu.setGameState(Menu::statePlaying);
    push(SDL_KEYDOWN, SDLK_RIGHT);
    push(SDL_KEYDOWN, SDLK_SPACE);
    update();
    ASSERT_EQ(keyState(SDLK_RIGHT), 1);
    focus(0);
    update();
    EXPECT_EQ(keyState(SDLK_RIGHT), 0);
    EXPECT_EQ(keyState(SDLK_SPACE), 0);
    EXPECT_EQ(menu.getGameState(), Menu::statePaused);
    EXPECT_TRUE(world.paused);
    focus(1);
    update();
    EXPECT_EQ(menu.getGameState(), Menu::statePaused) << "the player resumes by himself";
}

TEST_F(FrameTest, AnyKeyDuringAGameOverRestartsInsteadOfPausing)
{
    menu.setGameState(Menu::statePlaying);
    world.gameOver.stage = 3;
    world.gameOver.luminance = 0.2f;
    world.paused = true;
    // The game restarts from its slot: here the start slot, only read.
    std::snprintf(world.slotFile, sizeof world.slotFile, "./Save/begin.sav");
    push(SDL_KEYDOWN, SDLK_ESCAPE);
    update();
    EXPECT_EQ(menu.getGameState(), Menu::statePlaying);
    EXPECT_EQ(world.gameOver.stage, 0);
    EXPECT_FLOAT_EQ(world.gameOver.luminance, 1.0f);
    EXPECT_FALSE(world.paused);
}

TEST_F(FrameTest, QuitInTheMainMenuOrFromTheWindowEndsTheLoop)
{
    push(SDL_KEYDOWN, SDLK_UP);
    push(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(update(), 1);
    // The window's close event: the main loop returns instead of running on.
    push(SDL_QUIT);
    mainLoop();
}

TEST_F(FrameTest, TheMenuStartsPausesAndLeavesAGame)
{
    push(SDL_KEYDOWN, SDLK_RETURN);
    update();
    EXPECT_EQ(menu.getGameState(), Menu::stateSlots);
    EXPECT_EQ(musicPlaying, menuTrack) << "the menu plays its track";
    push(SDL_KEYDOWN, SDLK_DOWN);
    push(SDL_KEYDOWN, SDLK_RETURN);
    update();
    if (menu.getGameState() == Menu::stateOverwrite) {
        push(SDL_KEYDOWN, SDLK_LEFT);
        push(SDL_KEYDOWN, SDLK_RETURN);
        update();
    }
    EXPECT_EQ(menu.getGameState(), Menu::statePlaying);
    EXPECT_NE(musicPlaying, menuTrack) << "and stopped it for the game";
    EXPECT_EQ(menu.getStartGame(), Menu::startNone) << "the frame took the request";
    EXPECT_STREQ(world.slotFile, "./Save/slot1.sav");

    push(SDL_KEYDOWN, SDLK_ESCAPE);
    update();
    EXPECT_EQ(menu.getGameState(), Menu::statePaused);
    EXPECT_TRUE(world.paused);
    push(SDL_KEYDOWN, SDLK_DOWN);
    push(SDL_KEYDOWN, SDLK_RETURN);
    update();
    EXPECT_EQ(menu.getGameState(), Menu::stateMainMenu);
    EXPECT_FALSE(world.paused);
    push(SDL_KEYDOWN, SDLK_DOWN);
    push(SDL_KEYDOWN, SDLK_RETURN);
    update();
    EXPECT_EQ(menu.getGameState(), Menu::stateSlots) << "the menu runs again";
    EXPECT_EQ(menu.slotMode, 1);
}

TEST_F(FrameTest, FinishedGameGoesToTheCredits)
{
    menu.setGameState(Menu::statePlaying);
    world.gameOver.stage = 7;
    update();
    EXPECT_EQ(menu.getGameState(), Menu::stateCredits);
    EXPECT_EQ(world.gameOver.stage, 0);
}

TEST_F(FrameTest, DrawClearsToOpaqueBlackAndPresents)
{
    pixelScreen->setPixel(3, 3, int(0xFFFFFFFF));
    draw();
    EXPECT_EQ(unsigned(pixelScreen->getPixel(3, 3)), 0xFF000000u);
    EXPECT_EQ(pixelScreen->previous[0], int(0xFF000000)) << "the frame reached the display";
}
