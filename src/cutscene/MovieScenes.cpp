// The ten built-in scenes, each a table of the actions it appends.

#include "cutscene/Movie.h"

#include <cstddef>

namespace {

// One row of a scene: which adder to call and its arguments.
struct SceneStep {
    enum Adder { Instant, MovementX, MovementY, Text, Waiter, ElementModifier, LuminanceGoal, Focus, LevelChange,
                 HideEntity };
    Adder adder;
    const char* text;
    const char* text2;
    int a;
    int b;
    int c;
    float f;
};

constexpr SceneStep code(int c) { return {SceneStep::Instant, nullptr, nullptr, c, 0, 0, 0.0f}; }
constexpr SceneStep movementX(int x) { return {SceneStep::MovementX, nullptr, nullptr, x, 0, 0, 0.0f}; }
constexpr SceneStep movementY(int y) { return {SceneStep::MovementY, nullptr, nullptr, y, 0, 0, 0.0f}; }
constexpr SceneStep text(const char* line, int seconds, unsigned colour)
{
    return {SceneStep::Text, line, nullptr, seconds, static_cast<int>(colour), 0, 0.0f};
}
constexpr SceneStep waiter(int ms) { return {SceneStep::Waiter, nullptr, nullptr, ms, 0, 0, 0.0f}; }
constexpr SceneStep elementModifier(const char* element, const char* tile, int dx, int dy, int steps)
{
    return {SceneStep::ElementModifier, element, tile, dx, dy, steps, 0.0f};
}
constexpr SceneStep luminanceGoal(float goal) { return {SceneStep::LuminanceGoal, nullptr, nullptr, 0, 0, 0, goal}; }
constexpr SceneStep focus(int x, int y) { return {SceneStep::Focus, nullptr, nullptr, x, y, 0, 0.0f}; }
constexpr SceneStep levelChange(const char* file, int x, int y)
{
    return {SceneStep::LevelChange, file, nullptr, x, y, 0, 0.0f};
}
constexpr SceneStep hideEntity(const char* element) { return {SceneStep::HideEntity, element, nullptr, 0, 0, 0, 0.0f}; }

// Message colours: the player's own lines, the cat's, and the other people's.
const unsigned playerColour = 0xFFFFFFFF;
const unsigned catColour = 0xFEBC5400;
const unsigned yellow = 0xFFFFFF00;
const unsigned magenta = 0xFFFF00FF;
const unsigned cyan = 0xFF00FFFF;
const unsigned green = 0xFF00FF00;

const SceneStep wakingInTheCatacombs[] = {
    code(Movie::codeHideHud), code(Movie::codeTorchOff), code(Movie::codeRun),
    elementModifier("element074", "void.til", 0, 0, 1),
    text("What time is it ?", 2, playerColour),
    text("Shit! I'm late !!!", 2, playerColour),
    movementX(198),
    movementY(327),
    code(Movie::codeBlack),
    waiter(1000),
    text("OUTCH !", 1, playerColour),
    waiter(2000),
    elementModifier("element074", "cat01.anm", 0, 0, 1),
    luminanceGoal(1.0f),
    code(Movie::codeWalk), waiter(1000),
    code(Movie::codeLeft), waiter(1000),
    code(Movie::codeRight), waiter(1000),
    text("Where the fuck am I?", 3, playerColour),
    text("Welcome to the catacombs young man.", 5, catColour),
    code(Movie::codeLeft),
    text("Who said that ?", 3, playerColour),
    text("You can call me Mister Cat.", 5, catColour),
    text("...", 2, playerColour),
    text("Do I have your attention?", 4, catColour),
    text("My head hurts...", 3, playerColour),
    text("You have to focus if you want to leave this place.", 5, catColour),
    text("Just follow my advices. I will guide you to the exit.", 5, catColour),
    text("Use the arrow keys to walk.", 3, catColour),
    text("You can switch between walk and run with the 'A' key...", 5, catColour),
    text("...And enter a door with the 'E' key.", 4, catColour),
    text("Just go right, I will join you later.", 3, catColour),
    elementModifier("element074", "cat02.anm", 0, 0, 18),
    // The cat walks away to the left, then disappears.
    elementModifier("element074", "cat03.anm", -1, 0, 100),
    elementModifier("element074", "void.til", 0, 0, 1),
    text("Well...Ok...", 3, playerColour),
    waiter(1000),
    code(Movie::codeShowHud),
};

const SceneStep jumpHint[] = {
    // The jump key as bound now ("%032" names it), not the default's name.
    text("You can jump over that hole with the '%032' key.", 5, catColour),
};

const SceneStep opening[] = {
    code(Movie::codeBlack), code(Movie::codeHideHud), code(Movie::codeTorchOff), code(Movie::codeRun),
    waiter(1000),
    text("In the subway, late at night...", 2, playerColour),
    waiter(2000),
    luminanceGoal(1.0f), waiter(2000), luminanceGoal(0.0f),
    levelChange("metro2.lvl", 165, 34),
    text("A few hours later.", 2, playerColour),
    waiter(2000),
    luminanceGoal(1.0f),
    code(Movie::codeShowHud),
};

const SceneStep theWayOut[] = {
    code(Movie::codeHideHud),
    focus(470, 30),
    text("What are you doing here ?", 2, yellow),
    text("Did you fall asleep ?", 2, yellow),
    text("Anyway, don't take the main exit, they might notice you and you will be in trouble.", 8, yellow),
    text("Take the door on your right, there is another exit that way.", 8, yellow),
    text("Follow the flyers you find on the ground, they will guide you...in a way...", 8, yellow),
    code(Movie::codeShowHud),
};

const SceneStep thePainter[] = {
    code(Movie::codeHideHud),
    text("It's you again.", 2, yellow),
    text("Are you lost or something ?", 3, yellow),
    text("Lucky for you there are signs that will guide you to the exit.", 7, yellow),
    text("What I paint is invisible to most of the people.", 5, yellow),
    text("If you want to reveal the secrets, take a candle.", 5, yellow),
    code(Movie::codeShowHud),
};

const SceneStep theLostDog[] = {
    code(Movie::codeHideHud),
    text("Have you seen my dog ?", 4, magenta),
    text("I lost him again.", 4, magenta),
    text("If you see him, please be careful.", 5, magenta),
    text("Try to find a miner's light, he don't like its sound, that will scare him.", 8, magenta),
    code(Movie::codeShowHud),
};

const SceneStep aFall[] = {
    code(Movie::codeBlack), code(Movie::codeHideHud), code(Movie::codeTorchOff),
    text("Outch...", 2, playerColour),
    waiter(2000),
    levelChange("fall02.lvl", 131, 279),
    luminanceGoal(1.0f),
    code(Movie::codeShowHud),
};

const SceneStep endingByCar[] = {
    code(Movie::codeHideHud),
    text("Finally ! You are here !", 2, cyan),
    text("We were waiting for you.", 2, cyan),
    text("Relax, we will drive you home.", 2, cyan),
    luminanceGoal(0.0f),
    levelChange("end04.lvl", 150, 196),
    code(Movie::codeHidePlayer), code(Movie::codeTorchOff),
    luminanceGoal(1.0f),
    // The car drives off to the right.
    elementModifier("police_car", "car01.til", 5, 0, 100),
    luminanceGoal(0.0f),
    waiter(2000),
    code(Movie::codeFinished),
};

const SceneStep endingByBalloon[] = {
    code(Movie::codeHideHud), code(Movie::codeTorchOff), code(Movie::codeRun),
    movementX(370),
    text("Take a balloon.", 2, magenta),
    text("It's the shortest way to go outside.", 2, magenta),
    code(Movie::codeFly),
    hideEntity("balloon"),
    // Waits until the flying player has risen out of the room.
    movementY(-200),
    luminanceGoal(0.0f),
    waiter(2000),
    code(Movie::codeFinished),
};

const SceneStep theKey[] = {
    code(Movie::codeHideHud),
    text("You look lost.", 3, green),
    text("It's not the right way to the exit.", 5, green),
    text("Let me guess...you're looking for keys.", 8, green),
    text("There is one here.", 3, green),
    text("Go on, Take it ! I don't need it, I never leave this place.", 10, green),
    code(Movie::codeShowHud),
};

template <std::size_t N>
void appendScene(Movie& movie, const SceneStep (&scene)[N])
{
    for (const SceneStep& s : scene) {
        switch (s.adder) {
        case SceneStep::Instant: movie.addInstantAction(s.a); break;
        case SceneStep::MovementX: movie.addMovementX(s.a); break;
        case SceneStep::MovementY: movie.addMovementY(s.a); break;
        case SceneStep::Text: movie.addText(s.text, s.a, s.b); break;
        case SceneStep::Waiter: movie.addWaiter(s.a); break;
        case SceneStep::ElementModifier: movie.addElementModifier(s.text, s.text2, s.a, s.b, s.c); break;
        case SceneStep::LuminanceGoal: movie.addLuminanceGoal(s.f); break;
        case SceneStep::Focus: movie.addFocus(s.a, s.b); break;
        case SceneStep::LevelChange: movie.addLevelChange(s.text, s.a, s.b); break;
        case SceneStep::HideEntity: movie.addHideEntity(s.text); break;
        }
    }
}

} // namespace

void Movie::preset1() { appendScene(*this, wakingInTheCatacombs); }
void Movie::preset2() { appendScene(*this, jumpHint); }
void Movie::preset3() { appendScene(*this, opening); }
void Movie::preset4() { appendScene(*this, theWayOut); }
void Movie::preset5() { appendScene(*this, thePainter); }
void Movie::preset6() { appendScene(*this, theLostDog); }
void Movie::preset7() { appendScene(*this, aFall); }
void Movie::preset8() { appendScene(*this, endingByCar); }
void Movie::preset9() { appendScene(*this, endingByBalloon); }
void Movie::preset10() { appendScene(*this, theKey); }

void Movie::loadPreset(int n)
{
    reset();
    switch (n) {
    case 1: preset1(); break;
    case 2: preset2(); break;
    case 3: preset3(); break;
    case 4: preset4(); break;
    case 5: preset5(); break;
    case 6: preset6(); break;
    case 7: preset7(); break;
    case 8: preset8(); break;
    case 9: preset9(); break;
    case 10: preset10(); break;
    default: break;
    }
}
