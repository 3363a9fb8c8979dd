#include "cutscene/Movie.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "platform/Platform.h"
#include "player/Player.h"

#include <cmath>

namespace {

// Frames between two fading steps.
const int fadeFrames = 4;
// A brightness goal counts as reached this close.
const double luminanceTolerance = 0.001;
// A movement to x ends this close (the last step may still be taken).
const int reachX = 3;
// A wait for y ends this close.
const int reachY = 10;
const int notStarted = -1;

} // namespace

Movie::Movie() : clock(ticks) {}

Movie::~Movie()
{
    for (MOVIE_SEQUENCE* s : sequences)
        delete s;
}

MOVIE_SEQUENCE* Movie::append(int type, int lasting)
{
    MOVIE_SEQUENCE* s = new MOVIE_SEQUENCE;
    s->type = type;
    s->lasting = lasting;
    sequences.push_back(s);
    count = static_cast<int>(sequences.size());
    return s;
}

void Movie::addInstantAction(int code)
{
    append(code, 0);
}

void Movie::addMovementX(int x)
{
    append(codeMoveX, 1)->arg0 = x;
}

void Movie::addMovementY(int y)
{
    append(codeWaitY, 1)->arg0 = y;
}

void Movie::addText(const char* message, int seconds, int colour)
{
    MOVIE_SEQUENCE* s = append(codeMessage, 0);
    s->arg0 = seconds;
    s->arg1 = colour;
    boundedCopy(s->text, sizeof s->text, message);
    addWaiter(seconds * 1000);
}

void Movie::addWaiter(int milliseconds)
{
    MOVIE_SEQUENCE* s = append(codeWait, 1);
    s->arg0 = milliseconds;
    s->arg1 = notStarted;
}

void Movie::addElementModifier(const char* element, const char* tile, int dx, int dy, int steps)
{
    MOVIE_SEQUENCE* s = append(codeElementAnim, 1);
    s->arg0 = steps;
    s->arg1 = dx;
    s->arg2 = dy;
    boundedCopy(s->text, sizeof s->text, element);
    boundedCopy(s->text2, sizeof s->text2, tile);
}

void Movie::addElementPlay(const char* element, float speed)
{
    MOVIE_SEQUENCE* s = append(codeElementPlay, 0);
    boundedCopy(s->text, sizeof s->text, element);
    s->farg = speed;
}

void Movie::addLuminanceGoal(float goal)
{
    MOVIE_SEQUENCE* s = append(codeLuminanceGoal, 1);
    s->arg1 = 0;
    s->farg = goal;
}

void Movie::addFocus(int x, int y)
{
    MOVIE_SEQUENCE* s = append(codeFocusPoint, 1);
    s->arg0 = focusFrames;
    s->arg1 = x;
    s->arg2 = y;
}

void Movie::addFocus(const char* element)
{
    MOVIE_SEQUENCE* s = append(codeFocusElement, 1);
    s->arg0 = focusFrames;
    boundedCopy(s->text, sizeof s->text, element);
}

void Movie::addLevelChange(const char* levelFile, int x, int y)
{
    MOVIE_SEQUENCE* s = append(codeChangeLevel, 0);
    s->arg1 = x;
    s->arg2 = y;
    boundedCopy(s->text, sizeof s->text, levelFile);
}

void Movie::addHidePlayer()
{
    append(codeHidePlayer, 0);
}

void Movie::addCameraMove(int a, int b, int steps)
{
    MOVIE_SEQUENCE* s = append(codeCameraMove, 1);
    s->arg0 = steps;
    s->arg1 = a;
    s->arg2 = b;
}

void Movie::addHideEntity(const char* element)
{
    boundedCopy(append(codeHideEntity, 0)->text, sizeof(MOVIE_SEQUENCE::text), element);
}

void Movie::reset()
{
    for (MOVIE_SEQUENCE* s : sequences)
        delete s;
    sequences.clear();
    count = 0;
    // The outputs pointed into the deleted actions.
    text = noText;
    text2 = noText;
}

void Movie::rewind()
{
    cursor = 0;
}

void Movie::update(Player* player, float brightness)
{
    if (player) {
        playerX = player->state.x;
        playerY = player->state.y;
        playerOldX = player->state.oldX;
        playerOldY = player->state.oldY;
    }
    luminance = brightness;
}

int Movie::readAction()
{
    if (cursor < 0 || cursor >= count)
        return codeEnd;
    MOVIE_SEQUENCE* s = sequences[cursor];
    if (s->lasting == 0)
        return readInstant(s);
    if (s->lasting == 1)
        return readLasting(s);
    return codeNothing;
}

int Movie::readInstant(MOVIE_SEQUENCE* s)
{
    switch (s->type) {
    case codeMessage:
        text = s->text;
        value1 = s->arg0;
        value2 = s->arg1;
        break;
    case codeElementPlay:
        text = s->text;
        fvalue1 = s->farg;
        break;
    case codeChangeLevel:
        text = s->text;
        value1 = s->arg1;
        value2 = s->arg2;
        break;
    case codeHideEntity:
        text = s->text;
        break;
    default:
        break;
    }
    next();
    return s->type;
}

int Movie::readLasting(MOVIE_SEQUENCE* s)
{
    switch (s->type) {
    case codeMoveX: {
        int d = s->arg0 - playerX;
        if (-reachX < d && d < reachX)
            next();
        return d < 0 ? codeLeft : d > 0 ? codeRight : codeNothing;
    }
    case codeWaitY: {
        int d = s->arg0 - playerY;
        if (-reachY < d && d < reachY)
            next();
        return codeNothing;
    }
    case codeWait:
        return readWait(s);
    case codeCameraMove:
        return takeFrame(s) ? codeCameraUp : codeNothing;
    case codeElementAnim:
        // When the steps are used up the action ends by handing out its
        // step once more.
        takeFrame(s);
        text = s->text;
        text2 = s->text2;
        value1 = s->arg1;
        value2 = s->arg2;
        return codeElementAnim;
    case codeFocusPoint:
        if (!takeFrame(s))
            return codeNothing;
        value1 = s->arg1;
        value2 = s->arg2;
        return codeFocusPoint;
    case codeFocusElement:
        if (!takeFrame(s))
            return codeNothing;
        text = s->text;
        return codeFocusElement;
    case codeLuminanceGoal:
        return readLuminanceGoal(s);
    default:
        return codeNothing;
    }
}

bool Movie::takeFrame(MOVIE_SEQUENCE* s)
{
    if (s->arg0 < 1) {
        next();
        return false;
    }
    --s->arg0;
    return true;
}

int Movie::readWait(MOVIE_SEQUENCE* s)
{
    unsigned time = now();
    if (s->arg1 == notStarted)
        s->arg1 = static_cast<int>(time);
    // Unsigned difference: the wait ends correctly across the wrap of the clock.
    if (time - static_cast<unsigned>(s->arg1) > static_cast<unsigned>(s->arg0))
        next();
    return codeNothing;
}

int Movie::readLuminanceGoal(MOVIE_SEQUENCE* s)
{
    double goal = s->farg;
    if (std::fabs(goal - static_cast<double>(luminance)) < luminanceTolerance) {
        next();
        // The world snaps the brightness to an exact goal of 0 or 1.
        if (goal == 1.0)
            return codeBright;
        if (goal == 0.0)
            return codeBlack;
        return codeNothing;
    }
    if (++s->arg1 < fadeFrames)
        return codeNothing;
    s->arg1 = 0;
    return luminance < s->farg ? codeBrighten : codeDarken;
}

void Movie::killWaiter()
{
    if (cursor >= 0 && cursor < count && sequences[cursor]->type == codeWait)
        next();
}

void Movie::useOwnClock()
{
    ownTime = clock();
    ownClock = true;
}

void Movie::saveInLog() const
{
    for (const MOVIE_SEQUENCE* s : sequences)
        logPrint(s->type);
}
