#include "assets/Typo.h"

#include "base/BoundedString.h"
#include "base/TextReader.h"
#include "base/Log.h"
#include "render/Screen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int spaceAdvance = 6;
const int white = int(0xFFFFFFFF);
// A width that no line reaches, for the printing operations that never wrap.
const int noWrap = 1 << 28;

bool isBlank(int c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isWordBreak(char c)
{
    return c == ' ' || c == '\n';
}

bool isWordStart(const char* s, int i)
{
    return !isWordBreak(s[i]) && (i == 0 || isWordBreak(s[i - 1]));
}

// Reads one whitespace-separated token, keeping at most size - 1 characters of
// it and dropping the rest, so a long row cannot overflow the buffer.
// Returns 0 when the file ends before a token starts.
int readToken(std::FILE* f, char* token, int size)
{
    int c = std::fgetc(f);
    while (c != EOF && isBlank(c))
        c = std::fgetc(f);
    if (c == EOF)
        return 0;
    int n = 0;
    while (c != EOF && !isBlank(c)) {
        if (n < size - 1)
            token[n++] = char(c);
        c = std::fgetc(f);
    }
    if (c != EOF)
        std::ungetc(c, f);
    token[n] = 0;
    return 1;
}

// Reads a decimal number at p (after blanks) and moves p past it; out-of-range
// values come back clamped by strtol and are refused by the callers' limits.
int readNumber(const char*& p, long& value)
{
    char* end = nullptr;
    value = std::strtol(p, &end, 10);
    if (end == p)
        return 0;
    p = end;
    return 1;
}

void skipRestOfLine(std::FILE* f)
{
    int c = std::fgetc(f);
    while (c != EOF && c != '\n')
        c = std::fgetc(f);
}

void deleteGlyph(GLYPH* g)
{
    if (g) {
        delete[] g->ink;
        delete g;
    }
}

// Reads the rows of a glyph whose header has been read. Returns null when the
// file ends before the last row.
GLYPH* readGlyph(std::FILE* f, int width, int height)
{
    GLYPH* g = new GLYPH;
    g->width = width;
    g->height = height;
    g->ink = new int[std::size_t(width) * std::size_t(height)]();
    char row[Typo::maxRow + 1];
    for (int y = 0; y < height; y++) {
        if (!readToken(f, row, sizeof row)) {
            deleteGlyph(g);
            return nullptr;
        }
        int length = int(std::strlen(row));
        for (int x = 0; x < width && x < length; x++)
            if (row[x] == 'X')
                g->ink[x * height + y] = white;
    }
    // Without rows the header's line end was the last one read.
    if (height > 0)
        skipRestOfLine(f);
    return g;
}

} // namespace

Typo::Typo()
{
    for (GLYPH*& g : glyphs)
        g = nullptr;
}

Typo::~Typo()
{
    clear();
}

void Typo::clear()
{
    for (GLYPH*& g : glyphs) {
        deleteGlyph(g);
        g = nullptr;
    }
}

int Typo::load(const char* path)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        logPrint("Cannot open font for reading.\n");
        return 0;
    }
    char line[Typo::maxRow + 1];
    long count = 0;
    const char* p = line;
    if (!readLine(f, line, sizeof line) || !readNumber(p, count))
        count = 0;
    long read = 0;
    for (; read < count; read++) {
        // Header "%c %d %d": the character is the first byte of the line, so
        // it may be a space. Empty lines between glyphs are skipped.
        int more = readLine(f, line, sizeof line);
        while (more && (line[0] == 0 || std::strcmp(line, "\r") == 0))
            more = readLine(f, line, sizeof line);
        long width = 0;
        long height = 0;
        p = line + 1;
        if (!more || !readNumber(p, width) || !readNumber(p, height))
            break;
        if (width < 0 || height < 0 || width > maxSide || height > maxSide) {
            logPrint("Bad glyph size in font.\n");
            break;
        }
        GLYPH* g = readGlyph(f, int(width), int(height));
        if (!g)
            break;
        unsigned char code = static_cast<unsigned char>(line[0]);
        deleteGlyph(glyphs[code]);
        glyphs[code] = g;
    }
    std::fclose(f);
    if (count < 1 || read < count) {
        logPrint("Damaged font.\n");
        return 0;
    }
    return 1;
}

int Typo::getGlyphCount() const
{
    int n = 0;
    for (GLYPH* g : glyphs)
        if (g)
            n++;
    return n;
}

GLYPH* Typo::plainGlyph(unsigned char c) const
{
    return glyphs[c] ? glyphs[c] : glyphs[static_cast<unsigned char>('x')];
}

GLYPH* Typo::wordGlyph(unsigned char c) const
{
    return glyphs[c] ? glyphs[c] : glyphs[static_cast<unsigned char>('X')];
}

void Typo::drawGlyph(const GLYPH* g, int x, int y, int colour, Screen* s) const
{
    if (!g || !s)
        return;
    for (int i = 0; i < g->width; i++)
        for (int j = 0; j < g->height; j++)
            if (g->ink[i * g->height + j])
                s->addPixel(x + i, y + j, colour);
}

void Typo::draw(char c, int x, int y, Screen* s)
{
    // Empty pixels are 0, fully transparent: drawing the ink alone in white is the same.
    drawGlyph(glyphs[static_cast<unsigned char>(c)], x, y, white, s);
}

void Typo::draw(char c, int x, int y, int colour, Screen* s)
{
    drawGlyph(glyphs[static_cast<unsigned char>(c)], x, y, colour, s);
}

void Typo::print(const char* s, int x, int y, Screen* screen)
{
    // Plain printing is the limited printing without a width or a character limit.
    print(s, x, y, noWrap, -1, white, screen);
}

void Typo::print(int n, int x, int y, Screen* screen)
{
    char text[16];
    boundedFormat(text, sizeof text, "%d", n);
    print(text, x, y, screen);
}

int Typo::lineAdvance(const char* s) const
{
    int advance = 0;
    for (const char* p = s; *p && *p != '\n'; p++) {
        if (*p == ' ') {
            advance += spaceAdvance;
        } else {
            const GLYPH* g = plainGlyph(static_cast<unsigned char>(*p));
            if (g)
                advance += g->width + 1;
        }
    }
    return advance;
}

void Typo::printCenter(const char* s, int x, int y, Screen* screen)
{
    int py = y;
    for (const char* line = s;;) {
        int length = int(std::strcspn(line, "\n"));
        int left = x - (lineAdvance(line) - 1) / 2;
        int h = print(line, left, py, noWrap, length, white, screen);
        if (!line[length])
            break;
        py += h + 1;
        line += length + 1;
    }
}

int Typo::print(const char* s, int x, int y, int maxWidth, int maxChars, int colour, Screen* screen)
{
    int n = int(std::strlen(s));
    if (maxChars >= 0 && maxChars <= n)
        n = maxChars;
    int px = x;
    int py = y;
    int h = 0;
    for (int i = 0; i < n; i++) {
        if (s[i] == ' ') {
            px += spaceAdvance;
        } else if (s[i] == '\n') {
            px = x;
            py += h + 1;
            h = 0;
        } else {
            const GLYPH* g = plainGlyph(static_cast<unsigned char>(s[i]));
            if (!g)
                continue;
            if (px + g->width - x > maxWidth) {
                px = x;
                py += h + 1;
                h = 0;
            }
            drawGlyph(g, px, py, colour, screen);
            px += g->width + 1;
            if (g->height > h)
                h = g->height;
        }
    }
    return (py - y) + h;
}

int Typo::findWord(const char* s, int word) const
{
    int index = -1;
    for (int i = 0; s[i]; i++) {
        if (isWordStart(s, i)) {
            index++;
            if (index == word)
                return i;
        }
    }
    return -1;
}

int Typo::getNWord(const char* s)
{
    int n = 0;
    for (int i = 0; s[i]; i++)
        if (isWordStart(s, i))
            n++;
    return n;
}

int Typo::getWordWidth(const char* s, int word)
{
    int start = findWord(s, word);
    if (start < 0)
        return 0;
    int width = 0;
    for (int i = start; s[i] && !isWordBreak(s[i]); i++) {
        const GLYPH* g = wordGlyph(static_cast<unsigned char>(s[i]));
        if (g)
            width += g->width + 1;
    }
    return width > 0 ? width - 1 : 0;
}

int Typo::printWord(const char* s, int word, int x, int y, int maxChars, int colour, Screen* screen)
{
    int start = findWord(s, word);
    if (start < 0)
        return 0;
    int px = x;
    int i = start;
    for (; s[i] && !isWordBreak(s[i]); i++) {
        const GLYPH* g = wordGlyph(static_cast<unsigned char>(s[i]));
        if (!g)
            continue;
        // The limit counts positions in the whole string, so a growing
        // maxChars reveals the text one character after another.
        if (i <= maxChars)
            drawGlyph(g, px, y, colour, screen);
        px += g->width + 1;
    }
    return i;
}

int Typo::print2(const char* s, int x, int y, int maxWidth, int lineHeight, int maxChars, int colour, Screen* screen)
{
    int n = getNWord(s);
    int px = x;
    int py = y;
    int total = lineHeight;
    for (int w = 0; w < n; w++) {
        int ww = getWordWidth(s, w);
        if (!((px - x) + ww < maxWidth)) {
            px = x;
            py += lineHeight;
            total += lineHeight;
        }
        int p = printWord(s, w, px, py, maxChars, colour, screen);
        px += ww;
        while (s[p] == ' ' || s[p] == '\n') {
            if (s[p] == '\n') {
                px = x;
                py += lineHeight;
                total += lineHeight;
            } else {
                px += spaceAdvance;
            }
            p++;
            if (!s[p])
                return total;
        }
    }
    return total;
}

void Typo::printAll(int x, int y, Screen* screen)
{
    if (!screen)
        return;
    int px = x;
    int py = y;
    int h = 0;
    for (int code = 0; code < 256; code++) {
        if (px > screen->width - 6) {
            px = x;
            py += h + 1;
            h = 0;
        }
        const GLYPH* g = glyphs[code];
        if (!g)
            continue;
        drawGlyph(g, px, py, white, screen);
        px += g->width + 1;
        if (g->height > h)
            h = g->height;
    }
}
