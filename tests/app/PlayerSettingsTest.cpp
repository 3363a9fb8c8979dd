#include "app/Pad.h"
#include "audio/Control.h"
#include "platform/GameFolders.h"
#include "platform/Platform.h"
#include "render/Screen.h"
#include "save/Settings.h"
#include "world/WorldFixtures.h"

#include "base/TestFiles.h"

// The display mode, the brightness and the gamepad as the frame takes
// them: events pushed into SDL's queue, frames run. What the game writes
// goes to a player's folder of the test's own.

namespace {

class PlayerSettings : public InGame {
protected:
    void SetUp() override
    {
        InGame::SetUp();
        // The settings of this run, whatever the game folder holds.
        settings = SETTINGS();
        // On the floor of the ladders' test room, at the foot of its ladder.
        begin("test_ladders.lvl", 186, 80);
        runFrames(2);
    }
    std::string written(const char* name) { return readFile(std::string(folder) + "/" + name); }

    static void push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 0); }
    static void button(int number, bool down)
    {
        int hat = 0;
        push(padEvent(number, down, &hat));
    }
    static void stick(int axis, int value)
    {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = SDL_JOYAXISMOTION;
        e.jaxis.axis = Uint8(axis);
        e.jaxis.value = Sint16(value);
        push(e);
    }
    // A pad input pressed for one frame and released in the next.
    static void pressPad(int input)
    {
        int hat = 0;
        push(padEvent(input, true, &hat));
        runFrames(1);
        push(padEvent(input, false, &hat));
        runFrames(1);
    }
};

} // namespace

TEST(PadInputs, ReplayNamesAndTheirEvents)
{
    const struct {
        const char* name;
        int input;
    } names[] = {{"pad:0", 0}, {"pad:31", 31}, {"pad:hat-left", PadLeft}, {"pad:hat-down", PadDown},
                 {"pad:32", -1}, {"pad:-1", -1}, {"pad:", -1}, {"pad:1x", -1}, {"pad:hat", -1}, {"right", -1}};
    for (const auto& n : names) {
        EXPECT_EQ(padInputFromName(n.name), n.input) << n.name;
        EXPECT_TRUE(n.input < 0 || padInputName(n.input) == n.name) << n.name;
    }
    int hat = 0;
    Pad pad;
    pad.take(padEvent(PadLeft, true, &hat));
    pad.take(padEvent(PadUp, true, &hat));
    EXPECT_EQ(pad.held(), (uint64_t(1) << PadLeft) | (uint64_t(1) << PadUp)) << "a hat holds two directions";
    pad.take(padEvent(PadLeft, false, &hat));
    pad.take(padEvent(7, true, &hat));
    EXPECT_EQ(pad.held(), (uint64_t(1) << PadUp) | (uint64_t(1) << 7));
}

TEST_F(PlayerSettings, TheStickClimbsAndWalksOnlyBeyondItsDeadZoneAndButtonsJump)
{
    stick(1, -Pad::deadZone + 1);
    runFrames(3);
    EXPECT_FALSE(world.player->state.onLadder) << "inside the dead zone";
    int y = world.player->state.y;
    stick(1, -20000);
    runFrames(6);
    EXPECT_TRUE(world.player->state.onLadder);
    EXPECT_LT(world.player->state.y, y) << "climbed";
    stick(1, 0);
    world.player->state.onLadder = false;
    world.player->setPosition(100, 80);
    world.player->setPosition(100, 80);
    runFrames(3);
    stick(0, -32768);
    runFrames(5);
    EXPECT_EQ(world.player->state.way, 1);
    EXPECT_LT(world.player->state.x, 100);
    stick(0, 0);
    button(settings.padButton[PadJump], true);
    runFrames(2);
    EXPECT_TRUE(world.player->state.jumping);
    button(settings.padButton[PadJump], false);
    runFrames(1);
}

TEST_F(PlayerSettings, TheGamepadScreenRemapsAButtonAndLeavesTheKeys)
{
    pressPad(settings.padButton[PadPause]);
    ASSERT_EQ(menu.getGameState(), Menu::statePaused);
    pressPad(settings.padButton[PadJump]);
    ASSERT_EQ(menu.getGameState(), Menu::statePlaying) << "the pad's jump chooses CONTINUE";
    menu.setGameState(Menu::stateOptions);
    menu.selection = Menu::optionsGamepad;
    pressPad(settings.padButton[PadJump]);
    ASSERT_EQ(menu.getGameState(), Menu::stateGamepad);
    pressPad(PadDown);
    pressPad(PadDown);
    pressPad(settings.padButton[PadJump]);
    ASSERT_EQ(menu.pendingPadAction, PadWalk);
    pressPad(settings.padButton[PadJump]);
    EXPECT_EQ(menu.pendingPadAction, -1);
    EXPECT_EQ(settings.padButton[PadWalk], 0) << "walk takes the button pressed";
    EXPECT_EQ(settings.padButton[PadJump], 2) << "jump takes walk's old button";
    pressPad(settings.padButton[PadAct]);
    EXPECT_EQ(menu.getGameState(), Menu::stateOptions);
    pressPad(settings.padButton[PadAct]);
    EXPECT_EQ(menu.getGameState(), Menu::stateMainMenu);
    EXPECT_NE(written("settings.ini").find("pad walk = 0\n"), std::string::npos) << written("settings.ini");
    EXPECT_EQ(getControl(controlJump), controlJump) << "the keys stay";
    EXPECT_EQ(written("control.ini").substr(0, 8), "0\n1\n2\n3\n");

    begin("test_ladders.lvl", 100, 80);
    runFrames(3);
    button(0, true);
    runFrames(2);
    EXPECT_FALSE(world.player->state.jumping) << "button 0 now walks";
    button(2, true);
    runFrames(2);
    EXPECT_TRUE(world.player->state.jumping);
}

TEST_F(PlayerSettings, TheDisplayModeKeysSwitchTheScaleButNeverTheLogicalSize)
{
    int width = pixelScreen->width, height = pixelScreen->height;
    ASSERT_EQ(pixelScreen->scale, 4);
    int windowed = windowScale(width, height, {screen->w, screen->h});
    tap(SDLK_F11);
    EXPECT_FALSE(screen->flags & SDL_FULLSCREEN);
    EXPECT_EQ(pixelScreen->scale, windowed);
    EXPECT_EQ(screen->w, width * windowed);
    EXPECT_NE(written("settings.ini").find("fullscreen = 0\n"), std::string::npos);
    EXPECT_EQ(menu.getGameState(), Menu::statePlaying);

    key(SDL_KEYDOWN, SDLK_LALT);
    tap(SDLK_RETURN);
    key(SDL_KEYUP, SDLK_LALT);
    runFrames(1);
    EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
    EXPECT_EQ(pixelScreen->scale, 4);
    EXPECT_EQ(screen->w, width * 4);
    EXPECT_TRUE(width == pixelScreen->width && height == pixelScreen->height);
    EXPECT_NE(written("settings.ini").find("fullscreen = 1\n"), std::string::npos);
}

TEST(WindowScale, TheLargestScaleThatLeavesRoomOnTheDesktop)
{
    EXPECT_EQ(windowScale(480, 270, {1920, 1080}), 3);
    EXPECT_EQ(windowScale(341, 192, {1366, 768}), 3);
    EXPECT_EQ(windowScale(640, 360, {3840, 2160}), 5);
    EXPECT_EQ(windowScale(800, 600, {640, 480}), 1);
    EXPECT_EQ(windowScale(0, 0, {640, 480}), 1);
}
