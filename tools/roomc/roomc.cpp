// roomc ART.manifest ROOM.room LEVEL.lvl PICTURES
// roomc --links LEVEL.lvl... [--stamp FILE]
// Compiles a room source (see content/rooms/README.md) into its level file
// LEVEL.lvl and its picture: PICTURES/room_NAME.png with its depth and glow
// maps, and PICTURES/room_NAME.manifest, the manifest line that packs them
// into the tile container. Textures and placed pictures are looked up in the
// art's manifest. Errors print "FILE:LINE: reason" and exit non-zero; no
// output is written then.
//
// With --links it checks compiled levels together: every door must lead to
// one of them and name an element there. The stamp file, when given, is
// written once they pass, for the build to depend on.
#include "app/ReplacingFile.h"
#include "level/RoomCompiler.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

int checkLinks(int argc, char** argv)
{
    std::vector<std::string> levels, texts;
    const char* stamp = nullptr;
    for (int i = 2; i < argc; i++) {
        if (std::strcmp(argv[i], "--stamp") == 0 && i + 1 < argc) {
            stamp = argv[++i];
            continue;
        }
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot open the level\n", argv[i]);
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        levels.push_back(argv[i]);
        texts.push_back(text.str());
    }
    std::string report;
    if (!RoomCompiler::checkLinks(levels, texts, &report)) {
        std::fprintf(stderr, "%s", report.c_str());
        return 1;
    }
    if (stamp) {
        ReplacingFile out(stamp, "w");
        int written = out.out && std::fprintf(out.out, "%d rooms linked\n", int(levels.size())) > 0;
        if (!out.commit(written)) {
            std::fprintf(stderr, "%s: cannot write\n", stamp);
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--links") == 0)
        return checkLinks(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: roomc ART.manifest ROOM.room LEVEL.lvl PICTURES\n"
                             "       roomc --links LEVEL.lvl... [--stamp FILE]\n");
        return 2;
    }
    RoomCompiler compiler;
    if (!compiler.loadArt(argv[1]) || !compiler.compileFile(argv[2]) || !compiler.write(argv[3], argv[4])) {
        std::fprintf(stderr, "%s\n", compiler.error);
        return 1;
    }
    return 0;
}
