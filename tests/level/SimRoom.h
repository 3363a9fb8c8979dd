#pragma once

#include "assets/Tile.h"
#include "assets/TileList.h"
#include "level/Element.h"
#include "level/Level.h"
#include "LevelFixtures.h"

#include <memory>
#include <vector>

// A room for moving things: open space (depth 5) covering world pixels
// (0, 0) to (width - 1, height - 1), walled by the map's one-cell margin,
// which is rock at the default base depth. Rock blocks are added before
// `build`; map cell (mx, my) is world (mx - 1, my - 1).
struct SimRoom {
    SimRoom(int width, int height)
    {
        place(&level, keep(solidTile(width, height, int(0xFF404040u), 5)), 0, 0);
    }

    // Solid rock (depth 10) over w x h pixels at (x, y).
    void rock(int x, int y, int w, int h)
    {
        place(&level, keep(solidTile(w, h, int(0xFF202020u), 10)), x, y);
    }

    void build() { ASSERT_EQ(level.compile(), 1); }

    // A w x h object in `actives` of the given kind, switched on or not.
    Element* active(int x, int y, int w, int h, int kind, bool on = true)
    {
        Element* e = new Element(keep(solidTile(w, h)));
        e->x = x;
        e->y = y;
        e->kind = kind;
        e->active = on;
        level.actives.push_back(e);
        return e;
    }

    // A tile the room keeps alive as long as the level.
    Tile* keep(std::unique_ptr<Tile> t)
    {
        tiles.push_back(std::move(t));
        return tiles.back().get();
    }

    // Whether any pixel of the rectangle lies on rock.
    bool onRock(int x, int y, int w, int h) const
    {
        for (int i = 0; i < w; i++)
            for (int j = 0; j < h; j++)
                if (level.getDepthClean(x + i, y + j) == 10)
                    return true;
        return false;
    }

    void run(int updates)
    {
        for (int i = 0; i < updates; i++)
            level.update(tick++);
    }

    std::vector<std::unique_ptr<Tile>> tiles;
    Level level;
    int tick = 0;
};

// A tile library holding the dog's two pictures, opaque and both 20 x 14:
// four idle frames and six running frames.
inline std::unique_ptr<TileList> dogTiles(int idleFrames = 4, int runFrames = 6)
{
    std::unique_ptr<TileList> tiles(new TileList("no such container"));
    const char* names[2] = {"dog_idle.anm", "dog_run.anm"};
    int frames[2] = {idleFrames, runFrames};
    for (int k = 0; k < 2; k++) {
        std::unique_ptr<Tile> t = solidTile(20, 14, int(0xFF806040u), 5, frames[k]);
        boundedCopy(t->name, sizeof t->name, names[k]);
        tiles->list.push_back(t.release());
        tiles->count++;
    }
    return tiles;
}
