#pragma once

#include <set>
#include <string>
#include <vector>

class TileList;

// A door of a room as its level file places it.
struct WORLD_DOOR {
    std::string name;
    // The room it leads to (the level file's stem) and the element there.
    std::string destination;
    std::string target;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Keys it needs; 0 for a plain door.
    int keys = 0;
};

// One room of the world's map table and what its level file holds.
struct WORLD_ROOM {
    std::string stem;
    // Grid square of the top-left corner (column 1 for A, row 0 for the
    // row labelled 1) and the size in squares.
    int column = 0;
    int row = 0;
    int columns = 1;
    int rows = 1;
    bool loaded = false;
    // Size of the room's grid in level pixels.
    int width = 0;
    int height = 0;
    std::vector<WORLD_DOOR> doors;
    // One-time keys lying in the room.
    int keys = 0;
    // Scene numbers of the scene triggers lying in the room.
    std::set<int> scenes;
    // Names of all its elements, where doors may arrive.
    std::set<std::string> names;
};

// One end of a passage: the room and its square, and the square on the other
// side that the room's door faces.
struct PASSAGE_END {
    int room = -1;
    int column = 0;
    int row = 0;
    int towardsColumn = 0;
    int towardsRow = 0;
};

// Proves the rules of the world on a game directory: every room of the map
// table exists and loads with a grid of whole squares; each passage of the
// table is a pair of doors on the facing sides of its squares, each door
// targeting the other; no door leads elsewhere except into scene rooms
// (rooms outside the table); every room can be reached from the start
// through doors, locked doors opening once enough one-time keys lie in the
// rooms reached without them; both endings can be reached. Problems are
// "ROOM: problem" lines.
class WorldCheck {
public:
    // One grid square, in cells of 8 level pixels.
    static const int squareColumns = 64;
    static const int squareRows = 40;
    static const int cell = 8;
    // How far from its square's facing side a door may sit, in cells.
    static const int sideColumns = 16;
    static const int sideRows = 12;
    // Where the game starts, and the scenes that end it.
    static const char* const startRoom;
    static const int endingScenes[2];

    // Reads the map table, then every room's level file from
    // GAME_DIR/Level with the tiles of GAME_DIR/tiles.dat, and checks.
    // Returns the number of problems.
    int run(const char* gameDir);

    // Index in `rooms` of that stem, or -1.
    int roomIndex(const std::string& stem) const;

    std::vector<WORLD_ROOM> rooms;
    // Every passage of the table as its two ends; passages meeting in a
    // square without a room are joined into one.
    std::vector<std::pair<PASSAGE_END, PASSAGE_END>> passages;
    std::vector<std::string> problems;

private:
    void readTable();
    void joinThroughEmptySquares(const std::vector<std::pair<PASSAGE_END, PASSAGE_END>>& open);
    void readRoom(WORLD_ROOM* room, const char* gameDir, TileList* tiles);
    void checkRoom(const WORLD_ROOM& room);
    void checkPassage(const PASSAGE_END& a, const PASSAGE_END& b);
    void checkDoorSide(const WORLD_ROOM& room, const WORLD_DOOR& door, const PASSAGE_END& end);
    void checkStrayDoors();
    void checkReach();
    // The rooms reached from the start through doors that `keys` one-time
    // keys open.
    std::vector<bool> reachedWith(int keys) const;
    const WORLD_DOOR* doorTowards(const WORLD_ROOM& room, const std::string& destination) const;
    void report(const std::string& room, const std::string& problem);
};
