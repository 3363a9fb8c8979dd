#pragma once

class Tile;
class TileList;

// A dog placed in a room. For now it only sits where it was placed, showing
// its idle picture; chasing, fleeing and drawing come with its behaviour.
class Dog {
public:
    // Finds the idle picture "dog_idle.anm" in the tile library; a library
    // without it leaves the dog without a picture.
    explicit Dog(TileList* tiles);

    int x = 0;
    int y = 0;
    Tile* tile = nullptr;
};
