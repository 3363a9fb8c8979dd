#pragma once

#include "Voice.h"

#include <string>
#include <vector>

// A sound or music source read as lines of words; '#' starts a comment.
// Each line keeps its number for messages.
struct SOURCE_LINE {
    int number;
    std::vector<std::string> words;
};

// Reads the lines that hold words. Returns 1, or 0 when the file cannot be read.
int readSourceLines(const char* path, std::vector<SOURCE_LINE>& lines);

// Reads a number word; returns 0 when it is not entirely a number.
int readNumber(const std::string& word, float& value);

// Applies one line that describes a voice (wave, at, for, pitch, envelope,
// filters and so on) to `voice`. Returns 1, 0 when the keyword is not a
// voice keyword, or -1 when its values are wrong (reason in `error`).
int readVoiceLine(const std::vector<std::string>& words, VOICE& voice, std::string& error);

// The seconds given as the line's only value, checked against a range.
int readValue(const std::vector<std::string>& words, float low, float high, float& value, std::string& error);
