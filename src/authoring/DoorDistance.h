#pragma once

#include <vector>

class BoundingBox;
class Level;
struct DOOR;

// How far the player's body is from a door along the room's open space: a
// breadth-first walk, in steps of a few pixels, of the middle of his feet
// through every place where his body fits standing or crouched, from every
// place where it touches the door. He rises only from ground within a jump
// below his feet or on a ladder, goes sideways only within a jump's width of
// such places, and falls anywhere; ledges a little too high and gaps a
// little too wide are not told apart: it draws a search along the galleries, shafts and holes that
// lead to the door instead of against the rock between, and proves nothing.
class DoorDistance {
public:
    // The grid's step in pixels.
    static const int step = 4;
    // What `to` answers for a place the walk did not reach.
    static const long unknown = -1;

    void measure(const Level& level, const DOOR& door);
    // Pixels from the body `box` to the door, or `unknown`.
    long to(const BoundingBox& box) const;

private:
    // The distance stored at grid point (column, row), or `unknown` outside.
    long at(int column, int row) const;

    int left = 0;
    int top = 0;
    int columns = 0;
    int rows = 0;
    // Steps from the door, column-major; -1 where the walk did not come.
    std::vector<int> steps;
};
