#include "level/Level.h"

#include "level/Element.h"
#include "level/Dog.h"
#include "render/Screen.h"
#include "level/Text.h"

#include <algorithm>

namespace {

// The translucent green laid over lit cloud.
const int cloudTint = int(0xAA008800u);
// The line drawn just above the water surface.
const int waterLineColour = int(0xBB66FFAAu);
// Alpha bits cleared from a water texel, so an opaque one shows at 0xBB.
const unsigned waterAlphaCut = 0x44000000u;
// Animated overlays drawn again over the player are this opaque.
const float overlayAlpha = 0.7f;

// The range [first, last) of screen coordinates along one axis whose map
// coordinate (screen - offset) lies in [0, size), clipped to [0, extent).
void visibleSpan(long long offset, int size, int extent, int* first, int* last)
{
    long long lo = std::clamp<long long>(offset, 0, extent);
    long long hi = std::min<long long>(extent, offset + size);
    *first = int(lo);
    *last = int(std::max(lo, hi));
}

// Calls f(pixel, cell) for every pixel of s that shows a map cell; the
// map cell under (sx, sy) is (sx - ox - originX, sy - oy - originY).
template <typename F>
void forEachVisibleCell(const Level& level, Screen* s, int ox, int oy, F f)
{
    if (!level.map)
        return;
    long long offX = (long long)ox + level.originX;
    long long offY = (long long)oy + level.originY;
    int x0, x1, y0, y1;
    visibleSpan(offX, level.mapWidth, s->width, &x0, &x1);
    visibleSpan(offY, level.mapHeight, s->height, &y0, &y1);
    for (int sx = x0; sx < x1; sx++) {
        int* pixels = s->pixels + sx * s->height;
        LevelPixel* column = level.map + (sx - offX) * level.mapHeight;
        for (int sy = y0; sy < y1; sy++)
            f(pixels[sy], column[sy - offY]);
    }
}

bool lightReaches(const float* light)
{
    return light[0] + light[1] + light[2] > 0.0f;
}

// What a charged phosphorescent pixel shows: only the channels its charge
// bits (1 red, 2 green, 4 blue) name, opaque.
int glowColour(int glow)
{
    int charge = Screen::getAlpha(glow);
    int r = (charge & 1) ? Screen::getRed(glow) : 0;
    int g = (charge & 2) ? Screen::getGreen(glow) : 0;
    int b = (charge & 4) ? Screen::getBlue(glow) : 0;
    return Screen::getColor(r, g, b, 255);
}

} // namespace

void Level::draw(Screen* s, int ox, int oy, int, int)
{
    for (Element* e : backgrounds)
        e->draw(ox, oy, s);
    // One buffer for the whole picture, even if the lighting thread
    // publishes another meanwhile.
    const CellLight* buffer = light[front];
    forEachVisibleCell(*this, s, ox, oy, [this, buffer](int& pixel, LevelPixel& p) {
        int cell = int(&p - map);
        const CellLight& received = buffer[cell];
        Screen::blend(pixel, p.colour);
        Screen::multiply(pixel, received.lit);
        bool dark = received.dark();
        if (memories) {
            if (!dark)
                addInMemory(cell);
            else if (p.memoryColour != 0)
                pixel = Screen::colorMul(special ? p.specialMemoryColour : p.memoryColour, p.quality);
        }
        // A lit pixel shows its own colour, unless it has none: black paint
        // still glows.
        if (!dark && (p.colour & 0x00FFFFFF) != 0)
            return;
        int glow = p.glow;
        if (Screen::getAlpha(glow) != 0)
            pixel = glowColour(glow);
    });
}

void Level::drawEntity(Screen* s, int ox, int oy)
{
    for (Element* e : entities)
        e->draw(ox, oy, s);
    for (Element* e : bonus)
        if (e->kind != Element::BonusMovie)
            e->draw(ox, oy, s);
    for (Dog* d : dogs)
        d->draw(ox, oy, s);
}

void Level::drawIcds(Screen* s, int ox, int oy)
{
    for (Dog* d : dogs)
        d->drawIcds(ox, oy, s);
    for (Element* e : entities)
        e->drawIcds(ox, oy, s);
    // A lamp lying in the room burns: its flame shows in the dark.
    for (Element* e : bonus)
        if (e->isLamp())
            e->drawIcds(ox, oy, s);
}

void Level::drawLeverLamps(Screen* s, int ox, int oy)
{
    for (Element* e : entities)
        if (e->kind == Element::Switch || e->kind == Element::LightSwitch)
            e->drawIcds(ox, oy, s);
}

void Level::drawFront(Screen* s, int ox, int oy)
{
    for (Element* e : actives)
        e->draw(ox, oy, s);
    for (Element* e : entities)
        if (e->kind == Element::Overlay)
            e->draw(ox, oy, s, overlayAlpha);
}

void Level::drawCloudAndWater(Screen* s, int ox, int oy)
{
    if (!map)
        return;
    const CellLight* buffer = light[front];
    if (hasCloud)
        forEachVisibleCell(*this, s, ox, oy, [this, buffer](int& pixel, LevelPixel& p) {
            if (p.cloud > 0 && lightReaches(buffer[&p - map].lit))
                Screen::blend(pixel, cloudTint);
        });
    if (!water)
        return;
    // A surface given above the map (a switched water's top may be negative)
    // floods from the map's first row: rows outside the map have no cells.
    long long offX = (long long)ox + originX;
    long long offY = (long long)oy + originY;
    int x0, x1, y0, y1;
    visibleSpan(offX, mapWidth, s->width, &x0, &x1);
    visibleSpan(offY + std::max(0, waterLevel), mapHeight - std::max(0, waterLevel), s->height, &y0, &y1);
    for (int sx = x0; sx < x1; sx++) {
        int mx = int(sx - offX);
        const CellLight* column = buffer + (long long)mx * mapHeight;
        for (int sy = y0; sy < y1; sy++) {
            int my = int(sy - offY);
            if (lightReaches(column[my].lit))
                s->addPixel(sx, sy, int(unsigned(waterTile.getPixel2(waterFrame, mx, my)) & ~waterAlphaCut));
        }
    }
    long long surface = offY + waterLevel - 1;
    if (surface >= 0 && surface < s->height)
        s->line(0, int(surface), s->width, int(surface), waterLineColour);
}

void Level::drawBlack(Screen* s, int ox, int oy)
{
    long long offX = (long long)ox + originX;
    long long offY = (long long)oy + originY;
    // Columns and rows off the map are painted whole; only the cells on
    // screen are tested for rock.
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    if (map) {
        visibleSpan(offX, mapWidth, s->width, &x0, &x1);
        visibleSpan(offY, mapHeight, s->height, &y0, &y1);
    }
    for (int sx = 0; sx < s->width; sx++) {
        int* column = s->pixels + sx * s->height;
        if (sx < x0 || sx >= x1) {
            std::fill(column, column + s->height, baseColor);
            continue;
        }
        std::fill(column, column + y0, baseColor);
        std::fill(column + y1, column + s->height, baseColor);
        const LevelPixel* cells = map + (sx - offX) * mapHeight + (y0 - offY);
        for (int sy = y0; sy < y1; sy++)
            if (cells[sy - y0].depth >= baseDepth)
                column[sy] = baseColor;
    }
}

void Level::drawIntro(Screen*)
{
    if (message)
        message->draw();
}

void Level::addZoneInMemory(int wx, int wy, int r)
{
    if (!memories || !map || r < 0)
        return;
    long long cx = (long long)wx - originX;
    long long cy = (long long)wy - originY;
    long long r2 = (long long)r * r;
    long long mx0 = std::max<long long>(0, cx - r), mx1 = std::min<long long>(mapWidth - 1, cx + r);
    long long my0 = std::max<long long>(0, cy - r), my1 = std::min<long long>(mapHeight - 1, cy + r);
    for (long long mx = mx0; mx <= mx1; mx++)
        for (long long my = my0; my <= my1; my++)
            if ((mx - cx) * (mx - cx) + (my - cy) * (my - cy) <= r2)
                addInMemory(int(mx * mapHeight + my));
}
