#pragma once

// A plain lighting pass, written rule by rule over whole map cells with no
// compact copies or precomputed strides: the oracle the engine's pass must
// match bit for bit (and, in the benchmark, the baseline it is timed against).
#include "level/Level.h"
#include "level/Light.h"
#include "render/Screen.h"

#include <algorithm>
#include <cstdlib>

namespace reference {

inline LevelPixel& at(Level& level, int mx, int my)
{
    return level.map[mx * level.mapHeight + my];
}

inline int depthToLight(Level& level, int mx, int my, int lx, int ly)
{
    int lmx = lx - level.originX, lmy = ly - level.originY;
    if (lmx < 0 || lmy < 0 || lmx >= level.mapWidth || lmy >= level.mapHeight)
        return 0;
    int dx = mx - lmx, dy = my - lmy;
    if (dx == 0 && dy == 0)
        return at(level, lmx, lmy).depth;
    int n = std::max(std::abs(dx), std::abs(dy));
    float stepX = float(dx) / float(n), stepY = float(dy) / float(n);
    auto sample = [&](int i) { return at(level, int(lmx + i * stepX), int(lmy + i * stepY)).depth; };
    // A light in rock shines from where the ray leaves the rock.
    int i = 0;
    while (i < n && sample(i) == 10)
        i++;
    if (i == n)
        return at(level, mx, my).depth;
    int d = sample(i);
    for (; i < n; i++) {
        if (d == 10)
            return 10;
        int depth = sample(i);
        if (depth >= d)
            d = depth;
        else
            d = d - 1;
    }
    return d;
}

inline int directionalDepth(Level& level, float mx, float my, float dirX, float dirY)
{
    float px = mx - 60 * dirX, py = my - 60 * dirY;
    bool first = true;
    int d = level.baseDepth;
    for (int k = 0; k <= 60; k++) {
        float sx = px + k * dirX, sy = py + k * dirY;
        if (sx <= -1.0f || sy <= -1.0f || sx >= level.mapWidth || sy >= level.mapHeight)
            continue;
        int depth = at(level, int(sx), int(sy)).depth;
        if (first) {
            d = depth;
            first = false;
        } else if (d == level.baseDepth) {
            return level.baseDepth;
        } else if (depth >= d) {
            d = depth;
        } else {
            d = d - 1;
        }
    }
    return d;
}

inline void add(CellLight& received, const Light& l, float f, float g)
{
    int c[3] = {Screen::getRed(l.colour), Screen::getGreen(l.colour), Screen::getBlue(l.colour)};
    for (int k = 0; k < 3; k++) {
        received.lit[k] += float(c[k]) * l.intensity * f / 255;
        received.unshadowed[k] += float(c[k]) * l.intensity * g / 255;
    }
}

inline void pass(Level& level, int x, int y, int w, int h, int margin)
{
    int b = 1 - level.front;
    for (int i = 0; i < int(level.lights.size());) {
        if (level.lights[i]->update())
            i++;
        else
            level.deleteLight(i);
    }
    int x0 = -x - level.originX - margin, y0 = -y - level.originY - margin;
    auto inRegion = [&](int mx, int my) {
        return mx >= x0 && mx < x0 + w + 2 * margin && my >= y0 && my < y0 + h + 2 * margin;
    };
    int W = level.mapWidth, H = level.mapHeight;
    for (int mx = 0; mx < W; mx++)
        for (int my = 0; my < H; my++) {
            if (!inRegion(mx, my))
                continue;
            LevelPixel& p = at(level, mx, my);
            p.depth = p.cleanDepth;
            if (p.quality > 0.05f && mx > 0 && mx < W - 1 && my > 0 && my < H - 1) {
                int cell = mx * H + my;
                level.setTempQuality(cell, p.quality);
                level.setTempQuality(cell - H, p.quality * 0.8f);
                level.setTempQuality(cell + H, p.quality * 0.8f);
                level.setTempQuality(cell - 1, p.quality * 0.8f);
                level.setTempQuality(cell + 1, p.quality * 0.8f);
            }
        }
    for (int mx = 0; mx < W; mx++)
        for (int my = 0; my < H; my++)
            if (inRegion(mx, my))
                at(level, mx, my).quality = at(level, mx, my).tempQuality;
    for (int mx = 0; mx < W; mx++)
        for (int my = 0; my < H; my++) {
            if (!inRegion(mx, my))
                continue;
            float s = at(level, mx, my).incandescence;
            CellLight& received = level.lightOf(b, mx * H + my);
            received.lit[0] = received.lit[1] = received.lit[2] = s;
            received.unshadowed[0] = received.unshadowed[1] = received.unshadowed[2] = s;
            received.reached = s == 0 ? 0.0f : 1.0f;
        }
    for (Light* light : level.lights) {
        const Light& l = *light;
        if (!(l.intensity > 0) || !l.on)
            continue;
        int lmx = l.x - level.originX, lmy = l.y - level.originY;
        for (int mx = 0; mx < W; mx++)
            for (int my = 0; my < H; my++) {
                LevelPixel& p = at(level, mx, my);
                // Records outside the region are left as they are; paint and memory still take the light.
                CellLight outside{};
                CellLight& received = inRegion(mx, my) ? level.lightOf(b, mx * H + my) : outside;
                int dx = mx - lmx, dy = my - lmy;
                if (l.type == Light::Ambient && inRegion(mx, my)) {
                    add(received, l, 1, 1);
                    received.reached = 1;
                } else if ((l.type == Light::Omni || l.type == Light::Spot) && std::abs(dx) <= l.radius &&
                           std::abs(dy) <= l.radius) {
                    float f = 1 - float(dx * dx + dy * dy) / float(l.radius * l.radius);
                    if (!(f > 0))
                        continue;
                    if (l.type == Light::Spot) {
                        float a = level.getAngle(lmx, lmy, mx, my);
                        int lo = l.direction - l.aperture / 2, hi = l.direction + l.aperture / 2;
                        if (lo < 0 && a > 180)
                            a -= 360;
                        if (hi > 360 && a < 180)
                            a += 360;
                        if (!((lo <= a && a <= hi) || f > 0.98f))
                            continue;
                    }
                    if (!l.attenuate)
                        f = 1;
                    float g = f;
                    int d = depthToLight(level, mx, my, l.x, l.y);
                    if (p.depth < d)
                        f = f / (d - p.depth + 1);
                    if (d == 10)
                        f = g = 0;
                    add(received, l, f, g);
                    if (f > 0) {
                        received.reached = 1;
                        unsigned alpha = unsigned(p.glow) >> 24;
                        if (p.glow == 0)
                            continue;
                        if (l.type == Light::Omni && l.style == Light::StyleCandle && Screen::getRed(p.glow) &&
                            !(alpha & 1))
                            p.glow = int(unsigned(p.glow) + (1u << 24));
                        if (l.type == Light::Omni && l.style == Light::StyleAceto && Screen::getBlue(p.glow) &&
                            !(alpha & 4))
                            p.glow = int(unsigned(p.glow) + (4u << 24));
                        if (l.type == Light::Spot && l.style == Light::StyleElectric &&
                            Screen::getGreen(p.glow) && !(alpha & 2))
                            p.glow = int(unsigned(p.glow) + (2u << 24));
                    }
                } else if (l.type == Light::Directional && inRegion(mx, my)) {
                    int d = directionalDepth(level, float(mx), float(my), float(l.dirX), float(l.dirY));
                    float f = 1, g = 1;
                    if (p.depth < d)
                        f = 1.0f / (d - p.depth + 1);
                    if (d > 9)
                        f = g = 0;
                    add(received, l, f, g);
                    if (f > 0)
                        received.reached = 1;
                } else if (l.type == Light::Special) {
                    int inner = l.radius - l.direction;
                    if (inner * inner <= dx * dx + dy * dy && dx * dx + dy * dy <= l.radius * l.radius) {
                        add(received, l, 1, 1);
                        received.reached = 1;
                        level.addInMemory(mx * H + my);
                    }
                }
            }
    }
    level.front = b;
}

} // namespace reference
