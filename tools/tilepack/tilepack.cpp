// tilepack MANIFEST OUTPUT.dat
// Builds a tile container from a manifest listing one tile a line. The
// container is written whole or not at all.
#include "assets/TileContainer.h"
#include "assets/TileManifest.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tilepack MANIFEST OUTPUT.dat\n");
        return 2;
    }
    TileContainer container;
    TileManifest manifest;
    if (!manifest.read(argv[1], &container)) {
        std::fprintf(stderr, "%s\n", manifest.error);
        return 1;
    }
    if (!container.save(argv[2])) {
        std::fprintf(stderr, "tilepack: %s\n", container.error);
        return 1;
    }
    return 0;
}
