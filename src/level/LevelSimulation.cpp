// The room's moving things: animation, movers, falling and thrown objects,
// dogs, cloud and water, one step per game update.

#include "level/Level.h"

#include "base/BoundedString.h"
#include "audio/Sound.h"
#include "level/Element.h"
#include "level/Dog.h"
#include "level/Text.h"

#include <algorithm>
#include <cmath>

namespace {

const float gravity = 0.2f;
// Rows under water beyond which an object floats up instead of falling.
const int floatDepth = 16;
// Movers and hard impacts make the room around them remembered.
const int noticedRadius = 32;
// An impact faster than this on either axis is heard and remembered.
const float hardImpact = 2.0f;
// Clean depth of solid rock for movable objects and dogs, whatever the
// room's base depth.
const int rock = 10;

// A thing whose top has gone below the level map has left the room for
// good (only possible where the room's base depth is open space): it stops
// there instead of falling ever faster.
bool belowMap(const Level& level, int y)
{
    return (long long)y - level.originY > level.mapHeight;
}

// One step of a mover towards its target while on, home while off, one
// pixel per axis and through anything. Returns whether it moved.
bool stepMover(Level& level, Element* e)
{
    int goalX = e->active ? e->targetX : e->homeX;
    int goalY = e->active ? e->targetY : e->homeY;
    e->vx = e->x == goalX ? 0.0f : (e->x < goalX ? 1.0f : -1.0f);
    e->vy = e->y == goalY ? 0.0f : (e->y < goalY ? 1.0f : -1.0f);
    if (e->x != goalX || e->y != goalY) {
        int cx = 0, cy = 0;
        e->getCentre(&cx, &cy);
        level.addZoneInMemory(cx, cy, noticedRadius);
    }
    e->x += int(e->vx);
    e->y += int(e->vy);
    return e->vx != 0.0f || e->vy != 0.0f;
}

// Centres closer than the two half sizes on both axes.
bool picturesOverlap(const Element* a, const Element* b)
{
    int aw = 0, ah = 0, bw = 0, bh = 0;
    a->getDimensions(&aw, &ah);
    b->getDimensions(&bw, &bh);
    int acx = 0, acy = 0, bcx = 0, bcy = 0;
    a->getCentre(&acx, &acy);
    b->getCentre(&bcx, &bcy);
    return std::abs(acx - bcx) < bw / 2 + aw / 2 && std::abs(acy - bcy) < bh / 2 + ah / 2;
}

// Removes entry i of a list, deleting its object.
template <typename T>
void deleteAt(std::vector<T*>& list, int i)
{
    delete list[std::size_t(i)];
    list.erase(list.begin() + i);
}

bool validIndex(int i, std::size_t size)
{
    return i >= 0 && std::size_t(i) < size;
}

} // namespace

void Level::update(int tick)
{
    updates++;
    for (Element* e : backgrounds)
        e->update();
    for (Element* e : entities)
        e->update();
    for (Dog* d : dogs)
        d->update();
    activeUpdate();
    dogUpdate();
    computeCloud();
    computeFill(tick);
    if (message)
        message->update();
}

void Level::activeUpdate()
{
    bool moving = false;
    for (std::size_t i = 0; i < actives.size(); i++) {
        Element* e = actives[i];
        e->update();
        if (e->kind == Element::Mover) {
            moving = stepMover(*this, e) || moving;
            continue;
        }
        if (!e->active)
            continue;
        if (belowMap(*this, e->y)) {
            e->vx = e->vy = 0.0f;
        } else {
            if (water && getWaterCollision(e) > floatDepth)
                e->vy = e->vy * 0.5f - 1.0f;
            else
                e->vy += gravity;
            moveActive(e, e->vx, e->vy, true);
        }
        // The camera follows a thrown object until it has stopped sideways.
        if (e->kind == Element::Thrown && int(i) == thrown && e->vx > -0.1f && e->vx < 0.1f)
            thrown = -1;
    }
    if (moving)
        playLoop(movingObjectSlot);
    else
        stopSound(movingObjectSlot);
}

void Level::moveActive(Element* e, float vx, float vy, bool keep)
{
    float ownVx = e->vx, ownVy = e->vy;
    e->vx = vx;
    e->vy = vy;
    int dx = int(vx), dy = int(vy);
    e->x += dx;
    e->y += dy;
    if (getElementCollide(e)) {
        int newX = e->x, newY = e->y;
        e->y = newY - dy;
        if (!getElementCollide(e)) {
            e->vy = e->bounce ? -e->vy : 0.0f;
        } else {
            e->x = newX - dx;
            e->y = newY;
            if (!getElementCollide(e)) {
                e->vx = e->bounce ? -e->vx : 0.0f;
            } else {
                e->y = newY - dy;
                e->vx = e->bounce ? -e->vx : 0.0f;
                e->vy = e->bounce ? -e->vy : 0.0f;
            }
        }
        if (std::fabs(vx) > hardImpact || std::fabs(vy) > hardImpact) {
            int cx = 0, cy = 0;
            e->getCentre(&cx, &cy);
            addZoneInMemory(cx, cy, noticedRadius);
            playSound(impactSlot);
        }
        e->vx *= 0.5f;
        e->vy *= 0.5f;
    }
    if (!keep) {
        e->vx = ownVx;
        e->vy = ownVy;
    }
}

int Level::getWaterCollision(const Element* e) const
{
    if (!water)
        return 0;
    int w = 0, h = 0;
    e->getDimensions(&w, &h);
    long long under = (long long)e->y + h - originY - waterLevel;
    return under > 0 ? int(under) : 0;
}

bool Level::getElementCollide(const Element* e) const
{
    int w = 0, h = 0;
    e->getDimensions(&w, &h);
    int right = e->x + w - 1, bottom = e->y + h - 1;
    for (int i = e->x; i <= right; i++)
        if (getDepthClean(i, e->y) == rock || getDepthClean(i, bottom) == rock)
            return true;
    for (int j = e->y; j <= bottom; j++)
        if (getDepthClean(e->x, j) == rock || getDepthClean(right, j) == rock)
            return true;
    for (const Element* o : actives)
        if (o != e && picturesOverlap(e, o))
            return true;
    return false;
}

void Level::dogUpdate()
{
    for (Dog* d : dogs) {
        d->update();
        if (belowMap(*this, d->y)) {
            d->vy = 0.0f;
            continue;
        }
        d->vy += gravity;
        moveDog(d);
    }
}

void Level::moveDog(Dog* d)
{
    int newX = d->x + int(d->vx), newY = d->y + int(d->vy);
    d->x = newX;
    d->y = newY;
    if (!getDogCollide(d))
        return;
    d->y = d->oldY;
    if (!getDogCollide(d)) {
        d->vy = 0.0f;
        return;
    }
    d->x = d->oldX;
    d->y = newY;
    if (!getDogCollide(d)) {
        d->vx = 0.0f;
        return;
    }
    d->y = d->oldY;
    d->vx = d->vy = 0.0f;
}

bool Level::getDogCollide(const Dog* d) const
{
    int w = d->width(), h = d->height();
    for (int i = 0; i < w; i++)
        for (int j = 0; j < h; j++)
            if (getDepthClean(d->x + i, d->y + j) == rock)
                return true;
    return false;
}

bool Level::addActive(int x, int y, int depth, Tile* t, const char* name, const char* text, float vx, float vy)
{
    if (!t)
        return true;
    Element* e = new Element(t);
    e->x = x;
    e->y = y;
    e->depth = depth;
    boundedCopy(e->name, sizeof e->name, name ? name : "");
    boundedCopy(e->text, sizeof e->text, text ? text : "");
    e->kind = Element::Thrown;
    e->vx = vx;
    e->vy = vy;
    e->active = true;
    e->bounce = true;
    if (getElementCollide(e)) {
        delete e;
        return false;
    }
    actives.push_back(e);
    thrown = int(actives.size()) - 1;
    playSound(throwSlot);
    return true;
}

void Level::deleteActive(int i)
{
    if (!validIndex(i, actives.size()))
        return;
    // A falling enemy is listed among the enemies too: it must not stay
    // there once deleted.
    ennemies.erase(std::remove(ennemies.begin(), ennemies.end(), actives[std::size_t(i)]), ennemies.end());
    deleteAt(actives, i);
    if (thrown == i)
        thrown = -1;
    else if (thrown > i)
        thrown--;
}

void Level::deleteBonus(int i)
{
    if (validIndex(i, bonus.size()))
        deleteAt(bonus, i);
}

void Level::changeBonus(int i, Tile* t, const char* text, int kind)
{
    if (!validIndex(i, bonus.size()))
        return;
    Element* b = bonus[std::size_t(i)];
    b->tile = t;
    boundedCopy(b->text, sizeof b->text, text ? text : "");
    b->kind = kind;
}
