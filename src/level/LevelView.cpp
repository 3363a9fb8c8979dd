#include "level/LevelView.h"

#include "level/Level.h"
#include "render/Screen.h"

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
    level->mulBySimpleLighting(entityLayer, ox, oy);
    screen->merge(entityLayer);
    level->drawIcds(screen, ox, oy);
}

void LevelView::drawFrontLayer(Level* level, int ox, int oy)
{
    level->drawFront(frontLayer, ox, oy);
    level->mulBySimpleLighting(frontLayer, ox, oy);
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
