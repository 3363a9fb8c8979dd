#pragma once

#include "base/SharedPixels.h"

class Screen;
class Tile;
class TileList;

// A hostile dog placed in a room. It sits until the player comes near, then
// runs at him, or away from him when he carries the acetylene lamp, and keeps
// running until its timer runs out. The room moves it (gravity and rock) and
// draws it; the dog itself only decides where to run and animates.
class Dog {
public:
    enum State { Idle = 0, Fleeing = 1, Chasing = 2 };
    // Frames a chase or a flight lasts after the player was last near;
    // the dog counts two of them per game frame.
    static constexpr int runTimer = 200;
    // How far from the player's target point the dog notices him.
    static constexpr int noticeX = 100;
    static constexpr int noticeY = 32;
    // Running speed in pixels per step.
    static constexpr int runSpeed = 2;

    // Finds "dog_idle.anm" and "dog_run.anm" in the tile library; missing
    // pictures leave the dog without that picture (it is then not drawn and
    // touches nothing).
    explicit Dog(TileList* tiles);

    // Reacts to the player standing at (px, py): within reach of the point
    // the dog runs to, it chases him, or flees when `scared`, for another
    // runTimer steps. Out of reach nothing changes.
    void setPlayerPosition(int px, int py, bool scared);
    // One step: remembers the position, counts the timer down, sets the
    // picture and the running speed, advances the animation.
    void update();

    // The shown picture at (x + ox, y + oy), mirrored while facing right,
    // and its self-lit pixels alone.
    void draw(int ox, int oy, Screen* s);
    void drawIcds(int ox, int oy, Screen* s);

    // Size of the shown picture; 0 without one.
    int width() const;
    int height() const;
    // Colour of the shown picture at world position (wx, wy) as it is drawn
    // (mirrored while facing right); 0 outside the picture.
    int pixelAt(int wx, int wy) const;
    // True when, inside the rectangle (left, top, w, h), some world pixel is
    // both a visible pixel of the dog (alpha above 0) and one for which
    // `solid(wx, wy)` is true: the test of the dog catching the player,
    // whose own picture the caller knows. Columns are scanned outermost.
    template <typename SolidAt>
    bool touches(int left, int top, int w, int h, SolidAt solid) const;

    int x = 0;
    int y = 0;
    int oldX = 0;
    int oldY = 0;
    float vx = 0.0f;
    float vy = 0.0f;
    int state = Idle;
    int timer = 0;
    // 1 running and facing right (picture mirrored), 0 facing left.
    int way = 1;
    float speed = 0.5f;
    float frame = 0.0f;
    Tile* idleTile = nullptr;
    Tile* runTile = nullptr;
    Tile* tile = nullptr;
};

template <typename SolidAt>
bool Dog::touches(int left, int top, int w, int h, SolidAt solid) const
{
    return anySharedPixel(left, top, w, h, x, y, width(), height(),
                          [&](int wx, int wy) { return (unsigned(pixelAt(wx, wy)) >> 24) > 0 && solid(wx, wy); });
}
