// artgen: draws every picture of the game and writes the PNG sources and
// manifests that tilepack turns into "tiles.dat" and "tiles_control.dat".
//
//   artgen OUTDIR [CONTENTDIR]   pictures and manifests; PNGs in CONTENTDIR
//                                replace generated ones of the same file name
//   artgen --sheet OUT.png [CONTAINER.dat...]
//                                contact sheet of the containers' tiles, or
//                                of the generated pictures when none is named
//   artgen --character POSES OUT.dat PREVIEW.png
//                                the character sheet drawn from its poses, and
//                                its review picture
//   artgen --icon OUTDIR         the program's icon, OUTDIR/NxN.png at every size

#include "Art.h"
#include "CharacterSheet.h"
#include "ContactSheet.h"
#include "IconArt.h"

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
    addPurpleArt(album);
    addPinkTealArt(album);
    addCryptArt(album);
    addLandmarkArt(album);
}

int drawCharacter(const char* posesFile, const char* sheetFile, const char* previewFile)
{
    CharacterPoses poses;
    std::string error;
    bool drawn = poses.load(posesFile) && CharacterSheet(poses).write(sheetFile, error) &&
                 writeCharacterPreview(sheetFile, previewFile, error);
    if (!drawn) {
        std::fprintf(stderr, "artgen: %s\n", error.empty() ? poses.error.c_str() : error.c_str());
        return 1;
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--character") == 0)
        return drawCharacter(argv[2], argv[3], argv[4]);
    if (argc == 3 && std::strcmp(argv[1], "--icon") == 0) {
        std::string error;
        if (!writeIcons(argv[2], error)) {
            std::fprintf(stderr, "artgen: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
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
        std::fprintf(stderr, "usage: artgen OUTDIR [CONTENTDIR]\n       artgen --sheet OUT.png [CONTAINER.dat...]\n"
                             "       artgen --character POSES OUT.dat PREVIEW.png\n       artgen --icon OUTDIR\n");
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
