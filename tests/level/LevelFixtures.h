#pragma once

#include "base/BoundedString.h"
#include "assets/Tile.h"
#include "level/Element.h"
#include "level/Level.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

// A tile of width x height pixels per frame, every pixel the same record.
inline std::unique_ptr<Tile> filledTile(int width, int height, int frames, TILE_PIXEL pixel)
{
    std::unique_ptr<Tile> tile(new Tile);
    EXPECT_EQ(tile->create(width, height, frames, 0), 1);
    for (int f = 0; f < frames; f++)
        for (int i = 0; i < width * height; i++)
            tile->frames[f].data[i] = pixel;
    return tile;
}

// An opaque single-colour tile of depth `depth`, not incandescent.
inline std::unique_ptr<Tile> solidTile(int width, int height, int colour = int(0xFF808080u), int depth = 5,
                                       int frames = 1)
{
    return filledTile(width, height, frames, TILE_PIXEL{colour, depth, 0.0f});
}

// Places an element of tile t at (x, y) with kind line `text` in the
// level's main list, as the level reader does for plain elements.
inline Element* place(Level* level, Tile* t, int x, int y, const char* text = "", int kind = Element::Decor)
{
    Element* e = new Element(t);
    e->x = x;
    e->y = y;
    e->kind = kind;
    boundedCopy(e->text, sizeof e->text, text);
    level->elements.push_back(e);
    return e;
}

// The first element of `list` named `name`, or whose kind line is `text`
// when one is given; null when there is none.
inline Element* named(const std::vector<Element*>& list, const char* name, const char* text = nullptr)
{
    for (Element* e : list)
        if (std::strcmp(e->name, name) == 0 || (text && std::strcmp(e->text, text) == 0))
            return e;
    return nullptr;
}

// The map cell (mx, my) of a compiled level.
inline LevelPixel& cell(Level& level, int mx, int my)
{
    return level.map[mx * level.mapHeight + my];
}
