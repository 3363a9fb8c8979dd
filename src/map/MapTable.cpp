// The network of rooms and passages, as the map is built: every room by its
// level, the grid square of its top-left corner and its size in squares,
// grouped by the colour of its zone; every passage by the two squares it
// joins.

#include "map/Map.h"

#include "base/BoundedString.h"

namespace {

struct ROOM {
    const char* stem;
    const char* square;
    int columns;
    int rows;
};

struct ZONE {
    int colour;
    const char* title;
    std::vector<ROOM> rooms;
};

const ZONE zones[] = {
    {int(0xFFECD078u),
     "The subway",
     {{"metro2", "A1", 1, 1}, {"metro3", "B1", 1, 1}, {"entrance", "C1", 1, 1}, {"intro_part10", "D1", 1, 1},
      {"intro_part20", "E1", 1, 1}, {"tuto_ladder", "F1", 1, 1}, {"intro_part30", "G1", 1, 1},
      {"intro_part40", "H1", 1, 1}, {"intro_part50", "H2", 1, 1}, {"intro_part35", "G2", 1, 1},
      {"simple_unstable2", "G3", 1, 1}, {"unknow_room", "G4", 1, 1}}},
    {int(0xFFC02929u),
     "The catacombs",
     {{"hub_metro", "G6", 2, 2}, {"locked_door", "G8", 2, 2}, {"classic_entrance", "I7", 1, 1},
      {"phospho_intro", "J7", 1, 1}, {"switch_intro", "J9", 1, 1}, {"switch_enigma01", "I9", 1, 1},
      {"switch_room02", "I8", 1, 1}, {"fall_game_entrance", "F7", 1, 2}, {"fall_game", "E7", 1, 2},
      {"deads_corner", "G10", 1, 1}, {"cloud_run_entrance", "F9", 1, 1}, {"cloud_run", "E9", 1, 1},
      {"cloud_run2", "E10", 1, 1}, {"cloud_run3", "F10", 1, 1}, {"enigma_entrance", "H10", 1, 1},
      {"enigma01", "H11", 1, 1}, {"orsolans_grave", "G11", 1, 1}, {"enigma02", "I11", 1, 1},
      {"enigma03", "I10", 1, 1}}},
    {int(0xFF542437u),
     "The car park",
     {{"hub_parking", "E5", 2, 2}, {"double03", "D5", 1, 1}, {"vertical02", "C5", 1, 1}, {"fall01", "E4", 1, 1},
      {"fall02", "E3", 1, 1}, {"dark01", "D3", 1, 1}, {"dark02", "D4", 1, 1}, {"dark03", "C4", 1, 1},
      {"dark04", "C2", 1, 1}, {"dark05", "D2", 1, 1}, {"dark06", "E2", 1, 1}, {"dark07", "F2", 1, 1},
      {"forest02", "F4", 1, 1}, {"maze", "F3", 1, 1}}},
    {int(0xFFD95B43u),
     "The great cave",
     {{"hub_cave", "I5", 2, 2}, {"locked_door2", "K4", 2, 2}, {"alesia_street", "K6", 2, 1},
      {"entrance22", "K7", 1, 1}, {"run01", "K8", 1, 1}, {"Z", "L7", 1, 1}, {"vault", "L8", 1, 1},
      {"ferte_in", "M7", 1, 1}, {"ferte", "M8", 1, 1}, {"entrance21", "I4", 1, 1}, {"technic03", "H4", 1, 1},
      {"invisible03", "H3", 1, 1}, {"technic02", "I3", 1, 1}, {"dog_room04", "J4", 1, 1},
      {"skull_room02", "J3", 1, 1}, {"double01", "M5", 1, 1}, {"vertical01", "M6", 1, 1},
      {"invisible01", "L3", 1, 1}, {"invisible02", "L2", 1, 1}, {"double02", "M4", 1, 1},
      {"technic01", "M3", 1, 1}, {"entrance23", "K1", 1, 2}, {"water_fill01", "J1", 1, 1},
      {"water_fill02", "I1", 1, 1}, {"water_fill04", "I2", 1, 1}, {"water_fill03", "J2", 1, 1}}},
    {int(0xFFC02942u),
     "The old pools",
     {{"big_pool", "C6", 2, 2}, {"unstable_room", "C8", 2, 2}, {"spikes_room", "B7", 1, 1},
      {"dog_intro", "A7", 1, 1}, {"dog_intro2", "A8", 1, 1}, {"dog_room02", "B8", 1, 1}, {"pool", "B9", 1, 1},
      {"cubes", "B10", 1, 1}, {"one_way1", "C10", 1, 1}, {"warehouse", "B5", 1, 2}, {"brewery", "A5", 1, 1},
      {"complex01", "A6", 1, 1}}},
    {int(0xFF53777Au),
     "The way out",
     {{"end_tech", "D10", 1, 2}, {"outside02", "A11", 1, 1}, {"maze2", "K10", 2, 2}, {"end02", "M10", 1, 2}}},
};

const char* const passages[][2] = {
    {"A11", "D11"}, {"D10", "D9"},  {"L8", "L10"},  {"L11", "M11"}, {"A1", "B1"},   {"B1", "C1"},   {"C1", "D1"},
    {"D1", "E1"},   {"E1", "F1"},   {"F1", "G1"},   {"G1", "H1"},   {"H1", "H2"},   {"H2", "G2"},   {"G2", "G3"},
    {"G3", "G4"},   {"G4", "G6"},   {"G7", "G8"},   {"G8", "F8"},   {"F8", "E8"},   {"G9", "F9"},   {"F9", "E9"},
    {"E9", "E10"},  {"E10", "F10"}, {"F10", "F9"},  {"G9", "G10"},  {"H9", "H10"},  {"H10", "H11"}, {"H11", "G11"},
    {"H11", "I11"}, {"I11", "I10"}, {"I10", "H10"}, {"H7", "I7"},   {"I7", "J7"},   {"J7", "J8"},   {"J8", "J9"},
    {"J9", "I9"},   {"I9", "I8"},   {"I8", "I7"},   {"H6", "I6"},   {"F6", "G6"},   {"F5", "I5"},   {"J5", "K5"},
    {"E6", "D6"},   {"C7", "C8"},   {"J6", "K6"},   {"K6", "K7"},   {"K7", "K8"},   {"L6", "L7"},   {"L7", "L8"},
    {"L7", "M7"},   {"M7", "M8"},   {"I5", "I4"},   {"I4", "I3"},   {"I3", "H3"},   {"H3", "H4"},   {"H4", "I4"},
    {"J5", "J4"},   {"J4", "J3"},   {"L5", "M5"},   {"M5", "M6"},   {"L4", "M4"},   {"M4", "M3"},   {"L4", "L3"},
    {"L3", "L2"},   {"K4", "K2"},   {"K1", "J1"},   {"J1", "I1"},   {"I1", "I2"},   {"I2", "J2"},   {"K2", "J2"},
    {"C9", "B9"},   {"B9", "B10"},  {"B10", "C10"}, {"C10", "C9"},  {"C7", "B7"},   {"B7", "A7"},   {"A7", "A8"},
    {"A8", "B8"},   {"B8", "C8"},   {"C6", "B6"},   {"B6", "A6"},   {"A6", "A5"},   {"A5", "B5"},   {"E5", "D5"},
    {"D5", "C5"},   {"E5", "E4"},   {"E4", "E3"},   {"E3", "D3"},   {"D3", "D4"},   {"D4", "C4"},   {"C4", "C2"},
    {"C2", "D2"},   {"D2", "E2"},   {"E2", "F2"},   {"F2", "F3"},   {"F3", "F4"},   {"F4", "F5"},
};

// A square written as on the map's labels ("G6"): column number 1 for A,
// row number 0 for the row labelled 1.
void squareOf(const char* label, int* column, int* row)
{
    *column = label[0] - 'A' + 1;
    *row = 0;
    for (const char* digit = label + 1; *digit; digit++)
        *row = *row * 10 + (*digit - '0');
    *row -= 1;
}

} // namespace

Map::Map()
{
    for (const ZONE& zone : zones)
        for (const ROOM& room : zone.rooms) {
            char name[256];
            boundedFormat(name, sizeof name, "./Level/%s.lvl", room.stem);
            int column = 0, row = 0;
            squareOf(room.square, &column, &row);
            addCell(name, column, row, room.columns, room.rows, zone.colour);
            cells.back()->zone = zone.title;
        }
    for (const auto& passage : passages) {
        int column1 = 0, row1 = 0, column2 = 0, row2 = 0;
        squareOf(passage[0], &column1, &row1);
        squareOf(passage[1], &column2, &row2);
        addLink(column1, row1, column2, row2);
    }
    computeLinks();
    right += 11;
}
