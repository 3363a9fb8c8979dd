#include "world/World.h"

#include "audio/Sound.h"
#include "cutscene/Movie.h"
#include "level/Level.h"
#include "render/Screen.h"
#include "level/Text.h"

namespace {

// A scene that has not ended after ten minutes of frames is left to play on.
const int skipFrameLimit = 30 * 600;
const int hintColour = int(0xFFA0A0A0u);
const int hintMargin = 3;
// "%101" names the key bound to the action.
const char* const hintText = "hold %101 to skip";

} // namespace

bool World::skipAsked(bool actionHeld)
{
    sceneFrames++;
    skipHeld = actionHeld ? skipHeld + 1 : 0;
    return skipHeld >= skipHoldFrames;
}

void World::skipScene(Typo* typo, Screen* screen)
{
    level->terminateMessage();
    movie->useOwnClock();
    const bool lighting = lightThisFrame;
    lightThisFrame = false;
    holdEffects(true);
    // The frames the scene would have run, each as the frame runs it: one
    // code of the script, then the world's update; the last one's update is
    // the frame's own. A scene that a trigger starts meanwhile plays.
    sceneFrames = skipHoldFrames;
    for (int frame = 0; frame < skipFrameLimit; frame++) {
        int code = movie->readAction();
        if (code != Movie::codeMessage)
            applyMovieCode(code, typo, screen);
        if (!moviePlaying || gameOver.stage == StageFinished || paused)
            break;
        update(screen);
        if (sceneFrames == 0 || paused)
            break;
        movie->passTime(unsigned(frameTime));
    }
    holdEffects(false);
    lightThisFrame = lighting;
    skipHeld = 0;
}

void World::drawSkipHint(Screen* screen)
{
    if (!moviePlaying || sceneFrames >= skipHintFrames || gameOver.stage != StageNone)
        return;
    Text hint;
    hint.formatMessage(hintText);
    int width = smallTypo.lineAdvance(hint.message);
    int height = smallTypo.print(hint.message, 0, 0, screen->width, -1, hintColour, nullptr);
    smallTypo.print(hint.message, screen->width - width - hintMargin, screen->height - height - hintMargin,
                    screen->width, -1, hintColour, screen);
}
