#include "ui/Hud.h"

#include "assets/Typo.h"
#include "player/Player.h"
#include "render/Screen.h"

namespace {

const int rowY = 2;
const int counterX = 13;

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
        icon.draw(0, penX, rowY, s);
        penX += icon.width + 1;
    }
    return penX;
}

void Hud::draw(Screen* s, const Player* p)
{
    int penX = drawRow(skullIcon, p->getRespawn(), 2, s);
    penX = drawRow(heartIcon, p->getLife(), penX, s);
    drawRow(emptyHeartIcon, p->getMaxLife() - p->getLife(), penX, s);
    coinIcon.draw(0, 3, 12, s);
    diamondIcon.draw(0, 4, 20, s);
    keyIcon.draw(0, 1, 33, s);
    if (!typo)
        return;
    typo->print(p->getCoin(), counterX, 13, s);
    typo->print(p->getDiamond(), counterX, 23, s);
    typo->print(p->getNKey(), counterX, 33, s);
}
