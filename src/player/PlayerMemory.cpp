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

// A record of w x h cells, every word zero.
MEMORY_SAVE* newMemory(const char* name, int w, int h)
{
    std::size_t cells = std::size_t(std::max(w, 0)) * std::size_t(std::max(h, 0));
    MEMORY_SAVE* m = new MEMORY_SAVE;
    boundedCopy(m->name, sizeof m->name, name);
    m->w = cells ? w : 0;
    m->h = cells ? h : 0;
    m->quality = new unsigned[cells]();
    m->glow = new unsigned[cells]();
    return m;
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
const MEMORY_SAVE* memoryOf(const std::vector<MEMORY_SAVE*>& saves, const char* name)
{
    for (const MEMORY_SAVE* m : saves)
        if (std::strcmp(m->name, name) == 0)
            return m;
    return nullptr;
}

} // namespace

void Player::addMemorySave(Level* level)
{
    for (int i = nMemorySave - 1; i >= 0; i--)
        if (std::strcmp(memorySaves[i]->name, level->getName()) == 0)
            deleteMemorySave(i);
    MEMORY_SAVE* m = newMemory(level->getName(), level->map ? level->mapWidth : 0, level->map ? level->mapHeight : 0);
    std::size_t cells = std::size_t(m->w) * std::size_t(m->h);
    for (std::size_t k = 0; k < cells; k++) {
        m->quality[k] = wordOf(level->map[k].quality);
        m->glow[k] = unsigned(level->map[k].glow);
    }
    memorySaves.push_back(m);
    nMemorySave++;
}

void Player::deleteMemorySave(int index)
{
    if (index < 0 || index >= nMemorySave)
        return;
    MEMORY_SAVE* m = memorySaves[index];
    delete[] m->quality;
    delete[] m->glow;
    delete m;
    memorySaves.erase(memorySaves.begin() + index);
    nMemorySave--;
}

void Player::clearMemories()
{
    while (nMemorySave > 0)
        deleteMemorySave(nMemorySave - 1);
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
    const MEMORY_SAVE* m = memoryOf(memorySaves, level->getName());
    if (!m) {
        std::size_t cells = std::size_t(level->mapWidth) * std::size_t(level->mapHeight);
        for (std::size_t k = 0; k < cells; k++)
            level->map[k].quality = 0.0f;
        return;
    }
    int w = std::min(m->w, level->mapWidth), h = std::min(m->h, level->mapHeight);
    for (int mx = 0; mx < w; mx++)
        for (int my = 0; my < h; my++) {
            std::size_t from = std::size_t(mx) * m->h + my;
            LevelPixel& p = level->map[std::size_t(mx) * level->mapHeight + my];
            p.quality = saneQuality(m->quality[from]);
            p.glow = int(m->glow[from]);
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
    if (torch || !level->memories || !level->map)
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
    state.memories.clear();
    for (const MEMORY_SAVE* m : memorySaves) {
        SAVE_MEMORY saved;
        boundedCopy(saved.name, sizeof saved.name, m->name);
        saved.w = m->w;
        saved.h = m->h;
        std::size_t cells = std::size_t(m->w) * std::size_t(m->h);
        saved.quality.assign(m->quality, m->quality + cells);
        saved.glow.assign(m->glow, m->glow + cells);
        state.memories.push_back(std::move(saved));
    }
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
    for (const SAVE_MEMORY& saved : state.memories) {
        // The words the record holds, as far as its size asks for them.
        MEMORY_SAVE* m = newMemory(saved.name, saved.w, saved.h);
        std::size_t cells = std::size_t(m->w) * std::size_t(m->h);
        std::copy_n(saved.quality.begin(), std::min(cells, saved.quality.size()), m->quality);
        std::copy_n(saved.glow.begin(), std::min(cells, saved.glow.size()), m->glow);
        memorySaves.push_back(m);
        nMemorySave++;
        if (map)
            map->setCurrentCell(saved.name);
    }
}
