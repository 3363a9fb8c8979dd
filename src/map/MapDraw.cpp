// The map screen: a translucent panel with its title and the lettered grid,
// the known passages and the rooms found, drawn over the game.

#include "map/Map.h"

#include "assets/Typo.h"
#include "render/Screen.h"

namespace {

const int white = int(0xFFFFFFFFu);
const int panelColour = 0x66000000;
const int seenColour = int(0xFF555555u);
const int keyColour = int(0xFFFFFF00u);
const int phosphoColour = int(0xFF88EEFFu);
const int columns = 13;
const int rows = 11;

} // namespace

void Map::draw(Screen* s)
{
    int px = s->width / 2 - width / 2;
    int py = s->height / 2 - height / 2;
    int gx = s->width / 2 - right / 2 + 3;
    int gy = py + 23;
    drawFrame(s, px, py);
    drawLabels(s, px, py);
    for (const MAP_LINK* l : links)
        if (l->known)
            s->line(gx + l->x1, gy + l->y1, gx + l->x2, gy + l->y2, white);
    for (const MAP_CELL* c : cells)
        drawCell(s, c, gx, gy);
    if (current >= 0 && current < nCell) {
        const MAP_CELL* c = cells[current];
        s->rect(gx + c->x, gy + c->y, c->w, c->h, white);
    }
}

void Map::drawFrame(Screen* s, int px, int py)
{
    s->fillRect(px, py, width, height, panelColour);
    s->rectRounded(px - 1, py - 1, width + 1, height + 1, white);
    s->line(px - 1, py + 13, px + width - 1, py + 13, white);
    if (mapTypo)
        mapTypo->printCenter(title, px + width / 2, py + 3, s);
}

void Map::drawLabels(Screen* s, int px, int py)
{
    if (!mapTypo2)
        return;
    for (int i = 0; i < columns; i++) {
        char letter[2] = {char('A' + i), 0};
        // "M" sits one pixel left of the grid step.
        int x = i < columns - 1 ? px + 9 + square * i : px + 92;
        mapTypo2->print(letter, x, py + 17, s);
        mapTypo2->print(letter, x, py + 100, s);
    }
    for (int n = 1; n <= rows; n++) {
        int y = py + 16 + square * n;
        mapTypo2->print(n, px + 2, y, s);
        mapTypo2->print(n, n < 10 ? px + 99 : px + 97, y, s);
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
