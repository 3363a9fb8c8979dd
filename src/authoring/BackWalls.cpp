#include "authoring/BackWalls.h"

#include "authoring/RoomReach.h"
#include "level/Level.h"

#include <cstdint>
#include <unordered_set>

namespace {

const int cell = BackWalls::cell;
// The depth the player's body cannot enter.
const int solidDepth = 10;
const int half = cell / 2;

// The first cell whose middle pixel lies at `from` or after it.
int firstCellFrom(int from)
{
    int a = from - half;
    return a >= 0 ? (a + cell - 1) / cell : -(-a / cell);
}

// The cells whose middle pixel the box covers, each packed into one number.
void cellsUnder(const BoundingBox& box, std::unordered_set<uint64_t>* cells)
{
    for (int column = firstCellFrom(box.x); column * cell + half < box.x + box.w; column++)
        for (int row = firstCellFrom(box.y); row * cell + half < box.y + box.h; row++)
            cells->insert(uint64_t(uint32_t(column)) << 32 | uint32_t(row));
}

} // namespace

bool BackWalls::barePixel(const Level& level, int x, int y)
{
    const LevelPixel* p = level.cellAt(x, y);
    return !p || (p->colour == level.baseColor && p->cleanDepth == level.baseDepth);
}

int BackWalls::check(RoomReach* reach, const std::vector<std::string>& doors)
{
    bare.clear();
    complete = true;
    // Where unpainted pixels and all around the map are solid rock, no
    // place the body reaches can be bare: nothing to search.
    const Level* loaded = reach->level();
    if (loaded && loaded->baseDepth == solidDepth)
        return 0;
    std::unordered_set<uint64_t> reached;
    for (const std::string& door : doors) {
        int searched = reach->flood(door.c_str(), [&reached](const BoundingBox& box) { cellsUnder(box, &reached); });
        if (searched < 0) {
            error = reach->error;
            return -1;
        }
        complete = complete && searched == 1;
    }
    const Level& level = *reach->level();
    for (uint64_t packed : reached) {
        int column = int(int32_t(packed >> 32)), row = int(int32_t(uint32_t(packed)));
        if (barePixel(level, column * cell + half, row * cell + half))
            bare.insert({column, row});
    }
    return int(bare.size());
}
