#pragma once

#include "CharacterPoses.h"

#include <string>
#include <vector>

// One drawn frame of a character sheet: a palette digit per pixel
// (row-major, '0' transparent), the movement offset, and the light anchor
// at the hand that holds the lamp.
struct SHEET_FRAME {
    std::vector<char> digits;
    int moveX = 0;
    int moveY = 0;
    int lightX = 0;
    int lightY = 0;
};

// Draws every pose of a choreography as pixels of a small jointed figure
// (a young man in a dark jacket, facing right) and writes the result as a
// character sheet in the palette text format the game reads.
class CharacterSheet {
public:
    explicit CharacterSheet(const CharacterPoses& poses);

    // Writes the sheet through a temporary file. Returns 1, or 0 with the reason in `error`.
    int write(const std::string& file, std::string& error) const;

    const CharacterPoses& poses;
    std::vector<SHEET_FRAME> frames;
};

// Reads a written sheet back with the game's loader and renders a review
// picture: every sequence in a row, frame by frame at 4x with the light
// anchor framed in cyan and the movement offset below, then the same
// frames at 1x facing right and mirrored, and on the black of an unlit room.
// Returns 1, or 0 with the reason in `error`.
int writeCharacterPreview(const std::string& sheetFile, const std::string& pngFile, std::string& error);
