// What the room does to the player by touching him, checked at the start of
// every frame: enemies, water, gas and dogs, bonuses taken, blocks pushed
// and thrown coins picked back up; and the exact tests those contacts use.

#include "player/Player.h"

#include "base/BoundedString.h"
#include "base/SharedPixels.h"
#include "base/TextReader.h"
#include "assets/Tile.h"
#include "audio/Sound.h"
#include "level/Element.h"
#include "level/KindLine.h"
#include "level/Level.h"
#include "map/Map.h"
#include "level/Dog.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const float hurtTime = 8.0f;
// An unstable block starts to fall this many frames after the player came
// closer than unstableReach to it.
const int unstableDelay = 10;
const float unstableReach = 32.0f;
// A block falling faster than this crushes whoever is under it.
const float crushingFall = 3.0f;
// Gold coins turn into a life at this count; coins picked back up, and gold
// beyond it, at the count after maxCoins.
const int coinsForLife = 50;
const int maxCoins = 99;
const int maxDiamonds = 99;
// Every this many diamonds give a continue.
const int diamondsForContinue = 20;
// Frames the pushing pose lasts after a push.
const int pushTime = 15;
// What taking the map says, with the key that shows it as bound now.
const char* const mapTakenMessage = "You take a map of the underground: %009 shows it.";
const int mapMessageTime = 4;

bool opaque(int colour)
{
    return ((unsigned)colour >> 24) > 0;
}

} // namespace

int Player::pixelAt(long long px, long long py, int frame) const
{
    long long column = px - state.x, aw = animation.getWidth();
    if (state.way == 1)
        column = aw - 1 - column;
    if (column < 0 || column >= aw || py - state.y < 0 || py - state.y >= animation.getHeight())
        return 0;
    return animation.getColor(int(column), int(py - state.y), frame);
}

void Player::getEnnemyCollision(Level* level)
{
    setBBox();
    if (state.hitted == 0.0f && level->water &&
        (long long)animation.getHeight() + state.y - level->originY > level->waterLevel)
        hurt(toxicHurtSlot);
    if (state.hitted == 0.0f && level->hasCloud && bbox.getCloudCollision(level))
        hurt(cloudHurtSlot);

    for (Element* e : level->ennemies) {
        if (readEnnemy(e->text) == EnnemyUnstable && e->countdown == -1 && getDistance(e) < unstableReach) {
            e->countdown = unstableDelay;
            playSound(unstableSlot);
        }
    }
    for (Element* e : level->ennemies) {
        int ennemy = readEnnemy(e->text);
        if (ennemy != EnnemyNone && getPixelPerfectCollision(e))
            touchEnnemy(ennemy, e);
    }
    for (Dog* d : level->dogs)
        if (getPixelPerfectCollision(d))
            state.life = 0;
}

void Player::touchEnnemy(int ennemy, const Element* e)
{
    if (ennemy == EnnemyElectric) {
        hurt(electricHurtSlot);
    } else if (ennemy == EnnemyToxic) {
        hurt(toxicHurtSlot);
    } else if (ennemy == EnnemyPick) {
        kill(pickHurtSlot);
    } else if (ennemy == EnnemyUnstable) {
        int w = 0, h = 0;
        e->getDimensions(&w, &h);
        bool under = bbox.getCollisionWithElement(e) && bbox.y > e->y + h / 2;
        bool across = bbox.x + bbox.w > e->x + 1 && bbox.x + 1 < e->x + w;
        if (under && across && e->vy > crushingFall)
            kill(crushSlot);
    }
}

void Player::hurt(int slot)
{
    if (state.hitted != 0.0f)
        return;
    playSound(slot);
    state.life = std::max(state.life - 1, 0);
    state.hitted = hurtTime;
}

void Player::kill(int slot)
{
    playSound(slot);
    state.life = 0;
    state.hitted = hurtTime;
}

void Player::getBonusCollision(Level* level)
{
    pushTimer = std::max(pushTimer - 1, 0);
    setBBox();
    // A bonus that moves into the index of one taken is looked at next frame.
    for (std::size_t i = 0; i < level->bonus.size(); i++) {
        Element* b = level->bonus[i];
        if (bbox.getCollisionWithElement(b) && takeBonus(level, b))
            level->deleteBonus(int(i));
    }
}

bool Player::takeBonus(Level* level, const Element* b)
{
    BONUS_LINE line = readBonusLine(b->text);
    switch (line.word) {
    case BonusWordLife:
        playSound(bonusSlot);
        state.life = std::min(state.life + 1, state.maxLife);
        return true;
    case BonusWordGold: takeGold(); return true;
    case BonusWordDiamond: takeDiamond(); return true;
    case BonusWordSheet:
        playSound(sheetSlot);
        level->createMessage(line.rest, int(float(std::strlen(line.rest)) * 0.1f), int(0xFFFFFFFFu));
        return true;
    case BonusWordEye:
        playSound(revealSlot);
        level->showAll(b->x, b->y);
        return true;
    case BonusWordOneTime:
        takeObject(b);
        if (startsWith(b->name, "map"))
            level->createMessage(mapTakenMessage, mapMessageTime, int(0xFFFFFFFFu));
        return true;
    default: return false;
    }
}

void Player::takeGold()
{
    state.coin++;
    // Gold past the largest count (coins picked back up may have brought it
    // beyond 50) turns into a life as well, so that the count stays bounded.
    if (state.coin != coinsForLife && state.coin <= maxCoins) {
        playSound(coinSlot);
        return;
    }
    state.coin = 0;
    state.life++;
    if (state.life > state.maxLife) {
        state.life = state.maxLife;
        playSound(coinSlot);
    } else {
        playSound(bonusSlot);
    }
}

void Player::takeDiamond()
{
    bool counted = state.diamond < maxDiamonds;
    if (counted)
        state.diamond++;
    // Only a diamond that counted can complete a score: a count beyond the
    // largest (from a damaged save) must not give a continue every time.
    if (counted && state.diamond % diamondsForContinue == 0) {
        state.respawn++;
        playSound(skullSlot);
    } else {
        playSound(diamondSlot);
    }
}

void Player::takeObject(const Element* b)
{
    OBJECT* o = new OBJECT;
    boundedCopy(o->name, sizeof o->name, b->name);
    o->flag = 1;
    objects.push_back(o);
    nObjects++;
    if (startsWith(b->name, "key")) {
        nKey++;
        playSound(keySlot);
    } else if (startsWith(b->name, "skull")) {
        state.respawn++;
        playSound(skullSlot);
    } else if (startsWith(b->name, "map")) {
        playSound(mapSlot);
        if (map)
            map->reveal();
    }
    setMapObjsGet();
}

void Player::getDogCollision(Level* level)
{
    for (Dog* d : level->dogs)
        d->setPlayerPosition(state.x, state.y, state.currentTorch == Light::StyleAceto);
}

void Player::getActiveCollision(Level* level)
{
    setBBox();
    for (std::size_t i = 0; i < level->actives.size();) {
        Element* e = level->actives[i];
        int w = 0, h = 0;
        e->getDimensions(&w, &h);
        if (e->kind == Element::Thrown && bbox.getCollisionWithElement(e)) {
            playSound(coinSlot);
            if (++state.coin > maxCoins) {
                state.coin = 0;
                state.life = std::min(state.life + 1, state.maxLife);
            }
            level->deleteActive(int(i));
            continue;
        }
        if (e->kind == Element::Pushable && state.y > e->y && state.y + 10 < e->y + h) {
            if (state.way == 0 && state.x < e->x + 10 && bbox.x + bbox.w >= e->x - 3) {
                level->moveActive(e, 1.0f, 0.0f, false);
                pushTimer = pushTime;
            } else if (state.way == 1 && state.x > e->x + w - 10 && bbox.x < e->x + w + 3) {
                level->moveActive(e, -1.0f, 0.0f, false);
                pushTimer = pushTime;
            }
        }
        i++;
    }
}

bool Player::getPixelPerfectCollision(const Element* e) const
{
    if (!e->tile)
        return false;
    int frame = controler->shownFrame();
    return anySharedPixel(state.x, state.y, animation.getWidth(), animation.getHeight(), e->x, e->y, e->tile->width,
                          e->tile->height, [&](int column, int row) {
                              return opaque(pixelAt(column, row, frame)) && opaque(e->getColor(column - e->x, row - e->y));
                          });
}

bool Player::getPixelPerfectCollision(const Dog* d) const
{
    int frame = controler->shownFrame();
    return d->touches(state.x, state.y, animation.getWidth(), animation.getHeight(),
                      [this, frame](int px, int py) { return opaque(pixelAt(px, py, frame)); });
}

float Player::getDistance(const Element* e) const
{
    int w = 0, h = 0;
    e->getDimensions(&w, &h);
    long long dx = (long long)state.x + animation.getWidth() / 2 - (e->x + w / 2);
    long long dy2 = (long long)state.y + animation.getHeight() / 2 - (e->y + h / 2);
    return float(std::sqrt(double(dx * dx + dy2 * dy2)));
}
