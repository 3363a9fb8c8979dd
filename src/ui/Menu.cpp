#include "ui/Menu.h"

#include "assets/Typo.h"
#include "render/Screen.h"

void Menu::init(Typo* font, TileList*)
{
    typo = font;
}

int Menu::input(SDL_Event event)
{
    return event.key.keysym.sym == SDLK_ESCAPE ? 1 : 0;
}

void Menu::update() {}

void Menu::draw(Screen* screen)
{
    if (!typo)
        return;
    typo->printCenter("GLOAMER", screen->width / 2, screen->height / 2 - 12, screen);
    typo->printCenter("Escape quits", screen->width / 2, screen->height / 2 + 4, screen);
}
