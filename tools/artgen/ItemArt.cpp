// Bonuses, HUD icons and the lamps the player carries or finds. These are
// small objects lying in front of the walls: depth 4 to 5, so they cast a
// short shadow on the wall behind them. Flames are incandescent (1.0) so a
// lamp shows in the dark; metal glints get a faint glow.

#include "Art.h"
#include "Rng.h"

#include <algorithm>
#include <cmath>

namespace {

const float pi = 3.14159265f;

const uint32_t gold = rgb(232, 184, 48);
const uint32_t goldDark = rgb(150, 100, 20);
const uint32_t goldLight = rgb(255, 244, 170);
const uint32_t wax = rgb(236, 226, 196);
const uint32_t waxShade = rgb(190, 176, 140);
const uint32_t flameCore = rgb(255, 250, 210);
const uint32_t flameMid = rgb(255, 200, 70);
const uint32_t flameEdge = rgb(230, 110, 30);
const uint32_t brass = rgb(196, 150, 70);
const uint32_t brassDark = rgb(120, 86, 36);

// A candle flame: a teardrop with a white core, `h` pixels tall with its
// base centred at (cx, base). `sway` leans the tip sideways.
void flame(Picture& p, int f, float cx, int base, int h, float sway, int depth)
{
    for (int j = 0; j < h; j++) {
        float t = float(j) / float(h);              // 0 at the tip, 1 at the base
        float half = 0.35f + 1.4f * std::sin(t * pi * 0.9f) * float(h) / 8.0f;
        float centre = cx + sway * (1.0f - t);
        int y = base - h + j;
        for (int x = int(std::floor(centre - half)); x <= int(std::ceil(centre + half)); x++) {
            float d = std::fabs(x + 0.5f - centre) / (half + 0.01f);
            if (d > 1.0f)
                continue;
            uint32_t c = d < 0.45f && t > 0.35f ? flameCore : (d < 0.8f ? flameMid : flameEdge);
            p.put(f, x, y, ink(c, depth, 1.0f));
        }
    }
}

void coin(Album& album)
{
    Picture& p = album.add("gold_coin01.anm", 7, 7, 8);
    for (int f = 0; f < 8; f++) {
        float c = std::cos(f * 2.0f * pi / 8.0f);
        float rx = std::max(0.6f, 3.5f * std::fabs(c));
        p.disc(f, 3.5f, 3.5f, rx, 3.5f, ink(goldDark, 4));
        if (rx > 1.2f)
            p.disc(f, 3.5f, 3.5f, rx - 1.0f, 2.5f, ink(gold, 4));
        if (rx > 2.5f)
            p.line(f, 3, 2, 3, 4, ink(goldDark, 4));
        // The glint slides across as the coin turns.
        int gx = 3 + int(std::lround(std::sin(f * 2.0f * pi / 8.0f) * rx * 0.5f));
        p.put(f, gx, 1, ink(goldLight, 4, 0.3f));
    }
}

void diamond(Album& album)
{
    Picture& p = album.add("diamond01.anm", 7, 8, 6);
    const uint32_t facets[4] = {rgb(170, 240, 255), rgb(90, 190, 240), rgb(50, 120, 210), rgb(30, 70, 160)};
    for (int f = 0; f < 6; f++) {
        // Crown: rows 0-2, widening; pavilion: rows 3-7 narrowing to the point.
        for (int y = 0; y < 8; y++) {
            int half = y < 3 ? 2 + y / 2 : 3 - (y - 3) * 3 / 4;
            for (int x = 3 - half; x <= 3 + half; x++) {
                int k = y < 3 ? (x < 3 ? 0 : 1) : (x < 3 ? 1 : (x == 3 ? 2 : 3));
                if (y == 2)
                    k = 0;
                p.put(f, x, y, ink(facets[k], 4, 0.15f));
            }
        }
        // A sparkle wandering over the facets.
        static const int sx[6] = {1, 2, 4, 5, 3, 2};
        static const int sy[6] = {1, 0, 1, 2, 4, 3};
        p.put(f, sx[f], sy[f], ink(0xFFFFFFFFu, 4, 0.8f));
    }
}

void eye(Album& album)
{
    Picture& p = album.add("eye.til", 9, 7);
    p.disc(0, 4.5f, 3.5f, 4.5f, 2.6f, ink(rgb(230, 226, 210), 4, 0.2f));
    p.disc(0, 4.5f, 3.5f, 2.0f, 2.0f, ink(rgb(70, 150, 220), 4, 0.35f));
    p.disc(0, 4.5f, 3.5f, 1.0f, 1.0f, ink(rgb(10, 10, 20), 4, 0.0f));
    p.put(0, 5, 2, ink(0xFFFFFFFFu, 4, 0.6f));
    outline(p, 0, rgb(60, 40, 40), 4);
}

// A heart of w x h pixels with a highlight; `hollow` draws only its rim.
void heartShape(Picture& p, int f, int w, int h, uint32_t c, uint32_t dark, bool hollow, int depth)
{
    float r = w / 4.0f;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float px = x + 0.5f, py = y + 0.5f;
            bool lobe = (px - r) * (px - r) + (py - r) * (py - r) <= r * r * 1.1f
                || (px - 3 * r) * (px - 3 * r) + (py - r) * (py - r) <= r * r * 1.1f;
            // Below the lobes the heart narrows to a point at the bottom centre.
            float t = (py - r) / (h - r);
            bool point = py >= r && std::fabs(px - w / 2.0f) <= (w / 2.0f) * (1.0f - t) + 0.3f;
            if (lobe || point)
                p.put(f, x, y, ink(c, depth));
        }
    if (hollow) {
        Picture copy = p;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                if (copy.filled(f, x, y) && copy.filled(f, x - 1, y) && copy.filled(f, x + 1, y)
                    && copy.filled(f, x, y - 1) && copy.filled(f, x, y + 1))
                    p.clearPixel(f, x, y);
        return;
    }
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (p.filled(f, x, y) && (!p.filled(f, x + 1, y) || !p.filled(f, x, y + 1)))
                p.put(f, x, y, ink(dark, depth));
    p.put(f, std::max(0, int(r) - 1), std::max(0, int(r) - 1), ink(0xFFFFD0D0u, depth, 0.2f));
}

void hearts(Album& album)
{
    Picture& bonus = album.add("heart2.til", 9, 8);
    heartShape(bonus, 0, 9, 8, rgb(220, 30, 50), rgb(130, 10, 30), false, 4);
    Picture& full = album.add("heart_33.til", 7, 7);
    heartShape(full, 0, 7, 7, rgb(225, 35, 55), rgb(140, 15, 35), false, 0);
    Picture& empty = album.add("heart_empty2.til", 7, 7);
    heartShape(empty, 0, 7, 7, rgb(110, 60, 70), rgb(110, 60, 70), true, 0);
}

void skull(Album& album)
{
    Picture& p = album.add("skull01.til", 7, 8);
    const uint32_t bone = rgb(226, 218, 196), boneDark = rgb(160, 150, 128);
    p.disc(0, 3.5f, 3.0f, 3.5f, 3.0f, ink(bone, 4));
    p.fill(0, 2, 5, 3, 3, ink(bone, 4));
    p.fill(0, 1, 3, 2, 2, ink(rgb(20, 16, 16), 2));
    p.fill(0, 4, 3, 2, 2, ink(rgb(20, 16, 16), 2));
    p.put(0, 3, 5, ink(rgb(40, 30, 30), 3));
    p.put(0, 2, 7, ink(boneDark, 4));
    p.put(0, 4, 7, ink(boneDark, 4));
    p.put(0, 2, 1, ink(0xFFFFFFF0u, 4));
}

void key(Album& album)
{
    Picture& p = album.add("key.til", 11, 5);
    p.disc(0, 2.5f, 2.5f, 2.5f, 2.5f, ink(gold, 4));
    p.put(0, 2, 2, Ink{0u, 0, 0.0f});
    p.fill(0, 5, 2, 6, 1, ink(gold, 4));
    p.fill(0, 5, 3, 6, 1, ink(goldDark, 4));
    p.fill(0, 8, 4, 1, 1, ink(goldDark, 4));
    p.fill(0, 10, 4, 1, 1, ink(goldDark, 4));
    p.put(0, 1, 1, ink(goldLight, 4, 0.3f));
}

void balloonShape(Picture& p, int f, float sway)
{
    float cx = 6.0f + sway * 0.6f;
    p.disc(f, cx, 7.0f, 6.0f, 7.0f, ink(rgb(200, 28, 40), 2));
    p.disc(f, cx - 1.0f, 6.0f, 4.0f, 5.0f, ink(rgb(232, 58, 68), 2));
    p.disc(f, cx - 2.5f, 4.0f, 1.2f, 1.8f, ink(rgb(255, 190, 190), 2, 0.1f));
    p.fill(f, int(cx) - 1, 14, 2, 1, ink(rgb(150, 20, 30), 2));
    for (int y = 15; y < 34; y++) {
        float t = float(y - 15) / 19.0f;
        int x = int(std::lround(cx - 0.5f + std::sin(y * 0.45f) * 1.2f * (1.0f - t) - sway * 0.6f * t));
        p.put(f, x, y, ink(rgb(200, 200, 200), 2));
    }
}

void lamps(Album& album)
{
    // Lying in a level: a standing candle, a flashlight and a carbide lamp.
    Picture& candle = album.add("candle02.til", 5, 12);
    candle.fill(0, 1, 5, 3, 7, ink(wax, 4));
    candle.fill(0, 3, 5, 1, 7, ink(waxShade, 4));
    candle.put(0, 2, 4, ink(rgb(40, 30, 20), 4));
    flame(candle, 0, 2.5f, 4, 4, 0.0f, 4);
    candle.fill(0, 0, 11, 5, 1, ink(waxShade, 4));

    Picture& torch = album.add("torchlight2.til", 10, 5);
    torch.fill(0, 0, 1, 7, 3, ink(rgb(60, 64, 72), 4));
    torch.fill(0, 1, 1, 5, 1, ink(rgb(110, 116, 128), 4));
    torch.fill(0, 7, 0, 2, 5, ink(rgb(80, 84, 94), 4));
    torch.fill(0, 9, 0, 1, 5, ink(rgb(255, 250, 200), 4, 0.6f));
    torch.put(0, 3, 2, ink(rgb(200, 40, 40), 4));

    Picture& aceto = album.add("aceto.til", 7, 11);
    aceto.fill(0, 1, 5, 5, 6, ink(brass, 4));
    aceto.fill(0, 5, 5, 1, 6, ink(brassDark, 4));
    aceto.fill(0, 1, 7, 5, 1, ink(brassDark, 4));
    aceto.disc(0, 3.5f, 3.0f, 3.5f, 3.0f, ink(rgb(210, 210, 200), 4));
    aceto.disc(0, 3.5f, 3.0f, 2.0f, 2.0f, ink(rgb(240, 236, 220), 4, 0.3f));
    flame(aceto, 0, 3.5f, 4, 3, 0.0f, 5);

    // Carried: a small flickering candle (anchored 7 pixels above the hand)...
    Picture& carried = album.add("candle.anm", 3, 8, 4);
    static const float sways[4] = {0.0f, 0.6f, -0.4f, 0.3f};
    static const int heights[4] = {3, 4, 3, 4};
    for (int f = 0; f < 4; f++) {
        carried.fill(f, 0, 4, 3, 4, ink(wax, 4));
        carried.fill(f, 2, 4, 1, 4, ink(waxShade, 4));
        flame(carried, f, 1.5f, 4, heights[f], sways[f], 4);
    }
    // ...an electric torch held level, lens to the right...
    Picture& held = album.add("torchlight.til", 7, 3);
    held.fill(0, 0, 0, 5, 3, ink(rgb(60, 64, 72), 4));
    held.fill(0, 0, 0, 5, 1, ink(rgb(110, 116, 128), 4));
    held.fill(0, 5, 0, 1, 3, ink(rgb(90, 94, 104), 4));
    held.fill(0, 6, 0, 1, 3, ink(rgb(255, 250, 210), 4, 1.0f));
    // ...and an acetylene lamp hanging from the hand, its flame in front of the reflector.
    Picture& lamp = album.add("aceto.anm", 5, 8, 4);
    for (int f = 0; f < 4; f++) {
        lamp.disc(f, 2.5f, 2.0f, 2.5f, 2.0f, ink(rgb(200, 200, 190), 4));
        lamp.fill(f, 1, 4, 3, 4, ink(brass, 4));
        lamp.fill(f, 3, 4, 1, 4, ink(brassDark, 4));
        flame(lamp, f, 2.5f, 3, 2 + (f & 1), sways[f] * 0.5f, 5);
    }

    // The game-over candle in its pool of wax, flame flickering.
    Picture& big = album.add("candle01.anm", 12, 26, 8);
    Rng rng(11);
    for (int f = 0; f < 8; f++) {
        big.fill(f, 3, 10, 6, 15, ink(wax, 4));
        big.fill(f, 7, 10, 2, 15, ink(waxShade, 4));
        big.fill(f, 3, 10, 1, 15, ink(rgb(250, 244, 226), 4));
        big.put(f, 4, 11, ink(wax, 4));
        big.fill(f, 8, 11, 1, 4, ink(wax, 4));   // a drip
        big.fill(f, 1, 24, 10, 2, ink(waxShade, 4));
        big.line(f, 6, 8, 6, 9, ink(rgb(30, 24, 20), 4));
        float sway = (rng.unit() - 0.5f) * 1.6f;
        int h = 7 + rng.range(0, 1);
        big.halo(f, 6.0f, 5.0f, 6.0f, rgb(255, 180, 60), 0.55f, 0.5f);
        flame(big, f, 6.0f, 9, h, sway, 4);
    }

    // The balloon above the flying player, and the same one tied in a room,
    // swaying (an animated element, so a scene can hide it).
    Picture& balloon = album.add("balloon.til", 12, 34);
    balloonShape(balloon, 0, 0.0f);
    Picture& tied = album.add("balloon.anm", 12, 34, 4);
    for (int f = 0; f < 4; f++)
        balloonShape(tied, f, std::sin(f * pi / 2.0f));
}

} // namespace

void addItemArt(Album& album)
{
    coin(album);
    diamond(album);
    eye(album);
    hearts(album);
    skull(album);
    key(album);
    lamps(album);
    album.add("void.til", 1, 1);
}
