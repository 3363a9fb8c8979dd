// tilepack MANIFEST... OUTPUT.dat
// Builds a tile container from manifests, read in order, listing one tile a line:
//     NAME IMAGE [frame=W] [depth=D] [glow=G] [extra=I,I,...]
// NAME ends in ".til" or ".anm"; IMAGE is a PNG of the frames side by side
// (frame width W, by default the image height), relative to the manifest's
// folder. depth and glow are a number for every pixel or a PNG of the same
// size whose grey gives the depth, or the incandescence 0..1. Blank lines and
// lines starting with '#' are skipped. Errors print "MANIFEST:LINE: reason"
// and exit non-zero; the container is written whole or not at all.
#include "assets/TileContainer.h"
#include "authoring/TileManifest.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: tilepack MANIFEST... OUTPUT.dat\n");
        return 2;
    }
    TileContainer container;
    for (int i = 1; i < argc - 1; i++) {
        TileManifest manifest;
        if (!manifest.read(argv[i], &container)) {
            std::fprintf(stderr, "%s\n", manifest.error);
            return 1;
        }
    }
    if (!container.save(argv[argc - 1])) {
        std::fprintf(stderr, "tilepack: %s\n", container.error);
        return 1;
    }
    return 0;
}
