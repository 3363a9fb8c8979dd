#pragma once

#include <SDL.h>

class Screen;
class Tile;
class TileList;
class Typo;

// One save slot as the slot screen shows it.
struct MENU_SLOT {
    // A stored game that can be continued.
    bool exists;
    // A file is there but cannot be read; it can only be overwritten.
    bool damaged;
    char summary[256];
    // The room the stored game stands in: its level file's name.
    char room[64];
};

// The game's front end and its state machine. The game state tells the
// application frame whether a game is played, paused under the pause menu,
// or which menu screen is shown; the start code carries the request to start,
// continue, resume or leave a game, with the chosen slot file. The menu never
// sees the world: the frame reads the start code and acts on it.
class Menu {
public:
    // Game states.
    static constexpr int stateMainMenu = 1;
    static constexpr int statePlaying = 2;
    static constexpr int stateSlots = 3;
    static constexpr int statePaused = 4;
    static constexpr int stateCredits = 5;
    static constexpr int stateOptions = 6;
    static constexpr int stateControls = 7;
    static constexpr int stateGamepad = 8;

    // Items of the options screen.
    static constexpr int optionsControls = 0, optionsMusic = 1, optionsFx = 2, optionsBrightness = 3,
                         optionsDisplay = 4, optionsGamepad = 5, optionsBack = 6;
    // "Overwrite slot N? yes / no", before a new game replaces a stored one.
    static constexpr int stateOverwrite = 9;

    // Start codes, read and reset by the frame.
    static constexpr int startNone = 0;
    static constexpr int startNewGame = 1;
    static constexpr int startContinue = 2;
    static constexpr int startResume = 3;
    static constexpr int startLeavePaused = 4;

    static constexpr int slotCount = 5;
    // Frames of one blink of a prompt waiting for a key or a button.
    static constexpr int blinkPeriod = 30;
    // The actions of the remapping screen, in screen order.
    static constexpr int actionCount = 13;

    // Stores the large font and the world's tile library and finds the
    // menu's pictures in it (a missing picture is simply not drawn).
    void init(Typo* typo, TileList* tiles);
    // Once per frame while no game is played: advances the key prompt's blink.
    void update();
    // One key-down event while no game is played. Returns 1 when the player
    // chose QUIT, which the frame turns into the end of the program.
    int input(SDL_Event event);
    int input(int key);
    // Draws the current screen and the version.
    void draw(Screen* screen);

    int getGameState() const { return gameState; }
    // Whether the screen shown has no game under it (the pause menu and
    // the options opened from it have).
    bool inFrontEnd() const;
    void setGameState(int state);
    int getStartGame() const { return startGame; }
    void setStartGame(int code) { startGame = code; }
    char* getSlotName() { return slotFile; }
    // A gamepad button pressed on the gamepad screen while an action waits
    // for one: the button is bound to it. Returns 1 when it was taken, 0
    // when no action waits (the button then stands for a key).
    int padButton(int button);
    // Reads the five slot summaries again.
    void updateSlot();
    // Back to the main menu, telling the player why (a game that could not
    // be started or continued); the message stays until the next key.
    void backWithNotice(const char* message);

    // The slot screen's line for one slot: "slot n°1 : ", its summary and
    // the room of a stored game.
    static void slotLine(const MENU_SLOT& slot, int index, char* line, int size);

    int gameState = stateMainMenu;
    // Highlighted item of the current screen.
    int selection = 0;
    // 0: the slot screen starts a new game; 1: it continues a stored one.
    int slotMode = 0;
    // The action waiting for a key, or -1.
    int pendingControl = -1;
    // The pad action waiting for a button on the gamepad screen, or -1.
    int pendingPadAction = -1;
    // Frames of the key prompt's blink, 0 to 29.
    int blink = 0;
    MENU_SLOT slots[slotCount] = {};
    char slotFile[256] = "";
    int startGame = startNone;
    // The message shown under the main menu, or "".
    char notice[256] = "";
    // The screen the options go back to: the main menu, or the pause menu
    // they were opened from.
    int optionsReturn = stateMainMenu;
    // The slot the overwrite question is about.
    int chosenSlot = 0;

private:
    int itemCount() const;
    void moveSelection(int step);
    void bindPending(int key);
    void choose();
    void chooseMain();
    void chooseSlot();
    void choosePaused();
    void chooseOptions();
    void chooseControls();
    void chooseOverwrite();
    void startSlot();
    void openOptions(int returnState);
    void leaveOptions();
    void escape();
    void changeVolume(int step);
    void openSlots(int mode);
    void changeSetting(int step);
    void chooseSetting();
    void chooseGamepad();

    void drawMainMenu(Screen* s);
    void drawSlotMenu(Screen* s);
    void drawSlotIcons(const char* line, int summaryStart, int x, int y, Screen* s);
    void drawQuit(Screen* s);
    void drawCredits(Screen* s);
    void drawOptionMenu(Screen* s);
    void drawControlMenu(Screen* s);
    void drawSettingItems(Screen* s);
    void drawGamepadMenu(Screen* s);
    void drawOverwrite(Screen* s);

    Typo* typo = nullptr;
    Tile* heartTile = nullptr;
    Tile* coinTile = nullptr;
    Tile* diamondTile = nullptr;
    Tile* keyTile = nullptr;
    Tile* logoTile = nullptr;
    Tile* creditsTile = nullptr;
};
