#include "assets/Tile.h"

#include "assets/TileContainer.h"
#include "audio/Sound.h"
#include "render/Screen.h"

#include <cstdio>
#include <cstring>

Frame::~Frame()
{
    delete[] data;
}

void Frame::size(int width, int height)
{
    delete[] data;
    data = width > 0 && height > 0 ? new TILE_PIXEL[size_t(width) * size_t(height)]() : nullptr;
}

Tile::~Tile()
{
    release();
}

void Tile::release()
{
    if (!viewing) {
        delete[] frames;
        delete[] extra;
    }
    viewing = false;
    frames = nullptr;
    extra = nullptr;
    width = height = frameCount = extraCount = 0;
}

void Tile::view(const Tile& owner)
{
    release();
    viewing = true;
    width = owner.width;
    height = owner.height;
    frameCount = owner.frameCount;
    frames = owner.frames;
    extraCount = owner.extraCount;
    extra = owner.extra;
}

int Tile::create(int w, int h, int count, int extras)
{
    release();
    if (w < 1 || w > maxSide || h < 1 || h > maxSide || count < 1 || count > maxFrames || extras < 0 ||
        extras > maxExtra)
        return 0;
    width = w;
    height = h;
    frameCount = count;
    extraCount = extras;
    extra = new int[size_t(extras)]();
    frames = new Frame[size_t(count)];
    for (int f = 0; f < count; f++)
        frames[f].size(w, h);
    return 1;
}

int Tile::load(const char* file, const char* tileName)
{
    release();
    std::FILE* in = std::fopen(file, "rb");
    if (!in)
        return 0;
    long offset = 0;
    int loaded = TileContainer::findEntry(in, tileName, &offset) && TileContainer::readTile(in, offset, this);
    std::fclose(in);
    return loaded;
}

namespace {

int clampIndex(int v, int count)
{
    return v < 0 ? 0 : v >= count ? count - 1 : v;
}

// Wraps into 0..count-1, negative values included, so a texture read never
// leaves its frame.
int wrapIndex(int v, int count)
{
    int r = v % count;
    return r < 0 ? r + count : r;
}

} // namespace

int Tile::getPixel(int frame, int x, int y) const
{
    if (!frames)
        return 0;
    frame = clampIndex(frame, frameCount);
    return frames[frame].data[clampIndex(x, width) * height + clampIndex(y, height)].colour;
}

int Tile::getPixel2(int frame, int x, int y) const
{
    if (!frames)
        return 0;
    frame = wrapIndex(frame, frameCount);
    return frames[frame].data[wrapIndex(x, width) * height + wrapIndex(y, height)].colour;
}

TILE_PIXEL* Tile::pixelAt(int frame, int x, int y) const
{
    if (!frames || frame < 0 || frame >= frameCount || x < 0 || x >= width || y < 0 || y >= height)
        return nullptr;
    return &frames[frame].data[x * height + y];
}

bool Tile::visible(int frame, int x, int y, const Screen* s) const
{
    return frames && frame >= 0 && frame < frameCount && x < s->width && y < s->height && x + width >= 0 &&
           y + height >= 0;
}

void Tile::drawMode(Mode mode, int frame, int x, int y, int mirror, float factor, Screen* s) const
{
    if (!visible(frame, x, y, s))
        return;
    const TILE_PIXEL* data = frames[frame].data;
    // Only the target columns and rows that lie inside the screen.
    int firstX = x < 0 ? 0 : x, endX = x + width > s->width ? s->width : x + width;
    int firstY = y < 0 ? 0 : y, endY = y + height > s->height ? s->height : y + height;
    for (int tx = firstX; tx < endX; tx++) {
        int i = mirror ? x + width - 1 - tx : tx - x;
        const TILE_PIXEL* column = data + i * height;
        for (int ty = firstY; ty < endY; ty++) {
            const TILE_PIXEL& p = column[ty - y];
            unsigned c = unsigned(p.colour);
            switch (mode) {
            case Blend:
                break;
            case Opaque:
                c |= 0xFF000000u;
                break;
            case AlphaScaled: {
                // Scaled alpha stays a channel: a factor above 1 saturates.
                int a = int(Screen::getAlpha(p.colour) * factor);
                a = a < 0 ? 0 : a > 255 ? 255 : a;
                c = (c & 0x00FFFFFFu) | unsigned(a) << 24;
                break;
            }
            case ColourScaled:
                c = unsigned(Screen::colorMul_exA(p.colour, factor));
                break;
            case Incandescent:
                if (!(p.incandescence > 0.0f))
                    continue;
                break;
            }
            s->addPixel(tx, ty, int(c));
        }
    }
}

void Tile::playDrawCues(int frame) const
{
    // Steam puffs and electric arcs sound when their animation reaches the
    // frame where they start.
    if (frame == 0 && std::strncmp(name, "steam", 5) == 0)
        playSound(steamSlot);
    if (frame == 9 && std::strncmp(name, "elect", 5) == 0)
        playSound(arcSlot);
}

void Tile::draw(int frame, int x, int y, Screen* s)
{
    playDrawCues(frame);
    drawMode(Blend, frame, x, y, 0, 1.0f, s);
}

void Tile::drawNoAlpha(int frame, int x, int y, Screen* s)
{
    drawMode(Opaque, frame, x, y, 0, 1.0f, s);
}

void Tile::draw(int frame, int x, int y, Screen* s, float alpha)
{
    drawMode(AlphaScaled, frame, x, y, 0, alpha, s);
}

void Tile::draw(int frame, int x, int y, float f, Screen* s)
{
    drawMode(ColourScaled, frame, x, y, 0, f, s);
}

void Tile::draw(int frame, int x, int y, int mirror, Screen* s)
{
    drawMode(Blend, frame, x, y, mirror, 1.0f, s);
}

void Tile::drawIcds(int frame, int x, int y, int mirror, Screen* s)
{
    drawMode(Incandescent, frame, x, y, mirror, 1.0f, s);
}

void Tile::drawBorder(int frame, int x, int y, Screen* s, int colour)
{
    if (!visible(frame, x, y, s))
        return;
    const TILE_PIXEL* data = frames[frame].data;
    auto filled = [&](int i, int j) {
        return i >= 0 && i < width && j >= 0 && j < height && data[i * height + j].colour != 0;
    };
    // Every position one pixel around or inside the frame that is empty
    // itself and touches a non-empty pixel (diagonals included).
    for (int i = -1; i <= width; i++) {
        for (int j = -1; j <= height; j++) {
            if (filled(i, j))
                continue;
            bool touches = false;
            for (int di = -1; di <= 1 && !touches; di++)
                for (int dj = -1; dj <= 1 && !touches; dj++)
                    touches = filled(i + di, j + dj);
            if (touches)
                s->addPixel(x + i, y + j, colour);
        }
    }
}
