// The room's simulation and the operations through which the player and the
// cutscenes act on it. Empty until the level's simulation is built: the room
// stands still and acts on nothing.

#include "level/Level.h"

void Level::update(int) {}

void Level::createMessage(const char*, int, int) {}

void Level::terminateMessage() {}

bool Level::messageExist() const
{
    return false;
}

void Level::hideEntity(const char*) {}

void Level::setElementAnim(const char*, const char*, int, int, TileList*) {}

void Level::setElementPlay(const char*, float) {}

bool Level::getElementPosition(const char*, int*, int*) const
{
    return false;
}
