#include "player/BoundingBox.h"

#include "base/SharedPixels.h"
#include "assets/Tile.h"
#include "level/Element.h"
#include "level/Level.h"
#include "render/Screen.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

const int solidDepth = 10;

// Sample positions are summed in 64 bits so that a box far out of any room
// cannot overflow; a position beyond the int range is as far outside the
// map as the nearest one inside it, which the level answers for.
int toCoordinate(long long v)
{
    return int(std::min<long long>(std::max<long long>(v, INT_MIN), INT_MAX));
}

struct RECTANGLE {
    long long x, y, w, h;

    bool contains(long long px, long long py) const
    {
        return x <= px && px <= x + w && y <= py && py <= y + h;
    }
    bool overlaps(const RECTANGLE& o) const { return x <= o.x + o.w && o.x <= x + w && y <= o.y + o.h && o.y <= y + h; }
    bool containsCornerOf(const RECTANGLE& o) const
    {
        return contains(o.x, o.y) || contains(o.x, o.y + o.h) || contains(o.x + o.w, o.y + o.h) ||
               contains(o.x + o.w, o.y);
    }
};

RECTANGLE elementRectangle(const Element* e)
{
    int w = 0, h = 0;
    e->getDimensions(&w, &h);
    return RECTANGLE{e->x, e->y, w, h};
}

} // namespace

void BoundingBox::draw(int ox, int oy, Screen* s) const
{
    s->rect(x + ox, y + oy, w, h, int(0xFFFF0000u));
}

template <class HIT> bool BoundingBox::outlineHits(HIT hit) const
{
    for (long long i = 0; i < w; i++)
        if (hit(toCoordinate(x + i), y) || hit(toCoordinate(x + i), toCoordinate((long long)y + h)))
            return true;
    for (long long j = 0; j < h; j++)
        if (hit(x, toCoordinate(y + j)) || hit(toCoordinate((long long)x + w), toCoordinate(y + j)))
            return true;
    return false;
}

int BoundingBox::getCollision(Level* level) const
{
    if (outlineHits([level](int px, int py) { return level->getDepth(px, py) == solidDepth; }))
        return 1;
    // "At most the half sizes" is "closer than the half sizes plus one" in whole pixels.
    return firstActiveWithin(level, 1) != -1;
}

int BoundingBox::getActiveTouch(Level* level) const
{
    return firstActiveWithin(level, 2);
}

int BoundingBox::getActiveCollision(Level* level) const
{
    return firstActiveWithin(level, 0);
}

int BoundingBox::firstActiveWithin(Level* level, int margin) const
{
    long long cx = (long long)x + w / 2, cy = (long long)y + h / 2;
    for (std::size_t i = 0; i < level->actives.size(); i++) {
        const Element* e = level->actives[i];
        int tw = 0, th = 0;
        e->getDimensions(&tw, &th);
        long long dx = std::llabs((long long)e->x + tw / 2 - cx);
        long long dy = std::llabs((long long)e->y + th / 2 - cy);
        if (dx < w / 2 + tw / 2 + margin && dy < h / 2 + th / 2 + margin)
            return int(i);
    }
    return -1;
}

int BoundingBox::getCloudCollision(Level* level) const
{
    if (!level->getCloud())
        return 0;
    return outlineHits([level](int px, int py) { return level->getCloud(px, py) >= 1; });
}

int BoundingBox::getCollisionWithDoor(const DOOR* door) const
{
    RECTANGLE box{x, y, w, h}, other{door->x, door->y, door->width, door->height};
    return other.containsCornerOf(box) || box.containsCornerOf(other);
}

int BoundingBox::getCollisionWithElement(const Element* e) const
{
    RECTANGLE box{x, y, w, h}, other = elementRectangle(e);
    return other.containsCornerOf(box) || box.containsCornerOf(other);
}

bool BoundingBox::reaches(const Element* e, int margin) const
{
    RECTANGLE grown = elementRectangle(e);
    grown.x -= margin;
    grown.y -= margin;
    grown.w += 2 * margin;
    grown.h += 2 * margin;
    return RECTANGLE{x, y, w, h}.overlaps(grown);
}

int BoundingBox::getCollisionWithElementPixels(const Element* e) const
{
    if (!e->tile)
        return 0;
    RECTANGLE other = elementRectangle(e);
    int frame = e->currentFrame();
    return anySharedPixel(x, y, w, h, other.x, other.y, other.w, other.h, [&](int px, int py) {
        return Screen::getAlpha(e->tile->getPixel(frame, px - e->x, py - e->y)) > 0;
    });
}

void BoundingBox::findSpace(Level* level)
{
    const int stepX[4] = {0, 1, 0, -1}, stepY[4] = {-1, 0, 1, 0};
    int startX = x, startY = y;
    int direction = 0, runLength = 1, runsOfThisLength = 1, left = runLength;
    for (int step = 0; step < maxSearchSteps; step++) {
        x += stepX[direction];
        y += stepY[direction];
        if (!getCollision(level))
            return;
        if (--left > 0)
            continue;
        // The first run is one step long; every later length serves two runs.
        direction = (direction + 1) % 4;
        if (--runsOfThisLength == 0) {
            runLength++;
            runsOfThisLength = 2;
        }
        left = runLength;
    }
    x = startX;
    y = startY;
}
