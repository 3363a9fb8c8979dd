// The dog, the cat, the police car and the people the player meets. Creatures move on their own layer
// (depth 5, in front of the walls); their eyes are incandescent so they
// show in the dark before anything else does.

#include "Art.h"
#include "PixelFont.h"

#include <cmath>

namespace {

const float pi = 3.14159265f;

// The dog faces left as stored (it is mirrored when it runs right). A pose
// gives each leg's foot: its offset from the hip along x and how many rows
// it is lifted off the ground. Legs run front near, front far, hind near,
// hind far; the far ones are darker.
struct DOG_POSE {
    float footX[4];
    int lift[4];
    int bob;        // rows the body rises
    float stretch;  // extra half length of the body
    float wag;      // tail tip lift
    bool earsBack;
};

void drawDog(Picture& p, int f, const DOG_POSE& pose)
{
    const uint32_t fur = rgb(86, 66, 50), furDark = rgb(52, 40, 32), furLight = rgb(120, 96, 72);
    const int d = 5;
    int by = 7 - pose.bob;
    // Legs first, so the body covers their tops. A lifted leg bends at the
    // knee: front knees fold back, hind hocks forward of the foot.
    const float hipX[4] = {6.0f, 8.0f, 14.0f, 16.0f};
    for (int k = 0; k < 4; k++) {
        const Ink& leg = ink(k % 2 ? furDark : fur, d);
        int hx = int(hipX[k]), top = by + 1;
        int fx = int(std::lround(hipX[k] + pose.footX[k])), fy = 13 - pose.lift[k];
        if (pose.lift[k] == 0) {
            p.line(f, hx, top, fx, fy, leg);
            continue;
        }
        int bend = k < 2 ? 1 : -1;
        int kx = (hx + fx) / 2 + bend * (pose.lift[k] + 1) / 2, ky = (top + fy) / 2;
        p.line(f, hx, top, kx, ky, leg);
        p.line(f, kx, ky, fx, fy, leg);
    }
    p.disc(f, 11.0f, float(by), 6.5f + pose.stretch, 3.6f - pose.stretch * 0.5f, ink(fur, d));
    p.disc(f, 11.5f, float(by) + 1.5f, 5.0f + pose.stretch, 1.8f, ink(furDark, d));
    p.disc(f, 7.5f - pose.stretch, float(by) - 0.5f, 3.0f, 3.0f, ink(fur, d));   // deep chest
    p.line(f, 7, by - 2, 15, by - 2, ink(furLight, d));
    // Head with snout and ear, low and forward; stretched out when running.
    int hx = pose.stretch > 0 ? -1 : 0, hy = pose.stretch > 0 ? 1 : 0;
    p.disc(f, 4.5f + hx, float(by) - 2.0f + hy, 3.0f, 2.8f, ink(fur, d));
    p.fill(f, 0, by - 2 + hy, 3, 2, ink(fur, d));
    p.put(f, 0, by - 2 + hy, ink(rgb(20, 16, 14), d));
    p.line(f, 0, by + hy, 3, by + hy, ink(furDark, d));
    if (pose.earsBack) {
        p.line(f, 5 + hx, by - 4 + hy, 8 + hx, by - 4 + hy, ink(furDark, d));
    } else {
        p.line(f, 5, by - 5, 6, by - 3, ink(furDark, d));
        p.put(f, 6, by - 5, ink(furDark, d));
    }
    // Eye: glowing red.
    p.put(f, 3 + hx, by - 3 + hy, ink(rgb(255, 40, 20), d, 1.0f));
    // Tail.
    int tx = 17, ty = by - 1;
    int ex = 19, ey = int(std::lround(by - 4 + pose.wag));
    p.line(f, tx, ty, ex, ey, ink(fur, d));
}

void dog(Album& album)
{
    Picture& idle = album.add("dog_idle.anm", 20, 14, 4);
    static const int breathe[4] = {0, 0, 1, 0};
    static const float wags[4] = {0.0f, 1.5f, 0.0f, -1.0f};
    for (int f = 0; f < 4; f++)
        drawDog(idle, f, DOG_POSE{{0.0f, 0.0f, 0.0f, 0.0f}, {0, 0, 0, 0}, breathe[f], 0.0f, wags[f], false});
    // A gallop: legs reach out, the front ones land, all gather under the
    // body, the hind ones push off, and the front ones reach out again.
    static const DOG_POSE gallop[6] = {
        {{-5.0f, -4.0f, 4.0f, 3.0f}, {1, 2, 1, 2}, 0, 1.0f, 3.0f, true},
        {{-2.0f, -3.0f, 4.0f, 2.0f}, {0, 1, 2, 3}, 0, 0.5f, 3.0f, true},
        {{1.0f, 0.0f, 0.0f, -1.0f}, {0, 0, 2, 3}, 1, 0.0f, 2.0f, true},
        {{3.0f, 2.0f, -3.0f, -2.0f}, {1, 2, 0, 0}, 1, 0.0f, 2.0f, true},
        {{-1.0f, -2.0f, -1.0f, 1.0f}, {3, 2, 0, 0}, 1, 0.5f, 3.0f, true},
        {{-4.0f, -3.0f, 2.0f, 3.0f}, {2, 3, 0, 1}, 0, 1.0f, 3.0f, true},
    };
    Picture& run = album.add("dog_run.anm", 20, 14, 6);
    for (int f = 0; f < 6; f++)
        drawDog(run, f, gallop[f]);
}

// The cat, 16 x 14, feet on the bottom row. t = 0 sits facing the viewer,
// t = 1 stands in profile facing left; the turn passes between them.
void drawCat(Picture& p, int f, float t, float phase, float tailSwish, bool blink)
{
    const uint32_t fur = rgb(68, 64, 84), furLight = rgb(116, 112, 140);
    const uint32_t eyeColour = rgb(230, 220, 60);
    const int d = 5;
    auto lerp = [&](float a, float b) { return a + (b - a) * t; };
    // Legs of the standing cat.
    if (t > 0.5f) {
        const float legX[4] = {5.0f, 7.0f, 11.0f, 13.0f};
        for (int k = 0; k < 4; k++) {
            float swing = std::sin(phase + (k % 2) * pi) * 1.5f;
            p.line(f, int(legX[k]), 9, int(std::lround(legX[k] + swing)), 13, ink(fur, d));
        }
    }
    p.disc(f, lerp(8.0f, 9.0f), lerp(10.0f, 8.0f), lerp(4.0f, 5.5f), lerp(4.0f, 2.5f), ink(fur, d));
    p.line(f, int(lerp(6.0f, 6.0f)), int(lerp(7.0f, 6.0f)), int(lerp(7.0f, 12.0f)), int(lerp(7.0f, 6.0f)), ink(furLight, d));
    float hx = lerp(8.0f, 3.5f), hy = lerp(4.5f, 5.5f);
    p.disc(f, hx, hy, 3.0f, 2.6f, ink(fur, d));
    // Ears.
    int ex = int(std::lround(hx));
    int ey = int(std::lround(hy)) - 3;
    p.put(f, ex - 2, ey, ink(fur, d));
    p.put(f, ex - 2, ey + 1, ink(fur, d));
    p.put(f, ex + (t > 0.5f ? 0 : 2), ey, ink(fur, d));
    p.put(f, ex + (t > 0.5f ? 0 : 2), ey + 1, ink(fur, d));
    // Eyes: two facing the viewer, one in profile.
    int eyY = int(std::lround(hy));
    uint32_t e = blink ? fur : eyeColour;
    float g = blink ? 0.0f : 1.0f;
    if (t < 0.5f) {
        p.put(f, ex - 1, eyY, ink(e, d, g));
        p.put(f, ex + 1, eyY, ink(e, d, g));
    } else
        p.put(f, ex - 1, eyY, ink(e, d, g));
    // Tail: on the ground curling right while sitting, raised while walking.
    if (t < 0.5f) {
        for (int k = 0; k < 5; k++) {
            int x = 11 + k;
            int y = 13 - int(std::lround(k * k * 0.12f * (1.0f + tailSwish)));
            p.put(f, x, y, ink(fur, d));
        }
    } else {
        for (int k = 0; k < 6; k++) {
            int x = 14 + int(std::lround(std::sin(k * 0.5f + tailSwish) * 1.0f));
            p.put(f, x, 7 - k, ink(fur, d));
        }
    }
}

void cat(Album& album)
{
    Picture& sit = album.add("cat01.anm", 16, 14, 8);
    for (int f = 0; f < 8; f++)
        drawCat(sit, f, 0.0f, 0.0f, std::sin(f * 2.0f * pi / 8.0f), f == 5);
    Picture& turn = album.add("cat02.anm", 16, 14, 6);
    for (int f = 0; f < 6; f++)
        drawCat(turn, f, float(f) / 5.0f, 0.0f, 0.0f, false);
    Picture& walk = album.add("cat03.anm", 16, 14, 8);
    for (int f = 0; f < 8; f++)
        drawCat(walk, f, 1.0f, f * 2.0f * pi / 8.0f, std::sin(f * 2.0f * pi / 8.0f) * 0.5f, false);
}

// A police car in profile driving right; `lights` 0 or 1 swaps the colours
// of the light bar.
void drawCar(Picture& p, int f, int lights)
{
    const uint32_t body = rgb(232, 234, 240), bodyShade = rgb(170, 174, 186);
    const uint32_t blue = rgb(30, 60, 150), red = rgb(200, 30, 40);
    const uint32_t glass = rgb(90, 120, 150);
    const int d = 5;
    // Lower body with rounded ends.
    p.fill(f, 2, 11, 60, 8, ink(body, d));
    p.fill(f, 1, 12, 62, 6, ink(body, d));
    p.fill(f, 2, 17, 60, 2, ink(bodyShade, d));
    // Cabin with windows.
    for (int y = 4; y < 11; y++) {
        int left = 18 - (y - 4), right = 42 + (y - 4) * 3 / 2;
        p.line(f, left, y, right, y, ink(body, d));
    }
    p.fill(f, 19, 5, 10, 5, ink(glass, d, 0.1f));
    p.fill(f, 31, 5, 11, 5, ink(glass, d, 0.1f));
    p.line(f, 42, 5, 46, 9, ink(glass, d, 0.1f));
    p.line(f, 43, 5, 47, 9, ink(glass, d, 0.1f));
    // Stripes and lettering.
    p.fill(f, 2, 16, 60, 1, ink(blue, d));
    p.fill(f, 2, 17, 60, 1, ink(red, d));
    PixelFont::print(p, f, 33, 11, "POLICE", ink(blue, d));
    // Door line and handle.
    p.line(f, 30, 10, 30, 15, ink(bodyShade, d));
    p.put(f, 27, 12, ink(rgb(60, 60, 60), d));
    // Light bar on the roof: incandescent.
    p.fill(f, 26, 2, 4, 2, ink(lights ? red : rgb(60, 120, 255), d, 1.0f));
    p.fill(f, 30, 2, 4, 2, ink(lights ? rgb(60, 120, 255) : red, d, 1.0f));
    p.fill(f, 25, 3, 10, 1, ink(rgb(40, 40, 44), d));
    // Head and tail lights.
    p.fill(f, 62, 12, 1, 2, ink(rgb(255, 250, 210), d, 1.0f));
    p.fill(f, 1, 12, 1, 2, ink(rgb(230, 30, 30), d, 0.8f));
    // Wheels with hubs.
    for (float wx : {14.0f, 50.0f}) {
        p.disc(f, wx, 19.5f, 4.5f, 4.5f, ink(rgb(24, 24, 28), d));
        p.disc(f, wx, 19.5f, 2.0f, 2.0f, ink(rgb(150, 150, 160), d));
    }
}

void car(Album& album)
{
    Picture& still = album.add("car01.til", 64, 24);
    drawCar(still, 0, 0);
    Picture& flashing = album.add("car02.anm", 64, 24, 2);
    drawCar(flashing, 0, 0);
    drawCar(flashing, 1, 1);
}

// The people the player meets: standing in a long coat and a cap, facing
// left, one arm raised on the second frame as they talk.
void drawPerson(Picture& p, int f, uint32_t coat)
{
    const uint32_t skin = rgb(196, 150, 120), cap = rgb(40, 40, 48), trousers = rgb(34, 34, 40);
    const int d = 5;
    p.fill(f, 4, 19, 2, 5, ink(trousers, d));
    p.fill(f, 7, 19, 2, 5, ink(trousers, d));
    p.fill(f, 3, 8, 7, 12, ink(coat, d));
    p.line(f, 6, 9, 6, 18, ink(shade(coat, 0.6f), d));
    if (f == 0)
        p.line(f, 3, 9, 2, 16, ink(shade(coat, 0.8f), d));
    else
        p.line(f, 3, 9, 0, 6, ink(shade(coat, 0.8f), d));
    p.disc(f, 6.0f, 4.5f, 2.6f, 3.0f, ink(skin, d));
    p.fill(f, 3, 1, 6, 2, ink(cap, d));
    p.fill(f, 2, 3, 3, 1, ink(cap, d));
    p.put(f, 4, 4, ink(rgb(30, 20, 20), d));
}

void people(Album& album)
{
    Picture& worker = album.add("person01.anm", 12, 24, 2);
    for (int f = 0; f < 2; f++)
        drawPerson(worker, f, rgb(40, 70, 120));
}

} // namespace

void addCreatureArt(Album& album)
{
    dog(album);
    cat(album);
    car(album);
    people(album);
}

// The credits picture: the cat sitting under a subway lamp, drawn at twice
// the size, on an opaque background (the menu draws it without alpha).
void drawCreditsCat(Picture& p)
{
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            bool mortar = y % 6 == 5 || (x + (y / 6 % 2) * 6) % 12 == 0;
            uint32_t wall = mortar ? rgb(22, 18, 20) : rgb(52, 36, 34);
            float dx = x - 14.0f, dy = y - 4.0f;
            float light = 1.2f - std::sqrt(dx * dx + dy * dy) / 40.0f;
            p.put(0, x, y, ink(shade(wall, light < 0.15f ? 0.15f : light), 1));
        }
    p.fill(0, 0, 33, p.width, 7, ink(rgb(40, 38, 42), 9));
    p.fill(0, 0, 33, p.width, 1, ink(rgb(200, 170, 60), 9));
    p.fill(0, 11, 0, 6, 3, ink(rgb(70, 70, 76), 3));
    p.fill(0, 12, 3, 4, 2, ink(rgb(255, 240, 190), 3, 1.0f));
    Picture cat("cat", 16, 14);
    drawCat(cat, 0, 0.0f, 0.0f, 0.6f, false);
    for (int y = 0; y < 14; y++)
        for (int x = 0; x < 16; x++)
            if (cat.filled(0, x, y))
                for (int k = 0; k < 4; k++)
                    p.put(0, 30 + x * 2 + k % 2, 5 + y * 2 + k / 2,
                        ink(cat.colourAt(0, x, y), 5, cat.glowAt(0, x, y)));
}
