#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The small readers every text format of the game and its tools shares.

// A whole decimal number in [lowest, highest] and nothing after it (blanks
// before it are taken, as strtol takes them). Returns false, leaving `value`
// alone, for an empty or missing text, anything after the number, or a
// number outside the range.
bool readWholeNumber(const char* text, long long lowest, long long highest, long long* value);
bool readWholeNumber(const char* text, long lowest, long highest, long* value);
bool readWholeNumber(const char* text, int lowest, int highest, int* value);

// Whether `text` begins with `prefix`.
bool startsWith(const char* text, const char* prefix);
bool endsWith(const std::string& text, const char* suffix);

// Whether the first blank-delimited word of `text` (blanks before it
// skipped) is `word`.
bool firstWordIs(const char* text, const char* word);

// The name of a file without its folders and without everything from its
// first dot on: "metro3" of "./Level/metro3.lvl".
std::string stemOf(const std::string& path);

// Reads one line of `in` into `line` without its line break (nor a carriage
// return before it), dropping what does not fit in `size` bytes. Returns
// false at the end of the file, when nothing was read.
bool readLine(std::FILE* in, char* line, std::size_t size);
