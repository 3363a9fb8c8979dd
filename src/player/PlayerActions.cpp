// What the player does to the room on purpose: the action key on doors,
// signs, switches and lamps lying there; the carried lamp; spending coins
// and diamonds; the scene triggers he walks into; and the help drawn over
// what the action key would use.

#include "player/Player.h"

#include "base/BoundedString.h"
#include "assets/Tile.h"
#include "audio/Control.h"
#include "audio/Sound.h"
#include "level/Element.h"
#include "level/KindLine.h"
#include "level/Level.h"
#include "render/Screen.h"

#include <cstring>

namespace {

const int white = int(0xFFFFFFFFu);
const int helpColour = int(0xFF00FF00u);
// Seconds the message of a locked door stays.
const int lockedMessageTime = 4;
const int revealCost = 5;
// The action key's picture sits this far left of and above the thing.
const int helpDx = -10;
const int helpDy = -5;
const float helpSpeed = 0.1f;
// The action key uses signs, switches and lamps lying there from this many
// pixels around them, wherever the body crosses their picture; the key's
// picture shows over exactly that reach.
const int actionReach = 3;
// Seconds the line saying which lamp was taken stays.
const int lampMessageTime = 3;

// The lamp a bonus's text names: 1 candle, 2 electric torch, 3 acetylene lamp, or 0.
int lampKind(const char* text)
{
    switch (readBonusLine(text).word) {
    case BonusWordCandle: return 1;
    case BonusWordElectric: return 2;
    case BonusWordAceto: return 3;
    default: return 0;
    }
}

bool isUsableSwitch(const Element* e)
{
    return e->kind == Element::Switch || e->kind == Element::LightSwitch || e->kind == Element::WaterSwitch;
}

// The carried lamp's sound slot: on, or the off slot right after it.
int lampSound(const Player& p, bool on)
{
    int slot = p.carriedTile == &p.candleTile ? candleOnSlot
               : p.carriedTile == &p.torchTile ? torchOnSlot
                                               : acetoOnSlot;
    return on ? slot : slot + 1;
}

} // namespace

DOOR* Player::action(Level* level, bool hadMessage)
{
    setBBox();
    for (DOOR* door : level->doors) {
        if (!bbox.getCollisionWithDoor(door))
            continue;
        if (door->locked == 0 || door->key <= nKey)
            return door;
        char message[256];
        if (door->key < 2)
            boundedCopy(message, sizeof message, "You need 1 key to open this door.");
        else
            boundedFormat(message, sizeof message, "You need %d keys to open this door.", door->key);
        level->createMessage(message, lockedMessageTime, white);
    }

    if (!hadMessage)
        for (Element* e : level->elements) {
            if (e->kind != Element::Text || !bbox.reaches(e, actionReach))
                continue;
            KIND_LINE sign = readKindLine(e->text);
            unsigned colour = sign.complete() ? sign.arguments[0].colour : unsigned(white);
            const char* message = signMessage(e->text);
            level->createMessage(message, int(std::strlen(message) / 10), int(colour));
        }

    for (Element* e : level->entities) {
        if (!isUsableSwitch(e) || !e->tile || !bbox.reaches(e, actionReach))
            continue;
        e->frame += 1.0f;
        if (int(e->frame) >= e->tile->frameCount)
            e->frame = 0.0f;
        KIND_LINE line = readKindLine(e->text);
        const KIND_ARGUMENT* a = line.arguments;
        if (e->kind == Element::LightSwitch && line.kind == KindSwitchLight && line.read == 1)
            level->activeLight(a[0].word, int(e->frame));
        else if (e->kind == Element::Switch && line.kind == KindSwitch && line.read >= 1)
            level->activeBox(a[0].word, line.read == 2 ? a[1].number : -1, int(e->frame));
        else if (e->kind == Element::WaterSwitch && (level->waterMode == 1 || level->waterMode == 2))
            level->waterMode = 3 - level->waterMode;
    }

    // A lamp taken while the carried one is out leaves the list shorter; the
    // bonus moved into its index waits for the next press.
    for (std::size_t i = 0; i < level->bonus.size(); i++) {
        int kind = lampKind(level->bonus[i]->text);
        if (kind != 0 && bbox.reaches(level->bonus[i], actionReach))
            takeLamp(level, int(i), kind);
    }
    return nullptr;
}

void Player::takeLamp(Level* level, int index, int kind)
{
    if (state.torch && state.currentTorch != noLamp)
        changeBonusToCurrentLight(level, index);
    else
        level->deleteBonus(index);
    playSound(candlePickSlot + kind - 1);
    static const char* const taken[] = {"You take the candle.", "You take the electric torch.",
                                        "You take the acetylene lamp."};
    level->createMessage(taken[kind - 1], lampMessageTime, white);
    light.setStyle(kind);
    torchOn();
    state.currentTorch = kind;
    if (kind == Light::StyleElectric)
        light.direction = state.way == 1 ? 180 : 0;
}

void Player::torchOn()
{
    if (state.torch)
        return;
    state.torch = true;
    light.intensity = 1.0f;
    light.direction = state.way == 1 ? 180 : 0;
    playSound(lampSound(*this, true));
}

void Player::torchOff()
{
    if (!state.torch)
        return;
    state.torch = false;
    light.intensity = 0.0f;
    playSound(lampSound(*this, false));
}

void Player::setCurrentTorch(int kind)
{
    if (kind >= Light::StyleCandle && kind <= Light::StyleAceto)
        light.setStyle(kind);
    state.currentTorch = kind;
}

int Player::getCurrentTorch() const
{
    if (state.currentTorch == noLamp)
        return noLamp;
    if (carriedTile == &candleTile)
        return 1;
    if (carriedTile == &torchTile)
        return 2;
    if (carriedTile == &acetoTile)
        return 3;
    return 0;
}

void Player::changeBonusToCurrentLight(Level* level, int index)
{
    if (state.currentTorch == Light::StyleCandle)
        level->changeBonus(index, &candleBonusTile, bonusWordName(BonusWordCandle), Element::BonusCandle);
    else if (state.currentTorch == Light::StyleElectric)
        level->changeBonus(index, &torchBonusTile, bonusWordName(BonusWordElectric), Element::BonusElectric);
    else if (state.currentTorch == Light::StyleAceto)
        level->changeBonus(index, &acetoBonusTile, bonusWordName(BonusWordAceto), Element::BonusAceto);
}

void Player::setLight()
{
    int lx = 0, ly = 0;
    controler->lightCoords(&lx, &ly);
    light.x = state.way == 0 ? state.x + lx : state.x + animation.getWidth() - lx - 1;
    light.y = state.y + ly;
    if (state.torch)
        light.update();
    else
        light.intensity = 0.0f;
}

void Player::reveal(Level* level)
{
    if (state.diamond < revealCost) {
        playSound(errorSlot);
        return;
    }
    level->showAll(state.x, state.y);
    playSound(revealSlot);
    state.diamond -= revealCost;
}

void Player::throwCoin(Level* level)
{
    if (state.coin < 1) {
        playSound(errorSlot);
        return;
    }
    int px = state.way == 1 ? state.x - 1 : state.x + 15;
    float vx = state.way == 1 ? -1.0f : 1.0f;
    if (level->addActive(px, state.y + 5, 5, &coinTile, "coin", "coin", vx, -2.0f))
        state.coin--;
}

int Player::getMovie(Level* level)
{
    setBBox();
    for (std::size_t i = 0; i < level->bonus.size(); i++) {
        Element* b = level->bonus[i];
        if (b->kind != Element::BonusMovie || !bbox.getCollisionWithElement(b))
            continue;
        int scene = -1;
        readBonusLine(b->text).number(&scene);
        showMap = false;
        level->deleteBonus(int(i));
        return scene;
    }
    return -1;
}

void Player::toggleMap()
{
    showMap = !showMap;
}

template <class F> void Player::forEachUsable(Level* level, F use)
{
    setBBox();
    for (DOOR* door : level->doors)
        if (bbox.getCollisionWithDoor(door))
            use(door->x, door->y, door, nullptr);
    for (Element* e : level->entities)
        if (isUsableSwitch(e) && e->tile && bbox.reaches(e, actionReach))
            use(e->x, e->y, nullptr, e);
    for (Element* e : level->elements)
        if (e->kind == Element::Text && bbox.reaches(e, actionReach))
            use(e->x, e->y, nullptr, e);
    for (Element* e : level->bonus)
        if (e->isLamp() && bbox.reaches(e, actionReach))
            use(e->x, e->y, nullptr, e);
}

void Player::drawUse(Level* level, Screen* s, int ox, int oy)
{
    forEachUsable(level, [s, ox, oy](int thingX, int thingY, const DOOR* door, Element* e) {
        if (door && door->tile)
            door->tile->drawBorder(0, thingX + ox, thingY + oy, s, helpColour);
        else if (e)
            e->drawBorder(ox, oy, s, helpColour);
    });
}

void Player::drawHelp(Level* level, Screen* s, int ox, int oy)
{
    int key = getControl(controlAction);
    if (key < 'a' || key > 'z')
        return;
    Tile* keyTile = keyTiles[key];
    int frame = int(helpFrame);
    forEachUsable(level, [keyTile, frame, s, ox, oy](int thingX, int thingY, const DOOR*, Element*) {
        if (keyTile)
            keyTile->draw(frame, thingX + ox + helpDx, thingY + oy + helpDy, s);
    });
    helpFrame += helpSpeed;
    if (int(helpFrame) > 1)
        helpFrame = 0.0f;
}
