#include "app/Frame.h"

#include "app/Pad.h"
#include "app/RunOptions.h"
#include "app/Session.h"
#include "base/BoundedString.h"
#include "base/LevelPath.h"
#include "base/Log.h"
#include "map/Map.h"
#include "assets/Typo.h"
#include "audio/Control.h"
#include "audio/Sound.h"
#include "platform/Joystick.h"
#include "platform/Platform.h"
#include "render/Screen.h"
#include "save/Settings.h"
#include "save/SlotFile.h"
#include "ui/Hud.h"
#include "ui/Menu.h"
#include "level/Text.h"
#include "world/World.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <vector>
#include <unistd.h>

SDL_Surface* screen = nullptr;
Screen* pixelScreen = nullptr;
int keys[512];
// Built before start-up, in this order.
Typo typo;
Typo typo2;
World world;
Menu menu;
Session* session = nullptr;

namespace {

const int logicalScale = 4;
const int fullScreenKey = SDLK_F11;

// Every gamepad, as one.
Pad pad;
// The menu's game state at the end of the last frame.
int lastState = Menu::stateMainMenu;

// The desktop measured at start-up, and the display mode shown.
DesktopSize desktop = {0, 0};
bool shownFullScreen = true;
// The slot a run from the command line stores its games in, whichever slot
// its menu picks; empty in a person's run.
char commandLineSlot[256] = "";
// The seed of every --fast run, so that its random choices repeat.
const unsigned fastSeed = 1;

// Under --fast, scenes and messages are timed in frames of 33 ms, so that a
// replay waits the same number of frames on every machine.
unsigned fastFrames = 0;
unsigned fastTicks()
{
    return fastFrames * 33u;
}

// Under --fast, the room is lit and the screen drawn only every few frames
// and on the frames of pictures: nothing the game decides reads the light
// or the picture, so the trace stays the same, and a replay runs about
// three times as fast. The lit cells mark what the player has seen, a little
// less often, which the map shows.
const unsigned fastLookEvery = 16;
// Under --fast, a slot is waited for this many frames (half a second of game
// time) after the door that stored it: the writer stores it beside the game
// meanwhile, and a failure is told on the same frame every run.
const int fastSlotWaitFrames = 15;

// The world paused under the menu does not change: it is drawn once, and
// the following paused frames show that picture again, so that a paused
// game leaves the machine idle. Null until the first pause.
Screen* pausedWorld = nullptr;
bool pausedWorldDrawn = false;

void drawPausedWorld()
{
    const std::size_t size = std::size_t(pixelScreen->width) * std::size_t(pixelScreen->height);
    if (!pausedWorld || pausedWorld->width != pixelScreen->width || pausedWorld->height != pixelScreen->height) {
        delete pausedWorld;
        pausedWorld = new Screen(pixelScreen->width, pixelScreen->height, 1);
        pausedWorldDrawn = false;
    }
    if (!pausedWorldDrawn) {
        world.draw(pixelScreen);
        std::copy(pixelScreen->pixels, pixelScreen->pixels + size, pausedWorld->pixels);
        pausedWorldDrawn = true;
    } else {
        std::copy(pausedWorld->pixels, pausedWorld->pixels + size, pixelScreen->pixels);
    }
}

// Longer than any write: the box stays until the slot is stored.
const int savingBoxSeconds = 600;

// How long the error window waits for the player.
const unsigned errorWindowWait = 60000;

// Whether a window of the game's own would be seen: SDL's dummy video
// driver (a run without a display) shows nothing, so nobody could close it.
bool windowsAreSeen()
{
    char driver[32] = "";
    bool up = SDL_WasInit(SDL_INIT_VIDEO) || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    return up && SDL_VideoDriverName(driver, sizeof driver) && std::strcmp(driver, "dummy") != 0;
}

// The message goes to standard error, and to the desktop's dialog or a
// window of the game's own where someone can see it.
int fail(int exitCode, const char* message)
{
    if (!showErrorBox("Error", message) && windowsAreSeen())
        showErrorWindow("Error", message, errorWindowWait);
    return exitCode;
}

bool dismissed()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_QUIT)
            return true;
    return false;
}

// Waits for the slot the writer is storing, before a slot is read or the
// game is left. A wait longer than a frame shows the game's message box over
// the last picture, so that the player knows why the game stands still.
void waitForSaving()
{
    if (world.slots.finishWithin(world.frameTime))
        return;
    const int* shown = pixelScreen->pixels;
    const std::vector<int> picture(shown, shown + std::size_t(pixelScreen->width) * std::size_t(pixelScreen->height));
    Text box;
    box.init(&typo, pixelScreen);
    box.create("Saving the game...", savingBoxSeconds, int(0xFFFFFFFFu));
    do {
        std::copy(picture.begin(), picture.end(), pixelScreen->pixels);
        box.update();
        box.draw();
        pixelScreen->draw(screen);
        pixelScreen->flip(screen);
    } while (!world.slots.finishWithin(world.frameTime));
    std::copy(picture.begin(), picture.end(), pixelScreen->pixels);
}

// The pause menu over a game being played, unless a death is under way.
void openPauseMenu()
{
    if (menu.getGameState() != Menu::statePlaying || world.gameOver.stage != World::StageNone)
        return;
    pauseAllSounds();
    menu.setGameState(Menu::statePaused);
    world.pause(true);
}

// The keys held when the window lost the focus are released where the
// game cannot see it: none is held any more, and a game pauses.
void loseFocus()
{
    std::fill(std::begin(keys), std::end(keys), 0);
    pad.clear();
    openPauseMenu();
}

bool focusLost(const SDL_Event& event)
{
    return event.type == SDL_ACTIVEEVENT && event.active.gain == 0 &&
           (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0;
}

// The display surface of a mode: the desktop's size in full screen, else a
// window of the logical size times `scale`.
SDL_Surface* setVideoMode(bool fullScreen, int scale)
{
    if (fullScreen)
        return SDL_SetVideoMode(desktop.width, desktop.height, 32, SDL_FULLSCREEN | SDL_DOUBLEBUF);
    return SDL_SetVideoMode(pixelScreen->width * scale, pixelScreen->height * scale, 32, SDL_DOUBLEBUF);
}

bool asksForAnotherDisplayMode(int symbol)
{
    bool alt = keyState(SDLK_LALT) || keyState(SDLK_RALT);
    return symbol == fullScreenKey || (symbol == SDLK_RETURN && alt);
}

// A key pressed on the keyboard or standing for a pad input, for the world
// or the menu. Returns 1 when it asked to quit the program.
int routeKey(const SDL_Event& event)
{
    int symbol = event.key.keysym.sym;
    int quit = 0;
    if (menu.getGameState() == Menu::statePlaying) {
        world.input1(event, &typo, pixelScreen);
        if (symbol == SDLK_ESCAPE)
            openPauseMenu();
    } else {
        quit = menu.input(event);
    }
    // Any key during a death sequence restarts from the slot's stored state.
    if (world.gameOver.stage != World::StageNone) {
        world.gameOver.stage = World::StageNone;
        world.gameOver.luminance = 1.0f;
        world.pause(false);
        waitForSaving();
        if (!world.loadStateBinary(world.slotFile, &typo, pixelScreen))
            menu.backWithNotice(world.failure);
    }
    return quit;
}

// Returns 1 when the key asked to quit the program.
int handleKeyDown(const SDL_Event& event)
{
    int symbol = event.key.keysym.sym;
    changeKeyState(symbol, 1);
    // The display mode is the frame's own: the key goes nowhere else.
    if (asksForAnotherDisplayMode(symbol)) {
        settings.fullScreen = !settings.fullScreen;
        saveSettings(settingsFile, settings);
        return 0;
    }
    return routeKey(event);
}

// The key slot each pad action stands for in a game; pause is Escape.
const int padActionSlots[padActionCount] = {controlJump, controlAction, controlReveal, controlThrowCoin,
                                            controlShowMap, SDLK_ESCAPE};
const int arrowKeys[4] = {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN};
const int directionSlots[4] = {controlLeft, controlRight, controlUp, controlDown};

// The key a pad input stands for in a game: the key bound to its action.
int padKeyInGame(int input)
{
    if (input >= PadLeft)
        return getControl(directionSlots[input - PadLeft]);
    for (int action = 0; action < padActionCount; action++)
        if (settings.padButton[action] == input)
            return action == PadPause ? SDLK_ESCAPE : getControl(padActionSlots[action]);
    return 0;
}

// The key a pad input stands for in the menus: the directions are the
// arrows, jump and pause choose (Return), action goes back (Escape).
int padKeyInMenu(int input)
{
    if (input >= PadLeft)
        return arrowKeys[input - PadLeft];
    if (input == settings.padButton[PadJump] || input == settings.padButton[PadPause])
        return SDLK_RETURN;
    return input == settings.padButton[PadAct] ? SDLK_ESCAPE : 0;
}

// The keys held on the keyboard and those the pad's held inputs stand for.
void heldKeys(int* held)
{
    std::copy(std::begin(keys), std::end(keys), held);
    uint64_t inputs = pad.held();
    for (int input = 0; input < padInputCount; input++)
        if (inputs >> input & 1) {
            int key = padKeyInGame(input);
            if (key > 0 && key < 512)
                held[key] = 1;
        }
}

// A joystick event: each input it presses acts as a key press. Returns 1
// when one asked to quit the program.
int handlePadEvent(const SDL_Event& event)
{
    uint64_t before = pad.held();
    pad.take(event);
    uint64_t after = pad.held();
    for (int input = 0; input < padInputCount; input++) {
        bool was = before >> input & 1, is = after >> input & 1;
        if (was != is && session)
            session->seePad(input, is);
        if (was || !is)
            continue;
        bool playing = menu.getGameState() == Menu::statePlaying;
        if (!playing && input < padButtonCount && menu.padButton(input))
            continue;
        int key = playing ? padKeyInGame(input) : padKeyInMenu(input);
        if (!key)
            continue;
        SDL_Event press;
        std::memset(&press, 0, sizeof press);
        press.type = SDL_KEYDOWN;
        press.key.keysym.sym = SDLKey(key);
        if (routeKey(press))
            return 1;
    }
    return 0;
}

// A pad plugged in while the game ran is found when the player comes back
// to the main menu.
void lookForPadsInTheMainMenu()
{
    int state = menu.getGameState();
    if (state == Menu::stateMainMenu && lastState != Menu::stateMainMenu) {
        findJoysticks();
        pad.clear();
    }
    lastState = state;
}

char* requestedSlot()
{
    return *commandLineSlot ? commandLineSlot : menu.getSlotName();
}

void handleStartRequest()
{
    // A game begun, continued or left: the slot being written is complete first.
    if (menu.getStartGame() != Menu::startNone && menu.getStartGame() != Menu::startResume)
        waitForSaving();
    switch (menu.getStartGame()) {
    case Menu::startNewGame:
        menu.setStartGame(Menu::startNone);
        stopMenuMusic();
        if (!world.init(&typo, pixelScreen, requestedSlot()))
            menu.backWithNotice(world.failure);
        break;
    case Menu::startContinue:
        menu.setStartGame(Menu::startNone);
        stopMenuMusic();
        if (!world.initContinue(&typo, pixelScreen, requestedSlot()))
            menu.backWithNotice(world.failure);
        break;
    case Menu::startResume:
    case Menu::startLeavePaused:
        menu.setStartGame(Menu::startNone);
        world.pause(false);
        break;
    default:
        break;
    }
}

// A file the game cannot run without is a start-up failure naming it.
int missingData(const char* what, const char* file, char* message, int size)
{
    char folder[256];
    boundedFormat(message, size, "Cannot read %s %s in %s: it is missing or damaged.\n"
                  "Reinstall the game, or rebuild its data with make.\n",
                  what, file, getcwd(folder, sizeof folder) ? folder : ".");
    return 0;
}

int loadFont(Typo* font, const char* file, char* message, int size)
{
    return font->load(file) || missingData("the font", file, message, size);
}

// Every new game begins from the start slot: it must read, and its room exist.
int checkBeginSlot(const char* file, char* message, int size)
{
    SAVE_STATE state;
    if (readSlot(file, state) == SlotStatus::good && levelFileExists(state.level))
        return 1;
    return missingData("the start of a new game", file, message, size);
}

// Destroys one of the frame's objects and builds it again as the program
// first built it.
template <class T>
void rebuild(T* object)
{
    object->~T();
    new (object) T();
}

// Leaves nothing of a run in the frame: the world, the menu, the held keys,
// the key bindings, the map's fonts and the clocks are as before the first
// start-up, so that a later start-up in the same process begins a fresh game.
void forgetTheRun()
{
    rebuild(&world);
    rebuild(&menu);
    std::fill(std::begin(keys), std::end(keys), 0);
    loadDefaultControls();
    settings = SETTINGS();
    shownFullScreen = true;
    pad.clear();
    lastState = Menu::stateMainMenu;
    mapSetTypo(nullptr, nullptr);
    fastFrames = 0;
    Text::clock = ticks;
    pausedWorldDrawn = false;
    commandLineSlot[0] = '\0';
}

} // namespace

SDL_Surface* showDisplayMode(bool fullScreen)
{
    int scale = fullScreen ? logicalScale : windowScale(pixelScreen->width, pixelScreen->height, desktop);
    SDL_Surface* shown = setVideoMode(fullScreen, scale);
    if (!shown && screen) {
        // The mode is refused: back to the one shown before.
        fullScreen = shownFullScreen;
        scale = pixelScreen->scale;
        shown = setVideoMode(fullScreen, scale);
    }
    if (!shown)
        return nullptr;
    screen = shown;
    shownFullScreen = fullScreen;
    settings.fullScreen = fullScreen;
    pixelScreen->setScale(scale);
    return shown;
}

void changeKeyState(int key, int state)
{
    if (key >= 0 && key <= 511)
        keys[key] = state;
}

int keyState(int key)
{
    return key >= 0 && key <= 511 ? keys[key] : 0;
}

int startUp(bool window)
{
    desktop = desktopSize();
    createLog("log.txt");
    char message[512];
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) < 0) {
        boundedFormat(message, sizeof message, "Couldn't initialize SDL: %s\n", SDL_GetError());
        return fail(1, message);
    }
    std::atexit(SDL_Quit);
    findJoysticks();
    pixelScreen = new Screen(desktop.width / logicalScale, desktop.height / logicalScale, logicalScale);
    loadSettings(settingsFile, &settings);
    if (window) {
        // The window of --window is this run's choice, at four times.
        screen = setVideoMode(false, logicalScale);
        settings.fullScreen = shownFullScreen = false;
    } else {
        screen = showDisplayMode(settings.fullScreen);
    }
    if (!screen) {
        boundedFormat(message, sizeof message, "Couldn't set %dx%dx%d video mode: %s\n",
                      pixelScreen->width * logicalScale, pixelScreen->height * logicalScale, 32, SDL_GetError());
        return fail(2, message);
    }
    SDL_WM_SetCaption("Gloamer", nullptr);
    if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024) < 0) {
        boundedFormat(message, sizeof message, "%s\n", SDL_GetError());
        return fail(2, message);
    }
    if (!loadContent(message, sizeof message))
        return fail(1, message);
    hideCursor();
    return 0;
}

int showErrorWindow(const char* title, const char* message, unsigned waitMs)
{
    const int width = 200, height = 60, scale = 3, margin = 6;
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return 0;
    SDL_Surface* window = SDL_SetVideoMode(width * scale, height * scale, 32, 0);
    if (!window)
        return 0;
    SDL_WM_SetCaption(title, nullptr);
    Typo font;
    font.load("typo_small.dat");
    Screen box(width, height, scale);
    box.clear(int(0xFF000000u));
    font.print2(message, margin, margin, width - 2 * margin, 8, INT_MAX, int(0xFFFFFFFFu), &box);
    font.printCenter("Press a key to close", width / 2, height - margin - 6, &box);
    box.draw(window);
    SDL_Flip(window);
    unsigned start = SDL_GetTicks();
    while (SDL_GetTicks() - start < waitMs && !dismissed())
        SDL_Delay(20);
    return 1;
}

int loadContent(char* message, int size)
{
    initSounds();
    if (!loadFont(&typo, "typo.dat", message, size) || !loadFont(&typo2, "typo_small.dat", message, size))
        return 0;
    mapSetTypo(&typo, &typo2);
    initControlNames();
    loadControls("control.ini");
    if (!world.loadContent())
        return missingData("the character sheet", "character.dat", message, size);
    if (!checkBeginSlot(world.beginFile, message, size))
        return 0;
    world.hud->setTypo(&typo);
    world.setFps(30.0f);
    world.initLayer(pixelScreen);
    menu.init(&typo, world.tiles);
    return 1;
}

int update()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (session && (event.type == SDL_KEYUP || event.type == SDL_KEYDOWN))
            session->seeKey(event);
        if (event.type == SDL_KEYUP)
            changeKeyState(event.key.keysym.sym, 0);
        else if (event.type == SDL_QUIT)
            return 1;
        else if (event.type == SDL_VIDEOEXPOSE)
            pixelScreen->flipWholeNext();
        else if (focusLost(event))
            loseFocus();
        else if (event.type == SDL_KEYDOWN && handleKeyDown(event))
            return 1;
        else if (handlePadEvent(event))
            return 1;
    }
    // The menu or the keys may have asked for the other display mode.
    if (settings.fullScreen != shownFullScreen)
        showDisplayMode(settings.fullScreen);
    handleStartRequest();
    if (menu.getGameState() == Menu::statePlaying) {
        int held[512];
        heldKeys(held);
        world.input2(held, &typo, pixelScreen);
        if (world.gameOver.stage == World::StageFinished) {
            if (session)
                session->gameFinished();
            menu.setGameState(Menu::stateCredits);
            world.gameOver.stage = World::StageNone;
            world.pause(false);
        } else {
            world.update(pixelScreen);
        }
    } else {
        menu.update();
        if (menu.inFrontEnd())
            playMenuMusic();
    }
    lookForPadsInTheMainMenu();
    // A frame the world is not paused in may change it.
    if (menu.getGameState() != Menu::statePaused)
        pausedWorldDrawn = false;
    world.sync();
    return 0;
}

void draw()
{
    pixelScreen->clear(int(0xFF000000));
    int state = menu.getGameState();
    if (state == Menu::statePaused)
        drawPausedWorld();
    if (state == Menu::statePlaying)
        world.draw(pixelScreen);
    if (state != Menu::statePlaying)
        menu.draw(pixelScreen);
    pixelScreen->setBrightness(settings.brightness);
    pixelScreen->draw(screen);
    pixelScreen->flip(screen);
}

void mainLoop()
{
    int quit = 0;
    while (!quit) {
        quit = update();
        draw();
    }
}

int runGame(const RUN_OPTIONS& options, void (*afterFrame)(int frame))
{
    Session run;
    if (!run.open(options)) {
        std::fprintf(stderr, "gloamer: %s\n", run.error);
        return 2;
    }
    if (options.fast) {
        world.pacing = false;
        world.slotWaitFrames = options.fastWaitsForSlots ? fastSlotWaitFrames : -1;
        world.lightOnMainThread = !options.fastKeepsWorker;
        world.clock = fastTicks;
        Text::clock = fastTicks;
        std::srand(fastSeed);
    }
    if (options.brightnessGiven)
        settings.brightness = options.brightness;
    runSlot(options, commandLineSlot, sizeof commandLineSlot);
    if (options.start) {
        boundedCopy(world.slotFile, sizeof world.slotFile, commandLineSlot);
        world.startAt(options.startLevel, options.startX, options.startY, &typo, pixelScreen);
        menu.setGameState(Menu::statePlaying);
    }
    session = &run;
    int quit = 0;
    while (!quit && !run.finished()) {
        run.beginFrame();
        bool look = !options.fast || fastFrames % fastLookEvery == 0 || run.shotDue();
        world.lightThisFrame = look;
        quit = update();
        if (look)
            draw();
        run.endFrame(world, *pixelScreen);
        fastFrames++;
        if (afterFrame)
            afterFrame(run.frame);
    }
    session = nullptr;
    if (!run.close()) {
        std::fprintf(stderr, "gloamer: the trace, the record or a picture could not be written\n");
        return 2;
    }
    return 0;
}

void shutDown()
{
    waitForSaving();
    world.stopLighting();
    closeSounds();
    forgetTheRun();
}
