#include "assets/Animation.h"

#include "base/BoundedString.h"
#include "base/TextReader.h"
#include "render/Screen.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Longest line the sheet formats use: a row of maxSide pixel characters.
const int lineSize = Animation::maxSide + 2;

// A colour written as a decimal integer: either the signed value of
// 0xAARRGGBB or its unsigned value, which does not fit an int.
bool parseColour(const char* text, int* colour)
{
    char* end = nullptr;
    long long v = std::strtoll(text, &end, 10);
    if (end == text || v < -2147483648LL || v > 4294967295LL)
        return false;
    *colour = int(static_cast<unsigned int>(v));
    return true;
}

bool readColour(std::FILE* in, char* line, int* colour)
{
    return readLine(in, line, lineSize) && parseColour(line, colour);
}

// A whole number within [-limit, limit] at `text`; `text` then points past it.
bool readBounded(const char*& text, long limit, int* value)
{
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (end == text || errno != 0 || v < -limit || v > limit)
        return false;
    *value = int(v);
    text = end;
    return true;
}

// A frame's offsets (its move or its light): two whole numbers no larger
// than a frame's side, so that adding them to a position cannot overflow.
bool readPair(std::FILE* in, char* line, int* a, int* b)
{
    const char* text = line;
    return readLine(in, line, lineSize) && readBounded(text, Animation::maxSide, a) && readBounded(text, Animation::maxSide, b);
}

// How a frame's pixels are written in one of the two formats.
enum class PixelFormat { Decimal, Palette };

class SheetReader {
public:
    SheetReader(Animation* a, std::FILE* f) : anim(a), in(f) {}

    bool read(PixelFormat format)
    {
        if (!readHeader() || !readSequences())
            return false;
        if (format == PixelFormat::Palette && !readPalette())
            return false;
        for (int f = 0; f < anim->frameCount; f++)
            if (!readFrame(f, format))
                return false;
        return true;
    }

private:
    bool readHeader()
    {
        int w, h, frames, sequences;
        if (!readLine(in, line, lineSize) || std::sscanf(line, "%d %d %d %d", &w, &h, &frames, &sequences) != 4)
            return false;
        if (w < 1 || w > Animation::maxSide || h < 1 || h > Animation::maxSide || frames < 1 ||
            frames > Animation::maxFrames || sequences < 0 || sequences > Animation::maxSequences)
            return false;
        anim->width = w;
        anim->height = h;
        // Pixels are allocated frame by frame as they are read, so a file
        // that claims more than it holds costs at most one frame.
        anim->frames = new ANIM_FRAME[size_t(frames)]();
        anim->frameCount = frames;
        anim->seqs = new ANIM_SEQUENCE[size_t(sequences)]();
        anim->seqCount = sequences;
        return true;
    }

    bool readSequences()
    {
        for (int i = 0; i < anim->seqCount; i++) {
            char name[lineSize];
            ANIM_SEQUENCE& s = anim->seqs[i];
            if (!readLine(in, line, lineSize) || std::sscanf(line, "%s %d %d", name, &s.begin, &s.end) != 3)
                return false;
            if (s.begin < 0 || s.begin > s.end || s.end >= anim->frameCount)
                return false;
            boundedCopy(s.name, sizeof s.name, name);
        }
        return true;
    }

    bool readPalette()
    {
        for (int& colour : anim->palette)
            if (!readColour(in, line, &colour))
                return false;
        return true;
    }

    bool readFrame(int f, PixelFormat format)
    {
        ANIM_FRAME& frame = anim->frames[f];
        if (!readPair(in, line, &frame.moveX, &frame.moveY) || !readPair(in, line, &frame.lightX, &frame.lightY))
            return false;
        frame.pixels = new int[size_t(anim->width) * size_t(anim->height)]();
        return format == PixelFormat::Palette ? readPaletteRows(frame.pixels) : readDecimalPixels(frame.pixels);
    }

    bool readDecimalPixels(int* pixels)
    {
        int count = anim->width * anim->height;
        for (int p = 0; p < count; p++)
            if (!readColour(in, line, &pixels[p]))
                return false;
        return true;
    }

    // A digit is a palette entry, any other character opaque red; a row
    // shorter than the frame leaves the rest of its pixels transparent.
    bool readPaletteRows(int* pixels)
    {
        int h = anim->height;
        for (int y = 0; y < h; y++) {
            if (!readLine(in, line, lineSize))
                return false;
            int length = int(std::strlen(line));
            for (int x = 0; x < anim->width && x < length; x++) {
                char c = line[x];
                pixels[x * h + y] = c >= '0' && c <= '9' ? anim->palette[c - '0'] : int(0xFFFF0000u);
            }
        }
        return true;
    }

    Animation* anim;
    std::FILE* in;
    char line[lineSize];
};

int loadSheet(Animation* anim, const char* path, PixelFormat format)
{
    anim->clear();
    std::FILE* in = std::fopen(path, "r");
    if (!in)
        return 0;
    bool read = SheetReader(anim, in).read(format);
    std::fclose(in);
    if (!read)
        anim->clear();
    return read ? 1 : 0;
}

} // namespace

Animation::~Animation()
{
    clear();
}

void Animation::clear()
{
    for (int f = 0; f < frameCount; f++)
        delete[] frames[f].pixels;
    delete[] frames;
    delete[] seqs;
    frames = nullptr;
    seqs = nullptr;
    width = height = frameCount = seqCount = 0;
}

int Animation::loadFromFile(const char* path)
{
    return loadSheet(this, path, PixelFormat::Decimal);
}

int Animation::loadFromFile2(const char* path)
{
    return loadSheet(this, path, PixelFormat::Palette);
}

int Animation::getColor(int x, int y, int frame) const
{
    if (frame < 0 || frame >= frameCount || x < 0 || x >= width || y < 0 || y >= height)
        return 0;
    return frames[frame].pixels[x * height + y];
}

int Animation::getSeqBegin(int seq) const
{
    return seq >= 0 && seq < seqCount ? seqs[seq].begin : 0;
}

int Animation::getSeqEnd(int seq) const
{
    return seq >= 0 && seq < seqCount ? seqs[seq].end : 0;
}

const char* Animation::getSeqName(int seq) const
{
    return seq >= 0 && seq < seqCount ? seqs[seq].name : "";
}

int Animation::getSeqByName(const char* name) const
{
    for (int i = 0; i < seqCount; i++)
        if (std::strcmp(seqs[i].name, name) == 0)
            return i;
    return 0;
}

void Animation::moveCoords(int* dx, int* dy, int frame) const
{
    bool known = frame >= 0 && frame < frameCount;
    *dx = known ? frames[frame].moveX : 0;
    *dy = known ? frames[frame].moveY : 0;
}

void Animation::lightCoords(int* x, int* y, int frame) const
{
    bool known = frame >= 0 && frame < frameCount;
    *x = known ? frames[frame].lightX : 0;
    *y = known ? frames[frame].lightY : 0;
}

void Animation::draw(int x, int y, int frame, int mirror, Screen* s) const
{
    draw(x, y, frame, mirror, s, -1);
}

void Animation::draw(int x, int y, int frame, int mirror, Screen* s, int mask) const
{
    if (frame < 0 || frame >= frameCount)
        return;
    const int* pixels = frames[frame].pixels;
    for (int i = 0; i < width; i++) {
        int column = mirror ? width - 1 - i : i;
        for (int j = 0; j < height; j++)
            s->addPixel(x + i, y + j, pixels[column * height + j] & mask);
    }
}

void Animation::drawRandom(int x, int y, int frame, int mirror, Screen* s, int orMask, float amplitude) const
{
    if (frame < 0 || frame >= frameCount)
        return;
    const int* pixels = frames[frame].pixels;
    for (int j = 0; j < height; j++) {
        int r = std::rand();
        float shift = float(((r % 1000) - 500) / 500.0 * amplitude);
        for (int i = 0; i < width; i++) {
            int column = mirror ? width - 1 - i : i;
            s->addPixel(int(float(x + i) + shift), y + j, pixels[column * height + j] | orMask);
        }
    }
}
