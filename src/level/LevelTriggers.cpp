// What switches, electric boxes and scenes do to a room: things switched,
// shown, hidden, animated and found by name, and the room's message box.

#include "level/Level.h"

#include "assets/TileList.h"
#include "level/ElectricBox.h"
#include "level/Element.h"
#include "level/Light.h"
#include "level/Text.h"

#include <cstring>
#include <mutex>

namespace {

bool named(const char* objectName, const char* name)
{
    return name && std::strcmp(objectName, name) == 0;
}

// Calls f for every object of `list` that has that name.
template <typename T, typename F>
void forEachNamed(const std::vector<T*>& list, const char* name, F f)
{
    for (T* object : list)
        if (named(object->name, name))
            f(object);
}

} // namespace

void Level::activeLight(const char* name, int on)
{
    // The lighting thread reads the flags of the lights it sums.
    std::lock_guard<std::mutex> hold(lightsLock);
    forEachNamed(lights, name, [on](Light* l) { l->on = on != 0; });
}

void Level::activeActive(const char* name, int on)
{
    forEachNamed(actives, name, [on](Element* e) { e->active = on != 0; });
}

void Level::activeBox(const char* name, int input, int value)
{
    forEachNamed(boxes, name, [this, input, value](ElectricBox* b) {
        if (input >= 0 && input < ElectricBox::inputCount)
            b->state[input] = value;
        int on = b->result() ? 1 : 0;
        activeLight(b->target, on);
        activeActive(b->target, on);
    });
}

void Level::createMessage(const char* text, int seconds, int colour)
{
    if (message)
        message->create(text, seconds, colour);
}

void Level::terminateMessage()
{
    if (message)
        message->end();
}

bool Level::messageExist() const
{
    return message && message->isActive();
}

void Level::hideEntity(const char* name)
{
    forEachNamed(entities, name, [](Element* e) { e->visible = false; });
}

void Level::showEntity(const char* name)
{
    forEachNamed(entities, name, [](Element* e) { e->visible = true; });
}

void Level::setElementAnim(const char* name, const char* tileName, int dx, int dy, TileList* tiles)
{
    Tile* t = tiles && tileName ? useTiles(tiles)->findByName2(tileName, this) : nullptr;
    forEachNamed(entities, name, [t, dx, dy](Element* e) {
        if (t && t != e->tile) {
            e->tile = t;
            e->frame = 0.0f;
        }
        e->x += dx;
        e->y += dy;
    });
}

void Level::setElementPlay(const char* name, float speed)
{
    forEachNamed(entities, name, [speed](Element* e) { e->speed = speed; });
}

void Level::getElementPosition(const char* name, int* x, int* y) const
{
    for (const Element* e : elements)
        if (named(e->name, name)) {
            e->getCentre(x, y);
            return;
        }
}
