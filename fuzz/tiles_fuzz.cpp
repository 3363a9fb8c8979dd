// A damaged or hostile tile container: the library loads what is whole and
// every tile it keeps is either whole or without frames, and what it holds
// in memory is no larger than the file.
#include "FuzzFile.h"

#include "assets/Tile.h"
#include "assets/TileList.h"

#include <cstdlib>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* path = fuzzFile(data, size);
    TileList library(path);
    std::size_t held = 0;
    std::set<const Frame*> pictures;
    for (Tile* tile : library.list) {
        // A look-up reads the pixels; tiles sharing a picture share its frames.
        if (library.findByName2(tile->name)->frames && pictures.insert(tile->frames).second)
            held += std::size_t(tile->width) * std::size_t(tile->height) * std::size_t(tile->frameCount) * 12;
        if (held > size)
            std::abort();
        if (tile->frameCount > 0 && (!tile->frames || tile->width < 1 || tile->height < 1))
            std::abort();
        // Reading every pixel of the last frame touches the whole allocation.
        for (int x = 0; tile->frameCount > 0 && x < tile->width; x++)
            for (int y = 0; y < tile->height; y++)
                (void)tile->pixelAt(tile->frameCount - 1, x, y);
    }
    return 0;
}
