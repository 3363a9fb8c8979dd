// roomc ART.manifest ROOM.room LEVEL.lvl PICTURES
// Compiles a room source (see content/rooms/README.md) into its level file
// LEVEL.lvl and its picture: PICTURES/room_NAME.png with its depth and glow
// maps, and PICTURES/room_NAME.manifest, the manifest line that packs them
// into the tile container. Textures and placed pictures are looked up in the
// art's manifest. Errors print "FILE:LINE: reason" and exit non-zero; no
// output is written then. Warnings ("FILE:LINE: warning: ...") are printed
// and the room is written all the same.
#include "authoring/RoomCompiler.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: roomc ART.manifest ROOM.room LEVEL.lvl PICTURES\n");
        return 2;
    }
    RoomCompiler compiler;
    if (!compiler.loadArt(argv[1]) || !compiler.compileFile(argv[2]) || !compiler.write(argv[3], argv[4])) {
        std::fprintf(stderr, "%s\n", compiler.error);
        return 1;
    }
    for (const std::string& warning : compiler.warnings)
        std::fprintf(stderr, "%s\n", warning.c_str());
    return 0;
}
