#include "world/World.h"

#include "audio/Control.h"
#include "base/Log.h"
#include "cutscene/Movie.h"
#include "level/Level.h"
#include "player/Player.h"
#include "player/PlayerCommands.h"

#include <climits>

namespace {

const int pauseKey = SDLK_p;

bool held(int* keys, int slot)
{
    return World::keyState(keys, getControl(slot)) != 0;
}

// The player's commands held down on the keys bound to them; the reveal
// key walks while held.
PLAYER_COMMANDS heldCommands(int* keys)
{
    PLAYER_COMMANDS c;
    c.walk = held(keys, controlReveal);
    c.up = held(keys, controlUp);
    c.down = held(keys, controlDown);
    c.right = held(keys, controlRight);
    c.left = held(keys, controlLeft);
    c.viewUp = held(keys, controlLookUp);
    c.viewDown = held(keys, controlLookDown);
    c.viewRight = held(keys, controlLookRight);
    c.viewLeft = held(keys, controlLookLeft);
    c.jump = held(keys, controlJump);
    return c;
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
    if (!moviePlaying || !movie)
        return;
    if (skipAsked(held(keys, controlAction)))
        skipScene(typo, screen);
    else
        applyMovieCode(movie->readAction(), typo, screen);
}

void World::steerPlayer(int* keys)
{
    holdCommands(player, level, heldCommands(keys));
}

void World::applyMovieCode(int code, Typo* typo, Screen* screen)
{
    // The script acts on the player and the room itself; what is left
    // steers the world: brightness, HUD, camera, rooms and the end.
    if (movie->applyToRoom(code, player, level, tiles))
        return;
    switch (code) {
    case Movie::codeEnd:
        delete movie;
        movie = nullptr;
        moviePlaying = false;
        control = true;
        focusHeld = false;
        break;
    case Movie::codeBlack: luminance = 0.0f; break;
    case Movie::codeBright: luminance = 1.0f; break;
    case Movie::codeBrighten: luminance += 0.05f; break;
    case Movie::codeDarken: luminance -= 0.05f; break;
    case Movie::codeShowHud: hudVisible = true; break;
    case Movie::codeHideHud: hudVisible = false; break;
    case Movie::codeFocusPoint: holdFocus(movie->getValue1(), movie->getValue2()); break;
    case Movie::codeFocusElement: holdFocusOnElement(movie->getText()); break;
    case Movie::codeChangeLevel:
        logPrint("movie_level_change\n");
        changeLevel(movie->getText(), movie->getValue1(), movie->getValue2(), typo, screen);
        break;
    case Movie::codeCameraUp: camY -= 1; break;
    case Movie::codeEnding: gameOver.stage = StageEnding; break;
    case Movie::codeFinished: gameOver.stage = StageFinished; break;
    default: break;
    }
}

void World::holdFocus(int x, int y)
{
    focusHeld = true;
    focusX = x;
    focusY = y;
}

void World::holdFocusOnElement(char* name)
{
    // An element the room does not hold changes nothing.
    const int nowhere = INT_MIN;
    int x = nowhere, y = nowhere;
    level->getElementPosition(name, &x, &y);
    if (x != nowhere)
        holdFocus(x, y);
}
