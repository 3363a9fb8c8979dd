#include "level/LevelView.h"

#include "level/Level.h"
#include "render/Screen.h"

namespace {

// Multiplies every pixel of s that shows a map cell by the cell's published
// light without depth softening.
void lightLayer(Level* level, Screen* s, int ox, int oy)
{
    if (!level->map)
        return;
    int b = level->front;
    for (int sx = 0; sx < s->width; sx++)
        for (int sy = 0; sy < s->height; sy++) {
            long long mx = (long long)sx - ox - level->originX;
            long long my = (long long)sy - oy - level->originY;
            if (mx >= 0 && my >= 0 && mx < level->mapWidth && my < level->mapHeight)
                s->mulPixel(sx, sy, level->map[mx * level->mapHeight + my].unshadowed[b]);
        }
}

} // namespace

LevelView::LevelView(int width, int height)
    : frontLayer(new Screen(width, height, layerScale)), entityLayer(new Screen(width, height, layerScale))
{
}

LevelView::~LevelView()
{
    delete frontLayer;
    delete entityLayer;
}

void LevelView::fit(const Screen* screen)
{
    if (frontLayer->width == screen->width && frontLayer->height == screen->height)
        return;
    delete frontLayer;
    delete entityLayer;
    frontLayer = new Screen(screen->width, screen->height, layerScale);
    entityLayer = new Screen(screen->width, screen->height, layerScale);
}

void LevelView::beginLevel(Level* level, Screen* screen, int ox, int oy)
{
    fit(screen);
    frontLayer->clear(0);
    entityLayer->clear(0);
    level->drawing = true;
    level->draw(screen, ox, oy, 0, 0);
    level->drawEntity(entityLayer, ox, oy);
    lightLayer(level, entityLayer, ox, oy);
    screen->merge(entityLayer);
    level->drawIcds(screen, ox, oy);
}

void LevelView::drawFrontLayer(Level* level, int ox, int oy)
{
    level->drawFront(frontLayer, ox, oy);
    lightLayer(level, frontLayer, ox, oy);
    level->drawCloudAndWater(frontLayer, ox, oy);
}

void LevelView::finishLevel(Level* level, Screen* screen, int ox, int oy)
{
    screen->merge(frontLayer);
    level->drawBlack(screen, ox, oy);
}

void LevelView::endLevel(Level* level)
{
    level->drawing = false;
}

void LevelView::draw(Level* level, Screen* screen, int ox, int oy)
{
    beginLevel(level, screen, ox, oy);
    drawFrontLayer(level, ox, oy);
    finishLevel(level, screen, ox, oy);
    endLevel(level);
}
