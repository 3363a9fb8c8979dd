// Props of the pools, the warehouses and the brewery, and the night sky and
// street of the way out. Depths as in the room art: things standing in front of the
// wall at 5 to 7, the sky far away at 0.

#include "Art.h"
#include "Rng.h"

#include <cmath>

namespace {

// A copper fermenting vat on its legs, 48 x 96: a riveted body lit from
// the left, a hatch on top with a foaming rim, a tap near the bottom.
void vat(Album& album)
{
    Picture& p = album.add("vat.til", 48, 96);
    const uint32_t copper = rgb(168, 98, 52);
    for (int y = 8; y < 84; y++)
        for (int x = 2; x < 46; x++) {
            float across = (x - 2) / 43.0f; // lit from the left
            float light = 1.15f - 0.75f * across + 0.25f * std::sin(across * 3.14159f);
            p.put(0, x, y, ink(shade(copper, light), 6));
        }
    for (int y = 12; y < 84; y += 18)
        p.fill(0, 2, y, 44, 2, ink(rgb(96, 54, 30), 6)); // hoops
    for (int y = 13; y < 84; y += 18)
        for (int x = 5; x < 44; x += 6)
            p.put(0, x, y, ink(rgb(230, 170, 110), 7)); // rivets
    p.disc(0, 24.0f, 8.0f, 22.0f, 5.0f, ink(shade(copper, 1.2f), 6));
    p.disc(0, 24.0f, 7.0f, 10.0f, 3.0f, ink(rgb(60, 40, 24), 5));
    p.disc(0, 24.0f, 6.0f, 8.0f, 2.0f, ink(rgb(214, 222, 150), 5, 0.35f)); // foam, faintly glowing
    p.fill(0, 4, 84, 4, 12, ink(rgb(70, 60, 56), 6));                         // legs
    p.fill(0, 40, 84, 4, 12, ink(rgb(70, 60, 56), 6));
    p.fill(0, 20, 70, 10, 3, ink(rgb(200, 190, 170), 7)); // tap
    p.fill(0, 27, 73, 3, 4, ink(rgb(200, 190, 170), 7));
    outline(p, 0, rgb(50, 28, 16), 6);
}

// A patch of night sky, 64 x 64, drawn as colour only: deep blue with a
// few stars; tiled over the void of the rooms open to the sky.
void nightSky(Album& album)
{
    Picture& p = album.add("sky_night.til", 64, 64);
    // A faint glow of its own, so the sky shows where no lamp reaches.
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++)
            p.put(0, x, y, ink(rgb(10, 16, 38), 0, 0.6f));
    Rng rng(2611);
    for (int i = 0; i < 14; i++) {
        int x = rng.range(0, 63), y = rng.range(0, 63);
        p.put(0, x, y, ink(rgb(210, 220, 255), 0, 1.0f));
    }
}

// The moon, 24 x 24, glowing.
void moon(Album& album)
{
    Picture& p = album.add("moon.til", 24, 24);
    p.halo(0, 12.0f, 12.0f, 12.0f, rgb(160, 180, 230), 0.6f, 0.6f);
    p.disc(0, 12.0f, 12.0f, 8.0f, 8.0f, ink(rgb(236, 238, 220), 0, 1.0f));
    p.disc(0, 9.0f, 10.0f, 2.0f, 2.0f, ink(rgb(200, 204, 190), 0, 1.0f));
    p.disc(0, 15.0f, 15.0f, 1.5f, 1.5f, ink(rgb(200, 204, 190), 0, 1.0f));
}

// A street lamp on its post, 20 x 72: the head at the top left glows.
void streetLamp(Album& album)
{
    Picture& p = album.add("lamp_street.til", 20, 72);
    const Ink iron = ink(rgb(46, 52, 58), 5);
    p.fill(0, 14, 6, 3, 66, iron);            // post
    p.fill(0, 12, 68, 7, 4, iron);            // foot
    p.line(0, 4, 4, 15, 4, iron);             // arm
    p.line(0, 4, 5, 15, 5, iron);
    p.fill(0, 1, 6, 8, 3, iron);              // hood
    p.fill(0, 2, 9, 6, 3, ink(rgb(255, 226, 160), 5, 1.0f));
    outline(p, 0, rgb(20, 22, 26), 5);
}

} // namespace

void addPinkTealArt(Album& album)
{
    vat(album);
    nightSky(album);
    moon(album);
    streetLamp(album);
}
