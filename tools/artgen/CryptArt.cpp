// The crypt at the end of the enigma rooms: Orsolan's tomb and his ghost,
// who sits by it and never leaves. The ghost is pale green light, not
// matter: his pixels are incandescent, so he shows in a dark room before
// the lamp reaches him.

#include "Art.h"
#include "PixelFont.h"

#include <cmath>

namespace {

const float pi = 3.14159265f;

// A hooded figure in a long robe that thins into wisps at the hem, seen
// from the front with the head turned a little to the left (where the
// player comes from). `f` of 4 frames: he hovers up and down by a pixel
// and the wisps sway.
void drawGhost(Picture& p, int f)
{
    const uint32_t robe = rgb(150, 230, 170), robeShade = rgb(92, 170, 118), hood = rgb(176, 244, 192);
    const uint32_t face = rgb(210, 255, 220), hollow = rgb(20, 60, 36);
    const int d = 5;
    const float bob = std::sin(f * 2.0f * pi / 4.0f);
    const int top = 2 + int(std::lround(bob));
    // Robe: a bell widening from the shoulders, ragged at the hem.
    for (int y = top + 9; y < p.height; y++) {
        float t = float(y - top - 9) / float(p.height - top - 9);
        float half = 3.5f + 3.0f * t;
        float cx = 8.0f + std::sin(t * pi + f * pi / 2.0f) * 0.8f * t;
        for (int x = 0; x < p.width; x++) {
            float off = x + 0.5f - cx;
            if (std::fabs(off) > half)
                continue;
            // Wisps: the lowest rows keep only every other strand.
            bool wisp = t > 0.75f && (int(std::floor(off + 8.0f + f * 0.5f)) % 3 == 0);
            if (wisp)
                continue;
            float fade = t > 0.6f ? 1.0f - (t - 0.6f) * 1.6f : 1.0f;
            uint32_t c = off < -half * 0.3f ? robeShade : robe;
            p.put(f, x, y, ink(shade(c, fade), d, 0.55f * fade));
        }
    }
    // Arms folded across the chest.
    p.line(f, 5, top + 13, 11, top + 14, ink(robeShade, d, 0.5f));
    // Hood and face.
    p.disc(f, 8.0f, top + 5.5f, 4.2f, 5.0f, ink(hood, d, 0.6f));
    p.disc(f, 7.2f, top + 6.2f, 2.4f, 3.2f, ink(face, d, 0.7f));
    p.put(f, 6, top + 5, ink(hollow, d, 0.1f));
    p.put(f, 8, top + 5, ink(hollow, d, 0.1f));
    p.line(f, 6, top + 8, 8, top + 8, ink(robeShade, d, 0.3f));
}

void ghost(Album& album)
{
    Picture& p = album.add("ghost_orsolan.anm", 16, 30, 4);
    for (int f = 0; f < 4; f++)
        drawGhost(p, f);
}

// A stone sarcophagus with his name on the lid's edge and a cross on the
// side, standing in front of the wall (the player walks in front of it).
void tomb(Album& album)
{
    Picture& p = album.add("tomb_orsolan.til", 56, 26);
    const uint32_t stone = rgb(132, 124, 110), stoneDark = rgb(84, 78, 70), stoneLight = rgb(170, 162, 146);
    // The chest, narrowing a little at its foot.
    for (int y = 8; y < 26; y++)
        for (int x = 2; x < 54; x++) {
            bool edge = x == 2 || x == 53 || y == 25;
            float grain = 0.92f + 0.08f * std::sin(x * 1.7f + y * 0.9f);
            p.put(0, x, y, ink(shade(edge ? stoneDark : stone, grain), 6));
        }
    // The lid overhangs the chest.
    p.fill(0, 0, 4, 56, 4, ink(stoneLight, 7));
    p.fill(0, 1, 2, 54, 2, ink(stone, 7));
    p.fill(0, 0, 7, 56, 1, ink(stoneDark, 7));
    // Carved panel with the name, and a cross.
    p.frameRect(0, 6, 10, 30, 11, ink(stoneDark, 5));
    PixelFont::print(p, 0, 8, 13, "ORSOLAN", ink(rgb(60, 54, 48), 5));
    p.fill(0, 43, 10, 3, 13, ink(stoneDark, 5));
    p.fill(0, 39, 13, 11, 3, ink(stoneDark, 5));
}

} // namespace

void addCryptArt(Album& album)
{
    ghost(album);
    tomb(album);
}
