#include "ui/Menu.h"

#include "assets/Typo.h"
#include "render/Screen.h"

void Menu::init(Typo* font, TileList*)
{
    typo = font;
}

int Menu::input(SDL_Event event)
{
    if (event.key.keysym.sym == SDLK_ESCAPE)
        return 1;
    // Over a paused game, any other key goes back to it.
    if (gameState == statePaused) {
        gameState = statePlaying;
        startGame = startResume;
    }
    return 0;
}

void Menu::update() {}

void Menu::draw(Screen* screen)
{
    if (!typo)
        return;
    typo->printCenter("GLOAMER", screen->width / 2, screen->height / 2 - 12, screen);
    const char* help = gameState == statePaused ? "Escape quits, any other key plays on" : "Escape quits";
    typo->printCenter(help, screen->width / 2, screen->height / 2 + 4, screen);
}
