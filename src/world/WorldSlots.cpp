#include "world/World.h"

#include "base/BoundedString.h"
#include "level/Level.h"
#include "player/Player.h"

// The slot files: what is written on every door and after a death, and read
// on every continue and after every death. The formats themselves come with
// the save files; until then nothing is written and every read fails, which
// leaves the world as it was, as a missing slot does.

void World::saveStateBinary(char* path)
{
    saveStateBinary(path, level->name);
}

void World::saveStateBinary(char*, char*) {}

void World::saveState(char*) {}

int World::readStateBinary(char*, char*, int)
{
    return 0;
}

int World::readState(char*, char*, int)
{
    return 0;
}

void World::loadStateBinary(char* path, Typo* typo, Screen* screen)
{
    int respawnBefore = player->respawn;
    char levelPath[256] = "";
    if (!readStateBinary(path, levelPath, sizeof levelPath))
        return;
    applyDeathRule(levelPath, respawnBefore);
    enterStoredLevel(levelPath, true, typo, screen);
}

void World::loadState(char* path, Typo* typo, Screen* screen)
{
    char levelPath[256] = "";
    if (!readState(path, levelPath, sizeof levelPath))
        return;
    enterStoredLevel(levelPath, false, typo, screen);
}

void World::applyDeathRule(char* levelPath, int respawnBefore)
{
    if (!died)
        return;
    died = false;
    player->respawn = respawnBefore - 1;
    player->life = player->maxLife;
    if (player->respawn < 0) {
        // The last continue is spent: back to the checkpoint, with the
        // skulls taken since lying in their rooms again.
        boundedCopy(levelPath, 256, player->checkpointLevel);
        player->x = player->oldX = player->checkpointX;
        player->y = player->oldY = player->checkpointY;
        player->respawn = 3;
        player->removeSkulls();
    }
    // Stored under the room the player returns to, which need not be the
    // room he died in (a scene may have moved him without storing).
    saveStateBinary(slotFile, levelPath);
}

void World::enterStoredLevel(char* levelPath, bool lampAndMap, Typo* typo, Screen* screen)
{
    Level* next = readLevel(levelPath, typo, screen);
    if (!next)
        return;
    enterLevel(next);
    settleInLevel(levelPath, lampAndMap, screen);
}
