// A damaged or hostile tile container: the library loads what is whole and
// every tile it keeps is either whole or without frames.
#include "FuzzFile.h"

#include "assets/Tile.h"
#include "assets/TileList.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* path = fuzzFile(data, size);
    TileList library(path);
    for (Tile* tile : library.list) {
        if (tile->frameCount > 0 && (!tile->frames || tile->width < 1 || tile->height < 1))
            std::abort();
        // Reading every pixel of the last frame touches the whole allocation.
        for (int x = 0; tile->frameCount > 0 && x < tile->width; x++)
            for (int y = 0; y < tile->height; y++)
                (void)tile->pixelAt(tile->frameCount - 1, x, y);
    }
    return 0;
}
