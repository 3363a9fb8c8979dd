#include "cutscene/Movie.h"

#include "cutscene/MovieClock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const int white = static_cast<int>(0xFFFFFFFFu);

struct MovieTest : ::testing::Test {
    Movie movie;
    void SetUp() override
    {
        MovieClock::now = 1000;
        movie.clock = MovieClock::read;
    }
    // Reads until the code changes; returns how many reads gave `code`.
    int readWhile(int code)
    {
        int n = 0;
        while (movie.readAction() == code)
            ++n;
        return n;
    }
};

TEST_F(MovieTest, AnEmptyScriptEndsAtOnceAndStaysEnded)
{
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
    movie.loadPreset(11);
    EXPECT_EQ(0, movie.count);
    movie.killWaiter();
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
}

TEST_F(MovieTest, ALineIsShownCutToItsFieldThenTheScriptWaitsItsSeconds)
{
    movie.addText((std::string("Hello there") + std::string(600, 'x')).c_str(), 2, white);
    ASSERT_EQ(2, movie.count);
    EXPECT_EQ(Movie::codeMessage, movie.readAction());
    EXPECT_EQ("Hello there" + std::string(244, 'x'), movie.getText());
    EXPECT_EQ(2, movie.getValue1());
    EXPECT_EQ(white, movie.getValue2());

    EXPECT_EQ(Movie::codeNothing, movie.readAction()); // the wait starts now
    MovieClock::now += 2000;
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(1, movie.cursor);
    MovieClock::now += 1;
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
}

TEST_F(MovieTest, TheActionKeyEndsAWaitButNothingElse)
{
    movie.addMovementX(500);
    movie.addWaiter(60000);
    movie.addInstantAction(Movie::codeShowHud);

    movie.killWaiter();
    EXPECT_EQ(0, movie.cursor) << "a movement is not a wait";
    movie.playerX = 500;
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    movie.killWaiter();
    EXPECT_EQ(Movie::codeShowHud, movie.readAction());
    movie.killWaiter(); // past the end: nothing to skip, nothing read out of bounds
    EXPECT_EQ(Movie::codeEnd, movie.readAction());

    // A wait that opens the script ends alike.
    Movie opening;
    opening.clock = MovieClock::read;
    opening.addWaiter(60000);
    opening.killWaiter();
    EXPECT_EQ(Movie::codeEnd, opening.readAction());
}

TEST_F(MovieTest, AWaitEndsWhenTheClockWrapsAround)
{
    MovieClock::now = 0xFFFFFF00u;
    movie.addWaiter(1000);
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    MovieClock::now += 500; // past the wrap, 500 ms into the wait
    movie.readAction();
    EXPECT_EQ(0, movie.cursor);
    MovieClock::now += 501;
    movie.readAction();
    EXPECT_EQ(1, movie.cursor);
}

TEST_F(MovieTest, AMovementStepsTowardsItsGoalUntilTwoPixelsAwayAndEndsAtOnceWhereThePlayerStands)
{
    movie.addMovementX(110);
    movie.addMovementX(100);
    movie.playerX = 100;
    int steps = 0;
    int code;
    while ((code = movie.readAction()) == Movie::codeRight) {
        ++steps;
        movie.playerX += 1;
    }
    // 100 to 108 steps right; within two pixels the last step is still taken.
    EXPECT_EQ(9, steps);
    EXPECT_EQ(109, movie.playerX);
    EXPECT_EQ(Movie::codeLeft, code);
    EXPECT_EQ(1, movie.cursor);

    movie.playerX = 102;
    EXPECT_EQ(Movie::codeLeft, movie.readAction());
    EXPECT_EQ(2, movie.cursor);

    // A movement where the player stands ends at once.
    movie.addMovementX(40);
    movie.playerX = 40;
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
}

TEST_F(MovieTest, AWaitForAHeightIssuesNoMovement)
{
    movie.addMovementY(-200);
    movie.playerY = 100;
    for (; movie.playerY > -191; movie.playerY -= 5) {
        ASSERT_EQ(Movie::codeNothing, movie.readAction());
        ASSERT_EQ(0, movie.cursor) << "at y " << movie.playerY;
    }
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(1, movie.cursor);

    // Coming from above, ten pixels short is not there yet either.
    movie.addMovementY(-200);
    movie.playerY = -210;
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(1, movie.cursor);
    movie.playerY = -209;
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(2, movie.cursor);
}

TEST_F(MovieTest, ABrightnessGoalAlreadyReachedSnapsAndOtherwiseFadesEveryFourthFrame)
{
    movie.addLuminanceGoal(1.0f);
    movie.addLuminanceGoal(0.0f);
    movie.addLuminanceGoal(0.5f);
    movie.luminance = 1.0f;
    EXPECT_EQ(Movie::codeBright, movie.readAction());
    movie.luminance = 0.0f;
    EXPECT_EQ(Movie::codeBlack, movie.readAction());
    movie.luminance = 0.5f;
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(Movie::codeEnd, movie.readAction());

    // Not reached yet, a fade steps every fourth frame until the goal.
    movie.addLuminanceGoal(1.0f);
    movie.addLuminanceGoal(0.0f);
    movie.luminance = 0.0f;
    int frames = 0, steps = 0;
    int code;
    // The world's part: each code changes the brightness.
    while ((code = movie.readAction()) != Movie::codeBright) {
        ++frames;
        ASSERT_LT(frames, 200);
        if (code == Movie::codeBrighten) {
            ASSERT_EQ(0, frames % 4);
            movie.luminance += 0.05f;
            ++steps;
        } else {
            ASSERT_EQ(Movie::codeNothing, code);
        }
    }
    EXPECT_EQ(20, steps);
    EXPECT_EQ(80, frames);

    movie.luminance = 1.0f;
    steps = 0;
    while ((code = movie.readAction()) != Movie::codeBlack) {
        ASSERT_LT(steps, 30);
        if (code == Movie::codeDarken) {
            movie.luminance -= 0.05f;
            ++steps;
        }
    }
    EXPECT_EQ(20, steps);
}

TEST_F(MovieTest, AnElementModifierHandsOutItsLastStepOnceMore)
{
    movie.addElementModifier("cat", "walk.anm", -1, 2, 100);
    int dx = 0, dy = 0, calls = 0;
    while (movie.readAction() == Movie::codeElementAnim) {
        ++calls;
        EXPECT_STREQ("cat", movie.getText());
        EXPECT_STREQ("walk.anm", movie.getText2());
        dx += movie.getValue1();
        dy += movie.getValue2();
    }
    EXPECT_EQ(101, calls);
    EXPECT_EQ(-101, dx);
    EXPECT_EQ(202, dy);
}

TEST_F(MovieTest, AFocusHoldsTheCameraFiftyFrames)
{
    movie.addFocus(470, 30);
    movie.addFocus("lamp");
    for (int i = 0; i < Movie::focusFrames; i++) {
        ASSERT_EQ(Movie::codeFocusPoint, movie.readAction());
        ASSERT_EQ(470, movie.getValue1());
        ASSERT_EQ(30, movie.getValue2());
    }
    EXPECT_EQ(Movie::codeNothing, movie.readAction());
    EXPECT_EQ(Movie::codeFocusElement, movie.readAction());
    EXPECT_STREQ("lamp", movie.getText());
    EXPECT_EQ(49, readWhile(Movie::codeFocusElement));
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
}

TEST_F(MovieTest, InstantActionsCarryTheirOutputs)
{
    movie.addLevelChange("metro2.lvl", 165, 34);
    movie.addElementPlay("fan", 0.25f);
    movie.addHideEntity("balloon");
    movie.addHidePlayer();
    movie.addInstantAction(99);
    movie.addCameraMove(7, 8, 3);

    EXPECT_EQ(Movie::codeChangeLevel, movie.readAction());
    EXPECT_STREQ("metro2.lvl", movie.getText());
    EXPECT_EQ(165, movie.getValue1());
    EXPECT_EQ(34, movie.getValue2());
    EXPECT_EQ(Movie::codeElementPlay, movie.readAction());
    EXPECT_STREQ("fan", movie.getText());
    EXPECT_FLOAT_EQ(0.25f, movie.getFValue1());
    EXPECT_EQ(Movie::codeHideEntity, movie.readAction());
    EXPECT_STREQ("balloon", movie.getText());
    EXPECT_EQ(Movie::codeHidePlayer, movie.readAction());
    EXPECT_EQ(99, movie.readAction()) << "an unknown instant code is handed to the world as it is";
    EXPECT_EQ(3, readWhile(Movie::codeCameraUp));
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
}

TEST_F(MovieTest, AReadScriptIsBuiltAgainNotJustRewound)
{
    movie.addText("Once", 1, white);
    movie.readAction();
    movie.readAction();
    MovieClock::now += 5000;
    movie.readAction();
    EXPECT_EQ(Movie::codeEnd, movie.readAction());

    // The wait kept its start time: rewound, it is over at once.
    movie.rewind();
    EXPECT_EQ(Movie::codeMessage, movie.readAction());
    movie.readAction();
    EXPECT_EQ(Movie::codeEnd, movie.readAction());
}

} // namespace
