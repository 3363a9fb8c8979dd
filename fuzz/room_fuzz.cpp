// A damaged or hostile room source, compiled to a level.
#include "authoring/RoomCompiler.h"
#include "assets/Tile.h"

#include <string>

namespace {

void addTiles(RoomCompiler* c)
{
    const char* names[] = {"rock01.til", "wall_tiles.til", "floor_metro.til", "platform_metal.til",
                           "door_metal.til", "ladder_metal.til", "key.til", "void.til", "lift.til",
                           "gold_coin01.anm", "crate.til", "lamp_wall.til"};
    for (const char* name : names) {
        Tile* t = c->addTile(name, 4, 8, 1);
        for (int p = 0; p < 32; p++)
            t->frames[0].data[p] = TILE_PIXEL{int(0xFF606060), 5, 0.0f};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RoomCompiler c;
    addTiles(&c);
    c.compile("fuzz.room", std::string((const char*)data, size));
    return 0;
}
