// What the player does to the room and what the room does to him: the
// per-frame contacts, the action key, the carried lamp, spending.

#include "player/Player.h"

#include "assets/Tile.h"
#include "audio/Sound.h"
#include "level/Element.h"
#include "level/Level.h"

#include <algorithm>
#include <cmath>

namespace {

// Sound slots of the lamps: on, then off, for candle, torch and acetylene lamp.
const int candleOnSound = 0;
const int torchOnSound = 2;
const int acetoOnSound = 4;

bool opaque(int colour)
{
    return ((unsigned)colour >> 24) > 0;
}

// The carried lamp's sound slot: on, or the off slot right after it.
int lampSound(const Player& p, bool on)
{
    int slot = p.carriedTile == &p.candleTile ? candleOnSound
               : p.carriedTile == &p.torchTile ? torchOnSound
                                               : acetoOnSound;
    return on ? slot : slot + 1;
}

} // namespace

DOOR* Player::action(Level*, bool)
{
    return nullptr;
}

void Player::getBonusCollision(Level*)
{
    pushTimer = std::max(pushTimer - 1, 0);
}

void Player::getEnnemyCollision(Level*) {}

void Player::getDogCollision(Level*) {}

void Player::getActiveCollision(Level*) {}

bool Player::getPixelPerfectCollision(const Element* e) const
{
    if (!e->tile)
        return false;
    long long aw = animation.getWidth(), ah = animation.getHeight();
    long long left = std::max<long long>(x, e->x), right = std::min<long long>(x + aw, (long long)e->x + e->tile->width);
    long long top = std::max<long long>(y, e->y), bottom = std::min<long long>(y + ah, (long long)e->y + e->tile->height);
    if (right < left || bottom < top)
        return false;
    int frame = controler->shownFrame(), elementFrame = e->currentFrame();
    for (long long column = left; column <= right; column++) {
        int ax = int(way == 0 ? column - x : aw - 1 - (column - x));
        for (long long row = top; row <= bottom; row++)
            if (opaque(animation.getColor(ax, int(row - y), frame)) &&
                opaque(e->tile->getPixel(elementFrame, int(column - e->x), int(row - e->y))))
                return true;
    }
    return false;
}

float Player::getDistance(const Element* e) const
{
    int w = 0, h = 0;
    e->getDimensions(&w, &h);
    long long dx = (long long)x + animation.getWidth() / 2 - (e->x + w / 2);
    long long dy2 = (long long)y + animation.getHeight() / 2 - (e->y + h / 2);
    return float(std::sqrt(double(dx * dx + dy2 * dy2)));
}

void Player::torchOn()
{
    if (torch)
        return;
    torch = true;
    light.intensity = 1.0f;
    light.direction = way == 1 ? 180 : 0;
    playSound(lampSound(*this, true));
}

void Player::torchOff()
{
    if (!torch)
        return;
    torch = false;
    light.intensity = 0.0f;
    playSound(lampSound(*this, false));
}

void Player::setCurrentTorch(int kind)
{
    if (kind >= Light::StyleCandle && kind <= Light::StyleAceto)
        light.setStyle(kind);
    currentTorch = kind;
}

int Player::getCurrentTorch() const
{
    if (carriedTile == &candleTile)
        return 1;
    if (carriedTile == &torchTile)
        return 2;
    if (carriedTile == &acetoTile)
        return 3;
    return 0;
}

void Player::changeBonusToCurrentLight(Level*, int) {}

void Player::setLight()
{
    int lx = 0, ly = 0;
    controler->lightCoords(&lx, &ly);
    light.x = way == 0 ? x + lx : x + animation.getWidth() - lx - 1;
    light.y = y + ly;
    if (torch)
        light.update();
    else
        light.intensity = 0.0f;
}

void Player::reveal(Level*) {}

void Player::throwCoin(Level*) {}

int Player::getMovie(Level*)
{
    return -1;
}

void Player::toggleMap()
{
    showMap = !showMap;
}

void Player::drawUse(Level*, Screen*, int, int) {}

void Player::drawHelp(Level*, Screen*, int, int) {}
