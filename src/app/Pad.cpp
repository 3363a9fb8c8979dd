#include "app/Pad.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* const prefix = "pad:";
const char* const directionNames[] = {"hat-left", "hat-right", "hat-up", "hat-down"};
const int hatBits[] = {SDL_HAT_LEFT, SDL_HAT_RIGHT, SDL_HAT_UP, SDL_HAT_DOWN};
const int leftStickX = 0;
const int leftStickY = 1;

int lean(int value)
{
    if (value <= -Pad::deadZone)
        return -1;
    return value >= Pad::deadZone ? 1 : 0;
}

uint64_t bit(int input)
{
    return uint64_t(1) << input;
}

} // namespace

void Pad::take(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (event.jbutton.button < padButtonCount) {
            uint32_t mask = uint32_t(1) << event.jbutton.button;
            buttons = event.type == SDL_JOYBUTTONDOWN ? buttons | mask : buttons & ~mask;
        }
        break;
    case SDL_JOYHATMOTION:
        if (event.jhat.hat == 0)
            hat = event.jhat.value;
        break;
    case SDL_JOYAXISMOTION:
        if (event.jaxis.axis == leftStickX)
            stickX = lean(event.jaxis.value);
        else if (event.jaxis.axis == leftStickY)
            stickY = lean(event.jaxis.value);
        break;
    default:
        break;
    }
}

uint64_t Pad::held() const
{
    uint64_t inputs = buttons;
    for (int d = 0; d < 4; d++)
        if (hat & hatBits[d])
            inputs |= bit(PadLeft + d);
    if (stickX < 0)
        inputs |= bit(PadLeft);
    if (stickX > 0)
        inputs |= bit(PadRight);
    if (stickY < 0)
        inputs |= bit(PadUp);
    if (stickY > 0)
        inputs |= bit(PadDown);
    return inputs;
}

int padInputFromName(const char* name)
{
    std::size_t length = std::strlen(prefix);
    if (std::strncmp(name, prefix, length) != 0)
        return -1;
    name += length;
    for (int d = 0; d < 4; d++)
        if (std::strcmp(name, directionNames[d]) == 0)
            return PadLeft + d;
    char* end = nullptr;
    long button = std::strtol(name, &end, 10);
    bool number = *name >= '0' && *name <= '9' && *end == '\0';
    return number && button < padButtonCount ? int(button) : -1;
}

std::string padInputName(int input)
{
    if (input >= PadLeft && input < padInputCount)
        return std::string(prefix) + directionNames[input - PadLeft];
    return prefix + std::to_string(input);
}

SDL_Event padEvent(int input, bool down, int* hat)
{
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    if (input < padButtonCount) {
        event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
        event.jbutton.button = Uint8(input);
        event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
        return event;
    }
    int hatBit = hatBits[input - PadLeft];
    *hat = down ? *hat | hatBit : *hat & ~hatBit;
    event.type = SDL_JOYHATMOTION;
    event.jhat.value = Uint8(*hat);
    return event;
}
