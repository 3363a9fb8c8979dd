#include "assets/TileList.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "assets/Tile.h"
#include "assets/TileContainer.h"

#include <cstring>
#include <map>
#include <string>

TileList::TileList(const char* path, bool)
{
    boundedCopy(file, sizeof file, path);
    in = std::fopen(path, "rb");
    if (!in)
        return;
    std::vector<TILE_ENTRY> entries;
    int declared = TileContainer::readDirectory(in, &entries);
    // A name listed twice gives two tiles holding the first entry's data,
    // and entries at one offset share its picture.
    std::unordered_map<std::string, long> firstOffset;
    std::map<long, int> pictureAt;
    for (const TILE_ENTRY& entry : entries) {
        long offset = firstOffset.emplace(entry.name, entry.offset).first->second;
        auto found = pictureAt.emplace(offset, int(pictures.size()));
        if (found.second) {
            pictures.emplace_back();
            pictures.back().offset = offset;
            pictures.back().size = TileContainer::blockSize(in, offset);
            pictures.back().damaged = pictures.back().size == 0;
        }
        pictures[found.first->second].tiles.push_back(int(list.size()));
        pictureOf.push_back(found.first->second);
        Tile* tile = new Tile;
        boundedCopy(tile->name, sizeof tile->name, entry.name);
        list.push_back(tile);
    }
    count = int(list.size());
    // Blocks lie one after the other: one that begins inside another is damaged.
    long end = 0;
    for (const auto& at : pictureAt) {
        PICTURE& picture = pictures[at.second];
        if (picture.damaged)
            continue;
        picture.damaged = at.first < end;
        if (!picture.damaged)
            end = at.first + picture.size;
    }
    if (count == 0)
        reportProblem("%s holds no pictures: it is empty or damaged.\n", file);
    else if (count < declared)
        reportProblem("%s: its directory is damaged after %d of its %d entries; the rest are not shown.\n", file,
                      count, declared);
    int damaged = 0;
    for (int picture : pictureOf)
        damaged += pictures[picture].damaged;
    if (damaged)
        reportDamaged(damaged);
}

TileList::~TileList()
{
    for (Tile* tile : list)
        delete tile;
    if (in)
        std::fclose(in);
}

void TileList::reportDamaged(int damaged) const
{
    reportProblem("%s: %d of its %d pictures are damaged or cut short and are not shown.\n", file, damaged, count);
}

Tile* TileList::findByName(char* name, const void* user)
{
    for (int i = 0; i < 256; i++) {
        if (name[i] == '\n')
            name[i] = 0;
        if (name[i] == 0)
            return findByName2(name, user);
    }
    return nullptr;
}

Tile* TileList::findByName2(const char* name, const void* user)
{
    for (int i = 0; i < int(list.size()); i++)
        if (std::strcmp(list[i]->name, name) == 0) {
            use(i, user);
            return list[i];
        }
    return nullptr;
}

void TileList::use(int index, const void* user)
{
    if (index >= int(pictureOf.size()))
        return;
    PICTURE& picture = pictures[pictureOf[index]];
    if (picture.damaged)
        return;
    if (!user)
        picture.kept = true;
    else if (used[user].insert(pictureOf[index]).second)
        picture.users++;
    if (!picture.pixels)
        load(picture);
}

void TileList::load(PICTURE& picture)
{
    // The block is checked again: the file may have changed since start-up.
    std::unique_ptr<Tile> pixels(new Tile);
    if (TileContainer::blockSize(in, picture.offset) != picture.size ||
        !TileContainer::readTile(in, picture.offset, pixels.get())) {
        picture.damaged = true;
        reportDamaged(1);
        return;
    }
    picture.pixels = std::move(pixels);
    for (int tile : picture.tiles)
        list[tile]->view(*picture.pixels);
}

void TileList::unload(PICTURE& picture)
{
    for (int tile : picture.tiles)
        list[tile]->release();
    picture.pixels.reset();
}

void TileList::release(const void* user)
{
    auto found = used.find(user);
    if (found == used.end())
        return;
    for (int index : found->second) {
        PICTURE& picture = pictures[index];
        if (--picture.users == 0 && !picture.kept)
            unload(picture);
    }
    used.erase(found);
}

int TileList::picturesInMemory() const
{
    int loaded = 0;
    for (const PICTURE& picture : pictures)
        loaded += picture.pixels != nullptr;
    return loaded;
}
