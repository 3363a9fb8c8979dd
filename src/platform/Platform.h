#pragma once

// What the game needs from the desktop it runs on.

struct DesktopSize {
    int width;
    int height;
};

// The size of the primary screen in pixels, read before any video mode is
// set. Falls back to 1280 x 720 when the video driver reports no size.
DesktopSize desktopSize();

// Shows a start-up failure: the text on standard error, and a modal dialog
// titled `title` when a desktop dialog program and a display are available.
// Returns true when a dialog showed it.
bool showErrorBox(const char* title, const char* text);

// Hides the mouse cursor for the rest of the run.
void hideCursor();

// Milliseconds since the program started (wraps after about 49 days).
unsigned ticks();
