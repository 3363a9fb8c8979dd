#include "world/World.h"

#include "assets/TileList.h"
#include "base/BoundedString.h"
#include "base/LevelPath.h"
#include "base/Log.h"
#include "cutscene/Movie.h"
#include "level/Element.h"
#include "level/Level.h"
#include "level/LevelView.h"
#include "level/LightingWorker.h"
#include "map/Map.h"
#include "platform/Platform.h"
#include "player/Player.h"
#include "render/Screen.h"
#include "ui/Hud.h"

#include <cstdio>
#include <cstring>

World::World() : clock(ticks) {}

World::~World()
{
    // The lighting worker has been stopped by then (stopLighting).
    delete view;
    delete movie;
    delete level;
    delete hud;
    delete player;
    delete tiles;
}

int World::loadContent()
{
    tiles = new TileList("./tiles.dat", true);
    gameOver.candle.load("./tiles.dat", "candle01.anm");
    smallTypo.load("typo_small.dat");
    player = new Player;
    int sheetRead = player->loadContent(".");
    hud = new Hud;
    hud->load("./tiles.dat");
    level = new Level;
    movie = new Movie;
    movie->preset3();
    return sheetRead;
}

void World::initLayer(Screen* screen)
{
    delete view;
    view = new LevelView(screen->width, screen->height);
}

void World::beginGame()
{
    gameOver.stage = StageNone;
    gameOver.luminance = 1.0f;
    *notice = '\0';
    player->init();
}

int World::init(Typo* typo, Screen* screen, char* slot)
{
    boundedCopy(slotFile, sizeof slotFile, slot);
    beginGame();
    char begin[256];
    boundedCopy(begin, sizeof begin, beginFile);
    if (!loadStateBinary(begin, typo, screen))
        return 0;
    // Stored at once, so that a death before the first door has a place to
    // return to.
    saveStateBinary(slotFile);
    player->setMapObjsGet();
    // The previous game's scene may have ended and taken its script along.
    if (!movie)
        movie = new Movie;
    movie->clock = clock;
    movie->reset();
    movie->preset3();
    movie->rewind();
    moviePlaying = true;
    control = false;
    sceneFrames = 0;
    skipHeld = 0;
    hudVisible = false;
    luminance = 0.0f;
    threadStarted = true;
    return 1;
}

int World::initContinue(Typo* typo, Screen* screen, char* slot)
{
    boundedCopy(slotFile, sizeof slotFile, slot);
    beginGame();
    if (!loadStateBinary(slotFile, typo, screen))
        return 0;
    player->setMapObjsGet();
    hudVisible = true;
    luminance = 1.0f;
    threadStarted = true;
    moviePlaying = false;
    control = true;
    return 1;
}

void World::startAt(const char* levelFile, int x, int y, Typo* typo, Screen* screen)
{
    beginGame();
    player->setMapObjsGet();
    delete movie;
    movie = nullptr;
    moviePlaying = false;
    control = true;
    hudVisible = true;
    luminance = 1.0f;
    paused = false;
    died = false;
    char path[256];
    levelPathOf(levelFile, path, sizeof path);
    Level* next = readLevel(path, typo, screen);
    if (!next)
        return;
    enterLevel(next);
    // Twice, so that the previous position is in this room as well.
    player->setPosition(x, y);
    player->setPosition(x, y);
    settleInLevel(path, true, screen);
    saveStateBinary(slotFile);
}

void World::update(Screen* screen)
{
    frameCount++;
    // Without a room (no game begun, or its start state missing) nothing moves.
    if (!level->map)
        return;
    noticeFailedSave();
    showNotice();
    if (!paused) {
        if (level->thrown >= int(level->actives.size()))
            level->thrown = -1;
        aimCamera(screen);
        level->update(frameCount);
        level->copyLight(&player->sharedLight, player->light);
        lightingWorker().setRegion(camX, camY, screen->width, screen->height);
        if (lightOnMainThread && lightThisFrame)
            level->computeLighting(camX, camY, screen->width, screen->height, lightingMargin);
        player->update(level, frameCount);
        int scene = player->getMovie(level);
        if (scene >= 0)
            startMovie(scene);
        if (movie)
            movie->update(player, luminance);
        hud->update(screen, player);
        checkDeath();
    }
    // The camera keeps easing onto the dead player while the world is frozen.
    if (gameOver.stage != StageNone)
        follow(player->state.x + player->getAnimWidth() / 2, player->state.y, screen);
}

void World::aimCamera(Screen* screen)
{
    if (moviePlaying) {
        if (focusHeld)
            follow(focusX, focusY, screen);
        else
            follow2(int(player->state.x + player->viewX), int(player->state.y + player->viewY), screen);
        return;
    }
    if (level->thrown != -1) {
        Element* followed = level->actives[level->thrown];
        follow(followed->x, followed->y, screen);
        return;
    }
    // Look ahead where the player faces, and below him when he falls fast.
    int aheadX = player->state.way == 1 ? -20 : 20;
    int aheadY = player->state.dy > 3.0f ? int(player->state.dy * 10) : 0;
    follow(int(player->state.x + player->viewX + aheadX), int(player->state.y + player->viewY + aheadY), screen);
}

void World::startMovie(int scene)
{
    delete movie;
    movie = new Movie;
    movie->clock = clock;
    movie->loadPreset(scene);
    movie->rewind();
    moviePlaying = true;
    control = false;
    sceneFrames = 0;
    skipHeld = 0;
    focusHeld = false;
}

void World::checkDeath()
{
    if (player->state.life >= 1)
        return;
    died = true;
    pause(true);
    gameOver.stage = StageDied;
}

void World::pause()
{
    pause(!paused);
}

void World::pause(bool on)
{
    // The flag changes first when pausing and last when resuming, so the
    // world is never running while its worker is told to idle.
    if (on) {
        paused = true;
        lightingWorker().setControl(LightingPaused);
    } else {
        lightingWorker().setControl(LightingRun);
        paused = false;
    }
}

void World::nextLevel(DOOR* door, Typo* typo, Screen* screen)
{
    char path[256];
    levelPathOf(door->destination, path, sizeof path);
    // The door belongs to the room that is left and deleted below.
    char target[sizeof door->target];
    boundedCopy(target, sizeof target, door->target);
    if (std::strcmp(path, level->getName()) == 0) {
        player->setPositionAtElement(target, level);
        focus(player->state.x, player->state.y, screen);
        return;
    }
    Level* next = readLevel(path, typo, screen);
    if (!next) {
        logPrint("Cannot find :\n");
        logPrint(path);
        logPrint("\n");
        return;
    }
    if (level->checkpoint) {
        player->state.checkpointX = player->state.x;
        player->state.checkpointY = player->state.y;
        boundedCopy(player->state.checkpointLevel, sizeof player->state.checkpointLevel, level->getName());
    }
    player->addMemorySave(level);
    enterLevel(next);
    player->setPositionAtElement(target, level);
    settleInLevel(path, true, screen);
    saveStateBinary(slotFile);
}

void World::changeLevel(const char* levelFile, int x, int y, Typo* typo, Screen* screen)
{
    char path[256];
    levelPathOf(levelFile, path, sizeof path);
    Level* next = readLevel(path, typo, screen);
    if (!next)
        return;
    player->addMemorySave(level);
    enterLevel(next);
    player->setPosition(x, y);
    settleInLevel(path, true, screen);
}

Level* World::readLevel(const char* path, Typo* typo, Screen* screen)
{
    if (!levelFileExists(path))
        return nullptr;
    Level* next = new Level;
    if (!next->load(path, tiles, typo, screen)) {
        delete next;
        return nullptr;
    }
    return next;
}

void World::enterLevel(Level* next)
{
    lightingWorker().stop();
    delete level;
    level = next;
    level->addLight(&player->sharedLight);
    // A focus is a point of the room that is left.
    focusHeld = false;
}

void World::settleInLevel(const char* path, bool lampAndMap, Screen* screen)
{
    if (lampAndMap) {
        player->setLight();
        char name[256];
        boundedCopy(name, sizeof name, path);
        if (player->map)
            player->map->setCurrentCell(name);
    }
    player->deleteObjectsInLevel(level);
    player->setMemory(level);
    entranceX = player->state.x;
    entranceY = player->state.y;
    focus(player->state.x, player->state.y, screen);
    startWorker(screen);
}

void World::startWorker(Screen* screen)
{
    threadStarted = true;
    level->copyLight(&player->sharedLight, player->light);
    LightingWorker& worker = lightingWorker();
    worker.setRegion(camX, camY, screen->width, screen->height);
    if (lightOnMainThread)
        return;
    // The room is shown only once lit, so a change of room never flashes
    // an unlit picture.
    long long passes = worker.passes();
    worker.start(level);
    workerStarts++;
    level->faultInNextRecords(camX, camY, screen->width, screen->height, lightingMargin);
    worker.waitForPassAfter(passes);
    if (paused)
        worker.setControl(LightingPaused);
}

void World::stopLighting()
{
    lightingWorker().stop();
}
