#include "Picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int clampChannel(float v)
{
    if (v < 0.0f)
        return 0;
    if (v > 255.0f)
        return 255;
    return int(v);
}

} // namespace

uint32_t rgb(int r, int g, int b, int a)
{
    return (uint32_t(clampChannel(float(a))) << 24) | (uint32_t(clampChannel(float(r))) << 16)
        | (uint32_t(clampChannel(float(g))) << 8) | uint32_t(clampChannel(float(b)));
}

uint32_t shade(uint32_t c, float f)
{
    return rgb(clampChannel(((c >> 16) & 255) * f), clampChannel(((c >> 8) & 255) * f),
        clampChannel((c & 255) * f), int(c >> 24));
}

uint32_t mix(uint32_t a, uint32_t b, float t)
{
    auto ch = [&](int s) {
        return clampChannel(((a >> s) & 255) * (1.0f - t) + ((b >> s) & 255) * t);
    };
    return rgb(ch(16), ch(8), ch(0), ch(24));
}

Picture::Picture(const std::string& n, int w, int h, int f)
    : name(n), width(w), height(h), frames(f),
      colour(size_t(w) * h * f, 0u), depth(size_t(w) * h * f, 0), glow(size_t(w) * h * f, 0.0f)
{
}

void Picture::put(int f, int x, int y, const Ink& ink)
{
    if (!inside(x, y) || f < 0 || f >= frames)
        return;
    int i = index(f, x, y);
    colour[i] = ink.colour;
    depth[i] = ink.depth;
    glow[i] = ink.glow;
}

void Picture::blend(int f, int x, int y, uint32_t c, float alpha)
{
    if (!inside(x, y) || f < 0 || f >= frames || alpha <= 0.0f)
        return;
    int i = index(f, x, y);
    uint32_t old = colour[i];
    if ((old >> 24) == 0) {
        colour[i] = (c & 0x00FFFFFFu) | (uint32_t(clampChannel(alpha * (c >> 24))) << 24);
        return;
    }
    uint32_t mixed = mix(old, c | 0xFF000000u, std::min(alpha, 1.0f));
    colour[i] = (mixed & 0x00FFFFFFu) | (old & 0xFF000000u);
}

void Picture::setDepth(int f, int x, int y, int d)
{
    if (inside(x, y) && f >= 0 && f < frames)
        depth[index(f, x, y)] = d;
}

void Picture::setGlow(int f, int x, int y, float g)
{
    if (inside(x, y) && f >= 0 && f < frames)
        glow[index(f, x, y)] = g;
}

void Picture::clearPixel(int f, int x, int y)
{
    put(f, x, y, Ink{0u, 0, 0.0f});
}

uint32_t Picture::colourAt(int f, int x, int y) const
{
    return inside(x, y) ? colour[index(f, x, y)] : 0u;
}

int Picture::depthAt(int f, int x, int y) const
{
    return inside(x, y) ? depth[index(f, x, y)] : 0;
}

float Picture::glowAt(int f, int x, int y) const
{
    return inside(x, y) ? glow[index(f, x, y)] : 0.0f;
}

void Picture::fill(int f, int x, int y, int w, int h, const Ink& ink)
{
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            put(f, i, j, ink);
}

void Picture::frameRect(int f, int x, int y, int w, int h, const Ink& ink)
{
    line(f, x, y, x + w - 1, y, ink);
    line(f, x, y + h - 1, x + w - 1, y + h - 1, ink);
    line(f, x, y, x, y + h - 1, ink);
    line(f, x + w - 1, y, x + w - 1, y + h - 1, ink);
}

void Picture::line(int f, int x0, int y0, int x1, int y1, const Ink& ink)
{
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        put(f, x0, y0, ink);
        if (x0 == x1 && y0 == y1)
            return;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Picture::disc(int f, float cx, float cy, float rx, float ry, const Ink& ink)
{
    if (rx <= 0.0f || ry <= 0.0f)
        return;
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); y++)
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); x++) {
            float u = (x + 0.5f - cx) / rx, v = (y + 0.5f - cy) / ry;
            if (u * u + v * v <= 1.0f)
                put(f, x, y, ink);
        }
}

void Picture::halo(int f, float cx, float cy, float r, uint32_t c, float strength, float g)
{
    for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; y++)
        for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; x++) {
            if (!inside(x, y))
                continue;
            float d = std::sqrt((x + 0.5f - cx) * (x + 0.5f - cx) + (y + 0.5f - cy) * (y + 0.5f - cy));
            if (d >= r)
                continue;
            float a = strength * (1.0f - d / r);
            a *= a;
            blend(f, x, y, c, a);
            int i = index(f, x, y);
            glow[i] = std::max(glow[i], g * (1.0f - d / r));
        }
}

void Picture::copyFrame(int from, int to)
{
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            int a = index(from, x, y), b = index(to, x, y);
            colour[b] = colour[a];
            depth[b] = depth[a];
            glow[b] = glow[a];
        }
}

void outline(Picture& p, int f, uint32_t c, int d)
{
    std::vector<int> marks;
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            if (p.filled(f, x, y))
                continue;
            if (p.filled(f, x - 1, y) || p.filled(f, x + 1, y) || p.filled(f, x, y - 1) || p.filled(f, x, y + 1))
                marks.push_back(y * p.width + x);
        }
    for (int m : marks)
        p.put(f, m % p.width, m / p.width, Ink{c, d, 0.0f});
}
