#pragma once

// The kind lines of level files: the word that starts an element's text says
// what the element is, and the arguments after it configure it. The level
// reader, its checks, compile, the room compiler, the player's interactions
// and the world map all read and spell them through these tables and number
// readers: the kind words, the enemy words after "ennemy", and the words that
// start a bonus's text.

// A level is at most this many pixels a side. Positions, offsets and the
// whole-number arguments of kind lines are refused outside +-this when they
// are read, so that no sum of them computed later can overflow.
const int levelCoordinateLimit = 8192;

// Numbers of the level format. Each reads one number after any blanks at s
// and returns the character after it, or null (leaving value alone) when
// there is none, it is out of range or it is not finite.
const char* readNumber(const char* s, int* value);
const char* readNumber(const char* s, float* value);
// A position or offset: readNumber, refusing values outside
// +-levelCoordinateLimit (value left alone).
const char* readCoordinate(const char* s, int* value);
// A colour: hexadecimal digits (a "0x" before them is allowed), 32 bits at most.
const char* readColour(const char* s, unsigned* value);

enum KindWord {
    KindNone = -1,
    KindText,
    KindDoor,
    KindLockedKeyDoor,
    KindSwitch,
    KindSwitchLight,
    KindSwitchWater,
    KindMove,
    KindPhospho,
    KindWaterfill,
    KindWaterSwitched,
    KindWater,
    KindLadder,
    KindInvisible,
    KindBackground,
    KindDog,
    KindPushable,
    KindEnnemy,
    KindCloud,
    KindLightAmbient,
    KindLightOmni,
    KindLightSpot,
    KindLightDirectional,
    KindLightFire,
    // "light" followed by no form of the table.
    KindLightUnknown,
    KindGraph,
    KindDecor
};

// One entry of the table: the kind's words as a level file spells them
// ("door", "light omni"), and one letter per argument: 'w' a word, 'i' a
// whole number, 'f' a number, 'x' a colour.
struct KIND_WORD {
    int kind;
    const char* words;
    const char* arguments;
};

// The table entry of a kind.
const KIND_WORD& kindWord(int kind);

// Arguments hold at most this many values, and words this many characters
// (as many as an element's text holds).
const int maxKindArguments = 7;
const int kindWordSize = 256;

struct KIND_ARGUMENT {
    // A word argument, cut to fit.
    char word[kindWordSize];
    int number;
    float real;
    unsigned colour;
};

// A kind line as read: its kind, how many arguments the kind takes and how
// many were read before the first that was missing or did not parse (those
// after it stay zero), and where the text after the last one read begins.
struct KIND_LINE {
    int kind = KindNone;
    int wanted = 0;
    int read = 0;
    KIND_ARGUMENT arguments[maxKindArguments] = {};
    const char* rest = "";
    bool complete() const { return read == wanted; }
    // The kind, with nothing in the line after its arguments.
    bool whole(int k) const;
};

// Reads the kind word that starts `text` (blanks before it are skipped)
// and its arguments. A text whose words match no entry has KindNone.
KIND_LINE readKindLine(const char* text);

// What touching an enemy does, by the word after "ennemy".
enum EnnemyWord { EnnemyNone = -1, EnnemyToxic, EnnemyElectric, EnnemyPick, EnnemyUnstable, ennemyWordCount };

// The word of an enemy kind, and the enemy a word names (EnnemyNone for none).
const char* ennemyWordName(int ennemy);
int ennemyWordOf(const char* word);
// The enemy of an element's text: EnnemyNone unless it is an "ennemy" line
// naming one of the enemy words.
int readEnnemy(const char* text);

// The message of a sign's text: what follows the word "text", a blank, eight
// hexadecimal digits of colour and a blank (empty when the text is shorter).
const char* signMessage(const char* text);

// What taking a bonus does, by the first word of its text.
enum BonusWord {
    BonusWordNone = -1,
    BonusWordLife,
    BonusWordGold,
    BonusWordDiamond,
    BonusWordSheet,
    BonusWordEye,
    // A key, a skull or a map piece, remembered by name for the whole game.
    BonusWordOneTime,
    // A scene played when touched: "movie N".
    BonusWordMovie,
    BonusWordCandle,
    BonusWordElectric,
    BonusWordAceto,
    // Becomes one of the plain bonuses when the level is read.
    BonusWordRandom,
    bonusWordCount
};

const char* bonusWordName(int bonus);
int bonusWordOf(const char* word);

// A bonus's text as read: its word (blanks before it skipped), and the text
// after the word and the one blank that follows it (a sheet's message).
struct BONUS_LINE {
    int word = BonusWordNone;
    const char* rest = "";
    // The text is the word alone.
    bool alone() const { return *rest == 0; }
    // Reads the whole number after the word (a movie's scene) into `value`;
    // false, leaving it alone, when there is none.
    bool number(int* value) const;
};

BONUS_LINE readBonusLine(const char* text);
