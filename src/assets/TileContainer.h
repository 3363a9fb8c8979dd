#pragma once

#include <cstdio>
#include <string>
#include <vector>

class Tile;

// One directory entry of a tile container.
struct TILE_ENTRY {
    char name[256];
    long offset;
};

// The tile container file: an entry count, a directory of names with the
// absolute offsets of their data, then one tile block per entry; every
// integer is 32-bit little-endian. A pixel record is colour, depth and
// incandescence (a 32-bit float).
//
// Reading treats the file as untrusted: every length, offset and size is
// checked against the end of the file and the tile limits before anything is
// allocated, and a damaged entry ends the directory there.
//
// Writing collects tiles in order and saves the whole file at once through
// a temporary file renamed over the target.
class TileContainer {
public:
    // Longest stored name, terminating zero included.
    static const int maxNameLength = 256;

    // Appends every whole directory entry of `in` to `entries`. Returns the
    // number of entries the file declares, or -1 when it has no count.
    static int readDirectory(std::FILE* in, std::vector<TILE_ENTRY>* entries);
    // Finds the first entry called `name`; returns 1 and its offset, or 0.
    static int findEntry(std::FILE* in, const char* name, long* offset);
    // The size in bytes of the tile block at `offset`, or 0 when its header
    // is damaged, out of the limits, or the block runs past the end of the file.
    static long blockSize(std::FILE* in, long offset);
    // Reads the tile block at `offset` into `tile` (its name is left alone).
    // Returns 0, with the tile released, when the block is damaged, out of
    // the limits or runs past the end of the file.
    static int readTile(std::FILE* in, long offset, Tile* tile);

    // Adds a copy of a loaded tile under its own name. Returns 0 with the
    // reason in `error` when the name is empty or too long or the tile has
    // no frames.
    int add(const Tile& tile);
    // Writes the container. Returns 1, or 0 with the reason in `error`; the
    // target is then left as it was.
    int save(const char* file) const;
    int count() const { return int(names.size()); }

    mutable char error[256] = "";

private:
    std::vector<std::string> names;
    std::vector<std::vector<unsigned char>> blocks;
};
