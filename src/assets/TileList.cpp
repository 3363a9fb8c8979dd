#include "assets/TileList.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "base/ReplacingFile.h"
#include "assets/Tile.h"
#include "assets/TileContainer.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

TileList::TileList(const char* file, bool)
{
    std::FILE* in = std::fopen(file, "rb");
    if (!in)
        return;
    std::vector<TILE_ENTRY> entries;
    TileContainer::readDirectory(in, &entries);
    // A name listed twice gives two tiles holding the first entry's data.
    std::unordered_map<std::string, long> firstOffset;
    int damaged = 0;
    for (const TILE_ENTRY& entry : entries) {
        long offset = firstOffset.emplace(entry.name, entry.offset).first->second;
        Tile* tile = new Tile;
        if (!TileContainer::readTile(in, offset, tile))
            damaged++;
        boundedCopy(tile->name, sizeof tile->name, entry.name);
        list.push_back(tile);
    }
    std::fclose(in);
    count = int(list.size());
    if (damaged)
        reportProblem("%s: %d of its %d pictures are damaged or cut short and are not shown.\n", file, damaged,
                      count);
}

TileList::~TileList()
{
    for (Tile* tile : list)
        delete tile;
}

Tile* TileList::findByName(char* name)
{
    for (int i = 0; i < 256; i++) {
        if (name[i] == '\n')
            name[i] = 0;
        if (name[i] == 0)
            return findByName2(name);
    }
    return nullptr;
}

Tile* TileList::findByName2(const char* name)
{
    for (Tile* tile : list)
        if (std::strcmp(tile->name, name) == 0)
            return tile;
    return nullptr;
}

void TileList::fileList(char* path)
{
    ReplacingFile output(path, "w");
    if (!output.out)
        return;
    bool written = true;
    for (Tile* tile : list) {
        // The name without its four-character extension.
        size_t length = std::strlen(tile->name);
        int kept = length > 4 ? int(length - 4) : 0;
        written = written && std::fprintf(output.out, "\t\t\tlist.Add(content.Load<Tile>(\"Tiles/%.*s\"));\n", kept,
                                          tile->name) > 0;
    }
    output.commit(written);
}
