// The player's movement: gravity and jumps, ladders, crouching, walking and
// running by the animation's own steps, riding movable elements, and the
// resolution of collisions (stepping up, walking back, being crushed).

#include "player/Player.h"

#include "assets/Animation.h"
#include "assets/AnimationControler.h"
#include "audio/Sound.h"
#include "base/BoundedString.h"
#include "level/Element.h"
#include "level/Level.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Vertical speeds: the start of a jump, gravity per frame, and the fastest
// rise and fall.
const float jumpSpeed = -4.5f;
const float gravity = 0.25f;
const float fastestRise = 4.0f;
const float fastestFall = 4.0f;
// A fall faster than this makes the player airborne.
const float airborneFall = 2.0f;
// Held back vertically at more than this, the player has landed.
const float landingSpeed = 1.0f;
// The highest ledge the player steps up by walking.
const int stepHeight = 5;
// The body's size crouched.
const int crouchedWidth = 13;
const int crouchedHeight = 11;
const int bodyHeight = 19;
const int pushingWidth = 10;
// A walk back never crosses more than a room; from a damaged save the
// previous position may lie anywhere.
const int longestWalkBack = maxMapSide;
// Look-around: one key press's offset and how much of it stays each frame.
const float viewStep = 40.0f;
const float viewDecay = 0.7f;

// A speed truncated to whole pixels, for any value a damaged file may give:
// no speed moves farther than the positions may lie apart, and NaN stands still.
int wholePixels(float speed)
{
    if (!(std::fabs(speed) <= float(Player::positionLimit)))
        return std::isnan(speed) ? 0 : (speed < 0.0f ? -Player::positionLimit : Player::positionLimit);
    return int(speed);
}

// A foot lands on the ground on the first frame of a walking or running
// cycle and half a cycle later: the frames where a step is heard.
bool isFootfall(const AnimationControler& c)
{
    if (!c.anim)
        return false;
    const char* name = c.anim->getSeqName(c.seq);
    if (!name || (std::strncmp(name, "walk", 4) != 0 && std::strncmp(name, "run", 3) != 0))
        return false;
    int begin = c.anim->getSeqBegin(c.seq);
    int half = (c.anim->getSeqEnd(c.seq) - begin + 1) / 2;
    return half > 0 && (c.shownFrame() - begin) % half == 0;
}

} // namespace

void Player::move(Level* level)
{
    if (state.onLadder || !std::isfinite(state.dy))
        state.dy = 0.0f;
    state.y += nextDrop();
    if (state.jumpReleased && state.dy < 0.0f)
        state.dy = 0.0f;
    if (state.dy < fastestFall && !state.onLadder)
        state.dy += gravity;

    if (state.onLadder) {
        state.onLadder = touchesLadder(level);
        if (state.onLadder)
            state.jumping = false;
    }

    if (state.moving) {
        int dx = 0, stepY = 0;
        if (state.jumping)
            dx = state.run ? 3 : 2;
        else {
            controler->moveCoords(&dx, &stepY);
            // A new frame hands out its step once: that is when a foot lands.
            if (dx != 0 && !state.onLadder && isFootfall(*controler))
                playStep();
        }
        state.x += state.way == 0 ? dx : -dx;
        state.y += stepY;
        // The top of a ladder holds the climber: a step up that would lift
        // him clear of it is not taken, so that letting go of Up there
        // leaves him hanging on it instead of dropping down its shaft.
        if (state.onLadder && stepY < 0 && !touchesLadder(level))
            state.y -= stepY;
    }
    if (state.dy > airborneFall)
        state.jumping = true;
}

void Player::collide(Level* level)
{
    if (state.life == 0)
        return;
    setBBox();
    int rider = bbox.getActiveTouch(level);
    if (rider != -1) {
        const Element* e = level->actives[rider];
        int vx = wholePixels(e->vx), vy = wholePixels(e->vy);
        state.x += vx;
        state.oldX += vx;
        if (vy < 0) {
            state.y += vy;
            state.oldY += vy;
        }
    }

    setBBox();
    if (bbox.getCollision(level) && !stepUp(level))
        walkBack(level);

    setBBox();
    if (bbox.getCollision(level)) {
        state.x = state.oldX;
        state.y = state.oldY;
    }
    setBBox();
    if (bbox.getCollision(level)) {
        bbox.findSpace(level);
        if (bbox.getCollision(level))
            state.life = 0;
        settleOnBody(level);
    }
}

void Player::settleOnBody(Level* level)
{
    BoundingBox found = bbox;
    setPositionFromBBox();
    setBBox();
    // The picture went back lower than the body was found. In rock, the
    // next frame's step up lifts him out, unless his fall takes him deeper
    // than a step: then no key would free him, so he goes onto the free place.
    int sunk = bbox.y - found.y;
    if (!bbox.getCollision(level) || sunk + nextDrop() <= stepHeight)
        return;
    state.x += found.x - bbox.x;
    state.y -= sunk;
    setBBox();
    holdBackVertically();
}

int Player::nextDrop() const
{
    // A speed from a damaged save moves no faster than a fall can.
    return state.dy > -fastestRise ? int(std::min(state.dy, fastestFall)) : -int(fastestRise);
}

void Player::holdBackVertically()
{
    // A landing, or a bump from below.
    if (state.dy > landingSpeed)
        state.jumping = false;
    state.dy = 0.0f;
}

bool Player::collidesAt(Level* level, int px, int py)
{
    state.x = px;
    state.y = py;
    setBBox();
    return bbox.getCollision(level);
}

bool Player::stepUp(Level* level)
{
    int sx = state.x, sy = state.y;
    for (int lift = 1; lift <= stepHeight; lift++)
        if (!collidesAt(level, sx, sy - lift)) {
            state.dy = 0.0f;
            state.jumping = false;
            return true;
        }
    state.x = sx;
    state.y = sy;
    return false;
}

bool Player::walkBack(Level* level)
{
    int sx = state.x, sy = state.y;
    float fx = float(state.oldX - sx), fy = float(state.oldY - sy);
    if (fx == 0.0f && fy == 0.0f)
        return false;
    int n = std::max(std::abs(int(fx)), std::abs(int(fy)));
    fx /= float(n);
    fy /= float(n);
    for (int i = 0; i <= std::min(n, longestWalkBack); i++) {
        int cx = int(float(sx) + float(i) * fx), cy = int(float(sy) + float(i) * fy);
        if (!collidesAt(level, cx, sy))
            return true;
        if (!collidesAt(level, sx, cy) || !collidesAt(level, cx, cy)) {
            holdBackVertically();
            return true;
        }
    }
    return false;
}

void Player::setBBox()
{
    // Every body question starts here, input operations before the frame's update included.
    keepInRange();
    bbox.y = state.y + 5;
    if (state.crawl) {
        bbox.x = state.x + (state.way == 0 ? 4 : 3);
        bbox.y = state.y + 13;
    } else if (pushTimer != 0 && !state.jumping) {
        bbox.x = state.x + (state.way == 0 ? 4 : 7);
        bbox.w = pushingWidth;
        bbox.h = bodyHeight;
    } else {
        bbox.x = state.x + (state.way == 0 ? 6 : 8);
        bbox.w = standingWidth;
        bbox.h = bodyHeight;
    }
}

void Player::setPositionFromBBox()
{
    if (state.crawl) {
        state.x = bbox.x - (state.way == 0 ? 4 : 3);
        state.y = bbox.y - 13;
    } else if (pushTimer != 0) {
        state.x = bbox.x - (state.way == 0 ? 4 : 7);
        state.y = state.way == 0 ? bbox.y + 3 : bbox.y - 3;
    } else {
        state.x = bbox.x - (state.way == 0 ? 6 : 8);
        state.y = bbox.y - 3;
    }
}

void Player::setPose(bool crouch)
{
    state.crawl = crouch;
    bbox.w = crouch ? crouchedWidth : standingWidth;
    bbox.h = crouch ? crouchedHeight : standingHeight;
}

void Player::setCrawl(Level* level, bool crouch)
{
    if (state.onLadder || state.jumping)
        return;
    bool before = state.crawl;
    setPose(crouch);
    setBBox();
    if (bbox.getCollision(level)) {
        setPose(before);
        setBBox();
    }
}

void Player::jump()
{
    if (state.crawl || state.jumping || !state.jumpReleased)
        return;
    state.onLadder = false;
    state.jumping = true;
    state.dy = jumpSpeed;
    state.jumpReleased = false;
}

bool Player::touchesLadder(Level* level)
{
    setBBox();
    for (const Element* ladder : level->ladders)
        if (bbox.getCollisionWithElementPixels(ladder))
            return true;
    return false;
}

void Player::up(Level* level)
{
    setBBox();
    for (Element* ladder : level->ladders)
        if (bbox.getCollisionWithElementPixels(ladder))
            grip(level, ladder, 0.5f);
}

void Player::down(Level* level)
{
    for (Element* ladder : level->ladders)
        if (getPixelPerfectCollision(ladder))
            grip(level, ladder, -0.5f);
    setCrawl(level, true);
}

void Player::grip(Level* level, const Element* ladder, float speed)
{
    setCrawl(level, false);
    state.moving = true;
    state.jumping = false;
    state.way = 0;
    controler->setSeqByName("climb");
    controler->play(speed);
    if (!state.onLadder) {
        int w = 0, h = 0;
        ladder->getDimensions(&w, &h);
        state.x = ladder->x + w / 2 - animation.getWidth() / 2 + 1;
    }
    state.onLadder = true;
}

void Player::left()
{
    walk(1);
}

void Player::right()
{
    walk(0);
}

void Player::walk(int towards)
{
    if (flying) {
        show("fly", 1.0f);
    } else if (state.onLadder) {
        // A sideways shift off the ladder's middle, one more when turning.
        int sign = towards == 0 ? 1 : -1;
        if (state.way != towards)
            state.x += sign;
        state.x += 2 * sign;
    } else if (state.jumping) {
        controler->play(0.0f);
        controler->setToStart();
        controler->setSeqByName("run");
    } else if (state.crawl) {
        show("duck", 0.7f);
    } else if (pushTimer != 0) {
        show("push", 0.35f);
    } else if (state.run) {
        showLit("run", 0.7f);
    } else {
        showLit("walk", 0.35f);
    }
    state.way = towards;
    light.direction = towards == 0 ? 0 : 180;
    state.moving = true;
}

void Player::setWalk()
{
    state.run = false;
}

void Player::setRun()
{
    state.run = true;
}

void Player::toggleWalkRun()
{
    state.run = !state.run;
}

void Player::setAnimation()
{
    if (flying) {
        show("fly", 1.0f);
        return;
    }
    if (state.onLadder) {
        show("climb", 0.0f);
    } else if (state.jumping) {
        showLit(state.dy < 0.0f ? "run" : "fall", 0.0f);
        controler->setToStart();
    } else if (state.crawl) {
        show("duck", 0.0f);
    } else {
        showLit("idle", 0.35f);
    }
    // The knocked-back pose at the start of a hurt.
    if (state.hitted > 7.0f) {
        show("fall", 0.0f);
        controler->setToStart();
    }
}

void Player::show(const char* name, float speed)
{
    controler->setSeqByName(name);
    controler->play(speed);
}

void Player::showLit(const char* name, float speed)
{
    if (!state.torch) {
        show(name, speed);
        return;
    }
    char lit[32];
    boundedFormat(lit, sizeof lit, "%s_t", name);
    show(lit, speed);
}

void Player::viewUp()
{
    viewY -= viewStep;
}

void Player::viewDown()
{
    viewY += viewStep;
}

void Player::viewLeft()
{
    viewX -= viewStep;
}

void Player::viewRight()
{
    viewX += viewStep;
}

void Player::updateView()
{
    viewX *= viewDecay;
    viewY *= viewDecay;
    // The electric torch points where the player looks.
    if (std::fabs(viewX) > 1.0f || std::fabs(viewY) > 1.0f)
        light.direction = int(Level::getAngle(0, 0, int(viewX), int(viewY)));
}
