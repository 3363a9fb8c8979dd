#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

// What the gamepads hold, from SDL's joystick events: buttons 0 to 31 and
// four directions, from the hat (the d-pad) or the left stick. Every pad
// attached acts as one. Inputs are numbered: the buttons, then the
// directions; a set of inputs is a mask with bit i for input i.
constexpr int padButtonCount = 32;
enum PadDirection { PadLeft = padButtonCount, PadRight, PadUp, PadDown };
constexpr int padInputCount = PadDown + 1;

class Pad {
public:
    // Takes one joystick event; other events change nothing.
    void take(const SDL_Event& event);
    uint64_t held() const;
    // Releases everything (the run is over).
    void clear() { *this = Pad(); }

    // A stick nearer its centre than this, on an axis, leans nowhere on it.
    static constexpr int deadZone = 8000;

private:
    uint32_t buttons = 0;
    // SDL_HAT_* bits of the hat.
    int hat = 0;
    // -1, 0 or 1 on each axis of the left stick, after the dead zone.
    int stickX = 0;
    int stickY = 0;
};

// Replays name pad inputs "pad:N" (button N) and "pad:hat-left", "-right",
// "-up", "-down". Returns the input, or -1 for another name.
int padInputFromName(const char* name);
std::string padInputName(int input);
// The joystick event of a replayed input going down or up. `hat` holds the
// replay's hat bits, as a pad reports its hat as a whole.
SDL_Event padEvent(int input, bool down, int* hat);
