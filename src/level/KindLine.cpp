#include "level/KindLine.h"

#include "base/BoundedString.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// In matching order: the light forms before the plain "light".
const KIND_WORD table[] = {
    {KindText, "text", "x"},
    {KindDoor, "door", "ww"},
    {KindLockedKeyDoor, "locked_key_door", "wwi"},
    {KindSwitch, "switch", "wi"},
    {KindSwitchLight, "switch_light", "w"},
    {KindSwitchWater, "switch_water", ""},
    {KindMove, "move", "ii"},
    {KindPhospho, "phospho", ""},
    {KindWaterfill, "waterfill", "i"},
    {KindWaterSwitched, "water_switched", "iii"},
    {KindWater, "water", ""},
    {KindLadder, "ladder", ""},
    {KindInvisible, "invisible", ""},
    {KindBackground, "background", ""},
    {KindDog, "dog", ""},
    {KindPushable, "pushable", ""},
    {KindEnnemy, "ennemy", "w"},
    {KindCloud, "cloud", "i"},
    {KindLightAmbient, "light ambient", "xf"},
    {KindLightOmni, "light omni", "xfiii"},
    {KindLightSpot, "light spot", "xfiiiii"},
    {KindLightDirectional, "light directional", "xfii"},
    {KindLightFire, "light fire", ""},
    {KindLightUnknown, "light", ""},
    {KindGraph, "graph", ""},
    {KindDecor, "decor", ""},
};

const char* const ennemyWords[ennemyWordCount] = {"toxic", "electric", "pick", "unstable"};

const char* const bonusWords[bonusWordCount] = {"life",  "gold",   "diamond",  "sheet", "eye",   "one_time",
                                                "movie", "candle", "electric", "aceto", "random"};

// The index of `word` in `words`, or -1.
int indexOf(const char* const* words, int count, const char* word)
{
    for (int i = 0; i < count; i++)
        if (std::strcmp(words[i], word) == 0)
            return i;
    return -1;
}

const char* skipBlanks(const char* s)
{
    while (*s && std::isspace((unsigned char)*s))
        s++;
    return s;
}

// The length of the word at s.
std::size_t wordLength(const char* s)
{
    std::size_t n = 0;
    while (s[n] && !std::isspace((unsigned char)s[n]))
        n++;
    return n;
}

// The words at s are those of `phrase`, separated by blanks; `next` is set
// after the last of them.
bool takePhrase(const char* s, const char* phrase, const char** next)
{
    while (*phrase) {
        s = skipBlanks(s);
        std::size_t n = wordLength(s);
        if (std::strncmp(s, phrase, n) != 0 || (phrase[n] != ' ' && phrase[n] != 0) || n == 0)
            return false;
        s += n;
        phrase += n;
        if (*phrase == ' ')
            phrase++;
    }
    *next = s;
    return true;
}

// Reads one argument of type `letter` at s; null when it is missing or malformed.
const char* readArgument(const char* s, char letter, KIND_ARGUMENT* a)
{
    if (letter == 'i')
        return readCoordinate(s, &a->number);
    if (letter == 'f')
        return readNumber(s, &a->real);
    if (letter == 'x')
        return readColour(s, &a->colour);
    s = skipBlanks(s);
    std::size_t n = wordLength(s);
    if (n == 0)
        return nullptr;
    boundedFormat(a->word, sizeof a->word, "%.*s", int(n), s);
    return s + n;
}

} // namespace

const char* readNumber(const char* s, int* value)
{
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s, &end, 10);
    if (end == s || errno != 0 || v < INT_MIN || v > INT_MAX)
        return nullptr;
    *value = int(v);
    return end;
}

const char* readCoordinate(const char* s, int* value)
{
    int v = 0;
    const char* end = readNumber(s, &v);
    if (!end || v < -levelCoordinateLimit || v > levelCoordinateLimit)
        return nullptr;
    *value = v;
    return end;
}

const char* readNumber(const char* s, float* value)
{
    char* end = nullptr;
    float v = std::strtof(s, &end);
    if (end == s || !std::isfinite(v))
        return nullptr;
    *value = v;
    return end;
}

const char* readColour(const char* s, unsigned* value)
{
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(s, &end, 16);
    if (end == s || errno != 0 || v > 0xFFFFFFFFull || *skipBlanks(s) == '-')
        return nullptr;
    *value = unsigned(v);
    return end;
}

const KIND_WORD& kindWord(int kind)
{
    for (const KIND_WORD& k : table)
        if (k.kind == kind)
            return k;
    return table[0];
}

bool KIND_LINE::whole(int k) const
{
    return kind == k && complete() && *skipBlanks(rest) == 0;
}

KIND_LINE readKindLine(const char* text)
{
    KIND_LINE line;
    for (const KIND_WORD& k : table) {
        const char* after = nullptr;
        if (!takePhrase(text, k.words, &after))
            continue;
        line.kind = k.kind;
        line.wanted = int(std::strlen(k.arguments));
        line.rest = after;
        for (int i = 0; i < line.wanted; i++) {
            const char* next = readArgument(line.rest, k.arguments[i], &line.arguments[i]);
            if (!next)
                break;
            line.rest = next;
            line.read++;
        }
        return line;
    }
    return line;
}

const char* ennemyWordName(int ennemy)
{
    return ennemy >= 0 && ennemy < ennemyWordCount ? ennemyWords[ennemy] : "";
}

int ennemyWordOf(const char* word)
{
    return indexOf(ennemyWords, ennemyWordCount, word);
}

int readEnnemy(const char* text)
{
    KIND_LINE line = readKindLine(text);
    return line.kind == KindEnnemy && line.complete() ? ennemyWordOf(line.arguments[0].word) : EnnemyNone;
}

const char* bonusWordName(int bonus)
{
    return bonus >= 0 && bonus < bonusWordCount ? bonusWords[bonus] : "";
}

int bonusWordOf(const char* word)
{
    return indexOf(bonusWords, bonusWordCount, word);
}

bool BONUS_LINE::number(int* value) const
{
    return readNumber(rest, value) != nullptr;
}

const char* signMessage(const char* text)
{
    const std::size_t messageStart = 14;
    return text + std::min(std::strlen(text), messageStart);
}

BONUS_LINE readBonusLine(const char* text)
{
    BONUS_LINE line;
    const char* word = skipBlanks(text);
    std::size_t n = wordLength(word);
    char first[kindWordSize];
    if (n == 0 || n >= sizeof first)
        return line;
    boundedFormat(first, sizeof first, "%.*s", int(n), word);
    line.word = bonusWordOf(first);
    line.rest = word + n + (word[n] ? 1 : 0);
    return line;
}
