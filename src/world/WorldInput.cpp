#include "world/World.h"

#include "audio/Control.h"
#include "base/Log.h"
#include "cutscene/Movie.h"
#include "level/Level.h"
#include "player/Player.h"

#include <climits>

namespace {

const int pauseKey = SDLK_p;

// Codes a cutscene script hands the world, one per frame.
enum MovieCode {
    MovieWalk = 0,
    MovieRun = 1,
    MovieLeft = 2,
    MovieRight = 3,
    MovieTorchOn = 4,
    MovieTorchOff = 5,
    MovieJump = 6,
    MovieMessage = 11,
    MovieEnd = 13,
    MovieElementAnim = 14,
    MovieElementPlay = 15,
    MovieBlack = 16,
    MovieBright = 17,
    MovieFadeIn = 19,
    MovieFadeOut = 20,
    MovieShowHud = 21,
    MovieHideHud = 22,
    MovieFollowPoint = 23,
    MovieFollowElement = 24,
    MovieChangeLevel = 25,
    MovieHidePlayer = 26,
    MovieCameraUp = 28,
    MovieEnding = 29,
    MovieFinished = 30,
    MovieFly = 31,
    MovieHideEntity = 32
};

bool held(int* keys, int slot)
{
    return World::keyState(keys, getControl(slot)) != 0;
}

} // namespace

int World::keyState(int* keys, int key)
{
    return key >= 0 && key < 512 ? keys[key] : 0;
}

void World::input1(SDL_Event event, Typo* typo, Screen* screen)
{
    pressKey(event.key.keysym.sym, typo, screen);
}

void World::pressKey(int key, Typo* typo, Screen* screen)
{
    if (key == pauseKey && gameOver.stage == StageNone)
        pause();
    // The action key closes a message and skips a scene's wait even while
    // the scene drives the player.
    bool hadMessage = false;
    if (key == getControl(controlAction)) {
        hadMessage = level->messageExist();
        level->terminateMessage();
        if (movie)
            movie->killWaiter();
    }
    if (!control || paused)
        return;
    if (key == getControl(controlAction)) {
        DOOR* door = player->action(level, hadMessage);
        if (door)
            nextLevel(door, typo, screen);
    } else if (key == getControl(controlReveal)) {
        player->reveal(level);
    } else if (key == getControl(controlThrowCoin)) {
        player->throwCoin(level);
    } else if (key == getControl(controlShowMap)) {
        player->toggleMap();
    }
}

void World::input2(int* keys, Typo* typo, Screen* screen)
{
    if (paused)
        return;
    if (control) {
        steerPlayer(keys);
        return;
    }
    if (moviePlaying && movie)
        applyMovieCode(movie->readAction(), typo, screen);
}

void World::steerPlayer(int* keys)
{
    // Crouching lasts only while the down key asks for it again.
    player->setCrawl(level, false);
    if (!held(keys, controlJump))
        player->jumpReleased = true;
    // Running is the default; the reveal key walks while held.
    if (held(keys, controlReveal))
        player->setWalk();
    else
        player->setRun();
    if (held(keys, controlUp))
        player->up(level);
    if (held(keys, controlDown))
        player->down(level);
    if (held(keys, controlRight))
        player->right();
    if (held(keys, controlLeft))
        player->left();
    if (held(keys, controlLookUp))
        player->viewUp();
    if (held(keys, controlLookDown))
        player->viewDown();
    if (held(keys, controlLookRight))
        player->viewRight();
    if (held(keys, controlLookLeft))
        player->viewLeft();
    if (held(keys, controlJump))
        player->jump();
}

void World::applyMovieCode(int code, Typo* typo, Screen* screen)
{
    switch (code) {
    case MovieWalk: player->setWalk(); break;
    case MovieRun: player->setRun(); break;
    case MovieLeft: player->left(); break;
    case MovieRight: player->right(); break;
    case MovieTorchOn: player->torchOn(); break;
    case MovieTorchOff: player->torchOff(); break;
    case MovieJump: player->jump(); break;
    case MovieMessage: level->createMessage(movie->getText(), movie->getValue1(), movie->getValue2()); break;
    case MovieEnd:
        delete movie;
        movie = nullptr;
        moviePlaying = false;
        control = true;
        break;
    case MovieElementAnim:
        level->setElementAnim(movie->getText(), movie->getText2(), movie->getValue1(), movie->getValue2(), tiles);
        break;
    case MovieElementPlay: level->setElementPlay(movie->getText(), movie->getFValue1()); break;
    case MovieBlack: luminance = 0.0f; break;
    case MovieBright: luminance = 1.0f; break;
    case MovieFadeIn: luminance += 0.05f; break;
    case MovieFadeOut: luminance -= 0.05f; break;
    case MovieShowHud: hudVisible = true; break;
    case MovieHideHud: hudVisible = false; break;
    case MovieFollowPoint: follow(movie->getValue1(), movie->getValue2(), screen); break;
    case MovieFollowElement: followElement(movie->getText(), screen); break;
    case MovieChangeLevel:
        logPrint("movie_level_change\n");
        changeLevel(movie->getText(), movie->getValue1(), movie->getValue2(), typo, screen);
        break;
    case MovieHidePlayer: player->visible = false; break;
    case MovieCameraUp: camY -= 1; break;
    case MovieEnding: gameOver.stage = StageEnding; break;
    case MovieFinished: gameOver.stage = StageFinished; break;
    case MovieFly: player->flying = true; break;
    case MovieHideEntity: level->hideEntity(movie->getText()); break;
    default: break;
    }
}

void World::followElement(char* name, Screen* screen)
{
    // An element the room does not hold leaves the camera where it is.
    const int nowhere = INT_MIN;
    int x = nowhere, y = nowhere;
    level->getElementPosition(name, &x, &y);
    if (x != nowhere)
        follow(x, y, screen);
}
