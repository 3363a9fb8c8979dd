#include "app/Frame.h"

#include "app/RunOptions.h"
#include "app/Session.h"
#include "base/BoundedString.h"
#include "base/Log.h"
#include "map/Map.h"
#include "assets/Typo.h"
#include "audio/Control.h"
#include "audio/Sound.h"
#include "platform/Platform.h"
#include "render/Screen.h"
#include "ui/Hud.h"
#include "ui/Menu.h"
#include "ui/Text.h"
#include "world/World.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <new>
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
const int escapeKey = 27;
// The slot of a game started without the menu.
const char* const firstSlot = "./Save/slot0.sav";
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

// How long the error window waits for the player.
const unsigned errorWindowWait = 60000;

int fail(int exitCode, const char* message)
{
    if (!showErrorBox("Error", message))
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

// The pause menu over a game being played, unless a death is under way.
void openPauseMenu()
{
    if (menu.getGameState() != Menu::statePlaying || world.gameOver.stage != 0)
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
    openPauseMenu();
}

bool focusLost(const SDL_Event& event)
{
    return event.type == SDL_ACTIVEEVENT && event.active.gain == 0 &&
           (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0;
}

// Returns 1 when the key asked to quit the program.
int handleKeyDown(const SDL_Event& event)
{
    int symbol = event.key.keysym.sym;
    changeKeyState(symbol, 1);
    int quit = 0;
    if (menu.getGameState() == Menu::statePlaying) {
        world.input1(event, &typo, pixelScreen);
        if (symbol == escapeKey)
            openPauseMenu();
    } else {
        quit = menu.input(event);
    }
    // Any key during a death sequence restarts from the slot's stored state.
    if (world.gameOver.stage >= 1) {
        world.gameOver.stage = 0;
        world.gameOver.luminance = 1.0f;
        world.pause(false);
        world.loadStateBinary(world.slotFile, &typo, pixelScreen);
    }
    return quit;
}

void handleStartRequest()
{
    switch (menu.getStartGame()) {
    case Menu::startNewGame:
        menu.setStartGame(Menu::startNone);
        stopMenuMusic();
        world.init(&typo, pixelScreen, menu.getSlotName());
        break;
    case Menu::startContinue:
        menu.setStartGame(Menu::startNone);
        stopMenuMusic();
        world.initContinue(&typo, pixelScreen, menu.getSlotName());
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

// A font the game cannot print with is a start-up failure naming the file.
int loadFont(Typo* font, const char* file, char* message, int size)
{
    if (font->load(file))
        return 1;
    char folder[256];
    boundedFormat(message, size, "Cannot read the font %s in %s: it is missing or damaged.\n"
                  "Reinstall the game, or rebuild its data with make.\n",
                  file, getcwd(folder, sizeof folder) ? folder : ".");
    return 0;
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
    mapSetTypo(nullptr, nullptr);
    fastFrames = 0;
    Text::clock = ticks;
}

} // namespace

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
    DesktopSize desktop = desktopSize();
    createLog("log.txt");
    char message[512];
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) < 0) {
        boundedFormat(message, sizeof message, "Couldn't initialize SDL: %s\n", SDL_GetError());
        return fail(1, message);
    }
    std::atexit(SDL_Quit);
    pixelScreen = new Screen(desktop.width / logicalScale, desktop.height / logicalScale, logicalScale);
    if (window)
        screen = SDL_SetVideoMode(pixelScreen->width * logicalScale, pixelScreen->height * logicalScale, 32,
                                  SDL_DOUBLEBUF);
    else
        screen = SDL_SetVideoMode(desktop.width, desktop.height, 32, SDL_FULLSCREEN | SDL_DOUBLEBUF);
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
    world.loadContent();
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
    }
    handleStartRequest();
    if (menu.getGameState() == Menu::statePlaying) {
        world.input2(keys, &typo, pixelScreen);
        if (world.gameOver.stage == 7) {
            if (session)
                session->gameFinished();
            menu.setGameState(Menu::stateCredits);
            world.gameOver.stage = 0;
            world.pause(false);
        } else {
            world.update(pixelScreen);
        }
    } else {
        menu.update();
        if (menu.inFrontEnd())
            playMenuMusic();
    }
    world.sync();
    return 0;
}

void draw()
{
    pixelScreen->clear(int(0xFF000000));
    int state = menu.getGameState();
    if (state == Menu::statePlaying || state == Menu::statePaused)
        world.draw(pixelScreen);
    if (state != Menu::statePlaying)
        menu.draw(pixelScreen);
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
        world.lightOnMainThread = !options.fastKeepsWorker;
        world.clock = fastTicks;
        Text::clock = fastTicks;
        std::srand(fastSeed);
    }
    if (options.start) {
        boundedCopy(world.slotFile, sizeof world.slotFile, firstSlot);
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
    world.stopLighting();
    closeSounds();
    forgetTheRun();
}
