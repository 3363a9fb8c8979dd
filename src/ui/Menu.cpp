#include "ui/Menu.h"

#include "assets/Tile.h"
#include "assets/TileList.h"
#include "assets/Typo.h"
#include "audio/Control.h"
#include "audio/Sound.h"
#include "base/BoundedString.h"
#include "render/Screen.h"
#include "save/Settings.h"
#include "save/SlotFile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <string>

namespace {

const char* const controlsFile = "control.ini";

const int keyReturn = SDLK_RETURN;
const int keyEscape = SDLK_ESCAPE;
const int keyUp = SDLK_UP;
const int keyDown = SDLK_DOWN;
const int keyRight = SDLK_RIGHT;
const int keyLeft = SDLK_LEFT;

const int white = int(0xFFFFFFFF);
const int volumeStep = 5;

// Items of the screens that Return acts on.
const int mainNewGame = 0, mainContinue = 1, mainOptions = 2, mainCredits = 3, mainQuit = 4;
const int slotBack = Menu::slotCount;
const int pausedContinue = 0, pausedQuit = 1, pausedOptions = 2;
const int overwriteYes = 0, overwriteNo = 1;
const int controlsSave = Menu::actionCount, controlsDefault = controlsSave + 1, controlsCancel = controlsSave + 2;

struct ACTION {
    const char* label;
    int slot;
};

const ACTION actions[Menu::actionCount] = {
    {"left", controlLeft},         {"right", controlRight},     {"up", controlUp},
    {"down / crawl", controlDown}, {"jump", controlJump},       {"action", controlAction},
    {"throw coin", controlThrowCoin}, {"reveal", controlReveal}, {"show map", controlShowMap},
    {"look left", controlLookLeft}, {"look right", controlLookRight}, {"look up", controlLookUp},
    {"look down", controlLookDown},
};

// The game's version, shown in a corner of every menu screen and in the credits.
const char* const version = "1.0";

// The game, its makers, and what it is built on with the licences they
// come under.
const char* const creditsMakers = "the Gloamer developers";
const char* const creditsBuiltOn[] = {
    "Built with:",
    "SDL 1.2 through sdl12-compat (zlib licence)",
    "SDL_mixer 1.2 (zlib licence)",
    "libpng (libpng licence)",
    "LAME, for the music files (LGPL 2)",
    "libmad, which plays them (GPL 2)",
};

void drawTile(Tile* tile, int x, int y, Screen* s)
{
    if (tile)
        tile->draw(0, x, y, s);
}

int tileWidth(const Tile* tile)
{
    return tile ? tile->width : 0;
}

// The room's name as the player knows it from the map: its level file's
// name without the folder and the extension ("./Level/hub_metro.lvl" is
// "hub_metro").
void roomOfLevel(const char* levelPath, char* room, std::size_t size)
{
    const char* slash = std::strrchr(levelPath, '/');
    const char* name = slash ? slash + 1 : levelPath;
    const char* dot = std::strrchr(name, '.');
    std::size_t length = dot ? std::size_t(dot - name) : std::strlen(name);
    boundedCopy(room, std::min(size, length + 1), name);
}

} // namespace

void Menu::init(Typo* font, TileList* tiles)
{
    typo = font;
    selection = 0;
    auto find = [tiles](const char* name) { return tiles ? tiles->findByName2(name) : nullptr; };
    heartTile = find("heart2.til");
    coinTile = find("gold_coin01.anm");
    diamondTile = find("diamond01.anm");
    keyTile = find("key.til");
    logoTile = find("logo4.til");
    creditsTile = find("cat04.til");
}

void Menu::setGameState(int state)
{
    gameState = state;
    selection = 0;
}

int Menu::itemCount() const
{
    switch (gameState) {
    case stateMainMenu:
        return 5;
    case stateSlots:
        return slotCount + 1;
    case statePaused:
        return 3;
    case stateOverwrite:
        return 2;
    case stateOptions:
        return optionsBack + 1;
    case stateGamepad:
        return padActionCount + 2;
    case stateControls:
        return actionCount + 3;
    default:
        return 1;
    }
}

bool Menu::inFrontEnd() const
{
    if (gameState == statePlaying || gameState == statePaused)
        return false;
    bool options = gameState == stateOptions || gameState == stateControls || gameState == stateGamepad;
    return !(options && optionsReturn == statePaused);
}

void Menu::update()
{
    if (gameState == stateControls || gameState == stateGamepad)
        blink = (blink + 1) % blinkPeriod;
}

void Menu::moveSelection(int step)
{
    int count = itemCount();
    selection = ((selection + step) % count + count) % count;
}

int Menu::input(SDL_Event event)
{
    return input(int(event.key.keysym.sym));
}

int Menu::input(int key)
{
    notice[0] = '\0';
    if (pendingControl != -1) {
        // Escape gives up the wait: it is the game's pause key, so no
        // action may be bound to it.
        if (key == keyEscape) {
            pendingControl = -1;
            return 0;
        }
        bindPending(key);
    }
    if (pendingPadAction != -1 && key == keyEscape) {
        pendingPadAction = -1;
        return 0;
    }
    if (gameState == stateCredits) {
        setGameState(stateMainMenu);
        return 0;
    }
    switch (key) {
    case keyUp:
        moveSelection(-1);
        break;
    case keyDown:
        moveSelection(1);
        break;
    case keyRight:
        if (gameState == stateOverwrite)
            moveSelection(1);
        changeVolume(volumeStep);
        break;
    case keyLeft:
        if (gameState == stateOverwrite)
            moveSelection(-1);
        changeVolume(-volumeStep);
        break;
    case keyReturn:
        if (gameState == stateMainMenu && selection == mainQuit)
            return 1;
        choose();
        break;
    case keyEscape:
        escape();
        break;
    default:
        break;
    }
    return 0;
}

// Binds the key to the waiting action. An action that had this key takes the
// waiting action's old key instead, so that one key never does two things.
void Menu::bindPending(int key)
{
    int slot = actions[pendingControl].slot;
    int previous = getControl(slot);
    for (const ACTION& other : actions)
        if (other.slot != slot && getControl(other.slot) == key)
            setControl(other.slot, previous);
    setControl(slot, key);
    pendingControl = -1;
    blink = 0;
}

void Menu::changeVolume(int step)
{
    if (gameState != stateOptions)
        return;
    if (selection == optionsMusic)
        addMusicVolume(step);
    else if (selection == optionsFx)
        addFxVolume(step);
    else
        changeSetting(step);
}

void Menu::choose()
{
    switch (gameState) {
    case stateMainMenu:
        chooseMain();
        break;
    case stateSlots:
        chooseSlot();
        break;
    case statePaused:
        choosePaused();
        break;
    case stateOptions:
        chooseOptions();
        break;
    case stateControls:
        chooseControls();
        break;
    case stateGamepad:
        chooseGamepad();
        break;
    case stateOverwrite:
        chooseOverwrite();
        break;
    default:
        break;
    }
}

void Menu::openSlots(int mode)
{
    setGameState(stateSlots);
    slotMode = mode;
    updateSlot();
}

void Menu::chooseMain()
{
    switch (selection) {
    case mainNewGame:
        openSlots(0);
        break;
    case mainContinue:
        openSlots(1);
        break;
    case mainOptions:
        openOptions(stateMainMenu);
        break;
    case mainCredits:
        setGameState(stateCredits);
        break;
    default:
        break;
    }
}

void Menu::chooseSlot()
{
    if (selection == slotBack) {
        setGameState(stateMainMenu);
        return;
    }
    // Continuing needs a readable stored game; a new game asks before it
    // replaces one.
    if (slotMode == 1 && !slots[selection].exists)
        return;
    chosenSlot = selection;
    if (slotMode == 0 && slots[selection].exists) {
        setGameState(stateOverwrite);
        selection = overwriteNo;
        return;
    }
    startSlot();
}

void Menu::startSlot()
{
    boundedCopy(slotFile, sizeof slotFile, slotPath(chosenSlot).c_str());
    startGame = slotMode == 0 ? startNewGame : startContinue;
    setGameState(statePlaying);
}

void Menu::chooseOverwrite()
{
    if (selection == overwriteYes) {
        startSlot();
        return;
    }
    setGameState(stateSlots);
    selection = chosenSlot;
}

void Menu::choosePaused()
{
    if (selection == pausedContinue) {
        setGameState(statePlaying);
        startGame = startResume;
        playPausedSounds();
    } else if (selection == pausedOptions) {
        openOptions(statePaused);
    } else {
        setGameState(stateMainMenu);
        startGame = startLeavePaused;
    }
}

void Menu::openOptions(int returnState)
{
    optionsReturn = returnState;
    setGameState(stateOptions);
    loadControls(controlsFile);
}

// The options are kept when they are left, whichever way.
void Menu::leaveOptions()
{
    saveControls(controlsFile);
    saveSettings(settingsFile, settings);
    int back = optionsReturn;
    setGameState(back);
    if (back == statePaused)
        selection = pausedOptions;
}

void Menu::chooseOptions()
{
    if (selection == optionsControls)
        setGameState(stateControls);
    else if (selection == optionsBack)
        leaveOptions();
    else
        chooseSetting();
}

void Menu::chooseControls()
{
    if (selection < actionCount) {
        pendingControl = selection;
        blink = 0;
    } else if (selection == controlsSave) {
        saveControls(controlsFile);
        setGameState(stateOptions);
    } else if (selection == controlsDefault) {
        loadDefaultControls();
        selection = controlsSave;
    } else if (selection == controlsCancel) {
        loadControls(controlsFile);
        setGameState(stateOptions);
    }
}

void Menu::escape()
{
    switch (gameState) {
    case stateSlots: {
        int opener = slotMode == 0 ? mainNewGame : mainContinue;
        setGameState(stateMainMenu);
        selection = opener;
        break;
    }
    case stateOptions:
        leaveOptions();
        break;
    case stateGamepad:
        pendingPadAction = -1;
        setGameState(stateOptions);
        selection = optionsGamepad;
        break;
    case stateOverwrite:
        selection = overwriteNo;
        chooseOverwrite();
        break;
    case stateControls:
        // The changes are dropped.
        loadControls(controlsFile);
        setGameState(stateOptions);
        break;
    default:
        break;
    }
}

void Menu::updateSlot()
{
    for (int i = 0; i < slotCount; i++) {
        SLOT_SUMMARY summary = summarizeSlot(slotPath(i).c_str());
        MENU_SLOT& slot = slots[i];
        slot.exists = summary.status == SlotStatus::good;
        slot.damaged = summary.status == SlotStatus::damaged;
        formatSlotSummary(summary, slot.summary, sizeof slot.summary);
        roomOfLevel(summary.level, slot.room, sizeof slot.room);
    }
}

void Menu::slotLine(const MENU_SLOT& slot, int index, char* line, int size)
{
    if (slot.exists && *slot.room)
        boundedFormat(line, size, "slot n\xB0%d : %s   %s", index + 1, slot.summary, slot.room);
    else
        boundedFormat(line, size, "slot n\xB0%d : %s", index + 1, slot.summary);
}

void Menu::draw(Screen* screen)
{
    if (!typo)
        return;
    switch (gameState) {
    case stateMainMenu:
        drawMainMenu(screen);
        break;
    case stateSlots:
        drawSlotMenu(screen);
        break;
    case statePaused:
        drawQuit(screen);
        break;
    case stateCredits:
        drawCredits(screen);
        break;
    case stateOptions:
        drawOptionMenu(screen);
        break;
    case stateControls:
        drawControlMenu(screen);
        break;
    case stateGamepad:
        drawGamepadMenu(screen);
        break;
    case stateOverwrite:
        drawOverwrite(screen);
        break;
    default:
        break;
    }
    typo->print((std::string("v") + version).c_str(), 1, screen->height - 7, screen);
}

void Menu::drawMainMenu(Screen* s)
{
    static const char* const items[] = {"NEW GAME", "CONTINUE", "OPTIONS", "CREDITS", "QUIT"};
    int cx = s->width / 2;
    drawTile(logoTile, cx - tileWidth(logoTile) / 2, 1, s);
    for (int i = 0; i < 5; i++)
        typo->printCenter(items[i], cx, 101 + 9 * i, s);
    s->rect(cx - 40, 101 + 9 * selection - 2, 80, 10, white);
    if (*notice)
        typo->print2(notice, 16, 101 + 9 * 5 + 8, s->width - 32, 9, INT_MAX, white, s);
}

void Menu::backWithNotice(const char* message)
{
    boundedCopy(notice, sizeof notice, message);
    setGameState(stateMainMenu);
}

void Menu::drawSlotMenu(Screen* s)
{
    for (int i = 0; i < slotCount; i++) {
        int y = 13 * i;
        s->rectRounded(15, y + 15, 10, 10, white);
        char line[300];
        slotLine(slots[i], i, line, sizeof line);
        typo->print(line, 32, y + 17, s);
        const char* summary = std::strstr(line, slots[i].summary);
        if (slots[i].exists && summary)
            drawSlotIcons(line, int(summary - line), 32, y, s);
    }
    typo->print("back", 32, 110, s);
    if (selection < slotCount)
        typo->print(">", 5, 13 * selection + 17, s);
    else
        typo->print(">       <", 18, 110, s);
}

// Each number of the summary is followed by its icon: life, coins, diamonds,
// keys. The icons are placed after the numbers as the font prints them.
void Menu::drawSlotIcons(const char* line, int summaryStart, int x, int y, Screen* s)
{
    Tile* const icons[4] = {heartTile, coinTile, diamondTile, keyTile};
    static const int iconY[4] = {16, 17, 15, 17};
    char prefix[300];
    int icon = 0;
    for (int i = summaryStart; line[i] && icon < 4; i++) {
        bool endOfNumber = std::isdigit((unsigned char)line[i]) && !std::isdigit((unsigned char)line[i + 1]);
        if (!endOfNumber)
            continue;
        boundedCopy(prefix, std::min(int(sizeof prefix), i + 2), line);
        drawTile(icons[icon], x + typo->lineAdvance(prefix), y + iconY[icon], s);
        icon++;
    }
}

void Menu::drawQuit(Screen* s)
{
    int cx = s->width / 2, cy = s->height / 2;
    s->fillRect(0, 0, s->width, s->height, int(0x88000000));
    s->rectRounded(cx - 40, cy - 10, 80, 31, white);
    s->fillRect(cx - 39, cy - 9, 78, 29, int(0xCC000000));
    typo->printCenter("CONTINUE", cx, cy - 7, s);
    typo->printCenter("  QUIT  ", cx, cy + 3, s);
    typo->printCenter("OPTIONS", cx, cy + 13, s);
    typo->printCenter(">           <", cx, cy - 7 + 10 * selection, s);
}

void Menu::drawOverwrite(Screen* s)
{
    int cx = s->width / 2, cy = s->height / 2;
    char question[64];
    boundedFormat(question, sizeof question, "Overwrite slot %d?", chosenSlot + 1);
    typo->printCenter(question, cx, cy - 12, s);
    typo->printCenter("yes", cx - 25, cy, s);
    typo->printCenter("no", cx + 25, cy, s);
    typo->printCenter(">     <", selection == overwriteYes ? cx - 25 : cx + 25, cy, s);
}

void Menu::drawCredits(Screen* s)
{
    // The picture sits 32 px under the top of the block, and the lines of
    // what the game is built on follow 57 px under its top; the whole block
    // is centred so that its last line clears the version in the corner.
    const int lines = sizeof creditsBuiltOn / sizeof creditsBuiltOn[0];
    const int blockHeight = 32 + 57 + 10 * lines;
    int cx = s->width / 2;
    int y0 = (s->height - blockHeight) / 2 + 32;
    if (creditsTile)
        creditsTile->drawNoAlpha(0, cx - creditsTile->width / 2, y0, s);
    typo->printCenter((std::string("Gloamer ") + version).c_str(), cx, y0 - 32, s);
    typo->printCenter("A GAME BY", cx, y0 - 20, s);
    typo->printCenter(creditsMakers, cx, y0 + 42, s);
    int y = y0 + 57;
    for (const char* line : creditsBuiltOn) {
        typo->printCenter(line, cx, y, s);
        y += 10;
    }
}

void Menu::drawOptionMenu(Screen* s)
{
    static const char* const items[] = {"CONTROLS", "MUSIC VOLUME", "FX VOLUME"};
    int cx = s->width / 2;
    for (int i = 0; i < 3; i++)
        typo->print(items[i], cx - 100, 10 + 10 * i, s);
    char volume[16];
    boundedFormat(volume, sizeof volume, "%d%%", getMusicVolume());
    typo->print(volume, cx + 50, 20, s);
    boundedFormat(volume, sizeof volume, "%d%%", getFxVolume());
    typo->print(volume, cx + 50, 30, s);
    drawSettingItems(s);
    typo->printCenter("BACK", cx, 100, s);
    if (selection == optionsBack)
        typo->printCenter(">      <", cx - 1, 100, s);
    else
        typo->print(">", cx - 110, 10 + 10 * selection, s);
}

void Menu::drawControlMenu(Screen* s)
{
    int cx = s->width / 2;
    for (int i = 0; i < actionCount; i++) {
        int y = 10 + 10 * i;
        typo->print(actions[i].label, 10, y, s);
        if (i != pendingControl)
            typo->print(getControlName(actions[i].slot), cx, y, s);
        else if (blink < blinkPeriod / 2)
            typo->print("<press a key>", cx, y, s);
    }
    static const char* const buttons[] = {"save", "default", "cancel"};
    static const char* const chosen[] = {">save<", ">default<", ">cancel<"};
    for (int b = 0; b < 3; b++)
        typo->printCenter(selection == controlsSave + b ? chosen[b] : buttons[b], cx - 50 + 50 * b, 145, s);
    if (selection < actionCount)
        typo->print(">", 3, 10 * selection + 10, s);
}
