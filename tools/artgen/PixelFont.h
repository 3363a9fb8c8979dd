#pragma once

#include "Picture.h"

// Tiny bitmap fonts for lettering drawn into pictures: key caps, signs,
// paint marks and the title. A glyph is a list of rows, '#' for ink.
class PixelFont {
public:
    // 3 x 5 capitals and digits; null for any other character.
    static const char* const* small(char c);
    // 5 x 7 capitals; null for any other character.
    static const char* const* large(char c);
    // Writes text (lower case drawn as capitals) with its top-left at (x, y);
    // returns the width in pixels.
    static int print(Picture& p, int f, int x, int y, const char* text, const Ink& ink, bool big = false);
};
