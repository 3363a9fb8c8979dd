#include "ui/Menu.h"

#include "assets/Typo.h"
#include "render/Screen.h"

void Menu::init(Typo* font, TileList*)
{
    typo = font;
}

void Menu::input(SDL_Event event)
{
    if (event.key.keysym.sym == SDLK_ESCAPE) {
        SDL_Event quit;
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

void Menu::update() {}

void Menu::draw(Screen* screen)
{
    if (!typo)
        return;
    typo->printCenter("GLOAMER", screen->width / 2, screen->height / 2 - 12, screen);
    typo->printCenter("Escape quits", screen->width / 2, screen->height / 2 + 4, screen);
}
