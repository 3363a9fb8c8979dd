// A damaged or hostile level file, read and compiled as a door leads to it,
// then run for a few updates.
#include "FuzzFile.h"

#include "base/BoundedString.h"

#include "assets/Tile.h"
#include "assets/TileContainer.h"
#include "assets/TileList.h"
#include "level/Level.h"

namespace {

// A small library under the names levels use most.
TileList* library()
{
    static TileList* tiles = nullptr;
    if (tiles)
        return tiles;
    const char* names[] = {"wall.til", "anim.anm", "dog_idle.anm", "gold_coin01.anm", "key.til", "void.til"};
    TileContainer container;
    for (int i = 0; i < 6; i++) {
        Tile tile;
        int frames = i == 1 || i == 3 ? 3 : 1;
        tile.create(8, 8, frames, 0);
        for (int f = 0; f < frames; f++)
            for (int p = 0; p < 64; p++)
                tile.frames[f].data[p] = TILE_PIXEL{int(0xFF808080), 10, 0.0f};
        boundedCopy(tile.name, sizeof tile.name, names[i]);
        container.add(tile);
    }
    std::string path = "/tmp/gloamer-fuzz-tiles-" + std::to_string(getpid());
    container.save(path.c_str());
    tiles = new TileList(path.c_str());
    std::remove(path.c_str());
    return tiles;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TileList* tiles = library();
    Level level;
    if (level.load(fuzzFile(data, size, ".lvl"), tiles, nullptr, nullptr))
        for (int frame = 0; frame < 4; frame++)
            level.update(frame);
    return 0;
}
