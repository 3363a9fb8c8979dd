#pragma once

#include <SDL.h>

class Screen;
class Typo;
class World;
class Menu;
class Session;
struct RUN_OPTIONS;

// The application frame: start-up, the per-frame update and draw, shutdown,
// and the table of held keys.

extern SDL_Surface* screen;
extern Screen* pixelScreen;
extern int keys[512];
extern Typo typo;
extern Typo typo2;
extern World world;
extern Menu menu;

void changeKeyState(int key, int state);
int keyState(int key);

// Start-up up to the main loop, full screen or in a window. Returns 0, or
// the exit code of a failure after it has been shown to the user (1: SDL or
// the game data, 2: video mode or audio mixer).
int startUp(bool window = false);
// Shows the game in full screen or in a window of the logical size times
// the largest scale that fits the desktop; the logical size stays. A mode
// the video driver refuses leaves the one shown. Returns the display
// surface, or null when no mode could be set.
SDL_Surface* showDisplayMode(bool fullScreen);
// Shows a start-up failure in a window of the game's own, for a player who
// started the game without a terminal and without a desktop dialog program:
// the message in the small font of the game folder (the title bar alone
// when that font is missing). Waits for a key, a click or the window's
// close, or waitMs milliseconds. Returns 0 when video cannot show a window.
int showErrorWindow(const char* title, const char* message, unsigned waitMs);
// Loads everything the game shows and plays. Returns 1, or 0 with a message
// naming the missing or damaged file.
int loadContent(char* message, int size);
// One frame's input and advance; returns 1 when the user asked to quit.
int update();
// Renders one frame and presents it.
void draw();
// Runs frames until a quit request.
void mainLoop();
// The game as the command line asks for it, after start-up: the menu, or a
// new game where --start says, then frames until a quit request or the
// number of frames asked for. `afterFrame`, when given, is called with the
// number of frames run after each one (the soak run watches memory with it).
// Returns the exit code: 0, or 2 when the replay or an output file is bad.
int runGame(const RUN_OPTIONS& options, void (*afterFrame)(int frame) = nullptr);
// The run's keys, trace and pictures; null when none is wanted.
extern Session* session;
// Stops what runs beside the main thread, closes the sounds and leaves the
// frame as before start-up, so that a later start-up begins a fresh game.
void shutDown();
