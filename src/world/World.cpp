#include "world/World.h"

#include "base/BoundedString.h"
#include "level/Level.h"
#include "platform/Platform.h"
#include "render/Screen.h"

World::~World()
{
    delete frontLayer;
    delete entityLayer;
}

void World::initLayer(Screen* screen)
{
    frontLayer = new Screen(screen->width, screen->height, 3);
    entityLayer = new Screen(screen->width, screen->height, 3);
}

void World::init(Typo*, Screen*, char* slot)
{
    boundedCopy(slotFile, sizeof slotFile, slot);
    gameOver.stage = 0;
    gameOver.luminance = 1.0f;
}

void World::initContinue(Typo* typo, Screen* screen, char* slot)
{
    init(typo, screen, slot);
}

void World::pause(bool on) { paused = on; }
void World::input1(SDL_Event, Typo*, Screen*) {}
void World::input2(int*, Typo*, Screen*) {}
void World::update(Screen*) {}
void World::draw(Screen*) {}
void World::loadStateBinary(char*, Typo*, Screen*) {}
void World::stopLighting()
{
    stopLightingWorker();
}

void World::setFps(float fps)
{
    frameTime = int(1000.0 / fps);
}

void World::sync()
{
    waitForFrame(lastTicks, frameTime);
}
