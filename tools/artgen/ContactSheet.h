#pragma once

#include "Picture.h"

#include <deque>
#include <string>
#include <vector>

// One PNG to review a whole container at a glance: per tile a row with its
// name, its frames side by side, frame 0 lit by a lamp in its upper left
// corner (with the depth shadows the game computes), its depth map (black
// far, white near, red rock, blue empty) and what of it shows in the dark
// (colour scaled by incandescence).
class ContactSheet {
public:
    // Appends every tile of a tile container as a picture (container files
    // carry no control flag; every tile reads as an ordinary one). Returns
    // 1, or 0 with the reason in `error` when the container holds no tile.
    static int loadContainer(const std::string& file, std::deque<Picture>& out, std::string& error);
    static int render(const std::deque<Picture>& pictures, const std::string& file, std::string& error);
    // Frame 0 of p as the lighting would show it in a dark room: a lamp at
    // (lx, ly), solid rock painted black, incandescent pixels glowing. Empty
    // pixels show a plain wall of depth 0 so the shadows the picture casts
    // are visible. Row-major, width x height.
    static std::vector<uint32_t> lit(const Picture& p, int lx, int ly);
};
