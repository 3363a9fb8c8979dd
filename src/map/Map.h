#pragma once

#include <vector>

class Screen;
class Typo;

// One room on the map grid. Positions and sizes are map pixels: a grid
// square is 7 pixels and a room leaves a 2-pixel gap to its neighbours.
struct MAP_CELL {
    // The level file as the game opens it: "./Level/<stem>.lvl".
    char name[256];
    int x;
    int y;
    int w;
    int h;
    // 0 unseen (not drawn), 1 seen (grey), 2 visited (zone colour).
    int state;
    int colour;
    unsigned char hasKey;
    unsigned char keyGot;
    unsigned char hasPhospho;
    // The one-time key's identifier, as the level file spells it.
    char keyName[17];
    // The title of the part of the world the room belongs to.
    const char* zone;
};

// A passage drawn between the centres of two grid squares.
struct MAP_LINK {
    int x1;
    int y1;
    int x2;
    int y2;
    unsigned char known;
    // The rooms holding the two ends; null for a square no room covers.
    MAP_CELL* cellA;
    MAP_CELL* cellB;
};

// The fonts of the map screen: the title's and the grid labels'. Without
// them the map draws no text.
extern Typo* mapTypo;
extern Typo* mapTypo2;
void mapSetTypo(Typo* title, Typo* labels);

// The world map: the fixed network of rooms and passages, which of them the
// player has found, the keys and phosphorescent paint their levels hold,
// and the map screen drawn over the game.
class Map {
public:
    // Size of a grid square in map pixels.
    static constexpr int square = 7;

    // Builds the room and passage tables and ties the passages to their
    // rooms. The level files are read by lookForObjs, not here.
    Map();
    ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // A room whose top-left square is (column 1-13, row 0-10), in state 0.
    void addCell(const char* name, int column, int row, int widthSquares, int heightSquares, int colour);
    void addLink(int column1, int row1, int column2, int row2);
    void computeLinks();
    // Reads every room's level file below `folder` (the game directory)
    // and marks the rooms holding a one-time key or phosphorescent paint.
    // A file that cannot be opened leaves its room without marks.
    void lookForObjs(const char* folder = ".");

    // The room of the level file `name` (exact, case-sensitive) becomes
    // current and visited, its neighbours seen; no match leaves no room
    // current and changes nothing else.
    void setCurrentCell(const char* name);
    void setActiveLink(MAP_CELL* cell);
    // Shows every room (at least grey) and every passage.
    void reveal();
    void update() {}
    // Where the player stands in the current room, as fractions of its
    // width and height; the map marks that spot.
    void markPlayer(float across, float down);
    // Draws the map panel centred on the screen: the current room's zone
    // as its title, the room's name under the grid.
    void draw(Screen* s);

    // The room of that level file, or null.
    MAP_CELL* findCell(const char* name) const;

    char title[256] = "Map";
    int width = 113;
    int height = 120;
    int current = -1;
    // The player's spot in the current room (fractions), or -1 unmarked.
    float markAcross = -1.0f;
    float markDown = -1.0f;
    // The largest room x, plus 11 once the table is built: the width the
    // grid is centred by.
    int right = 0;
    int nCell = 0;
    std::vector<MAP_CELL*> cells;
    int nLink = 0;
    std::vector<MAP_LINK*> links;

private:
    void drawFrame(Screen* s, int px, int py);
    void drawLabels(Screen* s, int gx, int py);
    void drawCell(Screen* s, const MAP_CELL* c, int gx, int gy);
    void drawCurrent(Screen* s, int gx, int gy, int px, int py);
};
