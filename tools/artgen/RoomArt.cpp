// Building blocks of rooms. Depths are absolute for a piece placed at depth
// 0: 10 is rock (solid, drawn black, stops light), the far wall sits at 0 to
// 1, wall surfaces at 1 to 4, things standing in front of the wall at 5 to 7.
// Where light falls on a step in depth the lighting darkens what lies
// behind it, so the depth of every piece is drawn with its colour: mortar
// lies behind the bricks, a niche behind its frame, a pipe in front of the
// plates it runs over. Floors and platforms are rock (10) under a visible
// crust of depth 9, the surface the player walks on: its top row is a
// bright rim and the row under it a darker lip, so that every walked edge
// reads as an edge wherever a lamp reaches it.

#include "Art.h"
#include "PixelFont.h"
#include "Rng.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const float pi = 3.14159265f;

using PixelFn = std::function<Ink(int x, int y)>;

void paint(Picture& p, int f, const PixelFn& fn)
{
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++)
            p.put(f, x, y, fn(x, y));
}

uint32_t jitter(uint32_t c, float amount, float n)
{
    return shade(c, 1.0f + (n - 0.5f) * 2.0f * amount);
}

// ---- Rock --------------------------------------------------------------

const uint32_t rockColour = rgb(78, 70, 62);
const uint32_t crustColour = rgb(128, 114, 96);

// The walked edge of a surface of colour `c`: the rim, then the lip.
uint32_t rim(uint32_t c)
{
    return mix(c, 0xFFFFFFFFu, 0.7f);
}

uint32_t lip(uint32_t c)
{
    return shade(c, 0.5f);
}

float rockNoise(int x, int y)
{
    return tiledNoise(x, y, 4, 32, 3) * 0.6f + tiledNoise(x, y, 2, 32, 4) * 0.4f;
}

void rock(Album& album)
{
    Picture& solid = album.add("rock01.til", 32, 32);
    paint(solid, 0, [](int x, int y) { return ink(jitter(rockColour, 0.25f, rockNoise(x, y)), 10); });

    // Faces of rock towards open space: a jagged crust of depth 9 (seen and
    // lit, and cast as a soft shadow) on rock of depth 10. `side` 0 top,
    // 1 bottom, 2 left, 3 right names where the open space is.
    const char* names[4] = {"rock_top.til", "rock_bottom.til", "rock_left.til", "rock_right.til"};
    for (int side = 0; side < 4; side++) {
        bool vertical = side < 2;
        Picture& p = album.add(names[side], vertical ? 32 : 16, vertical ? 16 : 32);
        paint(p, 0, [&](int x, int y) {
            int along = vertical ? x : y;
            int across = vertical ? (side == 0 ? y : 15 - y) : (side == 2 ? x : 15 - x);
            int edge = 2 + int(tiledNoise(along, 0, 4, 32, 7 + side) * 5.0f);
            if (across < edge)
                return ink(0u, 0);
            float n = rockNoise(x, y);
            if (across < edge + 2) {
                uint32_t c = jitter(crustColour, 0.2f, n);
                // The top face is walked on: it gets the rim and lip of floors.
                if (side == 0)
                    c = across == edge ? rim(c) : lip(c);
                else if (across == edge)
                    c = mix(c, 0xFFFFFFFFu, 0.2f);
                return ink(c, 9);
            }
            return ink(jitter(rockColour, 0.25f, n), 10);
        });
    }
}

// ---- Walls -------------------------------------------------------------

void brickWall(Album& album, const char* name, uint32_t brick, uint32_t mortar, uint32_t seed)
{
    Picture& p = album.add(name, 32, 16);
    paint(p, 0, [&](int x, int y) {
        int row = y / 4;
        int shift = (row % 2) * 4;
        int bx = (x + shift) % 32;
        bool joint = y % 4 == 3 || bx % 8 == 7;
        float n = latticeHash(x, y, seed);
        if (joint)
            return ink(jitter(mortar, 0.1f, n), 1);
        // Every brick has its own tone; its upper left edge is worn lighter.
        float tone = latticeHash((bx / 8) + row * 5, row, seed + 1);
        uint32_t c = jitter(brick, 0.18f, tone);
        c = jitter(c, 0.08f, n);
        if (y % 4 == 0 || bx % 8 == 0)
            c = mix(c, 0xFFFFFFFFu, 0.08f);
        return ink(c, 3);
    });
}

void tiledWall(Album& album, const char* name, uint32_t band)
{
    // Bevelled subway tiles, 8 x 4, glazed and a little dirty.
    Picture& p = album.add(name, 16, 16);
    const uint32_t glaze = rgb(214, 208, 190), grout = rgb(120, 114, 100);
    paint(p, 0, [&](int x, int y) {
        int row = y / 4;
        int tx = (x + (row % 2) * 4) % 8;
        if (y % 4 == 3 || tx == 7)
            return ink(grout, 1);
        uint32_t c = glaze;
        if (band && (row == 2))
            c = band;
        float dirt = tiledNoise(x, y, 4, 16, 21);
        c = shade(c, 0.85f + 0.15f * dirt - (y > 11 ? 0.08f : 0.0f));
        if (y % 4 == 0)
            c = mix(c, 0xFFFFFFFFu, 0.3f);
        return ink(c, 2);
    });
}

void caveWall(Album& album)
{
    Picture& p = album.add("wall_cave.til", 32, 32);
    paint(p, 0, [](int x, int y) {
        float n = tiledNoise(x, y, 8, 32, 31) * 0.65f + tiledNoise(x, y, 4, 32, 32) * 0.35f;
        int depth = 1 + int(n * 4.0f);          // bumps of rock at 1 to 4
        uint32_t c = mix(rgb(70, 58, 48), rgb(140, 122, 100), n);
        c = jitter(c, 0.06f, latticeHash(x, y, 33));
        return ink(c, std::min(depth, 4));
    });
}

void catacombWall(Album& album)
{
    // Limestone blocks of uneven length in courses of 8 rows.
    Picture& p = album.add("wall_catacomb.til", 32, 32);
    const int joints[4][3] = {{0, 13, 22}, {6, 17, 27}, {3, 11, 24}, {8, 19, 29}};
    paint(p, 0, [&](int x, int y) {
        int course = y / 8;
        bool joint = y % 8 == 7;
        int block = 0;
        for (int k = 0; k < 3; k++) {
            if (x == joints[course][k])
                joint = true;
            if (x > joints[course][k])
                block = k + 1;
        }
        if (joint)
            return ink(rgb(70, 62, 50), 1);
        float tone = latticeHash(block, course, 41);
        uint32_t c = jitter(rgb(168, 148, 108), 0.14f, tone);
        c = jitter(c, 0.07f, latticeHash(x, y, 42));
        // The edges of each block are rounded back towards the joints.
        bool nearJoint = y % 8 == 0 || y % 8 == 6;
        for (int k = 0; k < 3; k++)
            nearJoint = nearJoint || std::abs(x - joints[course][k]) == 1;
        return ink(c, nearJoint ? 2 : 3);
    });
}

// A bone lying from (x0, y) to (x1, y) with knobbly ends.
void bone(Picture& p, int f, int x0, int x1, int y, int depth)
{
    const uint32_t boneColour = rgb(214, 204, 176), boneShade = rgb(160, 148, 120);
    p.line(f, x0, y, x1, y, ink(boneColour, depth));
    p.put(f, x0, y - 1, ink(boneColour, depth));
    p.put(f, x0, y + 1, ink(boneShade, depth));
    p.put(f, x1, y - 1, ink(boneColour, depth));
    p.put(f, x1, y + 1, ink(boneShade, depth));
}

void skullAt(Picture& p, int f, int x, int y, int depth)
{
    const uint32_t boneColour = rgb(222, 212, 186), boneShade = rgb(150, 140, 114);
    p.disc(f, x + 3.0f, y + 3.0f, 3.0f, 2.8f, ink(boneColour, depth));
    p.fill(f, x + 2, y + 5, 3, 2, ink(boneShade, depth));
    // Eye sockets and nose are holes: deeper and dark.
    p.put(f, x + 1, y + 3, ink(rgb(24, 20, 16), depth - 2));
    p.put(f, x + 2, y + 3, ink(rgb(24, 20, 16), depth - 2));
    p.put(f, x + 4, y + 3, ink(rgb(24, 20, 16), depth - 2));
    p.put(f, x + 5, y + 3, ink(rgb(24, 20, 16), depth - 2));
    p.put(f, x + 3, y + 5, ink(rgb(40, 30, 24), depth - 1));
}

// A wall of stacked bones seen end on: knobs standing out of dark gaps two
// steps deeper.
void boneEnds(Picture& p, uint32_t boneColour, uint32_t gap, int depth, uint32_t seed)
{
    paint(p, 0, [&](int x, int y) {
        bool knob = ((x + (y / 3 % 2) * 2) % 4 < 3) && y % 3 < 2;
        if (!knob)
            return ink(gap, depth - 2);
        return ink(jitter(boneColour, 0.13f, latticeHash(x / 4, y / 3, seed)), depth);
    });
}

void catacombPieces(Album& album)
{
    // A niche: a dark hollow (depth 0) in a stone frame, bones inside.
    Picture& niche = album.add("catacomb_niche.til", 24, 20);
    paint(niche, 0, [](int x, int y) {
        float n = latticeHash(x, y, 51);
        return ink(jitter(rgb(160, 140, 104), 0.1f, n), 3);
    });
    for (int y = 3; y < 18; y++)
        for (int x = 3; x < 21; x++) {
            float dx = (x + 0.5f - 12.0f) / 9.0f, dy = (y - 9.0f) / 6.0f;
            if (y >= 9 || dx * dx + dy * dy <= 1.0f)
                niche.put(0, x, y, ink(shade(rgb(40, 34, 28), 1.0f - float(y - 3) / 30.0f), 0));
        }
    bone(niche, 0, 5, 15, 16, 1);
    bone(niche, 0, 7, 18, 14, 1);
    skullAt(niche, 0, 13, 9, 2);

    // Ossuary wall: skulls set in a wall of bone ends.
    Picture& skulls = album.add("catacomb_skulls.til", 32, 16);
    boneEnds(skulls, rgb(196, 184, 154), rgb(50, 42, 34), 3, 61);
    for (int k = 0; k < 4; k++)
        skullAt(skulls, 0, 1 + k * 8, 4, 4);

    Picture& bones = album.add("catacomb_bones.til", 32, 8);
    paint(bones, 0, [](int, int) { return ink(rgb(46, 38, 30), 1); });
    bone(bones, 0, 1, 14, 1, 3);
    bone(bones, 0, 17, 30, 2, 3);
    bone(bones, 0, 3, 19, 5, 3);
    bone(bones, 0, 21, 30, 6, 3);

    Picture& cross = album.add("catacomb_cross.til", 16, 24);
    cross.fill(0, 6, 1, 4, 22, ink(rgb(150, 132, 98), 3));
    cross.fill(0, 1, 6, 14, 4, ink(rgb(150, 132, 98), 3));
    cross.fill(0, 7, 2, 1, 20, ink(rgb(190, 172, 132), 3));
}

void metal(Album& album)
{
    Picture& plate = album.add("metal_plate.til", 16, 16);
    paint(plate, 0, [](int x, int y) {
        if (x == 15 || y == 15)
            return ink(rgb(40, 44, 48), 1);          // seam between plates
        bool rivet = (x == 2 || x == 12) && (y == 2 || y == 12);
        if (rivet)
            return ink(rgb(190, 196, 204), 4, 0.0f);
        float n = tiledNoise(x, y, 4, 16, 71);
        uint32_t c = jitter(rgb(96, 104, 112), 0.12f, n);
        if (x == 0 || y == 0)
            c = mix(c, 0xFFFFFFFFu, 0.15f);
        return ink(c, 3);
    });
    plate.line(0, 4, 9, 10, 6, ink(rgb(126, 132, 140), 3));   // a scratch

    Picture& grid = album.add("metal_grid.til", 16, 16);
    paint(grid, 0, [](int x, int y) {
        if (x % 4 == 0 || y % 4 == 0)
            return ink(rgb(110, 116, 124), 4);
        return ink(rgb(18, 20, 22), 0);             // the dark behind the grating
    });

    // Pipes run in front of the wall: a cylinder shaded across, flanges at the joints.
    const uint32_t pipe = rgb(120, 106, 80);
    auto cylinder = [&](float t) {
        float s = 0.55f + 0.6f * std::sin(t * pi) - (t > 0.6f ? 0.2f : 0.0f);
        return shade(pipe, s);
    };
    for (int vertical = 0; vertical < 2; vertical++) {
        Picture& pipePiece = album.add(vertical ? "pipe_v.til" : "pipe_h.til", vertical ? 6 : 16, vertical ? 16 : 6);
        paint(pipePiece, 0, [&](int x, int y) {
            int across = vertical ? x : y, along = vertical ? y : x;
            uint32_t c = cylinder((across + 0.5f) / 6.0f);
            if (along < 2)
                c = mix(c, rgb(70, 62, 50), 0.5f);   // the flange of the joint
            return ink(c, 6);
        });
    }
    Picture& elbow = album.add("pipe_elbow.til", 6, 6);
    paint(elbow, 0, [&](int x, int y) {
        float r = std::sqrt(float(x * x + y * y));
        if (r > 6.0f)
            return ink(0u, 0);
        return ink(cylinder(r / 6.0f), 6);
    });
    Picture& valve = album.add("pipe_valve.til", 10, 10);
    valve.disc(0, 5.0f, 5.0f, 5.0f, 5.0f, ink(rgb(160, 30, 30), 7));
    valve.disc(0, 5.0f, 5.0f, 3.6f, 3.6f, ink(0u, 0));
    valve.line(0, 1, 5, 8, 5, ink(rgb(160, 30, 30), 7));
    valve.line(0, 5, 1, 5, 8, ink(rgb(160, 30, 30), 7));
    valve.disc(0, 5.0f, 5.0f, 1.2f, 1.2f, ink(rgb(200, 200, 200), 7));

    Picture& cables = album.add("cable_h.til", 16, 4);
    for (int k = 0; k < 3; k++) {
        uint32_t colours[3] = {rgb(40, 40, 40), rgb(140, 40, 30), rgb(40, 60, 120)};
        for (int x = 0; x < 16; x++)
            cables.put(0, x, k + int(std::lround(std::sin((x + k * 3) * pi / 8.0f) * 0.4f)), ink(colours[k], 5));
    }
}

// ---- Floors, platforms, ladders -----------------------------------------

void floors(Album& album)
{
    Picture& stone = album.add("floor_stone.til", 16, 8);
    paint(stone, 0, [](int x, int y) {
        float n = latticeHash(x, y, 81);
        if (y < 2) {
            uint32_t c = jitter(rgb(160, 144, 114), 0.12f, n);
            return ink(y == 0 ? rim(c) : lip(c), 9);
        }
        return ink(jitter(rockColour, 0.2f, n), 10);
    });
    Picture& metro = album.add("floor_metro.til", 16, 8);
    paint(metro, 0, [](int x, int y) {
        float n = latticeHash(x, y, 82);
        if (y == 0)
            return ink(rim(rgb(226, 190, 40)), 9);     // the yellow safety line
        if (y == 1)
            return ink(lip(rgb(226, 190, 40)), 9);
        return ink(jitter(rgb(60, 58, 56), 0.2f, n), 10);
    });
    Picture& plate = album.add("floor_metal.til", 16, 8);
    paint(plate, 0, [](int x, int y) {
        if (y < 2) {
            bool stud = (x + y * 2) % 4 == 0;
            uint32_t c = stud ? rgb(170, 176, 184) : rgb(120, 126, 134);
            return ink(y == 0 ? rim(c) : lip(c), 9);
        }
        return ink(rgb(46, 50, 54), 10);
    });

    // Platforms: a walkable top (9 over 10) with a lighter truss underneath
    // (7) that lets light through its gaps and shades what is behind it.
    Picture& wood = album.add("platform_wood.til", 32, 8);
    paint(wood, 0, [](int x, int y) {
        float n = latticeHash(x, y, 83);
        if (y < 2) {
            uint32_t c = jitter(x % 11 == 0 ? rgb(70, 48, 30) : rgb(150, 104, 60), 0.15f, n);
            return ink(y == 0 ? rim(c) : lip(c), 9);
        }
        if (y < 4)
            return ink(rgb(90, 62, 36), 10);
        bool strut = (x % 16 == 3 || x % 16 == 12) || (y - 4 == (x % 16) - 4 && x % 16 < 8);
        return strut ? ink(rgb(110, 76, 44), 7) : ink(0u, 0);
    });
    Picture& girder = album.add("platform_metal.til", 32, 8);
    paint(girder, 0, [](int x, int y) {
        if (y < 2)
            return ink(y == 0 ? rim(rgb(150, 156, 164)) : lip(rgb(150, 156, 164)), 9);
        if (y < 4)
            return ink(rgb(60, 64, 70), 10);
        int k = x % 8;
        bool web = y == 7 || k == (y - 4) * 2 || k == 7 - (y - 4) * 2;
        return web ? ink(rgb(90, 96, 104), 7) : ink(0u, 0);
    });
    Picture& rail = album.add("rail.til", 32, 6);
    paint(rail, 0, [](int x, int y) {
        if (y < 2)
            return ink(y == 0 ? rgb(190, 190, 196) : rgb(110, 104, 100), 6);
        if (y >= 3 && x % 8 < 5)
            return ink(rgb(70, 52, 36), 5);        // sleepers
        return ink(0u, 0);
    });

    Picture& ladder = album.add("ladder.til", 12, 32);
    for (int y = 0; y < 32; y++) {
        ladder.put(0, 1, y, ink(rgb(150, 108, 64), 5));
        ladder.put(0, 2, y, ink(rgb(110, 78, 46), 5));
        ladder.put(0, 9, y, ink(rgb(150, 108, 64), 5));
        ladder.put(0, 10, y, ink(rgb(110, 78, 46), 5));
        if (y % 6 == 2) {
            ladder.line(0, 3, y, 8, y, ink(rgb(160, 118, 70), 5));
            ladder.line(0, 3, y + 1, 8, y + 1, ink(rgb(100, 70, 40), 5));
        }
    }
    Picture& rungs = album.add("ladder_metal.til", 10, 32);
    for (int y = 0; y < 32; y++) {
        rungs.put(0, 0, y, ink(rgb(150, 156, 164), 5));
        rungs.put(0, 9, y, ink(rgb(100, 106, 114), 5));
        if (y % 5 == 1)
            rungs.line(0, 1, y, 8, y, ink(rgb(130, 136, 144), 5));
    }
}

// ---- Doors, switches, boxes ---------------------------------------------

// Doors are 20 x 30: the player is about 20 x 25. The frame stands out (4),
// the leaf is set back (2), the handle and fittings stand out of the leaf.
void doorFrame(Picture& p, uint32_t frame)
{
    p.fill(0, 0, 0, 20, 30, ink(frame, 4));
    p.fill(0, 0, 0, 20, 1, ink(mix(frame, 0xFFFFFFFFu, 0.2f), 4));
    p.fill(0, 0, 0, 1, 30, ink(mix(frame, 0xFFFFFFFFu, 0.2f), 4));
}

void doors(Album& album)
{
    Picture& wood = album.add("door.til", 20, 30);
    doorFrame(wood, rgb(120, 110, 96));
    for (int y = 2; y < 30; y++)
        for (int x = 2; x < 18; x++) {
            uint32_t c = (x - 2) % 5 == 4 ? rgb(60, 38, 22) : jitter(rgb(120, 78, 44), 0.12f, latticeHash(x, y / 3, 91));
            wood.put(0, x, y, ink(c, 2));
        }
    wood.fill(0, 2, 8, 16, 1, ink(rgb(70, 66, 62), 3));
    wood.fill(0, 2, 22, 16, 1, ink(rgb(70, 66, 62), 3));
    wood.fill(0, 14, 15, 2, 2, ink(rgb(210, 180, 90), 3));

    Picture& steel = album.add("door_metal.til", 20, 30);
    doorFrame(steel, rgb(70, 74, 80));
    steel.fill(0, 2, 2, 16, 28, ink(rgb(92, 104, 110), 2));
    steel.fill(0, 4, 4, 12, 8, ink(rgb(110, 122, 128), 2));
    steel.fill(0, 5, 5, 10, 6, ink(rgb(60, 80, 90), 1));       // a small window, set back
    steel.fill(0, 3, 16, 4, 1, ink(rgb(190, 190, 190), 3));     // push bar
    steel.fill(0, 14, 16, 3, 2, ink(rgb(190, 190, 190), 3));
    PixelFont::print(steel, 0, 3, 22, "B 12", ink(rgb(200, 200, 200), 2));

    Picture& locked = album.add("door_locked.til", 20, 30);
    doorFrame(locked, rgb(70, 74, 80));
    locked.fill(0, 2, 2, 16, 28, ink(rgb(104, 80, 66), 2));
    for (int y = 5; y < 30; y += 6)
        locked.fill(0, 2, y, 16, 1, ink(rgb(60, 46, 38), 2));
    // The padlock stands out of the leaf; its keyhole lamp glows red.
    locked.fill(0, 12, 15, 5, 5, ink(rgb(200, 170, 70), 4));
    locked.frameRect(0, 13, 12, 3, 4, ink(rgb(170, 170, 176), 4));
    locked.put(0, 14, 17, ink(rgb(30, 20, 10), 3));
    locked.put(0, 10, 1, ink(rgb(255, 40, 30), 4, 1.0f));
    locked.put(0, 9, 1, ink(rgb(160, 30, 20), 4, 0.5f));

    Picture& gate = album.add("door_grate.til", 20, 30);
    doorFrame(gate, rgb(130, 118, 96));
    gate.fill(0, 2, 2, 16, 28, ink(rgb(20, 18, 16), 0));         // the passage behind, far away
    for (int x = 3; x < 18; x += 3)
        gate.line(0, x, 2, x, 29, ink(rgb(80, 72, 66), 5));      // bars in front
    gate.line(0, 2, 6, 17, 6, ink(rgb(80, 72, 66), 5));
    gate.line(0, 2, 24, 17, 24, ink(rgb(80, 72, 66), 5));

    // An iron gate that sinks into its slot in the floor: bars with two
    // cross-bars and a warning stripe along its top.
    Picture& sliding = album.add("gate_iron.til", 16, 32);
    for (int x = 1; x < 16; x += 3)
        sliding.fill(0, x, 0, 2, 32, ink(rgb(96, 88, 80), 5));
    sliding.fill(0, 0, 8, 16, 2, ink(rgb(120, 110, 98), 5));
    sliding.fill(0, 0, 22, 16, 2, ink(rgb(120, 110, 98), 5));
    for (int x = 0; x < 16; x++)
        sliding.fill(0, x, 0, 1, 3, ink((x / 3) % 2 ? rgb(30, 30, 30) : rgb(220, 180, 40), 5));

    Picture& arch = album.add("door_arch.til", 22, 30);
    paint(arch, 0, [](int x, int y) {
        float dx = (x + 0.5f - 11.0f) / 8.0f, dy = (y - 10.0f) / 8.0f;
        bool open = x >= 3 && x < 19 && y >= 2 && (y >= 10 || dx * dx + dy * dy <= 1.0f);
        if (open)
            return ink(shade(rgb(34, 30, 26), 1.0f - y / 60.0f), 0);
        return ink(jitter(rgb(156, 138, 102), 0.12f, latticeHash(x / 3, y / 3, 95)), 4);
    });
}

void switches(Album& album)
{
    // A lever with four positions: each use moves it one notch on.
    Picture& lever = album.add("switch01.anm", 8, 12, 4);
    for (int f = 0; f < 4; f++) {
        lever.fill(f, 1, 6, 6, 6, ink(rgb(80, 84, 90), 3));
        lever.fill(f, 1, 6, 6, 1, ink(rgb(130, 134, 140), 3));
        float a = (-60.0f + f * 40.0f) * pi / 180.0f;
        int ex = int(std::lround(4.0f + std::sin(a) * 4.5f)), ey = int(std::lround(8.0f - std::cos(a) * 6.5f));
        lever.line(f, 4, 8, ex, ey, ink(rgb(170, 170, 176), 5));
        lever.disc(f, ex + 0.5f, ey + 0.5f, 1.3f, 1.3f, ink(rgb(200, 30, 30), 5));
        // The lamp on the base burns green in the notch a box reads as on
        // (frame 1) and dim red in the others, so the state reads in the dark.
        bool on = f == 1;
        lever.fill(f, 2, 9, 4, 2, ink(on ? rgb(80, 255, 110) : rgb(230, 50, 40), 4, on ? 1.0f : 0.6f));
    }
    Picture& light = album.add("switch_light.anm", 6, 9, 2);
    for (int f = 0; f < 2; f++) {
        light.fill(f, 0, 0, 6, 9, ink(rgb(200, 196, 186), 3));
        light.frameRect(f, 0, 0, 6, 9, ink(rgb(140, 136, 128), 3));
        light.fill(f, 2, f ? 2 : 4, 2, 3, ink(rgb(240, 240, 236), 4));
        light.put(f, 3, 7, ink(f ? rgb(60, 255, 90) : rgb(255, 50, 40), 4, f ? 1.0f : 0.5f));
    }
    Picture& valve = album.add("switch_water.anm", 12, 12, 4);
    for (int f = 0; f < 4; f++) {
        valve.disc(f, 6.0f, 6.0f, 6.0f, 6.0f, ink(rgb(40, 70, 150), 5));
        valve.disc(f, 6.0f, 6.0f, 4.5f, 4.5f, ink(0u, 0));
        for (int k = 0; k < 3; k++) {
            float a = (f * 30.0f + k * 120.0f) * pi / 180.0f;
            valve.line(f, 6, 6, int(std::lround(6 + std::cos(a) * 5)), int(std::lround(6 + std::sin(a) * 5)),
                ink(rgb(60, 100, 190), 5));
        }
        valve.disc(f, 6.0f, 6.0f, 1.5f, 1.5f, ink(rgb(200, 200, 210), 6));
    }

    // The electric box: a cabinet with eight lamps, one per input.
    auto box = [](Picture& p, int f, int phase) {
        p.fill(f, 0, 0, 16, 20, ink(rgb(90, 96, 84), 4));
        p.frameRect(f, 0, 0, 16, 20, ink(rgb(60, 64, 56), 4));
        p.fill(f, 1, 1, 14, 1, ink(rgb(140, 146, 132), 4));
        // Yellow warning triangle with a bolt.
        for (int y = 0; y < 5; y++)
            p.line(f, 8 - y, 3 + y, 8 + y, 3 + y, ink(rgb(230, 200, 40), 4));
        p.line(f, 8, 4, 7, 6, ink(rgb(20, 20, 20), 4));
        p.line(f, 7, 6, 9, 6, ink(rgb(20, 20, 20), 4));
        for (int k = 0; k < 8; k++) {
            bool on = ((k * 3 + phase) % 5) < 3;
            int x = 2 + (k % 4) * 3 + 1, y = 11 + (k / 4) * 4;
            p.fill(f, x, y, 2, 2, on ? ink(k % 2 ? rgb(60, 255, 80) : rgb(255, 180, 40), 5, 1.0f)
                                      : ink(rgb(40, 44, 40), 4));
        }
    };
    Picture& still = album.add("electric_box.til", 16, 20);
    box(still, 0, 0);
    Picture& blinking = album.add("electric_box.anm", 16, 20, 4);
    for (int f = 0; f < 4; f++)
        box(blinking, f, f);
}

// ---- Signs, posters, lamps ---------------------------------------------

void signs(Album& album)
{
    Picture& exit = album.add("sign_exit.til", 24, 10);
    exit.fill(0, 0, 0, 24, 10, ink(rgb(10, 120, 60), 4, 0.7f));
    exit.frameRect(0, 0, 0, 24, 10, ink(rgb(180, 190, 180), 4));
    PixelFont::print(exit, 0, 5, 3, "EXIT", ink(rgb(230, 255, 236), 4, 1.0f));

    Picture& metro = album.add("sign_metro.til", 14, 14);
    metro.disc(0, 7.0f, 7.0f, 7.0f, 7.0f, ink(rgb(230, 190, 40), 4, 0.6f));
    metro.disc(0, 7.0f, 7.0f, 5.5f, 5.5f, ink(rgb(30, 40, 80), 4, 0.2f));
    PixelFont::print(metro, 0, 6, 5, "M", ink(rgb(250, 240, 200), 4, 0.9f));

    Picture& danger = album.add("sign_danger.til", 13, 12);
    for (int y = 0; y < 12; y++)
        danger.line(0, 6 - y / 2, y, 6 + y / 2, y, ink(rgb(220, 190, 30), 3));
    danger.line(0, 6, 3, 6, 7, ink(rgb(20, 20, 20), 3));
    danger.put(0, 6, 9, ink(rgb(20, 20, 20), 3));

    Picture& board = album.add("sign_wood.til", 16, 18);
    board.fill(0, 7, 8, 2, 10, ink(rgb(90, 62, 36), 5));
    board.fill(0, 0, 0, 16, 9, ink(rgb(150, 110, 66), 5));
    board.frameRect(0, 0, 0, 16, 9, ink(rgb(96, 66, 38), 5));
    for (int k = 0; k < 3; k++)
        board.line(0, 2, 2 + k * 2, 13 - k * 3, 2 + k * 2, ink(rgb(60, 40, 24), 5));

    Picture& arrow = album.add("sign_arrow.til", 16, 8);
    arrow.fill(0, 0, 1, 11, 6, ink(rgb(30, 60, 140), 4));
    for (int k = 0; k < 4; k++)
        arrow.line(0, 11 + k, k, 11 + k, 7 - k, ink(rgb(30, 60, 140), 4));
    PixelFont::print(arrow, 0, 2, 2, "GO", ink(rgb(230, 230, 240), 4));

    // Posters glued on the wall (depth 2, flat), and flyers lying on the ground.
    Picture& poster = album.add("poster01.til", 20, 28);
    poster.fill(0, 0, 0, 20, 28, ink(rgb(230, 220, 190), 2));
    poster.fill(0, 1, 1, 18, 18, ink(rgb(40, 60, 120), 2));
    poster.disc(0, 10.0f, 11.0f, 5.0f, 5.0f, ink(rgb(240, 150, 40), 2));
    poster.fill(0, 1, 14, 18, 5, ink(rgb(30, 90, 60), 2));
    PixelFont::print(poster, 0, 2, 21, "SOLEIL", ink(rgb(160, 40, 30), 2));
    Picture& concert = album.add("poster02.til", 20, 28);
    concert.fill(0, 0, 0, 20, 28, ink(rgb(20, 20, 24), 2));
    concert.disc(0, 10.0f, 10.0f, 7.0f, 7.0f, ink(rgb(200, 40, 120), 2));
    concert.disc(0, 10.0f, 10.0f, 3.0f, 3.0f, ink(rgb(20, 20, 24), 2));
    PixelFont::print(concert, 0, 2, 20, "LIVE", ink(rgb(240, 240, 240), 2));
    Picture& torn = album.add("poster_torn.til", 20, 28);
    for (int y = 0; y < 28; y++)
        for (int x = 0; x < 20; x++) {
            if (x + y * 0.4f > 16.0f + latticeHash(0, y, 101) * 4.0f)
                continue;
            uint32_t c = poster.colourAt(0, x, y);
            torn.put(0, x, y, ink(shade(c, 0.8f), 2));
        }
    for (int k = 0; k < 2; k++) {
        Picture& flyer = album.add(k ? "flyer02.til" : "flyer01.til", 9, 6);
        flyer.fill(0, 0, 1, 9, 5, ink(rgb(236, 232, 220), 3));
        flyer.line(0, 0, 1, 8, 0, ink(rgb(236, 232, 220), 3));
        // A hand-drawn arrow pointing the way (right or left).
        int from = k ? 7 : 1, to = k ? 1 : 7, dir = k ? -1 : 1;
        flyer.line(0, from, 3, to, 3, ink(rgb(200, 30, 30), 3));
        flyer.put(0, to - dir, 2, ink(rgb(200, 30, 30), 3));
        flyer.put(0, to - dir, 4, ink(rgb(200, 30, 30), 3));
    }
}

void lamps(Album& album)
{
    // Wall lamp: a bracket and a caged bulb that glows.
    Picture& wall = album.add("lamp_wall.til", 8, 11);
    wall.fill(0, 3, 0, 2, 3, ink(rgb(60, 60, 64), 5));
    wall.halo(0, 4.0f, 6.5f, 4.5f, rgb(255, 210, 120), 0.6f, 0.6f);
    wall.disc(0, 4.0f, 6.5f, 2.4f, 3.0f, ink(rgb(255, 236, 170), 6, 1.0f));
    wall.line(0, 1, 4, 1, 9, ink(rgb(50, 50, 54), 6));
    wall.line(0, 6, 4, 6, 9, ink(rgb(50, 50, 54), 6));
    wall.line(0, 1, 7, 6, 7, ink(rgb(50, 50, 54), 6));
    wall.line(0, 2, 10, 5, 10, ink(rgb(50, 50, 54), 6));

    Picture& neon = album.add("lamp_neon.til", 32, 4);
    neon.fill(0, 0, 0, 32, 1, ink(rgb(80, 84, 90), 5));
    neon.fill(0, 1, 1, 30, 2, ink(rgb(236, 250, 255), 6, 1.0f));
    neon.fill(0, 1, 3, 30, 1, ink(rgb(150, 190, 210, 160), 6, 0.6f));
    neon.fill(0, 0, 1, 1, 3, ink(rgb(80, 84, 90), 5));
    neon.fill(0, 31, 1, 1, 3, ink(rgb(80, 84, 90), 5));

    Picture& ceiling = album.add("lamp_ceiling.til", 16, 6);
    ceiling.fill(0, 0, 0, 16, 3, ink(rgb(70, 72, 76), 6));
    ceiling.fill(0, 1, 3, 14, 2, ink(rgb(255, 244, 210), 6, 1.0f));
    ceiling.fill(0, 3, 5, 10, 1, ink(rgb(255, 220, 150, 120), 6, 0.5f));

    Picture& warning = album.add("lamp_warning.til", 6, 7);
    warning.fill(0, 1, 5, 4, 2, ink(rgb(60, 60, 64), 5));
    warning.disc(0, 3.0f, 3.0f, 3.0f, 3.0f, ink(rgb(255, 50, 30), 6, 1.0f));
    warning.put(0, 2, 1, ink(rgb(255, 200, 180), 6, 1.0f));
}

// ---- Movable and dangerous things ---------------------------------------

void hazards(Album& album)
{
    // Crates stand taller than the character: a block is pushed only when
    // the character's rows lie within its own.
    const int crateW = 16, crateH = 28;
    Picture& crate = album.add("crate.til", crateW, crateH);
    crate.fill(0, 0, 0, crateW, crateH, ink(rgb(140, 96, 52), 6));
    for (int y = 0; y < crateH; y += 4)
        crate.fill(0, 0, y, crateW, 1, ink(rgb(96, 64, 34), 6));
    crate.frameRect(0, 0, 0, crateW, crateH, ink(rgb(86, 56, 30), 6));
    crate.frameRect(0, 1, 1, crateW - 2, crateH - 2, ink(rgb(170, 124, 72), 6));
    crate.line(0, 2, 2, crateW - 3, crateH - 3, ink(rgb(170, 124, 72), 6));
    crate.line(0, 2, 3, crateW - 4, crateH - 3, ink(rgb(96, 64, 34), 6));

    Picture& steel = album.add("crate_metal.til", crateW, crateH);
    steel.fill(0, 0, 0, crateW, crateH, ink(rgb(90, 100, 96), 6));
    steel.frameRect(0, 0, 0, crateW, crateH, ink(rgb(50, 56, 54), 6));
    steel.frameRect(0, 2, 2, crateW - 4, crateH - 4, ink(rgb(130, 140, 136), 6));
    for (int k : {1, crateW - 2})
        for (int j : {1, crateH - 2})
            steel.put(0, k, j, ink(rgb(200, 204, 200), 6));

    Picture& unstable = album.add("block_unstable.til", 16, 8);
    unstable.fill(0, 0, 0, 16, 8, ink(rgb(140, 128, 110), 6));
    unstable.fill(0, 0, 0, 16, 1, ink(rgb(176, 164, 140), 6));
    unstable.fill(0, 0, 7, 16, 1, ink(rgb(96, 86, 72), 6));
    unstable.line(0, 4, 0, 6, 3, ink(rgb(40, 34, 28), 5));
    unstable.line(0, 6, 3, 5, 7, ink(rgb(40, 34, 28), 5));
    unstable.line(0, 6, 3, 11, 4, ink(rgb(40, 34, 28), 5));
    unstable.line(0, 11, 4, 13, 7, ink(rgb(40, 34, 28), 5));

    // Spikes, pointing up from the floor and down from the ceiling.
    for (int k = 0; k < 2; k++) {
        Picture& pick = album.add(k ? "pick_ceiling.til" : "pick01.til", 16, 6);
        for (int s = 0; s < 4; s++)
            for (int y = 0; y < 6; y++) {
                int half = (y * 2 + 1) / 4;
                int row = k ? 5 - y : y;
                for (int x = s * 4 + 2 - half; x <= s * 4 + 1 + half + (y > 1 ? 1 : 0); x++)
                    pick.put(0, x, row, ink(x <= s * 4 + 1 ? rgb(190, 194, 200) : rgb(110, 114, 120), 6));
                if (y == 0)
                    pick.put(0, s * 4 + 1, row, ink(rgb(230, 232, 236), 6, 0.15f));
            }
    }

    // Toxic sludge: a glowing green pool that bubbles.
    Picture& toxic = album.add("toxic01.anm", 32, 8, 8);
    for (int f = 0; f < 8; f++) {
        for (int x = 0; x < 32; x++) {
            float wave = std::sin((x + f * 4) * 2.0f * pi / 32.0f) * 0.8f + std::sin((x * 2 - f * 8) * 2.0f * pi / 32.0f) * 0.5f;
            int top = 2 + int(std::lround(wave));
            for (int y = top; y < 8; y++) {
                float n = latticeHash(x, y + f * 8, 111);
                uint32_t c = y == top ? rgb(190, 255, 80, 230) : mix(rgb(90, 200, 40, 230), rgb(40, 110, 20, 230), float(y - top) / 6.0f);
                c = jitter(c, 0.08f, n);
                toxic.put(f, x, y, ink(c, 2, y == top ? 0.8f : 0.5f));
            }
        }
        // Bubbles rise and burst at the surface.
        for (int b = 0; b < 3; b++) {
            int bx = 5 + b * 11;
            int by = 7 - ((f + b * 3) % 8);
            if (by >= 1)
                toxic.put(f, bx, by, ink(rgb(220, 255, 150, 240), 2, 1.0f));
            else
                toxic.put(f, bx, 0, ink(rgb(220, 255, 150, 120), 2, 0.6f));
        }
    }

    // An electric arc between two electrodes; it flashes hardest on frame 9,
    // the frame that plays the crackle, and rests in between.
    Picture& elect = album.add("elect01.anm", 24, 16, 12);
    Rng rng(121);
    for (int f = 0; f < 12; f++) {
        for (int side = 0; side < 2; side++) {
            int x = side ? 21 : 0;
            elect.fill(f, x, 5, 3, 6, ink(rgb(90, 94, 100), 5));
            elect.fill(f, x + (side ? 0 : 2), 7, 1, 2, ink(rgb(200, 190, 150), 5));
        }
        bool active = f < 3 || f >= 7;
        if (!active) {
            // Only the tips glow faintly between discharges.
            elect.put(f, 3, 8, ink(rgb(120, 160, 255), 5, 0.4f));
            elect.put(f, 20, 8, ink(rgb(120, 160, 255), 5, 0.4f));
            continue;
        }
        bool strong = f == 9;
        if (strong)
            elect.halo(f, 12.0f, 8.0f, 9.0f, rgb(140, 180, 255), 0.7f, 0.6f);
        int y = 8;
        for (int x = 3; x <= 20; x++) {
            int ny = std::max(2, std::min(13, y + rng.range(-1, 1) * (strong ? 2 : 1)));
            if (x == 20)
                ny = 8;
            elect.line(f, x, y, x + 1, ny, ink(rgb(200, 220, 255), 5, 1.0f));
            if (strong)
                elect.put(f, x, y - 1, ink(rgb(150, 180, 255), 5, 1.0f));
            y = ny;
        }
    }
    Picture& spark = album.add("elect02.anm", 8, 24, 10);
    Rng sparkRng(131);
    for (int f = 0; f < 10; f++) {
        spark.fill(f, 2, 0, 4, 2, ink(rgb(90, 94, 100), 5));
        spark.fill(f, 2, 22, 4, 2, ink(rgb(90, 94, 100), 5));
        if (f % 3 == 2)
            continue;
        int x = 4;
        for (int y = 2; y < 22; y++) {
            int nx = std::max(1, std::min(6, x + sparkRng.range(-1, 1)));
            spark.line(f, x, y, nx, y + 1, ink(rgb(210, 230, 255), 5, 1.0f));
            x = nx;
        }
    }

    // Steam bursting from a vent at the bottom: frame 0 is the burst (it
    // plays the hiss), the puff rises, swells and thins, then the vent rests.
    Picture& steam = album.add("steam01.anm", 16, 32, 16);
    for (int f = 0; f < 16; f++) {
        steam.fill(f, 5, 29, 6, 3, ink(rgb(80, 84, 90), 6));
        steam.fill(f, 6, 28, 4, 1, ink(rgb(60, 62, 66), 6));
        if (f >= 12)
            continue;
        float t = float(f) / 11.0f;
        for (int k = 0; k < 4; k++) {
            float age = t - k * 0.08f;
            if (age < 0.0f)
                continue;
            float cy = 27.0f - age * 26.0f;
            float r = 2.0f + age * 5.5f;
            float cx = 8.0f + std::sin(age * 6.0f + k) * 1.5f;
            float a = (1.0f - age) * 0.8f;
            for (int y = int(cy - r); y <= int(cy + r); y++)
                for (int x = int(cx - r); x <= int(cx + r); x++) {
                    float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / r;
                    if (d > 1.0f || y >= 28)
                        continue;
                    float alpha = a * (1.0f - d * d);
                    uint32_t old = steam.colourAt(f, x, y);
                    float oldA = (old >> 24) / 255.0f;
                    float na = std::min(1.0f, oldA + alpha * (1.0f - oldA));
                    steam.put(f, x, y, ink(rgb(230, 234, 240, int(na * 255)), 4));
                }
        }
    }
}

// ---- Phosphorescent paint --------------------------------------------------

// Marks painted with phosphorescent paint: only their glow counts (the
// level bakes their colour as the glow of the pixels under them), and a
// lamp charges the channels it shines in: a candle the red, the torch the
// green, the acetylene lamp the blue. White paint answers every lamp; red
// paint only the candle.
void phosphoArrow(Album& album, const std::string& name, int dir, uint32_t paintColour)
{
    bool horizontal = dir < 2;
    Picture& p = album.add(name, horizontal ? 12 : 9, horizontal ? 9 : 12);
    Picture base("arrow", 12, 9);
    base.fill(0, 0, 3, 7, 3, ink(paintColour, 0));
    for (int k = 0; k < 5; k++)
        base.line(0, 7 + k, k, 7 + k, 8 - k, ink(paintColour, 0));
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 12; x++) {
            if (!base.filled(0, x, y))
                continue;
            // Brush strokes: a few pixels of the edge are missing.
            if (latticeHash(x, y, 141 + dir) < 0.08f)
                continue;
            int tx = x, ty = y;
            if (dir == 1) tx = 11 - x;                       // left
            if (dir == 2) { tx = 8 - y; ty = 11 - x; }       // up
            if (dir == 3) { tx = y; ty = x; }                // down
            p.put(0, tx, ty, ink(paintColour, 0));
        }
    // A drip below the stroke.
    p.put(0, horizontal ? 3 : 4, horizontal ? 6 : 11, ink(paintColour, 0));
}

void phospho(Album& album)
{
    const char* dirs[4] = {"right", "left", "up", "down"};
    for (int d = 0; d < 4; d++)
        phosphoArrow(album, std::string("phospho_arrow_") + dirs[d] + ".til", d, rgb(240, 250, 235));
    for (int d = 0; d < 4; d++)
        phosphoArrow(album, std::string("phospho_red_arrow_") + dirs[d] + ".til", d, rgb(255, 0, 0));
    for (char c = 'a'; c <= 'z'; c++) {
        Picture& p = album.add(std::string("phospho_") + c + ".til", 7, 11);
        Picture glyph("glyph", 3, 5);
        char text[2] = {c, 0};
        PixelFont::print(glyph, 0, 0, 0, text, ink(0xFFFFFFFFu, 0));
        for (int y = 0; y < 5; y++)
            for (int x = 0; x < 3; x++)
                if (glyph.filled(0, x, y))
                    p.fill(0, x * 2, y * 2, 2, 2, ink(rgb(240, 250, 235), 0));
        p.put(0, 1, 10, ink(rgb(240, 250, 235), 0));
    }
}

// ---- Large background pieces ------------------------------------------------

void backgrounds(Album& album)
{
    // Subway: the mouth of a tunnel, its ring of concrete standing out of
    // the wall, the dark going away behind it, rails on the floor.
    Picture& tunnel = album.add("bg_metro_tunnel.til", 96, 64);
    paint(tunnel, 0, [](int x, int y) {
        float dx = (x + 0.5f - 48.0f) / 44.0f, dy = (y + 0.5f - 40.0f) / 38.0f;
        float r = std::sqrt(dx * dx + dy * dy);
        bool below = y >= 40;
        float side = std::fabs(x + 0.5f - 48.0f) / 44.0f;
        float rr = below ? side : r;
        if (rr > 1.0f)
            return ink(0u, 0);
        if (rr > 0.86f) {
            float n = latticeHash(x / 2, y / 2, 151);
            return ink(jitter(rgb(130, 126, 118), 0.1f, n), 3);
        }
        // The tunnel, darker the deeper it goes.
        float fade = 1.0f - std::min(1.0f, (1.0f - rr) * 1.4f);
        uint32_t c = shade(rgb(60, 58, 54), 0.25f + 0.75f * fade);
        if (y > 56 && (x % 12 < 2))
            c = rgb(120, 116, 110);                  // rails vanishing
        return ink(c, 0);
    });
    Picture& bench = album.add("bg_metro_bench.til", 32, 14);
    bench.fill(0, 0, 4, 32, 3, ink(rgb(200, 80, 40), 5));
    bench.fill(0, 0, 4, 32, 1, ink(rgb(240, 130, 80), 5));
    bench.fill(0, 2, 0, 28, 3, ink(rgb(180, 70, 36), 4));
    for (int x : {3, 28})
        bench.fill(0, x, 7, 2, 7, ink(rgb(60, 60, 64), 5));
    Picture& pillar = album.add("pillar_metro.til", 12, 64);
    paint(pillar, 0, [](int x, int y) {
        // Round in section: the edges turn away from the viewer.
        float t = (x + 0.5f) / 12.0f;
        int depth = (x == 0 || x == 11) ? 5 : 6;
        uint32_t c = shade(rgb(206, 200, 184), 0.6f + 0.5f * std::sin(t * pi));
        if (y % 4 == 3)
            c = shade(c, 0.7f);
        if (y < 3 || y > 60)
            c = rgb(90, 88, 84);
        return ink(c, depth);
    });

    // Catacombs: a wall of bones with a skull cross.
    Picture& ossuary = album.add("bg_catacomb_ossuary.til", 64, 48);
    boneEnds(ossuary, rgb(190, 178, 148), rgb(40, 34, 28), 2, 161);
    for (int k = 0; k < 5; k++)
        skullAt(ossuary, 0, 29, 4 + k * 8, 4);
    for (int k = 0; k < 7; k++)
        if (k != 3)
            skullAt(ossuary, 0, 5 + k * 8, 18, 4);
    for (int k = 0; k < 8; k++)
        skullAt(ossuary, 0, 1 + k * 8, 40, 3);

    // Caves: stalactites hanging from the roof, stalagmites rising.
    Picture& stalactites = album.add("bg_cave_stalactites.til", 96, 24);
    Picture& stalagmites = album.add("bg_cave_stalagmites.til", 64, 24);
    Rng caveRng(171);
    for (int k = 0; k < 2; k++) {
        Picture& p = k ? stalagmites : stalactites;
        for (int x = 0; x < p.width;) {
            int w = caveRng.range(4, 9), h = caveRng.range(8, 23);
            int depth = caveRng.range(4, 7);
            for (int y = 0; y < h; y++) {
                float half = w / 2.0f * (1.0f - float(y) / h);
                for (int i = int(-half); i <= int(half); i++) {
                    int px = x + w / 2 + i;
                    uint32_t c = mix(rgb(150, 132, 108), rgb(90, 78, 64), float(i + half) / (2 * half + 1));
                    p.put(0, px, k ? 23 - y : y, ink(c, depth));
                }
            }
            x += w + caveRng.range(0, 4);
        }
    }

    // Technical rooms: a machine with a gauge, lamps and a grille.
    Picture& machine = album.add("bg_tech_machine.til", 64, 48);
    machine.fill(0, 0, 4, 64, 44, ink(rgb(80, 92, 86), 4));
    machine.fill(0, 0, 4, 64, 1, ink(rgb(130, 142, 136), 4));
    machine.fill(0, 2, 0, 10, 4, ink(rgb(110, 100, 80), 5));       // an exhaust pipe on top
    machine.frameRect(0, 4, 8, 24, 20, ink(rgb(50, 58, 54), 4));
    for (int y = 10; y < 26; y += 2)
        machine.line(0, 6, y, 25, y, ink(rgb(30, 34, 32), 2));       // grille slots, set back
    machine.disc(0, 44.0f, 16.0f, 7.0f, 7.0f, ink(rgb(220, 220, 206), 5, 0.2f));
    machine.line(0, 44, 16, 48, 12, ink(rgb(200, 30, 20), 5, 0.2f));
    machine.put(0, 56, 10, ink(rgb(60, 255, 80), 5, 1.0f));
    machine.put(0, 59, 10, ink(rgb(255, 60, 40), 5, 1.0f));
    machine.fill(0, 34, 30, 26, 14, ink(rgb(64, 74, 70), 3));
    for (int x = 36; x < 58; x += 4)
        machine.fill(0, x, 32, 2, 10, ink(rgb(160, 150, 60), 4));
    PixelFont::print(machine, 0, 6, 36, "380V", ink(rgb(230, 200, 40), 4));

    Picture& fan = album.add("bg_tech_fan.anm", 24, 24, 4);
    for (int f = 0; f < 4; f++) {
        fan.fill(f, 0, 0, 24, 24, ink(rgb(70, 76, 74), 3));
        fan.disc(f, 12.0f, 12.0f, 11.0f, 11.0f, ink(rgb(16, 18, 18), 0));
        for (int k = 0; k < 4; k++) {
            float a = (f * 22.5f + k * 90.0f) * pi / 180.0f;
            for (int r = 2; r < 10; r++) {
                float b = a + r * 0.05f;
                fan.put(f, int(12 + std::cos(b) * r), int(12 + std::sin(b) * r), ink(rgb(130, 136, 134), 2));
                fan.put(f, int(12 + std::cos(b + 0.2f) * r), int(12 + std::sin(b + 0.2f) * r), ink(rgb(110, 116, 114), 2));
            }
        }
        fan.disc(f, 12.0f, 12.0f, 2.0f, 2.0f, ink(rgb(150, 150, 150), 3));
        for (int y = 1; y < 24; y += 3)
            fan.line(f, 1, y, 22, y, ink(rgb(90, 96, 94), 4));       // the guard in front
    }
}

// Things the level format gives a job to: a fire for "light fire", a vent
// for "cloud", a lift for "move", a block for "invisible" and a waterfall
// for "water" overlays.
void specials(Album& album)
{
    Picture& fire = album.add("fire01.anm", 10, 18, 6);
    Rng fireRng(181);
    for (int f = 0; f < 6; f++) {
        // An iron basket on a wall bracket, flames leaping out of it.
        fire.fill(f, 4, 12, 2, 6, ink(rgb(50, 46, 44), 5));
        fire.line(f, 1, 9, 3, 12, ink(rgb(60, 56, 52), 5));
        fire.line(f, 8, 9, 6, 12, ink(rgb(60, 56, 52), 5));
        fire.line(f, 1, 9, 8, 9, ink(rgb(60, 56, 52), 5));
        fire.halo(f, 5.0f, 6.0f, 5.0f, rgb(255, 150, 40), 0.5f, 0.5f);
        for (int k = 0; k < 3; k++) {
            float cx = 3.0f + k * 2.0f + (fireRng.unit() - 0.5f);
            int h = 4 + fireRng.range(0, 4);
            for (int j = 0; j < h; j++) {
                float t = float(j) / h;
                uint32_t c = mix(rgb(255, 240, 160), rgb(230, 80, 20), 1.0f - t);
                int x = int(std::lround(cx + std::sin((j + f) * 1.3f) * 0.6f * (1.0f - t)));
                fire.put(f, x, 9 - h + j, ink(c, 5, 1.0f));
                if (t > 0.5f)
                    fire.put(f, x + 1, 9 - h + j, ink(shade(c, 0.9f), 5, 1.0f));
            }
        }
    }

    Picture& vent = album.add("vent_gas.til", 12, 6);
    vent.fill(0, 0, 2, 12, 4, ink(rgb(70, 76, 70), 4));
    vent.fill(0, 1, 0, 10, 2, ink(rgb(100, 108, 100), 5));
    for (int x = 2; x < 10; x += 2)
        vent.line(0, x, 0, x, 1, ink(rgb(20, 30, 20), 3));
    vent.put(0, 10, 4, ink(rgb(120, 255, 100), 5, 0.8f));

    Picture& lift = album.add("lift.til", 24, 6);
    lift.fill(0, 0, 0, 24, 2, ink(rgb(160, 150, 60), 6));
    lift.fill(0, 0, 2, 24, 4, ink(rgb(80, 84, 88), 6));
    for (int x = 1; x < 24; x += 4)
        lift.line(0, x, 2, x + 2, 5, ink(rgb(40, 40, 40), 6));

    Picture& block = album.add("invisible_block.til", 16, 16);
    block.fill(0, 0, 0, 16, 16, ink(rgb(255, 0, 255, 255), 6));

    Picture& fall = album.add("waterfall.anm", 8, 32, 8);
    for (int f = 0; f < 8; f++)
        paint(fall, f, [&](int x, int y) {
            // Streaks falling four pixels a frame, each column at its own offset.
            int offset = int(latticeHash(x, 0, 191) * 8.0f);
            bool streak = (y - f * 4 + offset + 64) % 8 < 3;
            if (x == 0 || x == 7)
                return streak ? ink(rgb(150, 200, 230, 120), 3) : ink(0u, 0);
            uint32_t c = streak ? rgb(200, 236, 252, 220) : rgb(50, 110, 150, 190);
            return ink(c, 3);
        });
}

void water(Album& album)
{
    // The water texture: repeated over the flooded rows and drawn at alpha
    // 0xBB; eight frames of waves moving to the right, seamless both ways.
    Picture& p = album.add("water04.anm", 32, 16, 8);
    for (int f = 0; f < 8; f++)
        paint(p, f, [&](int x, int y) {
            float phase = f * 2.0f * pi / 8.0f;
            float w = std::sin(x * 2.0f * pi / 32.0f - phase) * 0.5f + std::sin((x * 2 + y * 3) * 2.0f * pi / 32.0f + phase) * 0.3f
                + std::sin(y * 2.0f * pi / 16.0f + phase) * 0.2f;
            float t = 0.5f + 0.5f * w;
            uint32_t c = mix(rgb(20, 60, 90), rgb(60, 140, 170), t * t);
            if (t > 0.92f)
                c = mix(c, rgb(200, 240, 255), 0.5f);
            return ink(c, 1);
        });
}

} // namespace

void addRoomArt(Album& album)
{
    rock(album);
    brickWall(album, "wall_brick.til", rgb(150, 78, 56), rgb(96, 90, 82), 201);
    brickWall(album, "wall_brick_dark.til", rgb(86, 60, 50), rgb(50, 46, 42), 202);
    tiledWall(album, "wall_tiles.til", 0);
    tiledWall(album, "wall_tiles_band.til", rgb(40, 80, 160));
    caveWall(album);
    catacombWall(album);
    catacombPieces(album);
    metal(album);
    floors(album);
    doors(album);
    switches(album);
    signs(album);
    lamps(album);
    hazards(album);
    phospho(album);
    backgrounds(album);
    specials(album);
    water(album);
}
