// What the player keeps between visits: the memory of each room he left and
// the one-time objects he took, and the map's key marks that follow them.

#include "player/Player.h"

#include "base/BoundedString.h"
#include "base/TextReader.h"
#include "level/Element.h"
#include "level/Level.h"
#include "map/Map.h"
#include "save/SaveState.h"

#include <algorithm>
#include <cstring>

namespace {

unsigned wordOf(float value)
{
    unsigned bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A memory strength as the renderer can use it: between 0 and 1, whatever
// bits a save file held.
float saneQuality(unsigned bits)
{
    float q;
    std::memcpy(&q, &bits, sizeof q);
    return q >= 0.0f && q <= 1.0f ? q : (q > 1.0f ? 1.0f : 0.0f);
}

// The first record of that level, or null.
const SAVE_MEMORY* memoryOf(const std::vector<SHARED_MEMORY>& saves, const char* name)
{
    for (const SHARED_MEMORY& m : saves)
        if (std::strcmp(m->name, name) == 0)
            return m.get();
    return nullptr;
}

} // namespace

void Player::addMemorySave(Level* level)
{
    for (int i = int(memorySaves.size()) - 1; i >= 0; i--)
        if (std::strcmp(memorySaves[std::size_t(i)]->name, level->getName()) == 0)
            deleteMemorySave(i);
    auto m = std::make_shared<SAVE_MEMORY>();
    boundedCopy(m->name, sizeof m->name, level->getName());
    std::size_t cells = level->map ? std::size_t(std::max(level->mapWidth, 0)) * std::size_t(std::max(level->mapHeight, 0)) : 0;
    m->w = cells ? level->mapWidth : 0;
    m->h = cells ? level->mapHeight : 0;
    for (std::size_t k = 0; k < cells; k++) {
        m->quality.push_back(wordOf(level->map[k].quality));
        m->glow.push_back(unsigned(level->map[k].glow));
    }
    m->quality.shrink();
    m->glow.shrink();
    memorySaves.push_back(std::move(m));
}

void Player::deleteMemorySave(int index)
{
    if (index >= 0 && index < int(memorySaves.size()))
        memorySaves.erase(memorySaves.begin() + index);
}

void Player::clearMemories()
{
    memorySaves.clear();
}

void Player::clearObjects()
{
    for (OBJECT* o : objects)
        delete o;
    objects.clear();
    nObjects = 0;
}

// A record saved from a level of another size (its file changed since) is
// restored over the cells both sizes share, by map position, so that
// nothing is read or written outside either array. Strengths outside 0 to 1
// (a damaged save) are brought back into range.
void Player::setMemory(Level* level)
{
    if (level->reveal || !level->map)
        return;
    const SAVE_MEMORY* m = memoryOf(memorySaves, level->getName());
    if (!m) {
        std::size_t cells = std::size_t(level->mapWidth) * std::size_t(level->mapHeight);
        for (std::size_t k = 0; k < cells; k++)
            level->map[k].quality = 0.0f;
        return;
    }
    const std::vector<std::uint32_t> quality = m->quality.unpacked(), glow = m->glow.unpacked();
    int w = std::min(m->w, level->mapWidth), h = std::min(m->h, level->mapHeight);
    for (int mx = 0; mx < w; mx++)
        for (int my = 0; my < h; my++) {
            std::size_t from = std::size_t(mx) * m->h + my;
            LevelPixel& p = level->map[std::size_t(mx) * level->mapHeight + my];
            p.quality = from < quality.size() ? saneQuality(quality[from]) : 0.0f;
            p.glow = from < glow.size() ? int(glow[from]) : 0;
        }
}

// Every bonus named like a taken object goes, however many share the name.
void Player::deleteObjectsInLevel(Level* level)
{
    for (const OBJECT* o : objects)
        for (int i = 0; i < int(level->bonus.size());) {
            if (std::strcmp(level->bonus[i]->name, o->name) == 0)
                level->deleteBonus(i);
            else
                i++;
        }
}

void Player::setMapObjsGet()
{
    if (!map)
        return;
    for (MAP_CELL* c : map->cells) {
        c->keyGot = 0;
        if (!c->hasKey)
            continue;
        for (const OBJECT* o : objects)
            if (std::strcmp(o->name, c->keyName) == 0)
                c->keyGot = 1;
    }
}

void Player::removeSkulls()
{
    for (int i = 0; i < nObjects;) {
        if (objects[i]->flag && startsWith(objects[i]->name, "skull")) {
            delete objects[i];
            objects.erase(objects.begin() + i);
            nObjects--;
        } else {
            i++;
        }
    }
}

void Player::setTouchMemory(Level* level)
{
    if (state.torch || !level->memories || !level->map)
        return;
    const int radius = 15;
    long long cx = (long long)bbox.x + bbox.w / 2 - level->originX;
    long long cy = (long long)bbox.y + bbox.h - level->originY;
    for (long long mx = std::max(cx - radius, 0LL); mx <= std::min(cx + radius, level->mapWidth - 1LL); mx++)
        for (long long my = std::max(cy - radius, 0LL); my <= std::min(cy + radius, level->mapHeight - 1LL); my++)
            if ((mx - cx) * (mx - cx) + (my - cy) * (my - cy) < radius * radius + 1)
                level->addInMemory(int(level->mapHeight * mx + my));
}

void Player::storeMemoriesAndObjects(SAVE_STATE& state) const
{
    state.objects.clear();
    for (const OBJECT* o : objects) {
        SAVE_OBJECT saved;
        boundedCopy(saved.name, sizeof saved.name, o->name);
        saved.flag = o->flag;
        state.objects.push_back(saved);
    }
    state.memories = memorySaves;
}

void Player::restoreObjects(const SAVE_STATE& state)
{
    clearObjects();
    for (const SAVE_OBJECT& saved : state.objects) {
        OBJECT* o = new OBJECT;
        boundedCopy(o->name, sizeof o->name, saved.name);
        o->flag = saved.flag;
        objects.push_back(o);
        nObjects++;
    }
    nKey = keyCount(state);
}

void Player::restoreMemoriesAndObjects(const SAVE_STATE& state)
{
    restoreObjects(state);
    clearMemories();
    if (revealsMap(state) && map)
        map->reveal();
    for (const SHARED_MEMORY& saved : state.memories) {
        memorySaves.push_back(saved);
        if (map)
            map->setCurrentCell(saved->name);
    }
}
