#include "player/Dog.h"

#include "assets/Tile.h"
#include "assets/TileList.h"

Dog::Dog(TileList* tiles)
{
    if (tiles)
        tile = tiles->findByName2("dog_idle.anm");
}

void Dog::draw(int ox, int oy, Screen* s)
{
    if (tile)
        tile->draw(0, x + ox, y + oy, s);
}

void Dog::drawIcds(int ox, int oy, Screen* s)
{
    if (tile)
        tile->drawIcds(0, x + ox, y + oy, 0, s);
}
