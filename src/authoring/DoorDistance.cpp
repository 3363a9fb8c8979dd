#include "authoring/DoorDistance.h"

#include "level/Element.h"
#include "level/Level.h"
#include "player/BoundingBox.h"

#include <algorithm>
#include <deque>

namespace {

// The depth the player's collisions take for rock.
const int rockDepth = 10;

// The player's body around the middle of its feet, as his collisions test
// it (the outline's far edges included): standing, and crouched.
struct BODY_SHAPE {
    int left;
    int width;
    int height;
};
const BODY_SHAPE shapes[] = {{-3, 7, 19}, {-6, 13, 11}};

// Rock pixels of the level map counted over any rectangle: each entry holds
// the rock above and left of it.
struct ROCK_TABLE {
    int left;
    int top;
    int width;
    int height;
    std::vector<int> sums;

    int sum(int column, int row) const { return sums[std::size_t(row) * (width + 1) + column]; }
};

ROCK_TABLE rockTable(const Level& level)
{
    ROCK_TABLE t{level.originX, level.originY, level.mapWidth, level.mapHeight, {}};
    t.sums.assign(std::size_t(t.width + 1) * (t.height + 1), 0);
    for (int row = 0; row < t.height; row++)
        for (int column = 0; column < t.width; column++) {
            int rock = level.getDepth(t.left + column, t.top + row) == rockDepth;
            t.sums[std::size_t(row + 1) * (t.width + 1) + column + 1] =
                rock + t.sum(column, row + 1) + t.sum(column + 1, row) - t.sum(column, row);
        }
    return t;
}

// Whether the pixels from (x0, y0) to (x1, y1) inclusive lie in the map
// without rock.
bool clear(const ROCK_TABLE& t, int x0, int y0, int x1, int y1)
{
    x0 -= t.left;
    x1 -= t.left;
    y0 -= t.top;
    y1 -= t.top;
    if (x0 < 0 || y0 < 0 || x1 >= t.width || y1 >= t.height)
        return false;
    return t.sum(x1 + 1, y1 + 1) - t.sum(x0, y1 + 1) - t.sum(x1 + 1, y0) + t.sum(x0, y0) == 0;
}

bool bodyFits(const ROCK_TABLE& t, int footX, int footY)
{
    for (const BODY_SHAPE& s : shapes)
        if (clear(t, footX + s.left, footY - s.height, footX + s.left + s.width, footY))
            return true;
    return false;
}

// How far below his feet the player finds something to jump from: a
// standing jump rises 36 pixels.
const int jumpReach = 40;
// How far sideways from such ground a jump carries him before he must come
// down: a running jump clears about 6 cells.
const int jumpWidth = 48;

// Whether the player can rise from there: ground within a jump below his
// feet, or a ladder at his body.
bool canRise(const ROCK_TABLE& t, const Level& level, int footX, int footY)
{
    const BODY_SHAPE& s = shapes[0];
    if (!clear(t, footX + s.left, footY, footX + s.left + s.width, footY + jumpReach))
        return true;
    for (const Element* ladder : level.ladders) {
        int w = 0, h = 0;
        ladder->getDimensions(&w, &h);
        if (footX + s.left <= ladder->x + w && ladder->x <= footX + s.left + s.width && footY - s.height <= ladder->y + h &&
            ladder->y <= footY)
            return true;
    }
    return false;
}

// Whether the standing body with its feet there overlaps the door.
bool touches(const DOOR& door, int footX, int footY)
{
    const BODY_SHAPE& s = shapes[0];
    int x0 = footX + s.left, y0 = footY - s.height;
    return x0 <= door.x + door.width && door.x <= x0 + s.width && y0 <= door.y + door.height && door.y <= footY;
}

} // namespace

void DoorDistance::measure(const Level& level, const DOOR& door)
{
    ROCK_TABLE rock = rockTable(level);
    left = level.originX;
    top = level.originY;
    columns = level.mapWidth / step + 1;
    rows = level.mapHeight / step + 1;
    steps.assign(std::size_t(columns) * rows, -1);
    std::vector<bool> open(steps.size()), rising(steps.size()), aloft(steps.size());
    std::deque<int> todo;
    for (int column = 0; column < columns; column++)
        for (int row = 0; row < rows; row++) {
            int index = column * rows + row, x = left + column * step, y = top + row * step;
            open[index] = bodyFits(rock, x, y);
            rising[index] = open[index] && canRise(rock, level, x, y);
            if (open[index] && touches(door, x, y)) {
                steps[index] = 0;
                todo.push_back(index);
            }
        }
    // Sideways only within a jump of ground to rise from; elsewhere he falls.
    const int jumpColumns = jumpWidth / step;
    for (int column = 0; column < columns; column++)
        for (int row = 0; row < rows; row++)
            for (int c = std::max(0, column - jumpColumns); c <= std::min(columns - 1, column + jumpColumns); c++)
                if (rising[c * rows + row]) {
                    aloft[column * rows + row] = true;
                    break;
                }
    while (!todo.empty()) {
        int index = todo.front();
        todo.pop_front();
        int column = index / rows, row = index % rows;
        for (int dc = -1; dc <= 1; dc++)
            for (int dr = -1; dr <= 1; dr++) {
                int c = column + dc, r = row + dr;
                if (c < 0 || r < 0 || c >= columns || r >= rows)
                    continue;
                // The walk goes from the door back: from `next` the player
                // comes here, up when dr is positive, sideways when it is 0.
                int next = c * rows + r;
                bool can = dr < 0 || (dr == 0 ? aloft[next] : rising[next]);
                if (open[next] && steps[next] < 0 && can) {
                    steps[next] = steps[index] + 1;
                    todo.push_back(next);
                }
            }
    }
}

long DoorDistance::at(int column, int row) const
{
    if (column < 0 || row < 0 || column >= columns || row >= rows)
        return unknown;
    int s = steps[std::size_t(column) * rows + row];
    return s < 0 ? unknown : long(s) * step;
}

long DoorDistance::to(const BoundingBox& box) const
{
    // The nearest grid point to the feet; a body pressed against rock may
    // round into it, so the points around answer one step farther.
    int column = (box.x + box.w / 2 - left + step / 2) / step;
    int row = (box.y + box.h - top + step / 2) / step;
    long here = at(column, row);
    if (here != unknown)
        return here;
    long nearest = unknown;
    for (int dc = -1; dc <= 1; dc++)
        for (int dr = -1; dr <= 1; dr++) {
            long d = at(column + dc, row + dr);
            if (d != unknown && (nearest == unknown || d + step < nearest))
                nearest = d + step;
        }
    return nearest;
}
