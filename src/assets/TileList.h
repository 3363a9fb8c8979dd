#pragma once

#include <cstdio>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

class Tile;

// Every tile of one tile container, found by name. Tiles belong to the
// library and are shared by everything that shows them.
//
// The container's directory and the header of every picture block are read
// when the library is made; a picture's pixels are read when a tile showing
// it is first found, and freed when no user that found it needs it any
// more. Entries that name the same block (a name listed twice, or several
// names at one offset) share one copy of its pixels, and blocks that overlap
// another are damaged, so the pixels in memory never exceed the file.
class TileList {
public:
    // Reads the directory of the container `file`; a missing file gives an
    // empty library. A container without pictures or with a damaged
    // directory, and blocks that are damaged, are reported at once; the
    // tiles of damaged blocks stay in the list without frames.
    // The flag is accepted for the callers' sake and changes nothing.
    TileList(const char* file, bool flag = false);
    ~TileList();
    TileList(const TileList&) = delete;
    TileList& operator=(const TileList&) = delete;

    // Cuts `name` in place at its first line feed (names read from text
    // files keep their line end), then finds the tile of that name. A name
    // with no zero byte or line feed in its first 256 characters finds nothing.
    // The tile's pixels are read if they are not in memory; a block found
    // damaged then is reported as at start-up and its tile has no frames.
    // A `user` (a room) gives the tiles it found back with `release`; tiles
    // found without one stay in memory for the library's life.
    Tile* findByName(char* name, const void* user = nullptr);
    // The first tile whose name equals `name` exactly, or null.
    Tile* findByName2(const char* name, const void* user = nullptr);
    // `user` no longer shows the tiles it found: the pixels of pictures no
    // one else needs are freed.
    void release(const void* user);
    // Pictures whose pixels are in memory.
    int picturesInMemory() const;

    int count = 0;
    std::vector<Tile*> list;

private:
    // One block of the container, shared by the tiles whose entries point at it.
    struct PICTURE {
        long offset = 0;
        long size = 0;
        bool damaged = false;
        // Found without a user: kept for the library's life.
        bool kept = false;
        int users = 0;
        // Indices in `list` of the tiles showing it.
        std::vector<int> tiles;
        // The pixels while in memory.
        std::unique_ptr<Tile> pixels;
    };

    // Makes the tile at `index` show its picture's pixels and counts `user`.
    void use(int index, const void* user);
    void load(PICTURE& picture);
    void unload(PICTURE& picture);
    void reportDamaged(int damaged) const;

    char file[256] = "";
    std::FILE* in = nullptr;
    std::vector<PICTURE> pictures;
    // The picture of each tile read from the file; tiles added to `list`
    // afterwards own their frames.
    std::vector<int> pictureOf;
    // The pictures each user found.
    std::unordered_map<const void*, std::set<int>> used;
};
