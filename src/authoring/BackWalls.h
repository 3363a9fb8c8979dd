#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

class Level;
class RoomReach;

// Where the player's own lamp shows nothing around him: a lamp lights only
// what is painted on the room's map, so every place his body reaches needs
// a wall behind it. A cell of 8 x 8 room pixels is bare when his body
// covers its middle pixel and that pixel lies off the map or keeps the
// room's base colour and depth (nothing was painted there).
class BackWalls {
public:
    static const int cell = 8;

    // Searches every place the body reaches from each of `doors` (element
    // names) with `reach`, loaded with the room, and collects the bare cells
    // among them; a room whose unpainted pixels are solid rock has none and
    // is not searched. Returns their number, or -1 with `error` when a door
    // is missing.
    int check(RoomReach* reach, const std::vector<std::string>& doors);

    // Whether the pixel (x, y) of the room shows nothing when lit.
    static bool barePixel(const Level& level, int x, int y);

    // The bare cells reached, as (column, row).
    std::set<std::pair<int, int>> bare;
    // False when the search's budget ran out before every place was tried.
    bool complete = true;
    std::string error;
};
