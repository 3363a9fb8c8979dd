#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An RGBA picture read from or written to a PNG file, for the tools that
// turn pictures into game data and back. Pixels are stored row by row as
// colours 0xAARRGGBB (unlike the game's column-major buffers).
class PngImage {
public:
    // Reads any PNG (grey, palette, RGB, with or without alpha, 8 or 16 bits)
    // into RGBA. Returns 1, or 0 with the reason in `error` and the image empty.
    int load(const char* file);
    // Writes the picture as 8-bit RGBA through a temporary file renamed over
    // `file`. Returns 1, or 0 with the reason in `error`.
    int save(const char* file) const;

    void resize(int w, int h, uint32_t fill = 0);
    uint32_t get(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    void set(int x, int y, uint32_t c) { pixels[std::size_t(y) * width + x] = c; }

    // Largest side accepted when reading, so a hostile file cannot ask for a huge allocation.
    static const int maxSide = 16384;

    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    mutable char error[256] = "";
};
