// Reading level files: the line format, the keywords, the blocks and the
// routing of elements by their kind lines. A level file is untrusted text:
// every copy into a fixed field is bounded, numbers are range-checked, and a
// file that ends inside a block drops that block.

#include "level/Level.h"

#include "base/BoundedString.h"
#include "base/LevelPath.h"
#include "base/Log.h"
#include "base/TextReader.h"
#include "assets/TileList.h"
#include "audio/Sound.h"
#include "level/ElectricBox.h"
#include "level/Element.h"
#include "level/KindLine.h"
#include "level/Dog.h"
#include "level/Text.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// Lines are read in pieces of at most 255 characters.
const int lineSize = 256;

// One number to fill from a line: an integer, a position or a float.
struct NUMBER {
    int* i;
    float* f;
    bool coordinate;
};

NUMBER num(int* i) { return NUMBER{i, nullptr, false}; }
NUMBER num(float* f) { return NUMBER{nullptr, f, false}; }
NUMBER position(int* i) { return NUMBER{i, nullptr, true}; }

// Reads blank-separated numbers from s into the fields in order and returns
// how many were read. The first one that does not parse, is out of range or
// is not finite ends the reading: it and the fields after it keep their values.
int readNumbers(const char* s, std::initializer_list<NUMBER> fields)
{
    int count = 0;
    for (const NUMBER& field : fields) {
        const char* end = field.coordinate ? readCoordinate(s, field.i)
                          : field.i      ? readNumber(s, field.i)
                                         : readNumber(s, field.f);
        if (!end)
            return count;
        s = end;
        count++;
    }
    return count;
}

// Copies the first blank-delimited word of s into word. Returns 0 when the
// word was cut to fit.
int firstWord(const char* s, char* word, std::size_t size)
{
    while (*s && std::isspace((unsigned char)*s))
        s++;
    std::size_t n = 0;
    while (s[n] && !std::isspace((unsigned char)s[n]))
        n++;
    std::size_t kept = n < size - 1 ? n : size - 1;
    std::memcpy(word, s, kept);
    word[kept] = 0;
    return kept == n;
}

// The text after the first word of s (its arguments).
const char* afterFirstWord(const char* s)
{
    while (*s && std::isspace((unsigned char)*s))
        s++;
    while (*s && !std::isspace((unsigned char)*s))
        s++;
    return s;
}

// Reads a file line by line for the level reader and keeps its notes.
struct LINE_READER {
    Level& level;
    std::FILE* in;
    const char* path;
    // The piece read last, without its line end.
    char text[lineSize] = "";
    // Number of the file line the piece belongs to.
    int line = 0;
    bool midLine = false;

    void note(int problem, const char* what)
    {
        Level::READ_NOTE n;
        n.problem = problem;
        n.line = line;
        boundedCopy(n.file, sizeof n.file, path);
        boundedCopy(n.text, sizeof n.text, what);
        level.readNotes.push_back(n);
    }

    // Opens the file as text; logs the failure.
    bool open()
    {
        in = std::fopen(path, "r");
        if (in)
            return true;
        char message[lineSize + 64];
        boundedFormat(message, sizeof message, "Cannot open %.255s for reading.\n", path);
        logPrint(message);
        return false;
    }

    // Reads the next piece of at most 255 characters; false at end of file.
    // A longer line is read in several pieces, each handled as a line.
    bool next()
    {
        int c = EOF;
        std::size_t n = 0;
        while (n < sizeof text - 1 && (c = std::getc(in)) != EOF && c != '\n')
            text[n++] = char(c);
        text[n] = 0;
        if (n == 0 && c == EOF)
            return false;
        bool ended = c == '\n' || c == EOF;
        if (!ended) {
            // 255 characters read: the line goes on unless its end is next.
            c = std::getc(in);
            if (c == '\n' || c == EOF)
                ended = true;
            else
                std::ungetc(c, in);
        }
        if (!midLine)
            line++;
        if (!ended && !midLine)
            note(Level::NoteLongLine, text);
        midLine = !ended;
        // Files edited elsewhere may end their lines with a carriage return.
        while (n > 0 && text[n - 1] == '\r')
            text[--n] = 0;
        return true;
    }

    // The text of an indented line: the piece without its first two characters.
    const char* indented() const
    {
        std::size_t n = std::strlen(text);
        return text + (n < 2 ? n : 2);
    }

    // The first word of the piece into word, noting a cut.
    void word(char* word, std::size_t size)
    {
        if (!firstWord(text, word, size))
            note(Level::NoteCutText, text);
    }

    // Reads numbers from the piece after skip characters, noting a shortfall.
    void numbers(std::size_t skip, std::initializer_list<NUMBER> fields)
    {
        if (readNumbers(text + skip, fields) < int(fields.size()))
            note(Level::NoteBadNumber, text);
    }
};

// The largest speed and starting frame of an element: its frame, advanced
// by its speed, must stay a number of frames that converts to an int.
const float elementStepLimit = 1e6f;

// How reading an element block ended.
enum BlockEnd { BlockRead, BlockMissingTile, BlockUnfinished };

// Reads the five lines of an ELEMENT or BONUS block after its keyword. The
// third line holds speed and frame for an element and two unused integers
// for a bonus. A tile missing from the library ends the block after its
// tile line, leaving the rest of the file to be read as ordinary lines.
int readElementBlock(LINE_READER& r, TileList* tiles, Element* e, bool isBonus, bool logMissing)
{
    if (!r.next())
        return BlockUnfinished;
    r.word(e->name, sizeof e->name);
    if (!r.next())
        return BlockUnfinished;
    char tileName[lineSize];
    boundedCopy(tileName, sizeof tileName, r.indented());
    e->tile = tiles ? r.level.useTiles(tiles)->findByName(tileName, &r.level) : nullptr;
    if (!e->tile) {
        if (logMissing) {
            logPrint("cannot find : ");
            logPrint(tileName);
            logPrint("\n");
        }
        r.note(Level::NoteMissingTile, tileName);
        return BlockMissingTile;
    }
    if (!r.next())
        return BlockUnfinished;
    if (isBonus) {
        int unused[2] = {0, 0};
        r.numbers(0, {num(&unused[0]), num(&unused[1])});
    } else {
        r.numbers(0, {num(&e->speed), num(&e->frame)});
        if (std::fabs(e->speed) > elementStepLimit || std::fabs(e->frame) > elementStepLimit) {
            r.note(Level::NoteBadNumber, r.text);
            e->speed = 0.0f;
            e->frame = 0.0f;
        }
        if (e->tile->frameCount == 1 && e->currentFrame() != 0)
            r.note(Level::NoteOnlyFrame, r.text);
    }
    if (!r.next())
        return BlockUnfinished;
    r.numbers(0, {position(&e->x), position(&e->y), num(&e->depth)});
    if (!r.next())
        return BlockUnfinished;
    if (!boundedCopy(e->text, sizeof e->text, r.indented()))
        r.note(Level::NoteCutText, r.text);
    return BlockRead;
}

// Notes the arguments of the kind lines that compile reads, so that a
// checker hears about them before the level is compiled.
void checkCompiledKindLine(LINE_READER& r, const char* text)
{
    KIND_LINE k = readKindLine(text);
    switch (k.kind) {
    case KindDoor:
    case KindLockedKeyDoor:
    case KindCloud:
    case KindLightAmbient:
    case KindLightOmni:
    case KindLightSpot:
    case KindLightDirectional:
        if (!k.complete())
            r.note(Level::NoteBadNumber, text);
        break;
    case KindLightUnknown:
        r.note(Level::NoteIgnoredLine, text);
        break;
    default:
        break;
    }
}

// Applies the routing rules of the kind line to an element read from a
// level file, in their order, and files it in the level's lists.
void routeElement(Level& level, LINE_READER& r, TileList* tiles, Element* e)
{
    const KIND_LINE k = readKindLine(e->text);
    const KIND_ARGUMENT* a = k.arguments;
    bool routed = false;
    if (k.kind == KindText)
        e->kind = Element::Text;
    if (k.whole(KindWater) || (k.whole(KindEnnemy) && ennemyWordOf(a[0].word) == EnnemyToxic))
        e->kind = Element::Overlay;
    if (k.kind == KindDoor || k.kind == KindLockedKeyDoor)
        e->kind = Element::DoorKind;
    if (k.kind == KindSwitch)
        e->kind = Element::Switch;
    else if (k.kind == KindSwitchLight)
        e->kind = Element::LightSwitch;
    else if (k.kind == KindSwitchWater)
        e->kind = Element::WaterSwitch;
    else if (k.kind == KindMove)
        e->kind = Element::Mover;
    else if (k.kind == KindPhospho)
        e->kind = Element::Phospho;
    if (k.kind == KindWaterfill) {
        if (!k.complete())
            r.note(Level::NoteBadNumber, e->text);
        else
            level.waterLimit = a[0].number;
        level.water = true;
        level.waterMode = 0;
    }
    if (k.kind == KindWaterSwitched) {
        if (!k.complete())
            r.note(Level::NoteBadNumber, e->text);
        int* fields[3] = {&level.waterLevel, &level.waterTop, &level.waterLimit};
        for (int i = 0; i < k.read; i++)
            *fields[i] = a[i].number;
        level.water = true;
        level.waterMode = 1;
    }
    if (k.whole(KindLadder)) {
        e->kind = Element::Ladder;
        level.ladders.push_back(e);
    }
    if (k.kind == KindInvisible) {
        e->active = false;
        e->kind = Element::Invisible;
        level.actives.push_back(e);
        routed = true;
    }
    if (k.kind == KindBackground) {
        e->kind = Element::Background;
        level.backgrounds.push_back(e);
        routed = true;
    }
    if (k.kind == KindDog) {
        // The dog takes the place; the element itself is not kept.
        Dog* dog = new Dog(tiles);
        dog->x = e->x;
        dog->y = e->y;
        level.dogs.push_back(dog);
        delete e;
        return;
    }
    if (k.whole(KindPushable)) {
        e->active = true;
        e->kind = Element::Pushable;
        level.actives.push_back(e);
        routed = true;
    }
    if (k.whole(KindEnnemy) && ennemyWordOf(a[0].word) == EnnemyUnstable) {
        e->kind = Element::Unstable;
        level.actives.push_back(e);
        routed = true;
    }
    if (e->kind == Element::Mover) {
        if (!k.complete())
            r.note(Level::NoteBadNumber, e->text);
        if (k.read >= 1)
            e->targetX = a[0].number;
        if (k.read >= 2)
            e->targetY = a[1].number;
        e->active = false;
        e->homeX = e->x;
        e->homeY = e->y;
        level.actives.push_back(e);
        routed = true;
    }
    if (k.kind == KindEnnemy)
        level.ennemies.push_back(e);
    if (routed)
        return;
    level.elements.push_back(e);
    if (e->tile && e->tile->frameCount > 1) {
        level.entities.push_back(e);
        // Switches rest on their first frame until used.
        if (e->kind == Element::Switch || e->kind == Element::LightSwitch || e->kind == Element::WaterSwitch) {
            e->speed = 0;
            e->frame = 0;
        }
    }
}

void readBonus(Level& level, LINE_READER& r, TileList* tiles)
{
    Element* e = new Element;
    int end = readElementBlock(r, tiles, e, true, true);
    if (end != BlockRead) {
        if (end == BlockUnfinished)
            r.note(Level::NoteUnfinishedBlock, "BONUS");
        delete e;
        return;
    }
    BONUS_LINE b = readBonusLine(e->text);
    if (b.word == BonusWordRandom && b.alone())
        level.createRandomBonus(e, tiles);
    else if (b.word == BonusWordMovie)
        e->kind = Element::BonusMovie;
    else if (b.word == BonusWordCandle)
        e->kind = Element::BonusCandle;
    else if (b.word == BonusWordElectric)
        e->kind = Element::BonusElectric;
    else if (b.word == BonusWordAceto)
        e->kind = Element::BonusAceto;
    level.bonus.push_back(e);
}

void readElectricBox(Level& level, LINE_READER& r)
{
    static_assert(ElectricBox::inputCount == 8, "a box line holds eight inputs");
    ElectricBox* box = new ElectricBox;
    bool read = r.next();
    if (read)
        r.word(box->name, sizeof box->name);
    for (int* values : {box->state, box->solution}) {
        read = read && r.next();
        if (read)
            r.numbers(0, {num(&values[0]), num(&values[1]), num(&values[2]), num(&values[3]), num(&values[4]),
                          num(&values[5]), num(&values[6]), num(&values[7])});
    }
    read = read && r.next();
    if (!read) {
        r.note(Level::NoteUnfinishedBlock, "ELECTRIC_BOX");
        delete box;
        return;
    }
    r.word(box->target, sizeof box->target);
    level.boxes.push_back(box);
}

// An intro: a count, then that many lines that nothing uses.
void skipIntro(LINE_READER& r)
{
    if (!r.next()) {
        r.note(Level::NoteUnfinishedBlock, "INTRO");
        return;
    }
    int count = 0;
    r.numbers(0, {num(&count)});
    for (int i = 0; i < count; i++)
        if (!r.next()) {
            r.note(Level::NoteUnfinishedBlock, "INTRO");
            return;
        }
}

} // namespace

int Level::load(const char* path, TileList* tiles, Typo* font, Screen* screen)
{
    waterTile.load("./tiles.dat", "water04.anm");
    deleteIntro();
    message = new Text;
    message->init(font, screen);

    LINE_READER r{*this, nullptr, path};
    if (!r.open()) {
        r.note(NoteCannotOpen, path);
        return 0;
    }
    boundedCopy(name, sizeof name, path);

    while (r.next()) {
        char keyword[lineSize];
        firstWord(r.text, keyword, sizeof keyword);
        const char* args = afterFirstWord(r.text);
        if (std::strcmp(keyword, "BASE_COLOR") == 0) {
            // The colour's bits as a signed number; the unsigned spelling
            // of the same bits is accepted too.
            long long v = 0;
            char* end = nullptr;
            errno = 0;
            v = std::strtoll(args, &end, 10);
            if (end == args || errno != 0 || v < INT_MIN || v > (long long)UINT_MAX)
                r.note(NoteBadNumber, r.text);
            else
                baseColor = int((unsigned)v);
        } else if (std::strcmp(keyword, "BASE_DEPTH") == 0) {
            r.numbers(std::size_t(args - r.text), {num(&baseDepth)});
        } else if (std::strcmp(keyword, "MEMORIES") == 0) {
            memories = true;
        } else if (std::strcmp(keyword, "DIRT") == 0) {
            dirt = true;
        } else if (std::strcmp(keyword, "NOISE") == 0) {
            noise = true;
        } else if (std::strcmp(keyword, "REVEAL") == 0) {
            reveal = true;
        } else if (std::strcmp(keyword, "INFO") == 0) {
            if (firstWordIs(args, "checkpoint"))
                checkpoint = true;
            else
                r.note(NoteIgnoredLine, r.text);
        } else if (std::strcmp(keyword, "MUSIC") == 0) {
            int track = 0;
            if (readNumbers(args, {num(&track)}) == 1) {
                musicTrack = track;
                playMusic(track);
            } else {
                r.note(NoteBadNumber, r.text);
            }
        } else if (std::strcmp(keyword, "SPECIAL") == 0) {
            char file[lineSize];
            if (!firstWord(args, file, sizeof file))
                r.note(NoteCutText, r.text);
            char specialPath[lineSize + 16];
            if (!levelPathOf(file, specialPath, sizeof specialPath) || !levelFileExists(specialPath) ||
                !loadSpecial(specialPath, tiles))
                r.note(NoteCannotOpen, file);
        } else if (std::strcmp(keyword, "ELEMENT") == 0) {
            Element* e = new Element;
            int end = readElementBlock(r, tiles, e, false, true);
            if (end == BlockRead) {
                checkCompiledKindLine(r, e->text);
                routeElement(*this, r, tiles, e);
            } else {
                if (end == BlockUnfinished)
                    r.note(NoteUnfinishedBlock, "ELEMENT");
                delete e;
            }
        } else if (std::strcmp(keyword, "BONUS") == 0) {
            readBonus(*this, r, tiles);
        } else if (std::strcmp(keyword, "ELECTRIC_BOX") == 0) {
            readElectricBox(*this, r);
        } else if (std::strcmp(keyword, "INTRO") == 0) {
            skipIntro(r);
        } else if (keyword[0]) {
            r.note(NoteIgnoredLine, r.text);
        }
    }
    std::fclose(r.in);

    int compiled = compile();
    char summary[lineSize + 256];
    boundedFormat(summary, sizeof summary,
                  "load finish (%.255s)\n  %d elements\n  %d entities\n  %d lights\n  %d doors\n  %d bonus\n"
                  "  %d ennemies\n",
                  name, int(elements.size()), int(entities.size()), int(lights.size()), int(doors.size()),
                  int(bonus.size()), int(ennemies.size()));
    logPrint(summary);
    if (!compiled) {
        r.line = 0;
        r.note(NoteNoMap, mapProblem);
        return 0;
    }

    if (water && waterMode == 0)
        playLoop(waterFillSlot);
    else
        stopSound(waterFillSlot);
    return 1;
}

int Level::loadSpecial(const char* path, TileList* tiles)
{
    LINE_READER r{*this, nullptr, path};
    if (!r.open())
        return 0;
    while (r.next()) {
        char keyword[lineSize];
        firstWord(r.text, keyword, sizeof keyword);
        if (std::strcmp(keyword, "ELEMENT") != 0)
            continue;
        Element* e = new Element;
        int end = readElementBlock(r, tiles, e, false, false);
        if (end == BlockRead) {
            specials.push_back(e);
        } else {
            if (end == BlockUnfinished)
                r.note(NoteUnfinishedBlock, "ELEMENT");
            delete e;
        }
    }
    std::fclose(r.in);
    special = true;
    return 1;
}
