#pragma once

class Screen;
class Tile;
class TileList;

// A dog placed in a room. For now it only sits where it was placed, showing
// its idle picture; chasing and fleeing come with its behaviour.
class Dog {
public:
    // Finds the idle picture "dog_idle.anm" in the tile library; a library
    // without it leaves the dog without a picture.
    explicit Dog(TileList* tiles);

    // The idle picture at (x + ox, y + oy), and its self-lit pixels alone.
    void draw(int ox, int oy, Screen* s);
    void drawIcds(int ox, int oy, Screen* s);

    int x = 0;
    int y = 0;
    Tile* tile = nullptr;
};
