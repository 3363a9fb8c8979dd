// fontpack: turns a hand-drawn glyph source into a font file of the game.
//
//   fontpack SOURCE FONT            writes FONT from SOURCE
//   fontpack --sheet FONT IMAGE     draws every glyph of FONT, magnified 4
//                                   times, into the 24-bit BMP IMAGE
//
// A source lists glyphs one after another. A glyph starts with a line
// "= c" naming its character (a single byte, "space", or a code such as
// "0xB0"), followed by its rows drawn with "X" for ink and "." for empty.
// The glyph is as wide as its longest row and as high as its row count.
// Lines starting with "#" are comments; empty lines are ignored.
//
// The font file is the game's text format: the glyph count, then for each
// glyph a line "%c %d %d" (character, width, height) and its rows.

#include "base/ReplacingFile.h"
#include "assets/Typo.h"
#include "render/Screen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct SourceGlyph {
    int code = 0;
    int line = 0;
    std::vector<std::string> rows;
};

int fail(const std::string& where, int line, const std::string& what)
{
    std::cerr << where << ":" << line << ": " << what << "\n";
    return 0;
}

// Reads the character named after "= ": one byte, "space" or "0xHH".
int parseCode(const std::string& name)
{
    if (name.size() == 1)
        return static_cast<unsigned char>(name[0]);
    if (name == "space")
        return ' ';
    if (name.size() > 2 && name.compare(0, 2, "0x") == 0) {
        char* end = nullptr;
        long v = std::strtol(name.c_str() + 2, &end, 16);
        if (*end == 0 && v > 0 && v < 256)
            return int(v);
    }
    return -1;
}

int readSource(const char* path, std::vector<SourceGlyph>& glyphs)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail(path, 0, "cannot open");
    bool seen[256] = {};
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        number++;
        while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
            text.pop_back();
        if (text.empty() || text[0] == '#')
            continue;
        if (text.compare(0, 2, "= ") == 0) {
            int code = parseCode(text.substr(2));
            if (code < 0)
                return fail(path, number, "bad character name \"" + text.substr(2) + "\"");
            if (code == '\n' || code == '\r')
                return fail(path, number, "line breaks cannot have glyphs");
            if (seen[code])
                return fail(path, number, "character defined twice");
            seen[code] = true;
            SourceGlyph g;
            g.code = code;
            g.line = number;
            glyphs.push_back(g);
            continue;
        }
        if (glyphs.empty())
            return fail(path, number, "row before the first glyph header");
        if (text.find_first_not_of(".X") != std::string::npos)
            return fail(path, number, "rows hold only \"X\" and \".\"");
        if (int(text.size()) > Typo::maxRow)
            return fail(path, number, "row too long");
        glyphs.back().rows.push_back(text);
    }
    for (const SourceGlyph& g : glyphs) {
        if (g.rows.empty())
            return fail(path, g.line, "glyph without rows");
        if (int(g.rows.size()) > Typo::maxSide)
            return fail(path, g.line, "glyph too high");
    }
    return 1;
}

int writeFont(const char* path, const std::vector<SourceGlyph>& glyphs)
{
    ReplacingFile file(path);
    if (!file.out)
        return fail(path, 0, "cannot create");
    std::fprintf(file.out, "%d\n", int(glyphs.size()));
    for (const SourceGlyph& g : glyphs) {
        std::size_t width = 0;
        for (const std::string& row : g.rows)
            width = row.size() > width ? row.size() : width;
        std::fprintf(file.out, "%c %d %d\n", g.code, int(width), int(g.rows.size()));
        for (const std::string& row : g.rows)
            std::fprintf(file.out, "%s%s\n", row.c_str(), std::string(width - row.size(), '.').c_str());
    }
    if (!file.commit(!std::ferror(file.out)))
        return fail(path, 0, "cannot write");
    return 1;
}

// Draws every glyph with printAll and a few lines of running text 9 pixels
// apart, as menus and the message box set them, then writes the sheet 4
// times larger, as the game shows its pixels.
int writeSheet(const char* fontPath, const char* imagePath)
{
    Typo font;
    if (!font.load(fontPath))
        return fail(fontPath, 0, "missing or damaged font");
    const int scale = 4;
    const int width = 120;
    Screen sheet(width, 100, 1);
    sheet.clear(int(0xFF000000));
    font.printAll(2, 2, &sheet);
    const char* sample = "The quick brown fox jumps over the lazy dog.\n"
                         "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS!\n"
                         "Slot 3: 42\xB0, key \xB2, (a+b)*[c-d] {e_f} @g#h$i%j";
    font.print2(sample, 2, 48, width - 4, 9, 1000, int(0xFFFFFFFF), &sheet);
    Screen big(width * scale, sheet.height * scale, 1);
    for (int x = 0; x < big.width; x++)
        for (int y = 0; y < big.height; y++)
            big.setPixel(x, y, sheet.getPixel(x / scale, y / scale));
    // saveImage formats its name with a counter; escape any "%" in the path.
    std::string pattern;
    for (const char* p = imagePath; *p; p++)
        pattern += *p == '%' ? std::string("%%") : std::string(1, *p);
    big.saveImage(pattern.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--sheet") == 0)
        return writeSheet(argv[2], argv[3]) ? 0 : 1;
    if (argc != 3) {
        std::cerr << "usage: fontpack SOURCE FONT\n       fontpack --sheet FONT IMAGE\n";
        return 2;
    }
    std::vector<SourceGlyph> glyphs;
    if (!readSource(argv[1], glyphs) || !writeFont(argv[2], glyphs))
        return 1;
    return 0;
}
