#include "world/World.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "level/Level.h"
#include "map/Map.h"
#include "player/Player.h"
#include "save/SlotFile.h"

#include <algorithm>
#include <utility>
#include <string>

// The slot files: written on every door and after a death, read on every
// continue and after every death. The player's state goes through a
// SAVE_STATE record, which the save files encode.

namespace {

void storePlayer(const Player& p, SAVE_STATE& s)
{
    s.x = p.x;
    s.y = p.y;
    s.oldX = p.oldX;
    s.oldY = p.oldY;
    s.way = p.way;
    s.torch = p.torch;
    s.moving = p.moving;
    s.run = p.run;
    s.crawl = p.crawl;
    s.jumping = p.jumping;
    s.jumpReleased = p.jumpReleased;
    s.onLadder = p.onLadder;
    s.visible = p.visible;
    s.currentTorch = p.getCurrentTorch();
    s.dy = p.dy;
    s.life = p.life;
    s.maxLife = p.maxLife;
    s.respawn = p.respawn;
    s.hitted = p.hitted;
    s.coin = p.coin;
    s.diamond = p.diamond;
    s.checkpointX = p.checkpointX;
    s.checkpointY = p.checkpointY;
    boundedCopy(s.checkpointLevel, sizeof s.checkpointLevel, p.checkpointLevel);
    p.storeMemoriesAndObjects(s);
}

// The fields both slot forms hold.
void enterCommonFields(const SAVE_STATE& s, Player& p)
{
    p.x = s.x;
    p.y = s.y;
    p.oldX = s.oldX;
    p.oldY = s.oldY;
    p.way = s.way;
    p.torch = s.torch;
    p.moving = s.moving;
    p.crawl = s.crawl;
    p.jumping = s.jumping;
    p.setCurrentTorch(s.currentTorch);
    p.dy = s.dy;
    p.life = s.life;
    p.maxLife = s.maxLife;
    p.respawn = s.respawn;
    p.hitted = s.hitted;
    p.coin = s.coin;
    p.diamond = s.diamond;
}

void enterBinaryState(const SAVE_STATE& s, Player& p)
{
    enterCommonFields(s, p);
    // Replaces the objects and memories, counting keys and marking the map.
    p.restoreMemoriesAndObjects(s);
    p.run = s.run;
    p.jumpReleased = s.jumpReleased;
    p.onLadder = s.onLadder;
    p.visible = s.visible;
    p.checkpointX = s.checkpointX;
    p.checkpointY = s.checkpointY;
    boundedCopy(p.checkpointLevel, sizeof p.checkpointLevel, s.checkpointLevel);
}

} // namespace

void World::saveStateBinary(char* path)
{
    saveStateBinary(path, level->name);
}

void World::saveStateBinary(char* path, char* levelName)
{
    if (!*path)
        return;
    SAVE_STATE state;
    storePlayer(*player, state);
    slots.store(path, std::move(state), levelName);
    if (storeAtOnce) {
        slots.finish();
        noticeFailedSave();
    }
}

void World::noticeFailedSave()
{
    std::string failure = slots.takeFailure();
    if (!failure.empty())
        tellPlayer(("The game could not be saved: " + failure + ".").c_str());
}

void World::tellPlayer(const char* message)
{
    reportProblem("%s\n", message);
    boundedCopy(notice, sizeof notice, message);
}

void World::showNotice()
{
    if (!*notice || !level->map)
        return;
    level->createMessage(notice, noticeSeconds, int(0xFFFFFFFFu));
    *notice = '\0';
}

void World::saveState(char* path)
{
    SAVE_STATE state;
    storePlayer(*player, state);
    boundedCopy(state.level, sizeof state.level, level->name);
    writeSlotText(path, state);
}

int World::readStateBinary(char* path, char* levelPath, int size)
{
    slots.finish();
    SAVE_STATE state;
    if (readSlot(path, state) != SlotStatus::good)
        return 0;
    enterBinaryState(state, *player);
    boundedCopy(levelPath, std::size_t(size), state.level);
    return 1;
}

int World::readState(char* path, char* levelPath, int size)
{
    SAVE_STATE state;
    storePlayer(*player, state);
    if (!readSlotText(path, state))
        return 0;
    enterCommonFields(state, *player);
    // The text form holds objects only, and leaves the map alone.
    player->restoreObjects(state);
    boundedCopy(levelPath, std::size_t(size), state.level);
    return 1;
}
int World::loadStateBinary(char* path, Typo* typo, Screen* screen)
{
    int respawnBefore = player->respawn;
    char levelPath[256] = "";
    if (readStateBinary(path, levelPath, sizeof levelPath)) {
        applyDeathRule(levelPath, respawnBefore);
        return enterStoredLevel(levelPath, true, typo, screen);
    }
    if (died)
        return restartAtEntrance(typo, screen);
    boundedFormat(failure, sizeof failure, "The saved game %s is missing or damaged.", path);
    return 0;
}

// After a death whose slot (and its backup) cannot be read, the game goes
// on from where the player came into the room, with what he carries now,
// rather than leaving him dead for ever.
int World::restartAtEntrance(Typo* typo, Screen* screen)
{
    char levelPath[256];
    boundedCopy(levelPath, sizeof levelPath, level->getName());
    // Twice, so that his previous position is the entrance too.
    player->setPosition(entranceX, entranceY);
    player->setPosition(entranceX, entranceY);
    player->dy = 0.0f;
    player->hitted = 0.0f;
    tellPlayer("The saved game could not be read: the game goes on from the room's entrance.");
    applyDeathRule(levelPath, player->respawn);
    return enterStoredLevel(levelPath, true, typo, screen);
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

int World::enterStoredLevel(char* levelPath, bool lampAndMap, Typo* typo, Screen* screen)
{
    Level* next = readLevel(levelPath, typo, screen);
    if (!next) {
        boundedFormat(failure, sizeof failure, "The room %s of the saved game is missing or damaged.", levelPath);
        return 0;
    }
    enterLevel(next);
    settleInLevel(levelPath, lampAndMap, screen);
    return 1;
}
