#include "player/PlayerRoom.h"

#include "base/BoundedString.h"
#include "assets/TileList.h"
#include "level/Level.h"

void holdCommands(Player* player, Level* level, const PLAYER_COMMANDS& held)
{
    player->setCrawl(level, false);
    if (!held.jump)
        player->jumpReleased = true;
    if (held.walk)
        player->setWalk();
    else
        player->setRun();
    if (held.up)
        player->up(level);
    if (held.down)
        player->down(level);
    if (held.right)
        player->right();
    if (held.left)
        player->left();
    if (held.viewUp)
        player->viewUp();
    if (held.viewDown)
        player->viewDown();
    if (held.viewRight)
        player->viewRight();
    if (held.viewLeft)
        player->viewLeft();
    if (held.jump)
        player->jump();
}

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
    player.oldX = x;
    player.oldY = y;
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
