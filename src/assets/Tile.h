#pragma once

class Screen;

// One pixel of a tile frame: its colour (0 is empty), the depth the lighting
// reads, and the self-illumination that makes it shine in the dark.
struct TILE_PIXEL {
    int colour;
    int depth;
    float incandescence;
};

// One image of a tile: width x height pixel records, column-major
// (the record of pixel (x, y) is number x * height + y).
class Frame {
public:
    Frame() = default;
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // Releases any previous data and allocates width x height zeroed records.
    void size(int width, int height);

    TILE_PIXEL* data = nullptr;
};

// A named, multi-frame picture read from a tile container. Every pixel
// carries a colour, a depth and an incandescence.
class Tile {
public:
    // Limits of a tile block accepted from a container: anything larger is
    // treated as a corrupt file rather than allocated.
    static const int maxSide = 4096;
    static const int maxFrames = 1024;
    static const int maxExtra = 65536;

    Tile() = default;
    ~Tile();
    Tile(const Tile&) = delete;
    Tile& operator=(const Tile&) = delete;

    // Reads the tile called `name` from the container `file`. Returns 1, or 0
    // when the file cannot be opened, holds no such entry or its block is
    // damaged; the tile is then left without frames.
    int load(const char* file, const char* name);
    // Gives the tile frameCount frames of width x height empty pixels and
    // extraCount zeroed extra integers (the container writer's tests and
    // tools build tiles this way). Returns 0 for sizes out of the limits.
    int create(int width, int height, int frameCount, int extraCount);
    // Drops frames and extra integers; the name is kept.
    void release();
    // Shows the frames and extra integers of `owner` without owning them
    // (the tiles of a library that share one picture): releasing this tile
    // only forgets them, and `owner` keeps them until then.
    void view(const Tile& owner);

    // Colour of a pixel with the frame and coordinates clamped into range.
    int getPixel(int frame, int x, int y) const;
    // Colour of a pixel with the frame and coordinates wrapped, for textures
    // that repeat over an area.
    int getPixel2(int frame, int x, int y) const;
    // The record of a pixel, or null when out of range or not loaded.
    TILE_PIXEL* pixelAt(int frame, int x, int y) const;

    // Plain alpha-blended draw; some animations start their sound here.
    void draw(int frame, int x, int y, Screen* s);
    // Every pixel opaque, empty ones black: covers the whole rectangle.
    void drawNoAlpha(int frame, int x, int y, Screen* s);
    // Each pixel's alpha scaled by `alpha`.
    void draw(int frame, int x, int y, Screen* s, float alpha);
    // Red, green and blue scaled by `f`, alpha kept.
    void draw(int frame, int x, int y, float f, Screen* s);
    // Mirrored left to right when `mirror` is non-zero.
    void draw(int frame, int x, int y, int mirror, Screen* s);
    // Only the incandescent pixels, drawn again after lighting.
    void drawIcds(int frame, int x, int y, int mirror, Screen* s);
    // The one-pixel outline around the frame's non-empty pixels.
    void drawBorder(int frame, int x, int y, Screen* s, int colour);

    char name[256] = "";
    int width = 0;
    int height = 0;
    int extraCount = 0;
    int* extra = nullptr;
    int frameCount = 0;
    Frame* frames = nullptr;

private:
    // The frames and extra integers belong to another tile (`view`).
    bool viewing = false;
    // What a drawing mode does with one source pixel.
    enum Mode { Blend, Opaque, AlphaScaled, ColourScaled, Incandescent };
    void drawMode(Mode mode, int frame, int x, int y, int mirror, float factor, Screen* s) const;
    // The clipping every drawing operation shares: false when nothing of
    // `frame` at (x, y) can reach the target.
    bool visible(int frame, int x, int y, const Screen* s) const;
    // The sounds that a few animations make when drawn.
    void playDrawCues(int frame) const;
};
