// What the player keeps between visits: the memory of each room he left and
// the one-time objects he took.

#include "player/Player.h"

void Player::addMemorySave(Level*) {}

void Player::deleteMemorySave(int index)
{
    if (index < 0 || index >= nMemorySave)
        return;
    MEMORY_SAVE* m = memorySaves[index];
    delete[] m->quality;
    delete[] m->glow;
    delete m;
    memorySaves.erase(memorySaves.begin() + index);
    nMemorySave--;
}

void Player::clearMemories()
{
    while (nMemorySave > 0)
        deleteMemorySave(nMemorySave - 1);
}

void Player::clearObjects()
{
    for (OBJECT* o : objects)
        delete o;
    objects.clear();
    nObjects = 0;
}

void Player::setMemory(Level*) {}

void Player::deleteObjectsInLevel(Level*) {}

void Player::setMapObjsGet() {}

void Player::removeSkulls() {}

void Player::setTouchMemory(Level*) {}
