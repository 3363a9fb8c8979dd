// The map screen: a translucent panel with the zone's title, the lettered
// grid, the known passages and the rooms found, the player's spot in the
// current room and its name under the grid, drawn over the game.

#include "map/Map.h"

#include "assets/Typo.h"
#include "render/Screen.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int white = int(0xFFFFFFFFu);
const int panelColour = 0x66000000;
const int seenColour = int(0xFF555555u);
const int keyColour = int(0xFFFFFF00u);
const int phosphoColour = int(0xFF88EEFFu);
const int columns = 13;
const int rows = 11;
const int markEdge = int(0xFF000000u);
// The height of the grid's part of the panel, above the room's name.
const int gridPanelHeight = 108;

// The room's name as the player reads it: the level's stem, words apart.
std::string roomName(const char* level)
{
    const char* slash = std::strrchr(level, '/');
    std::string name = slash ? slash + 1 : level;
    name = name.substr(0, name.rfind(".lvl"));
    for (char& c : name)
        if (c == '_')
            c = ' ';
    return name;
}

} // namespace

void Map::draw(Screen* s)
{
    int px = s->width / 2 - width / 2;
    int py = s->height / 2 - height / 2;
    int gx = s->width / 2 - right / 2 + 3;
    int gy = py + 23;
    drawFrame(s, px, py);
    drawLabels(s, gx, py);
    for (const MAP_LINK* l : links)
        if (l->known)
            s->line(gx + l->x1, gy + l->y1, gx + l->x2, gy + l->y2, white);
    for (const MAP_CELL* c : cells)
        drawCell(s, c, gx, gy);
    drawCurrent(s, gx, gy, px, py);
}

void Map::drawCurrent(Screen* s, int gx, int gy, int px, int py)
{
    if (current < 0 || current >= nCell)
        return;
    const MAP_CELL* c = cells[current];
    s->rect(gx + c->x, gy + c->y, c->w, c->h, white);
    if (markAcross >= 0.0f && markDown >= 0.0f) {
        int mx = gx + c->x + int(markAcross * float(c->w - 1) + 0.5f);
        int my = gy + c->y + int(markDown * float(c->h - 1) + 0.5f);
        s->fillRect(mx - 2, my - 2, 5, 5, markEdge);
        s->fillRect(mx - 1, my - 1, 3, 3, white);
    }
    if (mapTypo2)
        mapTypo2->printCenter(roomName(c->name).c_str(), px + width / 2, py + gridPanelHeight + 2, s);
}

void Map::drawFrame(Screen* s, int px, int py)
{
    s->fillRect(px, py, width, height, panelColour);
    s->rectRounded(px - 1, py - 1, width + 1, height + 1, white);
    s->line(px - 1, py + 13, px + width - 1, py + 13, white);
    s->line(px - 1, py + gridPanelHeight, px + width - 1, py + gridPanelHeight, white);
    bool inZone = current >= 0 && current < nCell && cells[current]->zone[0];
    if (mapTypo)
        mapTypo->printCenter(inZone ? cells[current]->zone : title, px + width / 2, py + 3, s);
}

void Map::drawLabels(Screen* s, int gx, int py)
{
    if (!mapTypo2)
        return;
    const int gridWidth = columns * square;
    for (int i = 0; i < columns; i++) {
        char letter[2] = {char('A' + i), 0};
        // "M" sits one pixel left of the grid step.
        int x = gx + 1 + square * i - (i == columns - 1);
        mapTypo2->print(letter, x, py + 17, s);
        mapTypo2->print(letter, x, py + 100, s);
    }
    // Row numbers end two pixels before the grid on the left and start two
    // pixels after it on the right, so that two digits keep clear of it.
    for (int n = 1; n <= rows; n++) {
        char number[4];
        std::snprintf(number, sizeof number, "%d", n);
        int y = py + 16 + square * n;
        mapTypo2->print(number, gx - 3 - (mapTypo2->lineAdvance(number) - 1), y, s);
        mapTypo2->print(number, gx + gridWidth + 1, y, s);
    }
}

void Map::drawCell(Screen* s, const MAP_CELL* c, int gx, int gy)
{
    int x = gx + c->x, y = gy + c->y;
    if (c->state == 1) {
        s->fillRect(x, y, c->w, c->h, seenColour);
    } else if (c->state == 2) {
        s->fillRect(x, y, c->w, c->h, c->colour);
        if (c->hasKey && !c->keyGot)
            s->rect(x + 1, y + 1, c->w - 2, c->h - 2, keyColour);
        if (c->hasPhospho)
            s->rect(x + 2, y + 2, c->w - 4, c->h - 4, phosphoColour);
    }
}
