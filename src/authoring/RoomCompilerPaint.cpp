// Painting the room picture from the grid, and the warnings the painted room gives.

#include "authoring/RoomCompilerPasses.h"

using namespace roomsource;

const FILL& RoomCompiler::Impl::fillOf(int cx, int cy) const
{
    static const FILL none;
    if (cy < 0 || cy >= int(grid.size()) || cx < 0 || cx >= int(grid[0].size()))
        return none;
    auto it = fills.find(grid[cy][cx]);
    return it == fills.end() ? behindOf(cx, cy) : it->second;
}

bool RoomCompiler::Impl::solid(int cx, int cy) const
{
    if (cy < 0 || cy >= int(grid.size()) || cx < 0 || cx >= int(grid[0].size()))
        return true;
    FillKind k = fillOf(cx, cy).kind;
    return k == Rock || k == Floor;
}

const FILL& RoomCompiler::Impl::behindOf(int cx, int cy) const
{
    const std::string& row = grid[cy];
    for (int d = 1; d < int(row.size()); d++)
        for (int s = -1; s <= 1; s += 2) {
            int x = cx + s * d;
            if (x < 0 || x >= int(row.size()))
                continue;
            auto it = fills.find(row[x]);
            if (it != fills.end() && (it->second.kind == Back || it->second.kind == Void))
                return it->second;
        }
    static const FILL none;
    auto it = fills.find(behind);
    return it == fills.end() ? none : it->second;
}

INK RoomCompiler::Impl::texel(const std::string& name, int x, int y, int addDepth, bool wrapY)
{
    INK ink;
    const Tile* t = owner.tile(name);
    if (!t || t->width <= 0 || t->height <= 0)
        return ink;
    int tx = ((x % t->width) + t->width) % t->width;
    int ty = wrapY ? ((y % t->height) + t->height) % t->height : std::max(0, std::min(y, t->height - 1));
    const TILE_PIXEL* p = t->pixelAt(0, tx, ty);
    if (!p || unsigned(p->colour) >> 24 == 0)
        return ink;
    ink.colour = unsigned(p->colour);
    ink.depth = std::max(0, std::min(10, p->depth + addDepth));
    ink.glow = p->incandescence;
    return ink;
}

INK RoomCompiler::Impl::back(const FILL& f, int px, int py)
{
    return f.kind == Back ? texel(f.tile, px, py, f.depth, true) : INK();
}

INK RoomCompiler::Impl::pixel(int px, int py)
{
    int cx = px / cell, cy = py / cell;
    const FILL& f = fillOf(cx, cy);
    switch (f.kind) {
    case Void:
        return INK();
    case Back:
        return back(f, px, py);
    case Platform: {
        INK ink = texel(f.tile, px, py - cy * cell, f.depth, false);
        return ink.colour ? ink : back(behindOf(cx, cy), px, py);
    }
    case Floor:
    case Rock:
        break;
    }
    // Distance in pixels to the open cell nearest on each side, or -1.
    int dist[4] = {-1, -1, -1, -1}; // top, bottom, left, right
    int ox[4] = {0, 0, -1, 1}, oy[4] = {-1, 1, 0, 0};
    for (int s = 0; s < 4; s++)
        for (int k = 1; k <= 2 && dist[s] < 0; k++) {
            int nx = cx + ox[s] * k, ny = cy + oy[s] * k;
            if (nx < 0 || ny < 0 || nx >= int(grid[0].size()) || ny >= int(grid.size()))
                break;
            if (solid(nx, ny))
                continue;
            dist[s] = s == 0 ? py - (ny + 1) * cell : s == 1 ? ny * cell - 1 - py
                      : s == 2 ? px - (nx + 1) * cell : nx * cell - 1 - px;
        }
    if (f.kind == Floor) {
        INK ink = texel(f.tile, px, dist[0] < 0 ? 1000 : dist[0], f.depth, false);
        return ink.colour ? ink : back(behindOf(cx, cy), px, py);
    }
    static const char* faces[4] = {"rock_top.til", "rock_bottom.til", "rock_left.til", "rock_right.til"};
    int side = -1;
    for (int s = 0; s < 4; s++)
        if (dist[s] >= 0 && dist[s] < 16 && owner.tile(faces[s]) && (side < 0 || dist[s] < dist[side]))
            side = s;
    if (side < 0)
        return texel(f.tile, px, py, f.depth, true);
    int d = dist[side];
    INK ink = side == 0   ? texel(faces[0], px, d, 0, false)
              : side == 1 ? texel(faces[1], px, 15 - d, 0, false)
              : side == 2 ? texel(faces[2], d, py, 0, true)
                          : texel(faces[3], 15 - d, py, 0, true);
    if (ink.colour)
        return ink;
    const FILL& open = fillOf(cx + ox[side], cy + oy[side]);
    return back(open.kind == Back || open.kind == Void ? open : behindOf(cx + ox[side], cy + oy[side]), px, py);
}

void RoomCompiler::Impl::paint()
{
    int w = int(grid[0].size()) * cell, h = int(grid.size()) * cell;
    owner.colour.resize(w, h);
    owner.depth.resize(w, h);
    owner.glow.resize(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            INK ink = pixel(x, y);
            owner.colour.set(x, y, ink.colour);
            unsigned d = unsigned(ink.depth);
            unsigned g = unsigned(std::max(0.0f, std::min(1.0f, ink.glow)) * 255.0f);
            owner.depth.set(x, y, 0xFF000000u | d << 16 | d << 8 | d);
            owner.glow.set(x, y, 0xFF000000u | g << 16 | g << 8 | g);
        }
}

void RoomCompiler::Impl::warnOfOpenedFloors()
{
    for (const RECORD& r : records) {
        if (r.text != "decor")
            continue;
        int x = 0, y = 0;
        if (opensFloor(r, *owner.tile(r.tile), &x, &y))
            owner.warnings.push_back(file + ":" + std::to_string(r.line) + ": warning: the decor " + r.name +
                                     " opens a hole in the floor at " + std::to_string(x) + " " +
                                     std::to_string(y));
    }
}

bool RoomCompiler::Impl::opensFloor(const RECORD& r, const Tile& t, int* holeX, int* holeY) const
{
    for (int j = 0; j < t.height; j++)
        for (int i = 0; i < t.width; i++) {
            const TILE_PIXEL* p = t.pixelAt(0, i, j);
            bool baked = p && unsigned(p->colour) >> 24 >= 128;
            if (baked && r.depth + p->depth != solidDepth && walkedOn(r.x + i, r.y + j)) {
                *holeX = r.x + i, *holeY = r.y + j;
                return true;
            }
        }
    return false;
}

bool RoomCompiler::Impl::walkedOn(int x, int y) const
{
    if (!solidPixel(x, y))
        return false;
    for (int k = 1; k <= cell && y - k >= 0; k++)
        if (!solidPixel(x, y - k))
            return true;
    return false;
}

bool RoomCompiler::Impl::solidPixel(int x, int y) const
{
    const PngImage& d = owner.depth;
    return x >= 0 && y >= 0 && x < d.width && y < d.height && int(d.get(x, y) & 0xFFu) == solidDepth;
}
