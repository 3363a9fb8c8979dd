// roomsheet: one contact page of every room of the world, to look at them
// side by side.
//
//   roomsheet GAME_DIR OUT.png
//
// Each room of the map table, in the table's order, is drawn whole as the
// game shows it (levelshot, with the lamp the player carries in its zone by
// then, held in the room's middle), at half size, with its name above it.
// Rooms of other level files (scene rooms; not the "test_" rooms) follow.
// A room that cannot be drawn is left as a grey box with its name.

#include "assets/Typo.h"
#include "authoring/LevelShot.h"
#include "base/BoundedString.h"
#include "map/Map.h"
#include "render/PngImage.h"
#include "render/Screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <set>
#include <string>
#include <vector>

namespace {

const int squareWidth = 512;
const int squareHeight = 320;
const int shrink = 2;
const int pageWidth = 2600;
const int gap = 8;
const int labelHeight = 12;
const int missingColour = int(0xFF303030u);

struct SHEET_ROOM {
    std::string stem;
    int width;
    int height;
    int lamp;
};

// The lamp found by the time the player comes into a zone, by its colour.
int lampOfZone(int colour)
{
    switch (unsigned(colour)) {
    case 0xFFECD078u:
    case 0xFFC02929u:
        return LevelShot::LampCandle;
    case 0xFF542437u:
    case 0xFFD95B43u:
        return LevelShot::LampTorch;
    default:
        return LevelShot::LampAceto;
    }
}

std::vector<SHEET_ROOM> roomsOf(const std::string& game)
{
    std::vector<SHEET_ROOM> rooms;
    std::set<std::string> listed;
    Map map;
    for (const MAP_CELL* c : map.cells) {
        std::string stem = std::string(c->name + std::strlen("./Level/"));
        stem.erase(stem.size() - std::strlen(".lvl"));
        rooms.push_back({stem, (c->w + 2) / Map::square * squareWidth, (c->h + 2) / Map::square * squareHeight,
                         lampOfZone(c->colour)});
        listed.insert(stem);
    }
    std::vector<std::string> others;
    if (DIR* dir = opendir((game + "/Level").c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".lvl") == 0 && name.compare(0, 5, "test_") != 0 &&
                !listed.count(name.substr(0, name.size() - 4)))
                others.push_back(name.substr(0, name.size() - 4));
        }
        closedir(dir);
    }
    std::sort(others.begin(), others.end());
    for (const std::string& stem : others)
        rooms.push_back({stem, squareWidth, squareHeight, LevelShot::LampAceto});
    return rooms;
}

// Draws the room whole into `page` at (left, top), shrunk.
void drawRoom(const std::string& game, const SHEET_ROOM& room, Screen* page, int left, int top)
{
    LevelShot shot;
    boundedCopy(shot.game, sizeof shot.game, game.c_str());
    boundedFormat(shot.level, sizeof shot.level, "%s.lvl", room.stem.c_str());
    shot.atPoint = true;
    shot.atX = room.width / 2;
    shot.atY = room.height / 2;
    shot.width = room.width;
    shot.height = room.height;
    shot.lamp = room.lamp;
    shot.passes = 2;
    Screen picture(room.width, room.height, 1);
    bool drawn = shot.render(&picture);
    if (!drawn)
        std::fprintf(stderr, "roomsheet: %s: %s\n", room.stem.c_str(), shot.error);
    for (int x = 0; x < room.width / shrink; x++)
        for (int y = 0; y < room.height / shrink; y++) {
            int r = 0, g = 0, b = 0;
            for (int i = 0; i < shrink * shrink; i++) {
                int c = drawn ? picture.getPixel(x * shrink + i % shrink, y * shrink + i / shrink) : missingColour;
                r += Screen::getRed(c);
                g += Screen::getGreen(c);
                b += Screen::getBlue(c);
            }
            int n = shrink * shrink;
            page->setPixel(left + x, top + y, Screen::getColor(r / n, g / n, b / n, 255));
        }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: roomsheet GAME_DIR OUT.png\n");
        return 2;
    }
    std::string game = argv[1];
    std::vector<SHEET_ROOM> rooms = roomsOf(game);
    // Shelves: rooms left to right, a new row when the page is full.
    std::vector<std::pair<int, int>> places;
    int x = gap, y = gap, rowHeight = 0;
    for (const SHEET_ROOM& room : rooms) {
        int w = room.width / shrink, h = room.height / shrink + labelHeight;
        if (x + w + gap > pageWidth) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        places.push_back({x, y});
        x += w + gap;
        rowHeight = std::max(rowHeight, h);
    }
    Screen page(pageWidth, y + rowHeight + gap, 1);
    page.clear(int(0xFF101010u));
    Typo font;
    font.load((game + "/typo_small.dat").c_str());
    for (std::size_t i = 0; i < rooms.size(); i++) {
        font.print(rooms[i].stem.c_str(), places[i].first, places[i].second, &page);
        drawRoom(game, rooms[i], &page, places[i].first, places[i].second + labelHeight);
    }
    PngImage image;
    image.resize(page.width, page.height);
    for (int py = 0; py < page.height; py++)
        for (int px = 0; px < page.width; px++)
            image.set(px, py, uint32_t(page.getPixel(px, py)) | 0xFF000000u);
    if (!image.save(argv[2])) {
        std::fprintf(stderr, "roomsheet: %s\n", image.error);
        return 1;
    }
    std::printf("%s: %d rooms, %dx%d\n", argv[2], int(rooms.size()), image.width, image.height);
    return 0;
}
