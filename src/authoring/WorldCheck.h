#pragma once

#include <cstdint>
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
    // Whether switches work electric boxes there (doors, lifts, gates).
    bool switches = false;
    // The track its MUSIC line starts, or -1.
    int music = -1;
    // Changes whenever the level file or the rock of the room changes.
    uint64_t fingerprint = 0;
};

// A way through a room the story needs: from the element where a door
// brings the player to the door he must take next.
struct STORY_WAY {
    int room = -1;
    std::string from;
    std::string to;
    bool operator<(const STORY_WAY& o) const
    {
        return room != o.room ? room < o.room : from != o.from ? from < o.from : to < o.to;
    }
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
// (rooms outside the table); every room names a room track (a MUSIC line
// other than the game-over track), so that music plays after Continue or
// a death there; every room can be reached from the start
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

    // The ways through rooms on the shortest door paths from the start to
    // every room holding a key or an ending and to every locked door, each
    // path opening locked doors only with the keys found before it. Call
    // after `run`.
    std::set<STORY_WAY> storyWays() const;

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
    // The same walk, giving for each room reached the room and door it was
    // entered from (-1 for the start and the rooms not reached).
    std::vector<std::pair<int, const WORLD_DOOR*>> walkWith(int keys) const;
    // The keys found, one count per round of opening more doors with them.
    std::vector<int> keyRounds() const;
    const WORLD_DOOR* doorTowards(const WORLD_ROOM& room, const std::string& destination) const;
    void report(const std::string& room, const std::string& problem);
};
