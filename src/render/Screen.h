#pragma once

#include <cstdio>
#include <vector>

struct SDL_Rect;
struct SDL_Surface;

// A software frame buffer of 32-bit colours 0xAARRGGBB in logical pixels,
// stored column-major (pixel (x, y) is element x * height + y). It is
// presented magnified by `scale`, sending only the pixels that changed since
// the last presentation. The same class serves as an off-screen layer.
class Screen {
public:
    Screen(int width, int height, int scale);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Colour channels and arithmetic. Float to channel conversions truncate.
    static int getAlpha(int c) { return (c >> 24) & 255; }
    static int getRed(int c) { return (c >> 16) & 255; }
    static int getGreen(int c) { return (c >> 8) & 255; }
    static int getBlue(int c) { return c & 255; }
    // Defined here so that per-pixel loops inline them.
    static int clampChannel(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
    static int getColor(int r, int g, int b, int a)
    {
        return int((unsigned(clampChannel(a)) << 24) | (unsigned(clampChannel(r)) << 16) |
                   (unsigned(clampChannel(g)) << 8) | unsigned(clampChannel(b)));
    }
    static int colorAdd(int c1, int c2)
    {
        return getColor(getRed(c1) + getRed(c2), getGreen(c1) + getGreen(c2), getBlue(c1) + getBlue(c2),
                        getAlpha(c1) + getAlpha(c2));
    }
    static int colorMul(int c, float f)
    {
        return getColor(int(getRed(c) * f), int(getGreen(c) * f), int(getBlue(c) * f), int(getAlpha(c) * f));
    }
    static int colorMul_exA(int c, float f)
    {
        return getColor(int(getRed(c) * f), int(getGreen(c) * f), int(getBlue(c) * f), getAlpha(c));
    }
    static void desaturate(int* c);
    static double getAngle(double x1, double y1, double x2, double y2);

    void clear();
    void clear(int c);
    int getPixel(int x, int y) const;
    void setPixel(int x, int y, int colour);

    // Per-pixel writes: alpha blend, per-channel multiply.
    void addPixel(int x, int y, int c)
    {
        if (inside(x, y))
            blend(pixels[x * height + y], c);
    }
    // The alpha blend of addPixel on a pixel at hand: c replaces p when
    // opaque, leaves it when transparent, and is mixed in by its alpha between.
    static void blend(int& p, int c)
    {
        int a = getAlpha(c);
        if (a == 255) {
            p = c;
        } else if (a != 0) {
            float f = a / 255.0f;
            p = colorAdd(colorMul(c, f), colorMul(p, 1.0f - f));
        }
    }
    // Multiplies each colour channel of p by its factor. A pixel without
    // colour stays as it is, so callers may skip those.
    static void multiply(int& p, const float* f)
    {
        p = getColor(int(getRed(p) * f[0]), int(getGreen(p) * f[1]), int(getBlue(p) * f[2]), getAlpha(p));
    }

    // Shapes, all drawn through addPixel.
    void rect(int x, int y, int w, int h, int c);
    void rectRounded(int x, int y, int w, int h, int c);
    void fillRect(int x, int y, int w, int h, int c);
    void line(int x1, int y1, int x2, int y2, int c);
    void fillCircle(int x, int y, int r, float sy, int c);

    // Compositing and whole-buffer effects.
    void merge(Screen* other);
    void setSaturation(float s);
    void setLuminance(float l);

    // Presents the changed pixels onto target, through the brightness
    // curve; `flip` then shows them.
    void draw(SDL_Surface* target);
    // The brightness of presentation: 0 shows every colour as it is; a
    // higher step lifts the dark end of each channel more, a lower one
    // darkens it, and the bright end (from brightnessKnee up) stays. A new
    // step presents the whole buffer again.
    void setBrightness(int step);
    int brightness() const { return brightnessStep; }
    // The colour presentation shows for `colour` (alpha kept).
    int presented(int colour) const
    {
        if (brightnessStep == 0)
            return colour;
        return int((unsigned(colour) & 0xFF000000u) | (unsigned(curve[getRed(colour)]) << 16) |
                   (unsigned(curve[getGreen(colour)]) << 8) | unsigned(curve[getBlue(colour)]));
    }
    static constexpr int brightnessKnee = 160;
    // Changes the display pixels per logical pixel (the display mode
    // changed); the whole buffer is presented again.
    void setScale(int newScale);
    // Shows on the display what `draw` sent to it since the last flip: the
    // rectangles of the changed bands of columns, the whole display when
    // most of it changed or when it is a hardware double buffer (which
    // flips as a whole), nothing after still frames.
    void flip(SDL_Surface* target);
    // The next flip shows the whole display (after the window was covered).
    void flipWholeNext() { wholeFlipDue = true; }
    // Writes the buffer as a 24-bit BMP named by pattern formatted with imageCount.
    void saveImage(const char* pattern);

    // How one logical pixel reaches the display: the size x size block at
    // (x, y) of the target filled with its colour. Tests replace it to see
    // what a presentation sends.
    using PresentBlock = void (*)(SDL_Surface* target, int colour, int x, int y, int size);
    static PresentBlock presentBlock;
    // How a flip reaches the display: the rectangles to show, one covering
    // the whole target for a full flip, none after still frames. Tests
    // replace it to see what a flip shows.
    using ShowRectangles = void (*)(SDL_Surface* target, SDL_Rect* rectangles, int count);
    static ShowRectangles showRectangles;
    // Logical columns per band of a flip.
    static constexpr int bandWidth = 16;

    int width;
    int height;
    int scale;
    int* pixels;
    int* previous;
    int imageCount;
    FILE* imageFile;

private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Rectangle outline whose top and bottom rows leave out cornerInset pixels at each end.
    void outline(int x, int y, int w, int h, int c, int cornerInset);
    void writeBitmap();
    // Widens the changed rows of column x's band to [first, last].
    void markChanged(int x, int first, int last);

    // Until the first presentation every pixel counts as changed.
    bool presentedOnce;
    // The rows changed since the last flip in each band of columns; a band
    // whose top is past its bottom has not changed.
    std::vector<int> changedTop;
    std::vector<int> changedBottom;
    bool wholeFlipDue = true;
    int brightnessStep = 0;
    // The brightness curve of one channel.
    unsigned char curve[256] = {};
};
