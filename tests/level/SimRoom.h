#pragma once

#include "assets/TileList.h"
#include "audio/FakeMixer.h"
#include "LevelFixtures.h"

#include <string>
#include <vector>

// A room for moving things: open space (depth 5) over world pixels (0, 0)
// to (width - 1, height - 1), walled by the map's margin, which is rock at
// the default base depth. Map cell (mx, my) is world (mx - 1, my - 1).
struct SimRoom {
    SimRoom(int width, int height) { place(&level, keep(solidTile(width, height, int(0xFF404040u), 5)), 0, 0); }
    // Solid rock over w x h pixels at (x, y); added before `build`.
    void rock(int x, int y, int w, int h) { place(&level, keep(solidTile(w, h, int(0xFF202020u), 10)), x, y); }
    void build() { ASSERT_EQ(level.compile(), 1); }
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
    Tile* keep(std::unique_ptr<Tile> t)
    {
        tiles.push_back(std::move(t));
        return tiles.back().get();
    }
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

// The dog's pictures, opaque, both 20 x 14: four idle and six running frames.
inline std::unique_ptr<TileList> dogTiles()
{
    std::unique_ptr<TileList> tiles(new TileList("no such container"));
    for (const char* name : {"dog_idle.anm", "dog_run.anm"}) {
        std::unique_ptr<Tile> t = solidTile(20, 14, int(0xFF806040u), 5, name[4] == 'i' ? 4 : 6);
        boundedCopy(t->name, sizeof t->name, name);
        tiles->list.push_back(t.release());
    }
    tiles->count = 2;
    return tiles;
}

// What reached one sound slot's channel: 'O' played once, 'P' looping, 'H' halted.
inline std::string heard(const FakeMixer& mixer, int slot)
{
    std::string h;
    for (const MIXER_EVENT& e : mixer.events)
        if (e.first == slot && (e.call == "playChannel" || e.call == "haltChannel"))
            h += e.call == "haltChannel" ? 'H' : (e.second == -1 ? 'P' : 'O');
    return h;
}
