#include "world/World.h"

#include "level/Level.h"
#include "platform/Platform.h"
#include "render/Screen.h"

#include <cmath>

namespace {

// One axis of the camera: the room's extent and origin along it, the
// screen's extent, and the offset and target being placed.
struct AXIS {
    int size;
    int origin;
    int screen;
    int& offset;
    int& target;
};

// A room no wider than the screen is centred and never scrolls.
bool centreIfSmall(AXIS a)
{
    if (a.size > a.screen)
        return false;
    a.offset = -(a.size / 2) - a.origin + a.screen / 2;
    return true;
}

// The highest bound first, so the lowest wins when they cross.
int clampToRoom(int v, AXIS a, int margin)
{
    int highest = margin - a.origin;
    int lowest = -a.size - a.origin + a.screen - margin;
    if (v > highest)
        v = highest;
    if (v < lowest)
        v = lowest;
    return v;
}

void jump(AXIS a, int p, int margin)
{
    if (centreIfSmall(a))
        return;
    a.target = clampToRoom(a.screen / 2 - p, a, margin);
    a.offset = a.target;
}

void ease(AXIS a, int p, int margin)
{
    if (centreIfSmall(a))
        return;
    int desired = a.screen / 2 - p;
    // Dead zone: the target moves only when the point leaves the middle half.
    if (std::fabs(double(desired - a.offset)) > a.screen * 0.5 / 2)
        a.target = desired;
    a.target = clampToRoom(a.target, a, margin);
    a.offset += int(float(a.target - a.offset) * 0.1f);
}

} // namespace

void World::focus(int x, int y, Screen* screen)
{
    jump({level->mapWidth, level->originX, screen->width, camX, targetX}, x, marginX);
    jump({level->mapHeight, level->originY, screen->height, camY, targetY}, y, marginY);
}

void World::follow(int x, int y, Screen* screen)
{
    ease({level->mapWidth, level->originX, screen->width, camX, targetX}, x, marginX);
    ease({level->mapHeight, level->originY, screen->height, camY, targetY}, y, marginY);
}

void World::follow2(int x, int y, Screen* screen)
{
    jump({level->mapWidth, level->originX, screen->width, camX, targetX}, x, 0);
    jump({level->mapHeight, level->originY, screen->height, camY, targetY}, y, 0);
}

void World::setFps(float fps)
{
    frameTime = int(1000.0 / fps);
}

void World::sync()
{
    if (pacing)
        waitForFrame(lastFrameEnd, frameTime);
    else
        lastFrameEnd = preciseTicks();
}
