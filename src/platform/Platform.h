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

// Microseconds of a steady clock, for waits that must end on time.
unsigned long long preciseTicks();

// Sleeps for about `milliseconds` (the system may wake it a little late).
void sleepMilliseconds(unsigned milliseconds);
// Sleeps for at least `microseconds`.
void sleepMicroseconds(unsigned long long microseconds);

// Frame pacing: returns once `frameTime` milliseconds of `clock` (in
// microseconds) have passed since `last`, then sets `last` to the clock's
// time. The wait sleeps up to the deadline, again if it woke early, so a
// waiting program leaves its core idle. A frame that is already late
// returns at once and is not made up. Tests give their own clock and sleep.
void waitForFrame(unsigned long long& last, int frameTime, unsigned long long (*clock)() = preciseTicks,
                  void (*sleep)(unsigned long long) = sleepMicroseconds);
