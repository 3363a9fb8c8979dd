// levelshot: draws a room as the game shows it and writes it as a PNG, so
// that a room can be looked at without playing.
//
//   levelshot LEVEL.lvl OUT.png [--at X Y | --at NAME] [--size WxH]
//             [--lamp candle|torch|aceto|none] [--passes N] [--game DIR]
//
// The level is read from DIR/Level/ (DIR is the game folder, the current
// one by default) with the pictures of DIR/tiles.dat. The camera and the
// carried lamp are put on the world point X Y, on the centre of the element
// called NAME, or on the middle of the room; N lighting passes (1 by
// default) are run and drawn one after the other. The picture is WxH
// logical pixels (480x270 by default) shown 4 times larger.

#include "authoring/LevelShot.h"
#include "render/Screen.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    LevelShot shot;
    if (!shot.parseArguments(argc, argv)) {
        std::fprintf(stderr,
                     "levelshot: %s\nusage: levelshot LEVEL.lvl OUT.png [--at X Y | --at NAME] [--size WxH] "
                     "[--lamp candle|torch|aceto|none] [--passes N] [--game DIR]\n",
                     shot.error);
        return 2;
    }
    // The picture is written where it was named, whatever folder the game is in.
    std::string out = shot.output;
    if (!out.empty() && out[0] != '/') {
        char* here = realpath(".", nullptr);
        if (here) {
            out = std::string(here) + "/" + out;
            std::free(here);
        }
    }
    Screen screen(shot.width, shot.height, 1);
    if (!shot.render(&screen) || !shot.savePicture(&screen, out.c_str())) {
        std::fprintf(stderr, "levelshot: %s\n", shot.error);
        return 1;
    }
    std::printf("%s: %dx%d, checksum %08x\n", out.c_str(), shot.width * LevelShot::magnification,
                shot.height * LevelShot::magnification, unsigned(LevelShot::checksum(&screen)));
    return 0;
}
