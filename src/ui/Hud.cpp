#include "ui/Hud.h"

#include "assets/Typo.h"
#include "player/Player.h"
#include "render/Screen.h"

#include <cstdio>

namespace {

const int rowY = 2;
const int counterX = 13;
// The dark edge around every icon and figure, so that they read over the
// brightest room.
const int outline = int(0xFF000000u);

void drawOutlined(Tile& icon, int x, int y, Screen* s)
{
    icon.drawBorder(0, x, y, s, outline);
    icon.draw(0, x, y, s);
}

// The figure with a dark copy one pixel off on every side beneath it.
void printOutlined(Typo* typo, int n, int x, int y, Screen* s)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    const int noWrap = 1 << 20;
    for (int dx = -1; dx <= 1; dx++)
        for (int dy = -1; dy <= 1; dy++)
            if (dx || dy)
                typo->print(text, x + dx, y + dy, noWrap, -1, outline, s);
    typo->print(text, x, y, s);
}

} // namespace

int Hud::load(const char* tileFile)
{
    int found = keyIcon.load(tileFile, "key.til");
    found &= coinIcon.load(tileFile, "gold_coin01.anm");
    found &= diamondIcon.load(tileFile, "diamond01.anm");
    found &= skullIcon.load(tileFile, "skull01.til");
    found &= heartIcon.load(tileFile, "heart_33.til");
    found &= emptyHeartIcon.load(tileFile, "heart_empty2.til");
    return found;
}

int Hud::drawRow(Tile& icon, int count, int penX, Screen* s)
{
    // Icons past the right edge are not drawn, however large the count.
    for (int i = 0; i < count && penX < s->width; i++) {
        drawOutlined(icon, penX, rowY, s);
        penX += icon.width + 1;
    }
    return penX;
}

void Hud::draw(Screen* s, const Player* p)
{
    int penX = drawRow(skullIcon, p->getRespawn(), 2, s);
    penX = drawRow(heartIcon, p->getLife(), penX, s);
    drawRow(emptyHeartIcon, p->getMaxLife() - p->getLife(), penX, s);
    drawOutlined(coinIcon, 3, 12, s);
    drawOutlined(diamondIcon, 4, 20, s);
    drawOutlined(keyIcon, 1, 33, s);
    if (!typo)
        return;
    printOutlined(typo, p->getCoin(), counterX, 13, s);
    printOutlined(typo, p->getDiamond(), counterX, 23, s);
    printOutlined(typo, p->getNKey(), counterX, 33, s);
}
