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
    s.player = p.state;
    s.player.currentTorch = p.getCurrentTorch();
    p.storeMemoriesAndObjects(s);
}

// The lamp through its setter, which lights it in its kind's colour.
void enterPlayerState(const SAVE_STATE& s, Player& p)
{
    p.state = s.player;
    p.setCurrentTorch(s.player.currentTorch);
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
    slotWaitIn = slotWaitFrames;
    if (slotWaitIn == 0)
        noticeFailedSave();
}

void World::noticeFailedSave()
{
    if (slotWaitFrames >= 0) {
        if (slotWaitIn < 0 || slotWaitIn-- > 0)
            return;
        slots.finish();
    }
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
    enterPlayerState(state, *player);
    // Replaces the objects and memories, counting keys and marking the map.
    player->restoreMemoriesAndObjects(state);
    boundedCopy(levelPath, std::size_t(size), state.level);
    return 1;
}

int World::readState(char* path, char* levelPath, int size)
{
    SAVE_STATE state;
    storePlayer(*player, state);
    // The text form holds some of the fields: the others keep the player's.
    if (!readSlotText(path, state))
        return 0;
    enterPlayerState(state, *player);
    // The text form holds objects only, and leaves the map alone.
    player->restoreObjects(state);
    boundedCopy(levelPath, std::size_t(size), state.level);
    return 1;
}
int World::loadStateBinary(char* path, Typo* typo, Screen* screen)
{
    int respawnBefore = player->state.respawn;
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
    player->state.dy = 0.0f;
    player->state.hitted = 0.0f;
    tellPlayer("The saved game could not be read: the game goes on from the room's entrance.");
    applyDeathRule(levelPath, player->state.respawn);
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
    player->state.respawn = respawnBefore - 1;
    player->state.life = player->state.maxLife;
    if (player->state.respawn < 0) {
        // The last continue is spent: back to the checkpoint, with the
        // skulls taken since lying in their rooms again.
        boundedCopy(levelPath, 256, player->state.checkpointLevel);
        player->state.x = player->state.oldX = player->state.checkpointX;
        player->state.y = player->state.oldY = player->state.checkpointY;
        player->state.respawn = 3;
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
