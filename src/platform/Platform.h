#pragma once

// What the game needs from the desktop it runs on.

struct DesktopSize {
    int width;
    int height;
};

// The size of the primary screen in pixels, read before any video mode is
// set. Falls back to 1280 x 720 when the video driver reports no size.
DesktopSize desktopSize();

// The display pixels per logical pixel of a window showing a picture of
// logicalWidth x logicalHeight: the largest whole scale whose window is
// smaller than the desktop on both sides, leaving room for the window's
// frame and the desktop's panels; at least 1.
int windowScale(int logicalWidth, int logicalHeight, DesktopSize desktop);

// Shows a start-up failure: the text on standard error, and a modal dialog
// titled `title` when a desktop dialog program and a display are available.
// Returns true when a dialog showed it.
bool showErrorBox(const char* title, const char* text);

// Hides the mouse cursor for the rest of the run.
void hideCursor();

// Milliseconds since the program started (wraps after about 49 days).
unsigned ticks();

// Sleeps for about `milliseconds` (the system may wake it a little late).
void sleepMilliseconds(unsigned milliseconds);

// Frame pacing: returns once `frameTime` milliseconds of `clock` have passed
// since `last`, then sets `last` to the clock's time. A frame that is already
// late returns at once and is not made up. The wait sleeps until
// `frameSpinMargin` milliseconds before the deadline, since a sleep may wake
// late, and yields the core for the rest, so a waiting program keeps its
// core almost idle without starting a frame late. Tests give their own
// clock and sleep.
const unsigned frameSpinMargin = 2;
void waitForFrame(unsigned& last, int frameTime, unsigned (*clock)() = ticks,
                  void (*sleep)(unsigned) = sleepMilliseconds);
