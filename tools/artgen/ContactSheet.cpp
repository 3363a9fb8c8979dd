#include "ContactSheet.h"

#include <cstring>

#include "PixelFont.h"
#include "assets/Tile.h"
#include "assets/TileList.h"
#include "render/PngImage.h"

#include <algorithm>
#include <cstring>
#include <cmath>

namespace {

const int labelWidth = 124;
const int gap = 4;
const uint32_t background = 0xFF1A1A22u;
const uint32_t wallColour = 0xFF5A5A5Au;

// The occluder depth between a lamp and a pixel, marching from the lamp as
// the lighting engine does: the nearest occluder's depth, decaying by one
// per pixel behind it; 10 blocks the light.
int occluder(const Picture& p, int mx, int my, int lx, int ly)
{
    auto depthAt = [&](int x, int y) { return p.filled(0, x, y) ? p.depthAt(0, x, y) : 0; };
    int dx = mx - lx, dy = my - ly;
    if (dx == 0 && dy == 0)
        return depthAt(lx, ly);
    int n = std::max(std::abs(dx), std::abs(dy));
    float sx = float(dx) / n, sy = float(dy) / n;
    int d = depthAt(lx, ly);
    for (int i = 0; i < n; i++) {
        if (d == 10)
            return 10;
        int s = depthAt(int(lx + i * sx), int(ly + i * sy));
        d = s >= d ? s : d - 1;
    }
    return d;
}

void copy(PngImage& sheet, const std::vector<uint32_t>& src, int w, int h, int x0, int y0)
{
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            sheet.set(x0 + x, y0 + y, src[size_t(y) * w + x]);
}

} // namespace

int ContactSheet::loadContainer(const std::string& file, std::deque<Picture>& out, std::string& error)
{
    TileList tiles(file.c_str(), false);
    if (tiles.count == 0) {
        error = file + ": no tiles (missing or damaged container)";
        return 0;
    }
    for (Tile* tile : tiles.list) {
        // Rooms' pictures have their own contact page; here is the art.
        if (std::strncmp(tile->name, "room_", 5) == 0)
            continue;
        // A look-up reads the tile's pixels.
        if (!tiles.findByName2(tile->name)->frames) {
            error = file + ": the data of " + tile->name + " cannot be read";
            return 0;
        }
        out.emplace_back(tile->name, tile->width, tile->height, tile->frameCount);
        Picture& p = out.back();
        for (int f = 0; f < tile->frameCount; f++)
            for (int y = 0; y < tile->height; y++)
                for (int x = 0; x < tile->width; x++) {
                    const TILE_PIXEL* px = tile->pixelAt(f, x, y);
                    p.put(f, x, y, Ink{uint32_t(px->colour), px->depth, px->incandescence});
                }
    }
    return 1;
}

std::vector<uint32_t> ContactSheet::lit(const Picture& p, int lx, int ly)
{
    std::vector<uint32_t> out(size_t(p.width) * p.height);
    float radius = float(std::max(p.width, p.height)) * 1.6f + 8.0f;
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            bool filled = p.filled(0, x, y);
            uint32_t c = filled ? p.colourAt(0, x, y) : wallColour;
            int depth = filled ? p.depthAt(0, x, y) : 0;
            float glow = filled ? p.glowAt(0, x, y) : 0.0f;
            if (depth >= 10) {
                out[size_t(y) * p.width + x] = 0xFF000000u;
                continue;
            }
            float dx = float(x - lx), dy = float(y - ly);
            float f = 1.0f - (dx * dx + dy * dy) / (radius * radius);
            if (f > 0.0f) {
                int d = occluder(p, x, y, lx, ly);
                if (d == 10)
                    f = 0.0f;
                else if (depth < d)
                    f /= float(d - depth + 1);
            } else
                f = 0.0f;
            float light = std::min(1.0f, f + glow);
            uint32_t shown = shade(c | 0xFF000000u, light);
            // A translucent pixel over the wall, as the game composes it.
            float a = filled ? float(c >> 24) / 255.0f : 1.0f;
            uint32_t under = shade(wallColour, std::max(f, 0.0f));
            out[size_t(y) * p.width + x] = mix(under, shown, a) | 0xFF000000u;
        }
    return out;
}

int ContactSheet::render(const std::deque<Picture>& pictures, const std::string& file, std::string& error)
{
    int width = 0, height = gap;
    for (const Picture& p : pictures) {
        int row = labelWidth + p.width * p.frames + gap + 3 * (p.width + gap);
        width = std::max(width, row + gap);
        height += std::max(p.height, 7) + gap + 1;
    }
    PngImage sheet;
    sheet.resize(width, height, background);
    Picture label("label", labelWidth, 7);
    int y = gap;
    for (const Picture& p : pictures) {
        std::fill(label.colour.begin(), label.colour.end(), 0u);
        PixelFont::print(label, 0, 0, 1, p.name.c_str(), Ink{0xFFD0D0D0u, 0, 0.0f});
        for (int j = 0; j < label.height; j++)
            for (int i = 0; i < label.width; i++)
                if (label.filled(0, i, j))
                    sheet.set(gap + i, y + j, label.colourAt(0, i, j));

        int x = labelWidth;
        // Every frame over a checker so transparent pixels show.
        for (int f = 0; f < p.frames; f++)
            for (int j = 0; j < p.height; j++)
                for (int i = 0; i < p.width; i++) {
                    uint32_t under = ((i / 4 + j / 4) & 1) ? 0xFF303038u : 0xFF26262Eu;
                    uint32_t c = p.colourAt(f, i, j);
                    sheet.set(x + f * p.width + i, y + j, mix(under, c | 0xFF000000u, float(c >> 24) / 255.0f));
                }
        x += p.frames * p.width + gap;
        copy(sheet, lit(p, p.width / 4, p.height / 4), p.width, p.height, x, y);
        x += p.width + gap;
        for (int j = 0; j < p.height; j++)
            for (int i = 0; i < p.width; i++) {
                int d = p.filled(0, i, j) ? p.depthAt(0, i, j) : -1;
                uint32_t c = d < 0 ? 0xFF000030u : (d >= 10 ? 0xFF902020u : rgb(d * 25, d * 25, d * 25));
                sheet.set(x + i, y + j, c);
            }
        x += p.width + gap;
        for (int j = 0; j < p.height; j++)
            for (int i = 0; i < p.width; i++) {
                // What shows in the dark: each pixel's colour scaled by its incandescence.
                float g = p.filled(0, i, j) ? std::min(1.0f, p.glowAt(0, i, j)) : 0.0f;
                uint32_t c = p.colourAt(0, i, j);
                sheet.set(x + i, y + j, g > 0.0f ? mix(0xFF000000u, c | 0xFF000000u, g * float(c >> 24) / 255.0f) : 0xFF000000u);
            }
        y += std::max(p.height, 7) + gap + 1;
    }
    if (!sheet.save(file.c_str())) {
        error = file + ": " + sheet.error;
        return 0;
    }
    return 1;
}
