#include "audio/Control.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "base/ReplacingFile.h"
#include "audio/Sound.h"
#include "platform/GameFolders.h"

#include <string>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

int control[controlCount];
char controlName[controlCount][controlNameSize];
int musicVolume = 100;
int fxVolume = 100;

namespace {

struct KEY_NAME {
    int key;
    const char* name;
};

// The punctuation names are the labels an AZERTY keyboard carries at the keys
// SDL reports as period, slash, semicolon, the brackets, backslash and back
// quote. Key 39 (quote) sits where AZERTY has the superscript two, byte 0xB2
// in Latin-1.
const KEY_NAME namedKeys[] = {
    {0, "<"},         {8, "BACKSPACE"},   {9, "TAB"},          {19, "PAUSE"},       {32, "SPACE"},
    {39, "\xB2"},     {44, ","},          {46, ";"},           {47, ":"},           {59, "$"},
    {61, "="},        {91, ")"},          {92, "*"},           {93, "^"},           {96, "!"},
    {127, "DELETE"},  {273, "UP"},        {274, "DOWN"},       {275, "RIGHT"},      {276, "LEFT"},
    {277, "INSER"},   {303, "RIGHT SHIFT"}, {304, "LEFT SHIFT"}, {305, "RIGHT CTRL"}, {306, "LEFT CTRL"},
    {308, "ALT"},
};

const int minVolume = 0;
const int maxVolume = 100;

// Wide enough that adding any delta to a volume cannot overflow.
int clampVolume(long long percent)
{
    if (percent < minVolume)
        return minVolume;
    if (percent > maxVolume)
        return maxVolume;
    return int(percent);
}

// Reads one decimal integer after any white space. Returns 0, and reads
// nothing more, when the next text is not a number that fits an int.
int readNumber(std::FILE* file, int* value)
{
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c))
        c = std::fgetc(file);
    char text[16];
    int length = 0;
    if (c == '-' || c == '+') {
        text[length++] = char(c);
        c = std::fgetc(file);
    }
    int digits = 0;
    while (c != EOF && std::isdigit(c)) {
        // An int has at most 10 digits; a longer run cannot be one.
        if (digits == 10)
            return 0;
        text[length++] = char(c);
        digits++;
        c = std::fgetc(file);
    }
    if (c != EOF)
        std::ungetc(c, file);
    if (digits == 0)
        return 0;
    text[length] = 0;
    errno = 0;
    long number = std::strtol(text, nullptr, 10);
    if (errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return 0;
    *value = int(number);
    return 1;
}

} // namespace

void initControlNames()
{
    for (int key = 0; key < controlCount; key++)
        boundedFormat(controlName[key], controlNameSize, "<%d>", key);
    for (int key = '0'; key <= '9'; key++)
        boundedFormat(controlName[key], controlNameSize, "%c", key);
    // Letter keys report lower-case symbols; the name is the capital (and
    // 123 shows as "[").
    for (int key = 97; key <= 123; key++)
        boundedFormat(controlName[key], controlNameSize, "%c", key - 32);
    for (int key = 282; key <= 293; key++)
        boundedFormat(controlName[key], controlNameSize, "F%d", key - 281);
    for (const KEY_NAME& named : namedKeys)
        boundedCopy(controlName[named.key], controlNameSize, named.name);
}

namespace {

// Reads the whole file: 512 key symbols (0..511) then the two volumes, and
// nothing after them but white space. Returns 0 when anything is missing,
// out of range or left over.
int readControlFile(std::FILE* file, int* bindings, int* music, int* fx)
{
    for (int slot = 0; slot < controlCount; slot++) {
        if (!readNumber(file, &bindings[slot]) || bindings[slot] < 0 || bindings[slot] >= controlCount)
            return 0;
    }
    if (!readNumber(file, music) || !readNumber(file, fx))
        return 0;
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c))
        c = std::fgetc(file);
    return c == EOF && !std::ferror(file);
}

} // namespace

int loadControls(const char* path)
{
    std::string where = playerFileToRead(path);
    path = where.c_str();
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        logPrint("failed to load controls\n");
        loadDefaultControls();
        return 0;
    }
    int bindings[controlCount];
    int music = 0;
    int fx = 0;
    int whole = readControlFile(file, bindings, &music, &fx);
    std::fclose(file);
    if (!whole) {
        reportProblem("%s is not a key bindings file the game wrote; the default keys are used.\n", path);
        loadDefaultControls();
        return 0;
    }
    for (int slot = 0; slot < controlCount; slot++)
        control[slot] = bindings[slot];
    musicVolume = clampVolume(music);
    fxVolume = clampVolume(fx);
    setVolume(musicVolume, fxVolume);
    return 1;
}

int saveControls(const char* path)
{
    std::string where = playerFileToWrite(path);
    path = where.c_str();
    ReplacingFile file(path, "w");
    if (!file.out) {
        logPrint("failed to save controls\n");
        return 0;
    }
    bool written = true;
    for (int slot = 0; slot < controlCount && written; slot++)
        written = std::fprintf(file.out, "%d\n", control[slot]) > 0;
    if (written)
        written = std::fprintf(file.out, "%d\n%d\n", musicVolume, fxVolume) > 0;
    if (!file.commit(written)) {
        logPrint("failed to save controls\n");
        return 0;
    }
    return 1;
}

void loadDefaultControls()
{
    for (int slot = 0; slot < controlCount; slot++)
        control[slot] = slot;
}

int getControl(int slot)
{
    return slot >= 0 && slot < controlCount ? control[slot] : 0;
}

void setControl(int slot, int key)
{
    if (slot >= 0 && slot < controlCount)
        control[slot] = key;
}

const char* keyName(int key)
{
    return controlName[key >= 0 && key < controlCount ? key : 0];
}

const char* getControlName(int slot)
{
    return keyName(getControl(slot));
}

int getMusicVolume()
{
    return musicVolume;
}

int getFxVolume()
{
    return fxVolume;
}

void addMusicVolume(int delta)
{
    musicVolume = clampVolume((long long)musicVolume + delta);
    setVolume(musicVolume, fxVolume);
}

void addFxVolume(int delta)
{
    fxVolume = clampVolume((long long)fxVolume + delta);
    setVolume(musicVolume, fxVolume);
}
