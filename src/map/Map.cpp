// The map's rooms and passages: building the network, reading the level
// files for keys and phosphorescent paint, and what the player has found.

#include "map/Map.h"

#include "base/BoundedString.h"
#include "base/TextReader.h"
#include "level/KindLine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Lines of the level files are read in pieces of this size, as the level
// reader does.
const int lineSize = 256;

// Reads the `count` lines of a block into `lines`; false when the file ends first.
bool readBlock(std::FILE* in, char lines[][lineSize], int count)
{
    for (int i = 0; i < count; i++)
        if (!std::fgets(lines[i], lineSize, in))
            return false;
    return true;
}

// The identifier of a bonus record's first line: 16 characters from its
// third on, cut at the line's end.
void keyNameOf(const char* line, char* keyName)
{
    std::memset(keyName, 0, 17);
    for (int i = 0; i < 16 && line[2 + i]; i++) {
        char c = line[2 + i];
        keyName[i] = c == '\n' || c == '\r' ? 0 : c;
    }
}

bool inside(const MAP_CELL* c, int x, int y)
{
    return c->x <= x && x <= c->x + c->w && c->y <= y && y <= c->y + c->h;
}

void markObjects(MAP_CELL* c, std::FILE* in)
{
    char line[lineSize];
    char block[5][lineSize];
    while (std::fgets(line, lineSize, in)) {
        if (firstWordIs(line, "ELEMENT")) {
            if (!readBlock(in, block, 5))
                return;
            if (readKindLine(block[4]).kind == KindPhospho)
                c->hasPhospho = 1;
        } else if (firstWordIs(line, "BONUS")) {
            if (!readBlock(in, block, 5))
                return;
            if (readBonusLine(block[4]).word == BonusWordOneTime && std::strlen(block[0]) >= 5 &&
                std::strncmp(block[0] + 2, "key", 3) == 0) {
                c->hasKey = 1;
                keyNameOf(block[0], c->keyName);
            }
        }
    }
}

} // namespace

Typo* mapTypo = nullptr;
Typo* mapTypo2 = nullptr;

void mapSetTypo(Typo* title, Typo* labels)
{
    mapTypo = title;
    mapTypo2 = labels;
}

Map::~Map()
{
    for (MAP_CELL* c : cells)
        delete c;
    for (MAP_LINK* l : links)
        delete l;
}

void Map::addCell(const char* name, int column, int row, int widthSquares, int heightSquares, int colour)
{
    MAP_CELL* c = new MAP_CELL();
    boundedCopy(c->name, sizeof c->name, name);
    c->x = (column - 1) * square;
    c->y = row * square;
    c->w = widthSquares * square - 2;
    c->h = heightSquares * square - 2;
    c->colour = colour;
    c->zone = "";
    if (c->x > right)
        right = c->x;
    cells.push_back(c);
    nCell++;
}

void Map::addLink(int column1, int row1, int column2, int row2)
{
    MAP_LINK* l = new MAP_LINK();
    l->x1 = (column1 - 1) * square + 2;
    l->y1 = row1 * square + 2;
    l->x2 = (column2 - 1) * square + 2;
    l->y2 = row2 * square + 2;
    links.push_back(l);
    nLink++;
}

void Map::computeLinks()
{
    for (MAP_LINK* l : links)
        for (MAP_CELL* c : cells) {
            if (inside(c, l->x1, l->y1))
                l->cellA = c;
            if (inside(c, l->x2, l->y2))
                l->cellB = c;
        }
}

void Map::lookForObjs(const char* folder)
{
    for (MAP_CELL* c : cells) {
        char path[512];
        boundedFormat(path, sizeof path, "%s/%s", folder, c->name);
        std::FILE* in = std::fopen(path, "r");
        if (!in)
            continue;
        markObjects(c, in);
        std::fclose(in);
    }
}

MAP_CELL* Map::findCell(const char* name) const
{
    for (MAP_CELL* c : cells)
        if (std::strcmp(c->name, name) == 0)
            return c;
    return nullptr;
}

void Map::markPlayer(float across, float down)
{
    markAcross = std::min(1.0f, std::max(0.0f, across));
    markDown = std::min(1.0f, std::max(0.0f, down));
}

void Map::setCurrentCell(const char* name)
{
    current = -1;
    markAcross = markDown = -1.0f;
    for (int i = 0; i < nCell; i++)
        if (std::strcmp(cells[i]->name, name) == 0) {
            current = i;
            cells[i]->state = 2;
            setActiveLink(cells[i]);
            return;
        }
}

void Map::setActiveLink(MAP_CELL* cell)
{
    if (!cell)
        return;
    for (MAP_LINK* l : links) {
        if (l->cellA != cell && l->cellB != cell)
            continue;
        l->known = 1;
        for (MAP_CELL* end : {l->cellA, l->cellB})
            if (end && end->state == 0)
                end->state = 1;
    }
}

void Map::reveal()
{
    for (MAP_CELL* c : cells)
        if (c->state == 0)
            c->state = 1;
    for (MAP_LINK* l : links)
        l->known = 1;
}
