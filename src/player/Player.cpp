// The player's state: construction, content, a new game, the frame's update
// in its order, placement on entering a room and drawing.

#include "player/Player.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "assets/TileList.h"
#include "level/Element.h"
#include "level/KindLine.h"
#include "level/Level.h"
#include "map/Map.h"
#include "render/Screen.h"

#include <algorithm>
#include <cstring>

namespace {

// Where the lamp's picture sits relative to the hand, facing right; facing
// left the horizontal offset is mirrored. The candle sits above the hand.
void lampOffset(const Player& p, int* dx, int* dy)
{
    *dx = 0;
    *dy = 0;
    if (p.carriedTile == &p.candleTile) {
        *dy = -7;
    } else if (p.carriedTile == &p.torchTile) {
        *dx = -4;
        *dy = -1;
    } else if (p.carriedTile == &p.acetoTile) {
        *dx = -1;
        *dy = -1;
    }
    if (p.state.way == 1)
        *dx = -*dx;
}

// The first element of `list` that `matches` accepts, or null.
template <class MATCH> Element* firstElement(const std::vector<Element*>& list, MATCH matches)
{
    for (Element* e : list)
        if (matches(e))
            return e;
    return nullptr;
}

} // namespace

Player::Player() : controler(new AnimationControler(&animation))
{
    bbox.x = state.x;
    bbox.y = state.y;
    bbox.w = standingWidth;
    bbox.h = standingHeight;
    light.external = true;
    sharedLight.external = true;
}

Player::~Player()
{
    delete controler;
    delete controlTiles;
    clearMemories();
    clearObjects();
    delete map;
}

int Player::loadContent(const char* folder)
{
    boundedCopy(contentFolder, sizeof contentFolder, folder);
    char path[512];
    boundedFormat(path, sizeof path, "%s/tiles.dat", folder);
    struct {
        Tile* tile;
        const char* name;
    } pictures[] = {{&coinTile, "gold_coin01.anm"},     {&candleTile, "candle.anm"},
                    {&torchTile, "torchlight.til"},     {&acetoTile, "aceto.anm"},
                    {&candleBonusTile, "candle02.til"}, {&torchBonusTile, "torchlight2.til"},
                    {&acetoBonusTile, "aceto.til"},     {&balloonTile, "balloon.til"}};
    for (const auto& picture : pictures)
        picture.tile->load(path, picture.name);

    boundedFormat(path, sizeof path, "%s/tiles_control.dat", folder);
    delete controlTiles;
    controlTiles = new TileList(path, true);
    for (int key = 'a'; key <= 'z'; key++) {
        char name[32];
        boundedFormat(name, sizeof name, "key_%c.anm", key);
        logPrint(name);
        keyTiles[key] = controlTiles->findByName2(name);
    }

    boundedFormat(path, sizeof path, "%s/character.dat", folder);
    return animation.loadFromFile2(path);
}

void Player::init()
{
    controler->play(0.05f);
    controler->setSeqByName("idle_t");
    light.setStyle(Light::StyleAceto);
    light.external = true;
    delete map;
    map = new Map;
    map->lookForObjs(contentFolder);
    showMap = false;
    state.visible = true;
    clearMemories();
    clearObjects();
    state.life = 3;
    state.maxLife = 6;
    state.coin = 0;
    state.diamond = 0;
    nKey = 0;
    state.hitted = 0.0f;
    flying = false;
}

void Player::update(Level* level, int)
{
    keepInRange();
    getEnnemyCollision(level);
    getBonusCollision(level);
    getDogCollision(level);
    getActiveCollision(level);
    controler->update();
    updateView();
    // A balloon carries the player straight up and out of the room: above
    // the map everything counts as rock, so a flyer is not collision-tested
    // (he would stop under the map's top edge and never leave).
    if (flying) {
        state.y -= 1;
    } else {
        move(level);
        collide(level);
    }
    if (state.hitted > 0.0f)
        state.hitted -= 0.2f;
    else
        state.hitted = 0.0f;
    if (state.jumping)
        setCrawl(level, false);
    setAnimation();

    // The lamp's picture follows the light's colour, which a lamp change sets.
    if (light.colour == candleColour)
        carriedTile = &candleTile;
    else if (light.colour == electricColour)
        carriedTile = &torchTile;
    else if (light.colour == acetoColour)
        carriedTile = &acetoTile;
    lightFrame += lightSpeed;
    if (int(lightFrame) >= carriedTile->frameCount)
        lightFrame = 0.0f;
    setLight();

    state.moving = false;
    state.oldX = state.x;
    state.oldY = state.y;
}

void Player::keepInRange()
{
    state.x = std::min(std::max(state.x, -positionLimit), positionLimit);
    state.y = std::min(std::max(state.y, -positionLimit), positionLimit);
    state.oldX = std::min(std::max(state.oldX, -positionLimit), positionLimit);
    state.oldY = std::min(std::max(state.oldY, -positionLimit), positionLimit);
}

void Player::setPosition(int newX, int newY)
{
    state.oldX = state.x;
    state.oldY = state.y;
    state.x = newX;
    state.y = newY;
}

void Player::setPositionAtElement(const char* name, Level* level)
{
    Element* e = firstElement(level->elements, [name](Element* c) { return std::strcmp(c->name, name) == 0; });
    if (!e) {
        logPrint("Cannot find position : ");
        logPrint(name);
        logPrint("\n");
        return;
    }
    state.x = state.oldX = e->x;
    state.y = state.oldY = e->y;
    state.moving = state.run = state.crawl = state.jumping = state.onLadder = false;
    pushTimer = 0;
    state.dy = 0.0f;
}

void Player::getDefaultPosition(Level* level)
{
    Element* e = firstElement(level->elements,
                              [](Element* c) { return std::strcmp(c->text, "default_entrance") == 0; });
    if (!e)
        e = firstElement(level->elements, [](Element* c) { return readKindLine(c->text).kind == KindDoor; });
    if (!e)
        return;
    state.x = state.oldX = e->x;
    state.y = state.oldY = e->y;
}

int Player::getAnimWidth() const
{
    return animation.getWidth();
}

void Player::drawBack(Level* level, Screen* s, int ox, int oy)
{
    if (state.visible)
        drawUse(level, s, ox, oy);
}

void Player::draw(Screen* s, int ox, int oy)
{
    if (!state.visible)
        return;
    int mirror = state.way == 1;
    if (state.hitted != 0.0f)
        controler->draw(state.x + ox, state.y + oy, mirror, s,
                        int(state.hitted) % 2 == 0 ? 0x44FFFFFF : int(0xFFFFFFFFu));
    else
        controler->draw(state.x + ox, state.y + oy, mirror, s);
    if (flying)
        balloonTile.draw(0, state.x + ox + (state.way == 1 ? 8 : -1), state.y + oy - 35, s);
    if (state.torch) {
        int dx = 0, dy = 0;
        lampOffset(*this, &dx, &dy);
        int left = light.x + dx + ox - (mirror ? carriedTile->width - 1 : 0);
        carriedTile->draw(int(lightFrame), left, light.y + dy + oy, mirror, s);
    }
}

void Player::drawFront(Level* level, Screen* s, int, int)
{
    if (!showMap || !map)
        return;
    if (level && level->mapWidth > 0 && level->mapHeight > 0)
        map->markPlayer(float(state.x + animation.getWidth() / 2 - level->originX) / float(level->mapWidth),
                        float(state.y + animation.getHeight() / 2 - level->originY) / float(level->mapHeight));
    map->draw(s);
}

void Player::drawDead(Screen* s, int ox, int oy, float amplitude, float white)
{
    controler->draw(state.x + ox, state.y + oy, state.way == 1, s, amplitude, white);
}
