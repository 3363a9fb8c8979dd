#include "platform/Joystick.h"

#include <SDL.h>

#include <vector>

namespace {

std::vector<SDL_Joystick*> opened;

} // namespace

int findJoysticks()
{
    for (SDL_Joystick* joystick : opened)
        SDL_JoystickClose(joystick);
    opened.clear();
    if (SDL_WasInit(SDL_INIT_JOYSTICK))
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        return 0;
    for (int i = 0; i < SDL_NumJoysticks(); i++)
        if (SDL_Joystick* joystick = SDL_JoystickOpen(i))
            opened.push_back(joystick);
    SDL_JoystickEventState(SDL_ENABLE);
    return int(opened.size());
}
