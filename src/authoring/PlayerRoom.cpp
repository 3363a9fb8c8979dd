#include "authoring/PlayerRoom.h"

#include "base/BoundedString.h"
#include "assets/TileList.h"
#include "level/Level.h"

PlayerRoom::~PlayerRoom()
{
    delete level;
    delete tiles;
}

int PlayerRoom::load(const char* gameDir, const char* levelFile)
{
    delete level;
    delete tiles;
    level = nullptr;
    frameCount = 0;
    char path[512];
    boundedFormat(path, sizeof path, "%s/tiles.dat", gameDir);
    tiles = new TileList(path, true);
    if (!player.loadContent(gameDir))
        return 0;
    player.init();
    level = new Level;
    boundedFormat(path, sizeof path, "%s/Level/%s", gameDir, levelFile);
    return level->load(path, tiles, nullptr, nullptr);
}

void PlayerRoom::place(int x, int y)
{
    player.setPosition(x, y);
    player.state.oldX = x;
    player.state.oldY = y;
}

void PlayerRoom::placeAt(const char* name)
{
    player.setPositionAtElement(name, level);
}

void PlayerRoom::frame(const PLAYER_COMMANDS& held)
{
    holdCommands(&player, level, held);
    if (roomMoves)
        level->update(frameCount);
    player.update(level, frameCount++);
}

void PlayerRoom::frames(int count, const PLAYER_COMMANDS& held)
{
    for (int i = 0; i < count; i++)
        frame(held);
}
