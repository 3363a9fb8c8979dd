#include "cutscene/Movie.h"

#include "cutscene/MovieClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Plays a scene the way the world does, one read per frame of 33 ms: the
// brightness follows the fading codes, the steering codes move the player
// 2 pixels, he falls 4 pixels a frame to the floor at y 327, and rises 3
// pixels a frame once he flies. Returns the frames
// read until the end, or -1 when the scene has not ended after ten minutes.
struct ScenePlay {
    Movie movie;
    std::vector<int> codes;
    float luminance = 1.0f;
    int x = 0;
    int y = 0;
    bool flying = false;
    const int floorY = 327;

    explicit ScenePlay(int n)
    {
        MovieClock::now = 5000;
        movie.clock = MovieClock::read;
        movie.loadPreset(n);
        movie.rewind();
    }
    int frame()
    {
        int code = movie.readAction();
        codes.push_back(code);
        switch (code) {
        case Movie::codeLeft: x -= 2; break;
        case Movie::codeRight: x += 2; break;
        case Movie::codeBlack: luminance = 0.0f; break;
        case Movie::codeBright: luminance = 1.0f; break;
        case Movie::codeBrighten: luminance += 0.05f; break;
        case Movie::codeDarken: luminance -= 0.05f; break;
        case Movie::codeFly: flying = true; break;
        default: break;
        }
        if (flying)
            y -= 3;
        else if (y < floorY)
            y = std::min(y + 4, floorY);
        MovieClock::now += 33;
        movie.playerX = x;
        movie.playerY = y;
        movie.luminance = luminance;
        return code;
    }
    int playToEnd()
    {
        for (int frames = 1; frames < 30 * 600; frames++)
            if (frame() == Movie::codeEnd)
                return frames;
        return -1;
    }
    bool sent(int code) const { return std::find(codes.begin(), codes.end(), code) != codes.end(); }
};

TEST(MovieScenes, EveryScenePlaysToItsEndAndOnlyTheEndingsFinishTheGame)
{
    for (int n = 1; n <= 10; n++) {
        ScenePlay play(n);
        EXPECT_GT(play.playToEnd(), 0) << "scene " << n;
        EXPECT_EQ(n == 8 || n == 9, play.sent(Movie::codeFinished)) << "scene " << n;
        // Every scene that hides the HUD shows it again, unless it ends the game.
        if (play.sent(Movie::codeHideHud) && n != 8 && n != 9) {
            EXPECT_TRUE(play.sent(Movie::codeShowHud)) << "scene " << n;
        }
    }
}

TEST(MovieScenes, TheJumpHintHoldsControlFiveSeconds)
{
    ScenePlay held(2);
    unsigned start = MovieClock::now;
    ASSERT_EQ(Movie::codeMessage, held.frame());
    EXPECT_EQ(5, held.movie.getValue1());
    // The line names the jump key through the message box's escape, so a
    // player who bound jump elsewhere reads his own key.
    EXPECT_STREQ("You can jump over that hole with the '%032' key.", held.movie.getText());
    held.playToEnd();
    unsigned lasted = MovieClock::now - start;
    EXPECT_GE(lasted, 5000u);
    EXPECT_LT(lasted, 5000u + 4 * 33) << "the line, the wait and the end take a frame each";
}

TEST(MovieScenes, ASceneStartedDuringAnotherReplacesIt)
{
    ScenePlay play(1);
    for (int i = 0; i < 12; i++)
        play.frame();
    ASSERT_STREQ("What time is it ?", play.movie.getText());

    play.movie.loadPreset(4);
    play.movie.rewind();
    EXPECT_STREQ("", play.movie.getText()) << "no text of the old scene is handed out";
    Movie fresh;
    fresh.loadPreset(4);
    EXPECT_EQ(fresh.count, play.movie.count) << "nothing of the old scene is left";
    EXPECT_EQ(Movie::codeHideHud, play.frame());
    EXPECT_EQ(Movie::codeFocusPoint, play.frame());
    EXPECT_EQ(470, play.movie.getValue1());
    EXPECT_EQ(30, play.movie.getValue2());
}

} // namespace
