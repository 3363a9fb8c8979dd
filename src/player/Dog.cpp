#include "player/Dog.h"

#include "assets/TileList.h"

Dog::Dog(TileList* tiles)
{
    if (tiles)
        tile = tiles->findByName2("dog_idle.anm");
}
