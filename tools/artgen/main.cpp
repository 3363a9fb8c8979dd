// artgen: draws every picture of the game and writes the PNG sources and
// manifests that tilepack turns into "tiles.dat" and "tiles_control.dat".
//
//   artgen OUTDIR [CONTENTDIR]   pictures and manifests; PNGs in CONTENTDIR
//                                replace generated ones of the same file name
//   artgen --sheet OUT.png [CONTAINER.dat...]
//                                contact sheet of the containers' tiles, or
//                                of the generated pictures when none is named

#include "Art.h"
#include "ContactSheet.h"

#include <cstdio>
#include <cstring>
#include <string>

void drawAllArt(Album& album)
{
    addItemArt(album);
    addCreatureArt(album);
    addTitleArt(album);
    addRoomArt(album);
    addKeyArt(album);
}

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--sheet") == 0) {
        Album album;
        std::string error;
        if (argc == 3)
            drawAllArt(album);
        for (int i = 3; i < argc; i++)
            if (!ContactSheet::loadContainer(argv[i], album.pictures, error)) {
                std::fprintf(stderr, "artgen: %s\n", error.c_str());
                return 1;
            }
        if (!ContactSheet::render(album.pictures, argv[2], error)) {
            std::fprintf(stderr, "artgen: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (argc < 2 || argc > 3 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: artgen OUTDIR [CONTENTDIR]\n       artgen --sheet OUT.png [CONTAINER.dat...]\n");
        return 2;
    }
    Album album;
    drawAllArt(album);
    if (!album.write(argv[1], argc == 3 ? argv[2] : "")) {
        std::fprintf(stderr, "artgen: %s\n", album.error.c_str());
        return 1;
    }
    return 0;
}
