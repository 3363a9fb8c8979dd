#include "render/Screen.h"

#include "base/BoundedString.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The value a pixel of `format` holds for colour: on a 32-bit RGB display
// the colour itself (as a copy from a surface of that format would leave
// it), on others the nearest colour the format has.
Uint32 displayValue(const SDL_PixelFormat* format, int colour)
{
    if (format->BytesPerPixel == 4 && format->Rmask == 0xFF0000u && format->Gmask == 0xFF00u &&
        format->Bmask == 0xFFu && format->Amask == 0)
        return Uint32(colour);
    return SDL_MapRGB(format, Uint8(Screen::getRed(colour)), Uint8(Screen::getGreen(colour)),
                      Uint8(Screen::getBlue(colour)));
}

// Fills the size x size block at (x, y) of target, within its clipping
// rectangle. A 32-bit surface whose memory is at hand is written directly:
// a block is only a few pixels, and this is called for each changed one.
void fillBlock(SDL_Surface* target, int colour, int x, int y, int size)
{
    if (!target)
        return;
    Uint32 value = displayValue(target->format, colour);
    const SDL_Rect& clip = target->clip_rect;
    int x0 = std::max(x, int(clip.x)), x1 = std::min(x + size, int(clip.x) + int(clip.w));
    int y0 = std::max(y, int(clip.y)), y1 = std::min(y + size, int(clip.y) + int(clip.h));
    if (x0 >= x1 || y0 >= y1)
        return;
    if (target->format->BytesPerPixel != 4 || SDL_MUSTLOCK(target) || !target->pixels) {
        SDL_Rect where{Sint16(x0), Sint16(y0), Uint16(x1 - x0), Uint16(y1 - y0)};
        SDL_FillRect(target, &where, value);
        return;
    }
    for (int row = y0; row < y1; row++) {
        Uint32* line = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + row * target->pitch);
        std::fill(line + x0, line + x1, value);
    }
}

// Replaces every pixel p by change(p). Neighbouring pixels often share a
// colour (rock, darkness, an empty layer), so a run of one colour is
// changed once.
template <typename F>
void changeEachColour(int* pixels, int count, F change)
{
    if (count <= 0)
        return;
    int from = pixels[0], to = change(from);
    for (int i = 0; i < count; i++) {
        if (pixels[i] != from) {
            from = pixels[i];
            to = change(from);
        }
        pixels[i] = to;
    }
}

// Shows the rectangles: the whole display as a flip, parts as updates.
void showOnDisplay(SDL_Surface* target, SDL_Rect* rectangles, int count)
{
    if (!target || count == 0)
        return;
    if (count == 1 && rectangles[0].x == 0 && rectangles[0].y == 0 && rectangles[0].w == target->w &&
        rectangles[0].h == target->h)
        SDL_Flip(target);
    else
        SDL_UpdateRects(target, count, rectangles);
}

// A hardware double buffer shows its other buffer at a flip, so it is
// only ever flipped as a whole.
bool flipsAsAWhole(const SDL_Surface* target)
{
    return (target->flags & SDL_HWSURFACE) && (target->flags & SDL_DOUBLEBUF);
}

// Updating rectangles costs more per pixel than one flip of the display:
// past half of its area a flip is cheaper.
bool mostOf(long long area, const SDL_Surface* target)
{
    return area * 2 > (long long)target->w * target->h;
}

void putLittleEndian(std::FILE* f, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        std::fputc(int((value >> (8 * i)) & 255), f);
}

} // namespace

Screen::PresentBlock Screen::presentBlock = fillBlock;
Screen::ShowRectangles Screen::showRectangles = showOnDisplay;

Screen::Screen(int width, int height, int scale)
    : width(width), height(height), scale(scale),
      pixels(new int[width * height]()), previous(new int[width * height]()),
      imageCount(0), imageFile(nullptr),
      presentedOnce(false),
      changedTop(size_t((width + bandWidth - 1) / bandWidth), height),
      changedBottom(changedTop.size(), -1)
{
}

Screen::~Screen()
{
    delete[] previous;
    delete[] pixels;
}

void Screen::desaturate(int* c)
{
    int m = (getRed(*c) + getGreen(*c) + getBlue(*c)) / 3;
    *c = getColor(m, m, m, getAlpha(*c));
}

double Screen::getAngle(double x1, double y1, double x2, double y2)
{
    double dx = x2 - x1;
    double dy = y2 - y1;
    if (dx == 0) {
        if (dy == 0)
            return 0;
        return dy > 0 ? 1.57075 : 4.71225;
    }
    double a = std::atan(dy / dx);
    if (dx < 0)
        a += 3.1415;
    if (a < 0)
        a += 6.283;
    return a;
}

void Screen::clear() { clear(0); }

void Screen::clear(int c)
{
    std::fill(pixels, pixels + width * height, c);
}

int Screen::getPixel(int x, int y) const
{
    return inside(x, y) ? pixels[x * height + y] : 0;
}

void Screen::setPixel(int x, int y, int colour)
{
    if (inside(x, y))
        pixels[x * height + y] = colour;
}

void Screen::rect(int x, int y, int w, int h, int c)
{
    outline(x, y, w, h, c, 0);
}

void Screen::rectRounded(int x, int y, int w, int h, int c)
{
    outline(x, y, w, h, c, 1);
}

void Screen::outline(int x, int y, int w, int h, int c, int cornerInset)
{
    for (int i = x + cornerInset; i < x + w - cornerInset; i++) {
        addPixel(i, y, c);
        addPixel(i, y + h - 1, c);
    }
    for (int j = y + 1; j < y + h - 1; j++) {
        addPixel(x, j, c);
        addPixel(x + w - 1, j, c);
    }
}

void Screen::fillRect(int x, int y, int w, int h, int c)
{
    const int x0 = int(std::max(0LL, (long long)x)), x1 = int(std::min<long long>(width, (long long)x + w));
    const int y0 = int(std::max(0LL, (long long)y)), y1 = int(std::min<long long>(height, (long long)y + h));
    const int a = getAlpha(c);
    if (a == 0 || x0 >= x1 || y0 >= y1)
        return;
    // A translucent colour mixes in each channel value of the pixels under
    // it the same way: blend's mix is worked out once per value (a screen
    // dimmed under a menu would otherwise redo it for every pixel).
    const float f = a / 255.0f;
    const int added = colorMul(c, f);
    int kept[256];
    for (int v = 0; v < 256; v++)
        kept[v] = int(v * (1.0f - f));
    for (int i = x0; i < x1; i++) {
        int* column = pixels + std::size_t(i) * height;
        for (int j = y0; j < y1; j++) {
            int& p = column[j];
            if (a == 255)
                p = c;
            else
                p = getColor(getRed(added) + kept[getRed(p)], getGreen(added) + kept[getGreen(p)],
                             getBlue(added) + kept[getBlue(p)], getAlpha(added) + kept[getAlpha(p)]);
        }
    }
}

void Screen::line(int x1, int y1, int x2, int y2, int c)
{
    double dx = x2 - x1;
    double dy = y2 - y1;
    double sx = dx > 0 ? 1 : (dx < 0 ? -1 : 0);
    double sy = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
    double adx = std::fabs(dx);
    double ady = std::fabs(dy);
    if (adx == 0 && ady == 0) {
        addPixel(x1, y1, c);
    } else if (adx >= ady) {
        // Covers the horizontal, diagonal and flat cases: one pixel per column.
        for (int i = 0; i <= int(adx); i++)
            addPixel(int(x1 + i * sx), int(y1 + i * dy / adx), c);
    } else {
        for (int i = 0; i <= int(ady); i++)
            addPixel(int(x1 + i * dx / ady), int(y1 + i * sy), c);
    }
}

void Screen::fillCircle(int x, int y, int r, float sy, int c)
{
    for (int i = -r; i <= r; i++)
        for (int j = -r; j <= r; j++)
            if (i * i + j * j <= r * r)
                addPixel(x + i, int(y + j * sy), c);
}

void Screen::merge(Screen* other)
{
    if (width > other->width || height > other->height)
        return;
    for (int x = 0; x < width; x++) {
        const int* from = other->pixels + x * other->height;
        int* to = pixels + x * height;
        for (int y = 0; y < height; y++)
            blend(to[y], from[y]);
    }
}

void Screen::setSaturation(float s)
{
    s = s < 0 ? 0 : (s > 1 ? 1 : s);
    changeEachColour(pixels, width * height, [s](int p) {
        int m = (getRed(p) + getGreen(p) + getBlue(p)) / 3;
        float grey = (1 - s) * m;
        return getColor(int(getRed(p) * s + grey), int(getGreen(p) * s + grey), int(getBlue(p) * s + grey),
                        getAlpha(p));
    });
}

void Screen::setLuminance(float l)
{
    // Full luminance leaves every channel as it is; the world asks for it every frame.
    if (l == 1.0f)
        return;
    changeEachColour(pixels, width * height, [l](int p) { return colorMul_exA(p, l); });
}

void Screen::draw(SDL_Surface* target)
{
    for (int x = 0; x < width; x++) {
        const int* column = pixels + x * height;
        int* shown = previous + x * height;
        int first = -1, last = -1;
        for (int y = 0; y < height; y++) {
            if (presentedOnce && column[y] == shown[y])
                continue;
            presentBlock(target, presented(column[y]), x * scale, y * scale, scale);
            shown[y] = column[y];
            if (first < 0)
                first = y;
            last = y;
        }
        if (first >= 0)
            markChanged(x, first, last);
    }
    presentedOnce = true;
}

void Screen::setBrightness(int step)
{
    if (step == brightnessStep)
        return;
    brightnessStep = step;
    // A power curve below the knee, joining the identity there: an
    // exponent under 1 lifts the dark end, over 1 lowers it. Each step
    // changes the exponent by the same amount.
    const double stepStrength = 0.3;
    double exponent = step > 0 ? 1.0 / (1.0 + stepStrength * step) : 1.0 - stepStrength * step;
    for (int v = 0; v < 256; v++)
        curve[v] = (unsigned char)(v >= brightnessKnee ? v
                                                       : int(brightnessKnee * std::pow(double(v) / brightnessKnee, exponent)));
    presentedOnce = false;
    wholeFlipDue = true;
}

void Screen::setScale(int newScale)
{
    scale = newScale;
    presentedOnce = false;
    wholeFlipDue = true;
}

void Screen::markChanged(int x, int first, int last)
{
    size_t band = size_t(x / bandWidth);
    changedTop[band] = std::min(changedTop[band], first);
    changedBottom[band] = std::max(changedBottom[band], last);
}

void Screen::flip(SDL_Surface* target)
{
    if (!target)
        return;
    std::vector<SDL_Rect> shown;
    long long area = 0;
    for (size_t band = 0; band < changedTop.size(); band++) {
        int top = changedTop[band], bottom = changedBottom[band];
        changedTop[band] = height;
        changedBottom[band] = -1;
        if (top > bottom)
            continue;
        // The band's blocks, clipped to the display.
        int x0 = int(band) * bandWidth * scale, y0 = top * scale;
        int x1 = std::min(target->w, std::min(width, (int(band) + 1) * bandWidth) * scale);
        int y1 = std::min(target->h, (bottom + 1) * scale);
        if (x0 >= x1 || y0 >= y1)
            continue;
        shown.push_back(SDL_Rect{Sint16(x0), Sint16(y0), Uint16(x1 - x0), Uint16(y1 - y0)});
        area += (long long)(x1 - x0) * (y1 - y0);
    }
    if (wholeFlipDue || flipsAsAWhole(target) || mostOf(area, target))
        shown.assign(1, SDL_Rect{0, 0, Uint16(target->w), Uint16(target->h)});
    wholeFlipDue = false;
    showRectangles(target, shown.data(), int(shown.size()));
}

void Screen::saveImage(const char* pattern)
{
    char name[256];
    boundedFormat(name, sizeof name, pattern, imageCount);
    imageFile = std::fopen(name, "wb");
    if (!imageFile)
        return;
    writeBitmap();
    std::fclose(imageFile);
    imageFile = nullptr;
    imageCount++;
}

void Screen::writeBitmap()
{
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const unsigned dataSize = unsigned(rowBytes) * unsigned(height);
    std::FILE* f = imageFile;
    std::fputs("BM", f);
    const unsigned header[] = {54 + dataSize, 0, 54, 40, unsigned(width), unsigned(height)};
    for (unsigned v : header)
        putLittleEndian(f, v, 4);
    putLittleEndian(f, 1, 2);
    putLittleEndian(f, 24, 2);
    const unsigned info[] = {0, 0, 72, 72, 0, 0};
    for (unsigned v : info)
        putLittleEndian(f, v, 4);
    std::vector<unsigned char> row(size_t(rowBytes), 0);
    for (int y = height - 1; y >= 0; y--) {
        for (int x = 0; x < width; x++) {
            int p = pixels[x * height + y];
            row[size_t(x) * 3] = (unsigned char)getBlue(p);
            row[size_t(x) * 3 + 1] = (unsigned char)getGreen(p);
            row[size_t(x) * 3 + 2] = (unsigned char)getRed(p);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
}
