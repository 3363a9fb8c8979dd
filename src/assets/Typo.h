#pragma once

class Screen;

// One character of a bitmap font: width x height pixels, column-major
// (pixel (x, y) is ink[x * height + y]), 0xFFFFFFFF where inked, 0 elsewhere.
struct GLYPH {
    int width;
    int height;
    int* ink;
};

// A one-bit bitmap font read from a text file in which every glyph is drawn
// as a grid of "X" marks. It prints strings with a fixed spacing rule,
// centres lines, wraps text into a box word by word and reveals text
// character by character through a character limit.
//
// Spacing: a space advances the pen by 6 pixels, a glyph by its width + 1.
// Characters without a glyph are replaced by "x" in plain printing and by
// "X" in word-wrapped printing; when the replacement is missing too, nothing
// is drawn and the pen does not move.
class Typo {
public:
    Typo();
    ~Typo();
    Typo(const Typo&) = delete;
    Typo& operator=(const Typo&) = delete;

    // Reads a font file. Returns 1 when it held every glyph its count
    // announces (at least one). Returns 0 when it cannot be opened (the table
    // stays as it was) or is malformed or truncated: the glyphs read before
    // the fault are kept, so a damaged font still prints what it can.
    int load(const char* path);
    // Removes every glyph.
    void clear();

    // Draws glyph c with its top-left corner at (x, y): inked pixels white,
    // empty ones leave the target as it is.
    void draw(char c, int x, int y, Screen* s);
    // Draws only the inked pixels, blended in `colour`.
    void draw(char c, int x, int y, int colour, Screen* s);

    // Plain printing in white; a line feed goes back to x and down by the
    // tallest glyph of the finished line + 1.
    void print(const char* s, int x, int y, Screen* screen);
    void print(int n, int x, int y, Screen* screen);
    // Prints each line centred on x.
    void printCenter(const char* s, int x, int y, Screen* screen);
    // Prints in `colour`, wrapping before a glyph that would pass maxWidth and
    // processing only the first maxChars characters (all when maxChars is
    // negative or past the end). Returns the height used; with a null screen
    // it only measures.
    int print(const char* s, int x, int y, int maxWidth, int maxChars, int colour, Screen* screen);
    // Word-wrapped printing with a fixed line height; characters at string
    // positions above maxChars are not drawn. Returns the height used
    // (lineHeight times the number of lines); with a null screen it only measures.
    int print2(const char* s, int x, int y, int maxWidth, int lineHeight, int maxChars, int colour, Screen* screen);
    // Draws word number `word` of s at (x, y). Returns the string position just
    // after the word, or 0 when s has fewer words.
    int printWord(const char* s, int word, int x, int y, int maxChars, int colour, Screen* screen);
    // Number of words of s (runs of characters other than space and line feed).
    int getNWord(const char* s);
    // Width in pixels of word number `word`, 0 when s has fewer words.
    int getWordWidth(const char* s, int word);

    // Draws every glyph in code order, in rows that fit the target's width.
    void printAll(int x, int y, Screen* screen);

    // Advance of the pen over one line of plain printing, stopping at a line
    // feed or the end: the width of the line plus one.
    int lineAdvance(const char* s) const;

    GLYPH* getGlyph(unsigned char c) const { return glyphs[c]; }
    int getGlyphCount() const;

    // Longest glyph row and largest glyph side accepted from a file.
    static const int maxRow = 255;
    static const int maxSide = 255;

    GLYPH* glyphs[256];

private:
    GLYPH* plainGlyph(unsigned char c) const;
    GLYPH* wordGlyph(unsigned char c) const;
    void drawGlyph(const GLYPH* g, int x, int y, int colour, Screen* s) const;
    // Start of word number `word` in s, or -1.
    int findWord(const char* s, int word) const;
};
