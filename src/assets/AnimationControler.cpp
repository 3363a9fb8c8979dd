#include "assets/AnimationControler.h"

#include "assets/Animation.h"
#include "render/Screen.h"

void AnimationControler::setSeqByName(const char* name)
{
    if (anim)
        seq = anim->getSeqByName(name);
}

void AnimationControler::setToStart()
{
    if (anim)
        frame = float(anim->getSeqBegin(seq));
}

void AnimationControler::update()
{
    if (!anim)
        return;
    int old = int(frame);
    frame += speed;
    int begin = anim->getSeqBegin(seq);
    int end = anim->getSeqEnd(seq);
    // Playing backwards wraps to the last frame at its latest position, so
    // that it is shown for as long as the others.
    if (int(frame) < begin)
        frame = float(end) + 0.9f;
    if (int(frame) > end)
        frame = float(begin);
    if (int(frame) != old)
        moved = 1;
}

void AnimationControler::moveCoords(int* dx, int* dy)
{
    *dx = 0;
    *dy = 0;
    if (!moved || !anim)
        return;
    anim->moveCoords(dx, dy, int(frame));
    moved = 0;
    if (speed < 0) {
        *dx = -*dx;
        *dy = -*dy;
    }
}

void AnimationControler::lightCoords(int* x, int* y) const
{
    *x = 0;
    *y = 0;
    if (anim)
        anim->lightCoords(x, y, int(frame));
}

void AnimationControler::draw(int x, int y, int mirror, Screen* s) const
{
    if (anim)
        anim->draw(x, y, int(frame), mirror, s);
}

void AnimationControler::draw(int x, int y, int mirror, Screen* s, int mask) const
{
    if (anim)
        anim->draw(x, y, int(frame), mirror, s, mask);
}

void AnimationControler::draw(int x, int y, int mirror, Screen* s, float amplitude, float white) const
{
    if (!anim)
        return;
    int w = int(white * 255);
    anim->drawRandom(x, y, int(frame), mirror, s, Screen::getColor(w, w, w, 0), amplitude);
}
