#include "ui/Menu.h"

#include "assets/Typo.h"
#include "audio/Control.h"
#include "audio/FakeMixer.h"
#include "render/Screen.h"
#include "save/SaveFixtures.h"
#include "save/Settings.h"
#include "save/SlotFile.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A game stored in slot `slot` of the menu's folder, without a backup;
// cut to `length` bytes when given.
void storeSlot(int slot, int life, int coins, int diamonds, std::initializer_list<const char*> objects = {},
               std::uintmax_t length = 0)
{
    SAVE_STATE s;
    s.player.life = life;
    s.player.coin = coins;
    s.player.diamond = diamonds;
    boundedLevel(s, "./Level/metro2.lvl");
    for (const char* name : objects)
        s.objects.push_back(namedObject(name));
    std::string path = "Save/slot" + std::to_string(slot) + ".sav";
    ASSERT_EQ(writeSlot(path.c_str(), s, nullptr, SlotBackup::none), 1);
    if (length)
        std::filesystem::resize_file(path, length);
}

std::vector<int> controlFileLines()
{
    std::ifstream in("control.ini");
    std::vector<int> lines;
    int v = 0;
    while (in >> v)
        lines.push_back(v);
    return lines;
}

// Each test runs in a fresh folder of its own, where the menu finds
// "control.ini" and "Save/".
class MenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        home = std::filesystem::current_path();
        folder = std::filesystem::path(testing::TempDir()) /
                 ("menu_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "Save");
        std::filesystem::current_path(folder);
        initControlNames();
        loadDefaultControls();
        musicVolume = 100;
        fxVolume = 100;
    }
    void TearDown() override
    {
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
    }

    // Key-down events as the frame hands them to the menu; returns the last answer.
    int press(std::initializer_list<int> keys)
    {
        int answer = 0;
        for (int key : keys) {
            SDL_Event e{};
            e.type = SDL_KEYDOWN;
            e.key.keysym.sym = SDLKey(key);
            answer = menu.input(e);
            menu.update();
        }
        return answer;
    }

    void openControls() { press({SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_RETURN}); }
    // On the remapping screen: chooses the action at `index` and presses `key` for it.
    void bind(int index, int key)
    {
        while (menu.selection != index)
            press({SDLK_DOWN});
        press({SDLK_RETURN, key});
    }

    FakeMixer mixer;
    Menu menu;
    std::filesystem::path home;
    std::filesystem::path folder;
};

} // namespace

TEST_F(MenuTest, EveryScreenIsReachedAndLeftSelectionsWrapRoundAndOnlyQuitAnswersAQuit)
{
    struct STEP {
        std::initializer_list<int> keys;
        int state;
        int selection;
    };
    const STEP path[] = {
        {{SDLK_RETURN}, Menu::stateSlots, 0},                    // NEW GAME
        {{SDLK_ESCAPE}, Menu::stateMainMenu, 0},
        {{SDLK_DOWN, SDLK_RETURN}, Menu::stateSlots, 0},           // CONTINUE
        {{SDLK_ESCAPE}, Menu::stateMainMenu, 1},                 // back on CONTINUE
        {{SDLK_RETURN, SDLK_UP, SDLK_RETURN}, Menu::stateMainMenu, 0}, // the slot screen's "back", up from its first
        {{SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}, Menu::stateOptions, 0},
        {{SDLK_RETURN}, Menu::stateControls, 0},
        {{SDLK_ESCAPE}, Menu::stateOptions, 0},
        {{SDLK_RETURN, SDLK_UP, SDLK_RETURN}, Menu::stateOptions, 0}, // remapping's "cancel", up from its first
        {{SDLK_RETURN, SDLK_UP, SDLK_UP, SDLK_UP, SDLK_RETURN}, Menu::stateOptions, 0}, // "save"
        {{SDLK_ESCAPE}, Menu::stateMainMenu, 0},
        {{SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_UP, SDLK_RETURN}, Menu::stateMainMenu, 0}, // options' BACK
        {{SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}, Menu::stateCredits, 0},
        {{'x'}, Menu::stateMainMenu, 0},
        {{SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}, Menu::stateCredits, 0},
        {{SDLK_RETURN}, Menu::stateMainMenu, 0},                 // leaving the credits with Return is no quit
        {{SDLK_ESCAPE}, Menu::stateMainMenu, 0},                 // Escape in the main menu does nothing
        {{SDLK_UP}, Menu::stateMainMenu, 4},                     // up from NEW GAME wraps round to QUIT
        {{SDLK_DOWN}, Menu::stateMainMenu, 0},                   // and down from QUIT back
    };
    int step = 0;
    for (const STEP& s : path) {
        EXPECT_EQ(press(s.keys), 0);
        EXPECT_EQ(menu.getGameState(), s.state) << "step " << step;
        EXPECT_EQ(menu.selection, s.selection) << "step " << step;
        step++;
    }
    EXPECT_EQ(menu.getStartGame(), Menu::startNone);
    EXPECT_EQ(press({SDLK_UP, SDLK_RETURN}), 1) << "QUIT alone answers a quit";
}

TEST_F(MenuTest, BrightnessAndDisplayItemsChangeTheSettingsKeptWhenOptionsAreLeft)
{
    settings = SETTINGS();
    press({SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN});
    ASSERT_EQ(menu.selection, Menu::optionsBrightness);
    const struct {
        int key, presses, brightness;
    } steps[] = {{SDLK_RIGHT, 7, brightnessHighest}, {SDLK_LEFT, 9, brightnessLowest}, {SDLK_RIGHT, 3, 1}};
    for (const auto& step : steps) {
        for (int i = 0; i < step.presses; i++)
            press({step.key});
        EXPECT_EQ(settings.brightness, step.brightness);
    }
    press({SDLK_DOWN, SDLK_RETURN});
    EXPECT_FALSE(settings.fullScreen);
    press({SDLK_RIGHT, SDLK_LEFT});
    EXPECT_FALSE(settings.fullScreen);
    press({SDLK_DOWN, SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::stateGamepad);
    press({SDLK_ESCAPE});
    EXPECT_EQ(menu.selection, Menu::optionsGamepad);
    press({SDLK_ESCAPE});
    EXPECT_EQ(menu.getGameState(), Menu::stateMainMenu);
    std::ifstream in("settings.ini");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().substr(0, 30), "brightness = 1\nfullscreen = 0\n");
    settings = SETTINGS();
}

TEST_F(MenuTest, SlotSummariesShowLifeCoinsDiamondsAndKeys)
{
    storeSlot(0, 3, 17, 4, {"key_red", "coin3", "keyhole", "map_1"});
    storeSlot(3, 2, 5, 1, {"key"}, 80); // cut inside the level name
    menu.updateSlot();

    EXPECT_STREQ(menu.slots[0].summary, "  03   17   04   02");
    EXPECT_STREQ(menu.slots[2].summary, "empty");
    EXPECT_STREQ(menu.slots[3].summary, "damaged");
    const bool exists[] = {true, false, false, false, false};
    const bool damaged[] = {false, false, false, true, false};
    for (int i = 0; i < Menu::slotCount; i++) {
        EXPECT_EQ(menu.slots[i].exists, exists[i]) << i;
        EXPECT_EQ(menu.slots[i].damaged, damaged[i]) << i;
    }
    char line[300];
    Menu::slotLine(menu.slots[2], 2, line, sizeof line);
    EXPECT_STREQ(line, "slot n\xB0" "3 : empty");
    Menu::slotLine(menu.slots[0], 0, line, sizeof line);
    EXPECT_STREQ(line, "slot n\xB0" "1 :   03   17   04   02   metro2") << "the stored game's room after the summary";
    Menu::slotLine(menu.slots[3], 3, line, sizeof line);
    EXPECT_STREQ(line, "slot n\xB0" "4 : damaged");
}

TEST_F(MenuTest, NewGameOnAStoredGameAsksBeforeOverwritingIt)
{
    storeSlot(1, 3, 17, 4);
    press({SDLK_RETURN, SDLK_DOWN, SDLK_RETURN});
    ASSERT_EQ(menu.getGameState(), Menu::stateOverwrite);
    EXPECT_EQ(menu.chosenSlot, 1);
    // "no" is chosen first; Return on it, or Escape, goes back to the slot.
    for (int answer : {SDLK_RETURN, SDLK_ESCAPE}) {
        press({answer});
        EXPECT_EQ(menu.getGameState(), Menu::stateSlots);
        EXPECT_EQ(menu.selection, 1);
        EXPECT_EQ(menu.getStartGame(), Menu::startNone);
        press({SDLK_RETURN});
    }
    press({SDLK_LEFT, SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::statePlaying);
    EXPECT_EQ(menu.getStartGame(), Menu::startNewGame);
    EXPECT_STREQ(menu.getSlotName(), "./Save/slot1.sav");
}

TEST_F(MenuTest, ContinueIsRefusedOnEmptyAndDamagedSlotsAndANewGameOverwritesADamagedOneUnasked)
{
    storeSlot(2, 3, 17, 4);
    storeSlot(1, 3, 17, 4, {}, 50);
    press({SDLK_DOWN, SDLK_RETURN});
    press({SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::stateSlots) << "slot 1 is empty";
    press({SDLK_DOWN, SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::stateSlots) << "slot 2 is damaged";
    EXPECT_EQ(menu.getStartGame(), Menu::startNone);
    press({SDLK_DOWN, SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::statePlaying);
    EXPECT_EQ(menu.getStartGame(), Menu::startContinue);
    EXPECT_STREQ(menu.getSlotName(), "./Save/slot2.sav");

    menu.setGameState(Menu::stateMainMenu);
    press({SDLK_RETURN, SDLK_DOWN, SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::statePlaying) << "no question for a damaged slot";
    EXPECT_EQ(menu.getStartGame(), Menu::startNewGame);
    EXPECT_STREQ(menu.getSlotName(), "./Save/slot1.sav");
}

// Clamping and the file's layout are ControlTest's.
TEST_F(MenuTest, VolumeItemsChangeTheirOwnVolumeSavedToControlIniOnLeaving)
{
    press({SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_DOWN, SDLK_LEFT});
    EXPECT_EQ(getMusicVolume(), 95);
    press({SDLK_DOWN, SDLK_LEFT, SDLK_LEFT, SDLK_LEFT, SDLK_RIGHT});
    EXPECT_EQ(getFxVolume(), 90);
    press({SDLK_DOWN, SDLK_RIGHT, SDLK_UP, SDLK_UP, SDLK_UP, SDLK_RIGHT});
    EXPECT_EQ(getMusicVolume(), 95) << "arrows change nothing on BACK or CONTROLS";
    EXPECT_EQ(getFxVolume(), 90);
    press({SDLK_ESCAPE});
    std::vector<int> lines = controlFileLines();
    ASSERT_EQ(lines.size(), 514u);
    EXPECT_EQ(lines[512], 95);
    EXPECT_EQ(lines[513], 90);
}

TEST_F(MenuTest, RemappingToAKeyInUseSwapsTheTwoKeysAndBack)
{
    openControls();
    bind(4, 'a');
    EXPECT_EQ(getControl(controlJump), 'a');
    EXPECT_EQ(getControl(controlReveal), SDLK_SPACE) << "reveal takes jump's old key";
    EXPECT_STREQ(getControlName(controlReveal), "SPACE");
    bind(4, SDLK_SPACE);
    EXPECT_EQ(getControl(controlJump), SDLK_SPACE);
    EXPECT_EQ(getControl(controlReveal), 'a');

    bind(0, 'j');
    press({SDLK_UP, SDLK_UP, SDLK_UP, SDLK_RETURN}); // save
    EXPECT_EQ(menu.getGameState(), Menu::stateOptions);
    std::vector<int> lines = controlFileLines();
    ASSERT_EQ(lines.size(), 514u);
    EXPECT_EQ(lines[controlLeft], 'j');
    EXPECT_EQ(lines[controlJump], SDLK_SPACE);
}

TEST_F(MenuTest, EscapeWhileWaitingKeepsTheOldKeyAndTheScreen)
{
    openControls();
    bind(1, 'k');
    bind(4, SDLK_ESCAPE);
    EXPECT_EQ(getControl(controlJump), SDLK_SPACE) << "Escape pauses the game; no action takes it";
    EXPECT_EQ(menu.pendingControl, -1);
    EXPECT_EQ(menu.getGameState(), Menu::stateControls);
    EXPECT_EQ(getControl(controlRight), 'k') << "earlier changes are kept";
    press({SDLK_ESCAPE});
    EXPECT_EQ(menu.getGameState(), Menu::stateOptions);
    EXPECT_EQ(getControl(controlRight), SDLK_RIGHT) << "leaving with Escape drops unsaved changes";
}

TEST_F(MenuTest, BoundKeysAreAlsoMenuKeys)
{
    openControls();
    bind(2, SDLK_RETURN);
    EXPECT_EQ(getControl(controlUp), SDLK_RETURN);
    EXPECT_EQ(menu.pendingControl, 2) << "Return then chooses the same action again";
    press({'u'});
    EXPECT_EQ(getControl(controlUp), 'u');
    EXPECT_EQ(menu.pendingControl, -1);
    press({SDLK_RETURN, SDLK_DOWN});
    EXPECT_EQ(getControl(controlUp), SDLK_DOWN);
    EXPECT_EQ(menu.selection, 3) << "the arrow also moves the highlight";
}

TEST_F(MenuTest, DefaultStaysOnSaveAndCancelReloadsTheFile)
{
    setControl(controlAction, 'w');
    saveControls("control.ini");
    openControls();
    EXPECT_EQ(getControl(controlAction), 'w') << "options read the file";
    press({SDLK_UP, SDLK_UP, SDLK_RETURN});
    EXPECT_EQ(getControl(controlAction), SDLK_e);
    EXPECT_EQ(menu.getGameState(), Menu::stateControls);
    EXPECT_EQ(menu.selection, 13);
    press({SDLK_DOWN, SDLK_DOWN, SDLK_RETURN});
    EXPECT_EQ(getControl(controlAction), 'w');
    EXPECT_EQ(menu.getGameState(), Menu::stateOptions);
}

// Leaving the game from it is FrameTest.TheMenuStartsPausesAndLeavesAGame.
TEST_F(MenuTest, PauseMenuResumesOnReturnOnly)
{
    menu.setGameState(Menu::statePaused);
    press({SDLK_ESCAPE});
    EXPECT_EQ(menu.getGameState(), Menu::statePaused) << "Escape is the frame's key here";
    press({SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::statePlaying);
    EXPECT_EQ(menu.getStartGame(), Menu::startResume);
}

TEST_F(MenuTest, OptionsOpenedFromThePauseMenuGoBackToIt)
{
    menu.setStartGame(Menu::startNone);
    menu.setGameState(Menu::statePaused);
    EXPECT_FALSE(menu.inFrontEnd());
    press({SDLK_UP, SDLK_RETURN});
    ASSERT_EQ(menu.getGameState(), Menu::stateOptions);
    EXPECT_FALSE(menu.inFrontEnd()) << "a game is under these options";
    press({SDLK_RETURN, SDLK_ESCAPE});
    EXPECT_EQ(menu.getGameState(), Menu::stateOptions) << "the remapping screen goes back to the options";
    press({SDLK_ESCAPE});
    EXPECT_EQ(menu.getGameState(), Menu::statePaused);
    EXPECT_EQ(menu.selection, 2) << "on OPTIONS";
    EXPECT_EQ(controlFileLines().size(), 514u) << "stored on leaving";
    press({SDLK_RETURN, SDLK_UP, SDLK_RETURN});
    EXPECT_EQ(menu.getGameState(), Menu::statePaused) << "BACK";
    EXPECT_EQ(menu.getStartGame(), Menu::startNone) << "the game stays paused";

    menu.setGameState(Menu::stateMainMenu);
    press({SDLK_DOWN, SDLK_DOWN, SDLK_RETURN});
    EXPECT_TRUE(menu.inFrontEnd());
    press({SDLK_ESCAPE});
    EXPECT_EQ(menu.getGameState(), Menu::stateMainMenu) << "from the main menu, back to it";
}

namespace {

const int white = int(0xFFFFFFFF);

// Every character prints as the substitute "x", a solid 3x5 block.
class MenuDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string path = testing::TempDir() + "menu_font.dat";
        std::ofstream(path) << "1\nx 3 5\nXXX\nXXX\nXXX\nXXX\nXXX\n";
        ASSERT_EQ(font.load(path.c_str()), 1);
        menu.init(&font, nullptr);
        initControlNames();
        loadDefaultControls();
    }

    void show()
    {
        s.clear(int(0xFF000000));
        menu.draw(&s);
    }

    Typo font;
    Menu menu;
    Screen s{480, 270, 4};
};

} // namespace

TEST_F(MenuDrawTest, TheMainMenuFrameFollowsTheSelection)
{
    for (int item = 0; item < 5; item++) {
        menu.selection = item;
        show();
        int top = 101 + 9 * item - 2;
        EXPECT_EQ(s.getPixel(200, top), white) << item;
        EXPECT_EQ(s.getPixel(279, top + 9), white) << item;
        EXPECT_NE(s.getPixel(200, top + 9 + 9), white) << "only the selected item is framed";
    }
    EXPECT_EQ(s.getPixel(1, 270 - 7), white) << "the version at the bottom left";
}

TEST_F(MenuDrawTest, ThePauseMenuDimsTheGameUnderIt)
{
    menu.setGameState(Menu::statePaused);
    s.clear(white);
    menu.draw(&s);
    int dimmed = s.getPixel(10, 10);
    EXPECT_NEAR(Screen::getRed(dimmed), 255 - 0x88, 1) << "0x88 of black over white";
    EXPECT_LT(Screen::getRed(s.getPixel(240 - 30, 135 + 8)), Screen::getRed(dimmed)) << "the panel is darker";
    EXPECT_EQ(s.getPixel(240, 135 - 10), white) << "its rounded frame";
}

TEST_F(MenuDrawTest, TheKeyPromptBlinks)
{
    menu.setGameState(Menu::stateControls);
    menu.input(SDLK_RETURN);
    auto inkOnRow = [this]() {
        int ink = 0;
        for (int x = 240; x < 330; x++)
            ink += s.getPixel(x, 12) == white;
        return ink;
    };
    std::vector<int> seen;
    for (int frame = 0; frame < 30; frame++) {
        show();
        seen.push_back(inkOnRow());
        menu.update();
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[13], 0);
    EXPECT_EQ(seen[15], 0);
    EXPECT_EQ(seen[29], 0);
    show();
    EXPECT_GT(inkOnRow(), 0) << "a period of 30 frames";
}
