#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What one pixel of a picture carries: its colour, its depth for the
// lighting (10 is rock, smaller is farther away) and its incandescence.
struct Ink {
    uint32_t colour;
    int depth;
    float glow;
};

// A tile being drawn: `frames` frames of `width` x `height` pixels side by
// side, each pixel with colour, depth and incandescence. Drawing calls take
// the frame number and coordinates inside that frame; everything outside the
// frame is clipped so a stroke never bleeds into the neighbouring frame.
class Picture {
public:
    Picture(const std::string& name, int width, int height, int frames = 1);

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    int index(int f, int x, int y) const { return y * width * frames + f * width + x; }

    void put(int f, int x, int y, const Ink& ink);
    // Paints the colour over what is there by its alpha; depth and glow follow
    // the stronger of the two.
    void blend(int f, int x, int y, uint32_t colour, float alpha);
    void setDepth(int f, int x, int y, int depth);
    void setGlow(int f, int x, int y, float glow);
    void clearPixel(int f, int x, int y);

    uint32_t colourAt(int f, int x, int y) const;
    int depthAt(int f, int x, int y) const;
    float glowAt(int f, int x, int y) const;
    bool filled(int f, int x, int y) const { return (colourAt(f, x, y) >> 24) != 0; }

    void fill(int f, int x, int y, int w, int h, const Ink& ink);
    void frameRect(int f, int x, int y, int w, int h, const Ink& ink);
    void line(int f, int x0, int y0, int x1, int y1, const Ink& ink);
    void disc(int f, float cx, float cy, float rx, float ry, const Ink& ink);
    // Adds a soft halo of the colour around (cx, cy): alpha falls off to 0 at radius r.
    void halo(int f, float cx, float cy, float r, uint32_t colour, float strength, float glow);
    // Copies frame `from` into frame `to`.
    void copyFrame(int from, int to);

    std::string name;
    int width;
    int height;
    int frames;
    // Pictures of keyboard keys go into the control container.
    bool control = false;
    std::vector<uint32_t> colour;
    std::vector<int> depth;
    std::vector<float> glow;
};

// Colour helpers for the art: packing, scaling and mixing 0xAARRGGBB.
uint32_t rgb(int r, int g, int b, int a = 255);
uint32_t shade(uint32_t c, float f);
uint32_t mix(uint32_t a, uint32_t b, float t);

inline Ink ink(uint32_t colour, int depth, float glow = 0.0f)
{
    return Ink{colour, depth, glow};
}

// Draws a one-pixel outline of `colour` around every filled pixel of frame f
// (in the empty pixels next to it), at the given depth.
void outline(Picture& p, int f, uint32_t colour, int depth);
