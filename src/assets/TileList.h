#pragma once

#include <vector>

class Tile;

// Every tile of one tile container, found by name. Tiles belong to the
// library and are shared by everything that shows them.
class TileList {
public:
    // Loads the container `file` in one pass over one open file; a missing
    // file gives an empty library. Tiles whose blocks are damaged stay in
    // the list without frames, and their number is reported once.
    // The flag is accepted for the callers' sake and changes nothing.
    TileList(const char* file, bool flag = false);
    ~TileList();
    TileList(const TileList&) = delete;
    TileList& operator=(const TileList&) = delete;

    // Cuts `name` in place at its first line feed (names read from text
    // files keep their line end), then finds the tile of that name. A name
    // with no zero byte or line feed in its first 256 characters finds nothing.
    Tile* findByName(char* name);
    // The first tile whose name equals `name` exactly, or null.
    Tile* findByName2(const char* name);
    // Writes one line per tile listing its name without the extension, in
    // the form a content project's loading code uses. Nothing is written
    // when the file cannot be created.
    void fileList(char* path);

    int count = 0;
    std::vector<Tile*> list;
};
