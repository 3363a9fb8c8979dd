#pragma once

class Screen;

// One picture of a character sheet: the movement the character makes while
// it is shown, where the character's light sits, and its colours.
struct ANIM_FRAME {
    int moveX;
    int moveY;
    int lightX;
    int lightY;
    // width x height colours 0xAARRGGBB, column-major: pixel (x, y) is x * height + y.
    int* pixels;
};

// A named run of frames, first and last frame both included.
struct ANIM_SEQUENCE {
    char name[32];
    int begin;
    int end;
};

// A character sheet: frames of equal size grouped into named sequences
// ("walk", "climb" ...). It is read from one of two text formats, the plain
// one with a decimal colour per pixel and the palette one with a digit per
// pixel; the game's sheet "character.dat" uses the palette format.
class Animation {
public:
    // What a sheet may declare; a file outside these is damaged.
    static const int maxSide = 256;
    static const int maxFrames = 4096;
    static const int maxSequences = 256;
    static const int paletteSize = 10;

    Animation() = default;
    ~Animation();
    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;

    // Read the plain or the palette text format. Both return 1, or 0 when
    // the file cannot be opened or is damaged; the animation is then empty.
    int loadFromFile(const char* path);
    int loadFromFile2(const char* path);
    // Drops every frame and sequence.
    void clear();

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getFrameCount() const { return frameCount; }
    int getSeqCount() const { return seqCount; }

    // Colour of pixel (x, y) of a frame, 0 when any index is out of range.
    int getColor(int x, int y, int frame) const;
    // First or last frame of a sequence, 0 for a sequence number out of range.
    int getSeqBegin(int seq) const;
    int getSeqEnd(int seq) const;
    // Name of a sequence, "" for a number out of range.
    const char* getSeqName(int seq) const;
    // Number of the first sequence with exactly this name, 0 when none has it.
    int getSeqByName(const char* name) const;
    // A frame's movement offset and light anchor; (0, 0) for a frame out of range.
    void moveCoords(int* dx, int* dy, int frame) const;
    void lightCoords(int* x, int* y, int frame) const;

    // Draws a frame with its top-left corner at (x, y), flipped left to right
    // when mirror is non-zero, blending every pixel; nothing for a frame out
    // of range. The second form ANDs each colour with mask first.
    void draw(int x, int y, int frame, int mirror, Screen* s) const;
    void draw(int x, int y, int frame, int mirror, Screen* s, int mask) const;
    // Draws a frame with every row shifted sideways by its own random amount
    // of at most `amplitude` pixels, each colour ORed with orMask.
    void drawRandom(int x, int y, int frame, int mirror, Screen* s, int orMask, float amplitude) const;

    int width = 0;
    int height = 0;
    int frameCount = 0;
    int seqCount = 0;
    int palette[paletteSize] = {};
    ANIM_FRAME* frames = nullptr;
    ANIM_SEQUENCE* seqs = nullptr;
};
