#include "level/Dog.h"

#include "assets/Tile.h"
#include "assets/TileList.h"

#include <cmath>

Dog::Dog(TileList* tiles)
{
    if (tiles) {
        idleTile = tiles->findByName2("dog_idle.anm");
        runTile = tiles->findByName2("dog_run.anm");
    }
    tile = idleTile;
}

void Dog::setPlayerPosition(int px, int py, bool scared)
{
    // The dog runs to a point beside the player's middle, measured with the
    // idle picture whatever it shows now.
    int halfW = idleTile ? idleTile->width / 2 : 0;
    int halfH = idleTile ? idleTile->height / 2 : 0;
    int tx = px - halfW + 20;
    int ty = py - halfH;
    if (std::fabs(float(x - tx)) > float(noticeX) || std::fabs(float(y - ty)) > float(noticeY))
        return;
    timer = runTimer;
    if (scared) {
        state = Fleeing;
        way = x > tx ? 1 : 0;
    } else {
        state = Chasing;
        way = x < tx ? 1 : 0;
    }
}

void Dog::update()
{
    oldX = x;
    oldY = y;
    timer--;
    if (timer < 1) {
        state = Idle;
        timer = 0;
    }
    if (state == Idle) {
        tile = idleTile;
        vx = 0.0f;
    } else {
        tile = runTile;
        vx = float(way * 2 * runSpeed - runSpeed);
    }
    if (!tile)
        return;
    frame += speed;
    if (int(frame) >= tile->frameCount)
        frame = 0.0f;
}

void Dog::draw(int ox, int oy, Screen* s)
{
    if (tile)
        tile->draw(int(frame), x + ox, y + oy, way, s);
}

void Dog::drawIcds(int ox, int oy, Screen* s)
{
    if (tile)
        tile->drawIcds(int(frame), x + ox, y + oy, way, s);
}

int Dog::width() const
{
    return tile ? tile->width : 0;
}

int Dog::height() const
{
    return tile ? tile->height : 0;
}

int Dog::pixelAt(int wx, int wy) const
{
    int i = wx - x, j = wy - y;
    if (!tile || i < 0 || j < 0 || i >= tile->width || j >= tile->height)
        return 0;
    if (way == 1)
        i = tile->width - 1 - i;
    return tile->getPixel(int(frame), i, j);
}
