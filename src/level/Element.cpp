#include "level/Element.h"

#include "assets/Tile.h"

Element::Element(Tile* t) : tile(t)
{
    speed = t && t->frameCount >= 2 ? 1.0f : 0.0f;
}

void Element::update()
{
    if (tile) {
        if (speed != 0)
            frame += speed;
        if (int(frame) >= tile->frameCount)
            frame = 0;
        else if (int(frame) < 0)
            frame = float(tile->frameCount - 1);
    }
    // Only a countdown that runs down to 0 switches the element on; one
    // set to 0 or below waits for nothing.
    if (countdown > 0) {
        countdown--;
        if (countdown == 0) {
            active = true;
            countdown = -1;
        }
    }
}

bool Element::drawable() const
{
    return tile && kind != Invisible;
}

void Element::draw(int ox, int oy, Screen* s)
{
    if (drawable() && visible)
        tile->draw(currentFrame(), ox + x, oy + y, s);
}

void Element::drawIcds(int ox, int oy, Screen* s)
{
    if (drawable() && visible)
        tile->drawIcds(currentFrame(), ox + x, oy + y, 0, s);
}

void Element::drawBorder(int ox, int oy, Screen* s, int colour)
{
    if (drawable())
        tile->drawBorder(currentFrame(), ox + x, oy + y, s, colour);
}

void Element::draw(int ox, int oy, Screen* s, float alpha)
{
    if (drawable())
        tile->draw(currentFrame(), ox + x, oy + y, s, alpha);
}

void Element::draw(int ox, int oy, float f, Screen* s)
{
    if (drawable())
        tile->draw(currentFrame(), ox + x, oy + y, f, s);
}

void Element::getDimensions(int* w, int* h) const
{
    *w = tile ? tile->width : 0;
    *h = tile ? tile->height : 0;
}

void Element::getCentre(int* cx, int* cy) const
{
    int w = 0, h = 0;
    getDimensions(&w, &h);
    *cx = x + w / 2;
    *cy = y + h / 2;
}

const TILE_PIXEL* Element::pixel(int i, int j) const
{
    if (!tile)
        return nullptr;
    // A one-frame picture has only that frame, whatever the element's frame.
    return tile->pixelAt(tile->frameCount == 1 ? 0 : currentFrame(), i, j);
}

int Element::getColor(int i, int j) const
{
    const TILE_PIXEL* p = pixel(i, j);
    return p ? p->colour : 0;
}

int Element::getDepth(int i, int j) const
{
    const TILE_PIXEL* p = pixel(i, j);
    return depth + (p ? p->depth : 0);
}

float Element::getIncandescence(int i, int j) const
{
    const TILE_PIXEL* p = pixel(i, j);
    return p ? p->incandescence : 0.0f;
}
