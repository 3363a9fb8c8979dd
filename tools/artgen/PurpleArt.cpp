// The underground car park and the dark rooms under it: the dog owner who
// waits by the car park's door, parked cars, concrete pillars, the ramps
// between the decks (solid slopes the player walks up), the car park's
// level sign, and the roots hanging into the old pipe gallery.

#include "Art.h"
#include "PixelFont.h"
#include "Rng.h"

#include <cmath>

namespace {

const uint32_t concrete = rgb(116, 114, 120);
const uint32_t concreteDark = rgb(70, 68, 76);

// ---- The dog owner -----------------------------------------------------

// A woman in a long magenta coat and a purple beret, an empty leash
// hanging from her hand. Frame 1 she lifts the leash and turns her head,
// calling the dog. She stands in front of the wall (depth 5); her eyes
// glow faintly so she shows in the dark before anything else.
void drawOwner(Picture& p, int f)
{
    const uint32_t coat = rgb(170, 40, 130), coatDark = rgb(110, 24, 90), coatLight = rgb(214, 84, 170);
    const uint32_t beret = rgb(96, 40, 150), skin = rgb(206, 160, 132), hair = rgb(60, 30, 40);
    const uint32_t boots = rgb(40, 28, 44), leash = rgb(190, 150, 220);
    const int d = 5;
    // Boots and the coat's long skirt.
    p.fill(f, 4, 23, 2, 3, ink(boots, d));
    p.fill(f, 8, 23, 2, 3, ink(boots, d));
    for (int y = 10; y < 23; y++) {
        int widen = (y - 10) / 5;
        p.line(f, 3 - widen, y, 10 + widen, y, ink(coat, d));
    }
    p.line(f, 7, 11, 7, 22, ink(coatDark, d));      // the coat's opening
    p.line(f, 3, 16, 10, 16, ink(coatDark, d));     // the belt
    p.line(f, 4, 10, 4, 14, ink(coatLight, d));     // light on the shoulder
    // A purple scarf, the head, hair and beret.
    p.fill(f, 4, 8, 6, 2, ink(beret, d));
    p.disc(f, 7.0f, 5.0f, 2.5f, 2.8f, ink(skin, d));
    p.line(f, 4, 3, 4, 8, ink(hair, d));
    p.fill(f, 4, 1, 7, 2, ink(beret, d));
    p.put(f, 10, 2, ink(beret, d));
    int eyeX = f == 0 ? 8 : 9;
    p.put(f, eyeX, 5, ink(rgb(240, 230, 255), d, 0.5f));
    // The arm and the empty leash.
    if (f == 0) {
        p.line(f, 10, 11, 11, 17, ink(coatDark, d));
        p.put(f, 11, 18, ink(skin, d));
        p.line(f, 12, 18, 12, 22, ink(leash, d));
        p.line(f, 12, 22, 10, 24, ink(leash, d));
    } else {
        p.line(f, 10, 11, 12, 7, ink(coatDark, d));
        p.put(f, 12, 6, ink(skin, d));
        p.line(f, 13, 6, 13, 12, ink(leash, d));
        p.line(f, 13, 12, 11, 14, ink(leash, d));
    }
}

void owner(Album& album)
{
    Picture& p = album.add("dog_owner.anm", 14, 26, 2);
    for (int f = 0; f < 2; f++)
        drawOwner(p, f);
}

// ---- Parked cars -------------------------------------------------------

// A car in profile, left as the driver parked it: body, cabin, dark
// windows, wheels; `boxy` draws a van's tall square cabin instead of a
// saloon's sloping one. Cars are props in front of the wall (depth 6),
// not solid.
void drawParkedCar(Picture& p, uint32_t body, bool boxy)
{
    const uint32_t glass = rgb(30, 34, 46), tyre = rgb(24, 24, 28), rim = rgb(140, 140, 150);
    const int d = 6, w = p.width, h = p.height;
    uint32_t shadow = shade(body, 0.6f), light = shade(body, 1.3f);
    p.fill(0, 1, h - 12, w - 2, 7, ink(body, d));
    p.fill(0, 0, h - 10, w, 4, ink(body, d));
    p.line(0, 1, h - 12, w - 2, h - 12, ink(light, d));
    p.line(0, 1, h - 6, w - 2, h - 6, ink(shadow, d));
    int cabinTop = boxy ? 1 : 4;
    for (int y = cabinTop; y < h - 12; y++) {
        int left = boxy ? 4 : 14 - (y - cabinTop);
        int right = boxy ? w - 18 + (y - cabinTop) / 3 : w - 16 + (y - cabinTop);
        p.line(0, left, y, right, y, ink(body, d));
    }
    int top = cabinTop + 1;
    if (boxy) {
        p.fill(0, 6, top, 6, h - 14 - top, ink(glass, d));
    } else {
        p.fill(0, 14 - 1, top, (w - 16) / 2 - 12, h - 14 - top, ink(glass, d));
        p.fill(0, (w - 16) / 2 + 3, top, (w - 16) / 2 - 5, h - 14 - top, ink(glass, d));
    }
    // Lamps, a faint reflection on the glass, the wheels.
    p.fill(0, 0, h - 10, 2, 2, ink(rgb(120, 30, 30), d));
    p.fill(0, w - 2, h - 10, 2, 2, ink(rgb(200, 200, 170), d));
    p.line(0, w - 20, top + 1, w - 22, top + 3, ink(rgb(90, 100, 120), d));
    for (int cx : {11, w - 12}) {
        p.disc(0, float(cx), float(h - 4), 4.0f, 4.0f, ink(tyre, d));
        p.disc(0, float(cx), float(h - 4), 1.6f, 1.6f, ink(rim, d));
    }
}

void cars(Album& album)
{
    drawParkedCar(album.add("parked_car01.til", 60, 22), rgb(96, 70, 120), false);
    drawParkedCar(album.add("parked_car02.til", 60, 22), rgb(84, 96, 104), false);
    drawParkedCar(album.add("parked_van.til", 64, 28), rgb(150, 146, 140), true);
}

// ---- Concrete ----------------------------------------------------------

// Bare concrete walls of the car park: formwork panels with their tie holes
// and seams (the seams lie a step behind), and a concrete deck floor with
// a painted edge over rock. Both repeat without seams.
void concreteSurfaces(Album& album)
{
    Picture& wall = album.add("wall_concrete.til", 32, 16);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 32; x++) {
            float n = tiledNoise(x, y, 4, 32, 511) * 0.6f + latticeHash(x, y, 512) * 0.4f;
            uint32_t c = shade(concrete, 0.55f + n * 0.25f);
            int depth = 2;
            if (x == 0 || y == 0) {
                c = shade(c, 0.6f);
                depth = 1;
            }
            if ((x == 8 || x == 24) && y == 8)
                c = rgb(40, 38, 44);
            wall.put(0, x, y, ink(c, depth));
        }
    Picture& floor = album.add("floor_concrete.til", 16, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 16; x++) {
            float n = latticeHash(x, y, 513);
            if (y == 0)
                floor.put(0, x, y, ink(shade(rgb(150, 148, 150), 0.9f + n * 0.2f), 9));
            else if (y == 1)
                floor.put(0, x, y, ink(shade(concreteDark, 0.9f + n * 0.2f), 9));
            else
                floor.put(0, x, y, ink(shade(rgb(52, 50, 56), 0.8f + n * 0.4f), 10));
        }
}

// A square concrete pillar with formwork seams and a hazard band at its
// foot, standing in front of the wall.
void pillar(Album& album)
{
    Picture& p = album.add("pillar_concrete.til", 14, 64);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 14; x++) {
            float n = latticeHash(x, y, 501);
            uint32_t c = shade(concrete, 0.85f + n * 0.25f);
            if (x == 0 || x == 13)
                c = shade(c, 0.6f);
            if (y % 16 == 0)
                c = shade(c, 0.8f);
            if (y >= 52 && y < 60)
                c = ((x + y) / 3) % 2 ? rgb(40, 36, 40) : rgb(210, 180, 40);
            p.put(0, x, y, ink(c, 6));
        }
}

// Ramps between the decks: concrete slopes rising one pixel in four,
// solid (depth 10) under a two-pixel crust the feet stand in, so the
// player walks up them without a jump. `rightUp` rises to the right.
void ramp(Album& album, const char* name, bool rightUp)
{
    Picture& p = album.add(name, 64, 16);
    for (int x = 0; x < 64; x++) {
        int along = rightUp ? x : 63 - x;
        int surface = 16 - (along + 1) / 4;
        for (int y = surface; y < 16; y++) {
            float n = latticeHash(x, y, 502);
            if (y < surface + 2) {
                bool stripe = y == surface && (x / 6) % 2 == 0;
                p.put(0, x, y, ink(stripe ? rgb(190, 170, 70) : shade(concrete, 1.1f + n * 0.1f), 9));
            } else {
                p.put(0, x, y, ink(shade(concreteDark, 0.8f + n * 0.3f), 10));
            }
        }
    }
}

// The car park's blue level sign: a white "P" and the deck's number.
void levelSign(Album& album, const char* name, const char* deck)
{
    Picture& p = album.add(name, 22, 12);
    p.fill(0, 0, 0, 22, 12, ink(rgb(30, 70, 150), 4, 0.15f));
    p.frameRect(0, 0, 0, 22, 12, ink(rgb(200, 210, 230), 4, 0.15f));
    PixelFont::print(p, 0, 3, 3, "P", ink(0xFFFFFFFFu, 4, 0.3f));
    PixelFont::print(p, 0, 9, 3, deck, ink(0xFFFFFFFFu, 4, 0.3f));
}

// ---- The pipe gallery's roots --------------------------------------------

// Roots that broke through the vault of the old pipe gallery and hang
// down like a forest upside down: a few thick strands that split and thin.
void roots(Album& album)
{
    Picture& p = album.add("roots_hanging.til", 32, 48);
    Rng rng(503);
    const uint32_t bark = rgb(92, 70, 52), barkDark = rgb(56, 42, 34);
    for (int strand = 0; strand < 7; strand++) {
        float x = 3.0f + float(strand) * 4.3f, width = 2.6f - float(strand % 3) * 0.5f;
        int length = rng.range(24, 47);
        for (int y = 0; y < length; y++) {
            x += (rng.unit() - 0.5f) * 0.9f;
            float wy = width * (1.0f - float(y) / float(length + 8));
            for (int dx = -int(wy); dx <= int(wy); dx++) {
                int px = int(x) + dx;
                if (px >= 0 && px < 32)
                    p.put(0, px, y, ink(dx < 0 ? barkDark : bark, 3));
            }
        }
    }
}

// The reach of the scene trigger over fall01's crack: scene triggers are
// never drawn, only their rectangle counts, so the picture stays empty.
void fallZone(Album& album)
{
    album.add("trigger_fall.til", 272, 64);
}

} // namespace

void addPurpleArt(Album& album)
{
    owner(album);
    concreteSurfaces(album);
    cars(album);
    pillar(album);
    ramp(album, "ramp_up_right.til", true);
    ramp(album, "ramp_up_left.til", false);
    levelSign(album, "sign_parking_1.til", "-1");
    levelSign(album, "sign_parking_2.til", "-2");
    levelSign(album, "sign_parking_3.til", "-3");
    roots(album);
    fallZone(album);
}
