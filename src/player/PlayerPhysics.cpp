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
    if (onLadder || !std::isfinite(dy))
        dy = 0.0f;
    y += nextDrop();
    if (jumpReleased && dy < 0.0f)
        dy = 0.0f;
    if (dy < fastestFall && !onLadder)
        dy += gravity;

    if (onLadder) {
        onLadder = touchesLadder(level);
        if (onLadder)
            jumping = false;
    }

    if (moving) {
        int dx = 0, stepY = 0;
        if (jumping)
            dx = run ? 3 : 2;
        else {
            controler->moveCoords(&dx, &stepY);
            // A new frame hands out its step once: that is when a foot lands.
            if (dx != 0 && !onLadder && isFootfall(*controler))
                playStep();
        }
        x += way == 0 ? dx : -dx;
        y += stepY;
        // The top of a ladder holds the climber: a step up that would lift
        // him clear of it is not taken, so that letting go of Up there
        // leaves him hanging on it instead of dropping down its shaft.
        if (onLadder && stepY < 0 && !touchesLadder(level))
            y -= stepY;
    }
    if (dy > airborneFall)
        jumping = true;
}

void Player::collide(Level* level)
{
    if (life == 0)
        return;
    setBBox();
    int rider = bbox.getActiveTouch(level);
    if (rider != -1) {
        const Element* e = level->actives[rider];
        int vx = wholePixels(e->vx), vy = wholePixels(e->vy);
        x += vx;
        oldX += vx;
        if (vy < 0) {
            y += vy;
            oldY += vy;
        }
    }

    setBBox();
    if (bbox.getCollision(level) && !stepUp(level))
        walkBack(level);

    setBBox();
    if (bbox.getCollision(level)) {
        x = oldX;
        y = oldY;
    }
    setBBox();
    if (bbox.getCollision(level)) {
        bbox.findSpace(level);
        if (bbox.getCollision(level))
            life = 0;
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
    x += found.x - bbox.x;
    y -= sunk;
    setBBox();
    holdBackVertically();
}

int Player::nextDrop() const
{
    // A speed from a damaged save moves no faster than a fall can.
    return dy > -fastestRise ? int(std::min(dy, fastestFall)) : -int(fastestRise);
}

void Player::holdBackVertically()
{
    // A landing, or a bump from below.
    if (dy > landingSpeed)
        jumping = false;
    dy = 0.0f;
}

bool Player::collidesAt(Level* level, int px, int py)
{
    x = px;
    y = py;
    setBBox();
    return bbox.getCollision(level);
}

bool Player::stepUp(Level* level)
{
    int sx = x, sy = y;
    for (int lift = 1; lift <= stepHeight; lift++)
        if (!collidesAt(level, sx, sy - lift)) {
            dy = 0.0f;
            jumping = false;
            return true;
        }
    x = sx;
    y = sy;
    return false;
}

bool Player::walkBack(Level* level)
{
    int sx = x, sy = y;
    float fx = float(oldX - sx), fy = float(oldY - sy);
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
    bbox.y = y + 5;
    if (crawl) {
        bbox.x = x + (way == 0 ? 4 : 3);
        bbox.y = y + 13;
    } else if (pushTimer != 0 && !jumping) {
        bbox.x = x + (way == 0 ? 4 : 7);
        bbox.w = pushingWidth;
        bbox.h = bodyHeight;
    } else {
        bbox.x = x + (way == 0 ? 6 : 8);
        bbox.w = standingWidth;
        bbox.h = bodyHeight;
    }
}

void Player::setPositionFromBBox()
{
    if (crawl) {
        x = bbox.x - (way == 0 ? 4 : 3);
        y = bbox.y - 13;
    } else if (pushTimer != 0) {
        x = bbox.x - (way == 0 ? 4 : 7);
        y = way == 0 ? bbox.y + 3 : bbox.y - 3;
    } else {
        x = bbox.x - (way == 0 ? 6 : 8);
        y = bbox.y - 3;
    }
}

void Player::setPose(bool crouch)
{
    crawl = crouch;
    bbox.w = crouch ? crouchedWidth : standingWidth;
    bbox.h = crouch ? crouchedHeight : standingHeight;
}

void Player::setCrawl(Level* level, bool crouch)
{
    if (onLadder || jumping)
        return;
    bool before = crawl;
    setPose(crouch);
    setBBox();
    if (bbox.getCollision(level)) {
        setPose(before);
        setBBox();
    }
}

void Player::jump()
{
    if (crawl || jumping || !jumpReleased)
        return;
    onLadder = false;
    jumping = true;
    dy = jumpSpeed;
    jumpReleased = false;
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
    moving = true;
    jumping = false;
    way = 0;
    controler->setSeqByName("climb");
    controler->play(speed);
    if (!onLadder) {
        int w = 0, h = 0;
        ladder->getDimensions(&w, &h);
        x = ladder->x + w / 2 - animation.getWidth() / 2 + 1;
    }
    onLadder = true;
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
    } else if (onLadder) {
        // A sideways shift off the ladder's middle, one more when turning.
        int sign = towards == 0 ? 1 : -1;
        if (way != towards)
            x += sign;
        x += 2 * sign;
    } else if (jumping) {
        controler->play(0.0f);
        controler->setToStart();
        controler->setSeqByName("run");
    } else if (crawl) {
        show("duck", 0.7f);
    } else if (pushTimer != 0) {
        show("push", 0.35f);
    } else if (run) {
        showLit("run", 0.7f);
    } else {
        showLit("walk", 0.35f);
    }
    way = towards;
    light.direction = towards == 0 ? 0 : 180;
    moving = true;
}

void Player::setWalk()
{
    run = false;
}

void Player::setRun()
{
    run = true;
}

void Player::toggleWalkRun()
{
    run = !run;
}

void Player::setAnimation()
{
    if (flying) {
        show("fly", 1.0f);
        return;
    }
    if (onLadder) {
        show("climb", 0.0f);
    } else if (jumping) {
        showLit(dy < 0.0f ? "run" : "fall", 0.0f);
        controler->setToStart();
    } else if (crawl) {
        show("duck", 0.0f);
    } else {
        showLit("idle", 0.35f);
    }
    // The knocked-back pose at the start of a hurt.
    if (hitted > 7.0f) {
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
    if (!torch) {
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
