#pragma once

class Screen;
class Tile;
struct TILE_PIXEL;

// An object placed in a room: a picture at a world position with a kind,
// an animation, and what movable objects need (velocity, home and target).
class Element {
public:
    // What the element is, from the kind word of its text.
    enum Kind {
        Decor = 0,
        Ladder = 1,
        Text = 2,
        Pushable = 3,
        Unstable = 4,
        Overlay = 5,
        DoorKind = 6,
        Switch = 7,
        LightSwitch = 8,
        Mover = 9,
        Thrown = 10,
        Phospho = 11,
        Background = 12,
        Invisible = 13,
        WaterSwitch = 14,
        BonusGold = 101,
        BonusDiamond = 102,
        BonusEye = 103,
        BonusLife = 104,
        BonusCandle = 105,
        BonusElectric = 106,
        BonusAceto = 107,
        BonusMovie = 108
    };

    Element() = default;
    // Shows t; animated (speed 1) when t has two or more frames.
    explicit Element(Tile* t);

    // Advances the animation (wrapping both ways) and a positive countdown,
    // which switches the element on when it reaches 0.
    void update();

    // The plain draw of the current frame, when there is a visible picture.
    void draw(int ox, int oy, Screen* s);
    // The incandescent pixels of the current frame, same conditions.
    void drawIcds(int ox, int oy, Screen* s);
    // These three draw hidden elements too (not invisible ones).
    void drawBorder(int ox, int oy, Screen* s, int colour);
    void draw(int ox, int oy, Screen* s, float alpha);
    void draw(int ox, int oy, float f, Screen* s);

    // The picture's size; 0 x 0 without a tile.
    void getDimensions(int* w, int* h) const;
    // The middle of the picture in world pixels (halves truncated).
    void getCentre(int* cx, int* cy) const;
    // Pixel (i, j) of the current frame (of the only frame of a one-frame
    // picture): colour, depth (plus the element's own depth) and
    // incandescence; 0 outside the picture.
    int getColor(int i, int j) const;
    int getDepth(int i, int j) const;
    float getIncandescence(int i, int j) const;
    // A candle, torch or acetylene lamp lying in the room.
    bool isLamp() const { return kind == BonusCandle || kind == BonusElectric || kind == BonusAceto; }
    // The frame shown now, as drawn (truncated toward zero).
    int currentFrame() const { return int(frame); }

    Tile* tile = nullptr;
    float speed = 0.0f;
    float frame = 0.0f;
    int x = 0;
    int y = 0;
    int depth = 0;
    char text[256] = "";
    char name[128] = "";
    int kind = Decor;
    int countdown = -1;
    bool active = false;
    bool bounce = false;
    bool visible = true;
    float vx = 0.0f;
    float vy = 0.0f;
    int homeX = 0;
    int homeY = 0;
    int targetX = 0;
    int targetY = 0;

private:
    // The record of pixel (i, j) of the frame those queries read, or null.
    const TILE_PIXEL* pixel(int i, int j) const;
    bool drawable() const;
};
