#include "ui/Menu.h"

void Menu::init(Typo*, TileList*) {}
void Menu::input(SDL_Event) {}
void Menu::update() {}
void Menu::draw(Screen*) {}
