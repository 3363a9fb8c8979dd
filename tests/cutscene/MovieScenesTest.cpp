#include "cutscene/Movie.h"

#include "cutscene/MovieClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Script = std::vector<std::string>;

bool isLasting(int type)
{
    switch (type) {
    case 7: case 8: case 12: case 14: case 18: case 23: case 24: case 27: return true;
    default: return false;
    }
}

// The script as adder calls, one line each: a message and the wait of its
// seconds that follows it read as one line, as the scenes are written.
Script describe(const Movie& movie)
{
    Script lines;
    char line[600];
    for (int i = 0; i < movie.count; i++) {
        const MOVIE_SEQUENCE* s = movie.sequences[i];
        switch (s->type) {
        case 7: std::snprintf(line, sizeof line, "moveX %d", s->arg0); break;
        case 8: std::snprintf(line, sizeof line, "moveY %d", s->arg0); break;
        case 11:
            std::snprintf(line, sizeof line, "text \"%s\" %d %08X", s->text, s->arg0, unsigned(s->arg1));
            if (i + 1 < movie.count && movie.sequences[i + 1]->type == 12 &&
                movie.sequences[i + 1]->arg0 == s->arg0 * 1000)
                ++i;
            else
                std::snprintf(line, sizeof line, "text without its wait");
            break;
        case 12: std::snprintf(line, sizeof line, "wait %d", s->arg0); break;
        case 14:
            std::snprintf(line, sizeof line, "element %s %s %d %d %d", s->text, s->text2, s->arg1, s->arg2, s->arg0);
            break;
        case 18: std::snprintf(line, sizeof line, "goal %.2f", s->farg); break;
        case 23: std::snprintf(line, sizeof line, "focus %d %d", s->arg1, s->arg2); break;
        case 25: std::snprintf(line, sizeof line, "level %s %d %d", s->text, s->arg1, s->arg2); break;
        case 32: std::snprintf(line, sizeof line, "hide %s", s->text); break;
        default: std::snprintf(line, sizeof line, "code %d", s->type); break;
        }
        if (s->lasting != (isLasting(s->type) ? 1 : 0))
            lines.push_back(std::string("wrong lasting flag: ") + line);
        else
            lines.push_back(line);
    }
    return lines;
}

Script scene(int n)
{
    Movie movie;
    movie.loadPreset(n);
    return describe(movie);
}

const char* cat = "FEBC5400";

std::string say(const char* text, int seconds, const char* colour = "FFFFFFFF")
{
    return "text \"" + std::string(text) + "\" " + std::to_string(seconds) + " " + colour;
}

TEST(MovieScenes, TheCatacombsWakingReadsLineForLine)
{
    Script expected = {
        "code 22", "code 5", "code 1",
        "element element074 void.til 0 0 1",
        say("What time is it ?", 2), say("Shit! I'm late !!!", 2),
        "moveX 198", "moveY 327",
        "code 16", "wait 1000", say("OUTCH !", 1), "wait 2000",
        "element element074 cat01.anm 0 0 1", "goal 1.00",
        "code 0", "wait 1000", "code 2", "wait 1000", "code 3", "wait 1000",
        say("Where the fuck am I?", 3), say("Welcome to the catacombs young man.", 5, cat),
        "code 2",
        say("Who said that ?", 3), say("You can call me Mister Cat.", 5, cat), say("...", 2),
        say("Do I have your attention?", 4, cat), say("My head hurts...", 3),
        say("You have to focus if you want to leave this place.", 5, cat),
        say("Just follow my advices. I will guide you to the exit.", 5, cat),
        say("Use the arrow keys to walk.", 3, cat),
        say("You can switch between walk and run with the 'A' key...", 5, cat),
        say("...And enter a door with the 'E' key.", 4, cat),
        say("Just go right, I will join you later.", 3, cat),
        "element element074 cat02.anm 0 0 18", "element element074 cat03.anm -1 0 100",
        "element element074 void.til 0 0 1",
        say("Well...Ok...", 3), "wait 1000", "code 21",
    };
    EXPECT_EQ(expected, scene(1));
}

TEST(MovieScenes, TheHintsAndTheOpeningReadLineForLine)
{
    // The message box writes the jump key bound now for "%032".
    EXPECT_EQ(Script({say("You can jump over that hole with the '%032' key.", 5, cat)}), scene(2));

    Script opening = {
        "code 16", "code 22", "code 5", "code 1",
        "wait 1000", say("In the subway, late at night...", 2), "wait 2000",
        "goal 1.00", "wait 2000", "goal 0.00",
        "level metro2.lvl 165 34",
        say("A few hours later.", 2), "wait 2000", "goal 1.00", "code 21",
    };
    EXPECT_EQ(opening, scene(3));

    Script fall = {
        "code 16", "code 22", "code 5", say("Outch...", 2), "wait 2000",
        "level fall02.lvl 131 279", "goal 1.00", "code 21",
    };
    EXPECT_EQ(fall, scene(7));
}

TEST(MovieScenes, TheConversationsReadLineForLine)
{
    const char* yellow = "FFFFFF00";
    Script wayOut = {
        "code 22", "focus 470 30",
        say("What are you doing here ?", 2, yellow), say("Did you fall asleep ?", 2, yellow),
        say("Anyway, don't take the main exit, they might notice you and you will be in trouble.", 8, yellow),
        say("Take the door on your right, there is another exit that way.", 8, yellow),
        say("Follow the flyers you find on the ground, they will guide you...in a way...", 8, yellow),
        "code 21",
    };
    EXPECT_EQ(wayOut, scene(4));

    Script painter = {
        "code 22", say("It's you again.", 2, yellow), say("Are you lost or something ?", 3, yellow),
        say("Lucky for you there are signs that will guide you to the exit.", 7, yellow),
        say("What I paint is invisible to most of the people.", 5, yellow),
        say("If you want to reveal the secrets, take a candle.", 5, yellow), "code 21",
    };
    EXPECT_EQ(painter, scene(5));

    const char* magenta = "FFFF00FF";
    Script dog = {
        "code 22", say("Have you seen my dog ?", 4, magenta), say("I lost him again.", 4, magenta),
        say("If you see him, please be careful.", 5, magenta),
        say("Try to find a miner's light, he don't like its sound, that will scare him.", 8, magenta), "code 21",
    };
    EXPECT_EQ(dog, scene(6));

    const char* green = "FF00FF00";
    Script key = {
        "code 22", say("You look lost.", 3, green), say("It's not the right way to the exit.", 5, green),
        say("Let me guess...you're looking for keys.", 8, green), say("There is one here.", 3, green),
        say("Go on, Take it ! I don't need it, I never leave this place.", 10, green), "code 21",
    };
    EXPECT_EQ(key, scene(10));
}

TEST(MovieScenes, TheEndingsReadLineForLine)
{
    const char* cyan = "FF00FFFF";
    Script car = {
        "code 22", say("Finally ! You are here !", 2, cyan), say("We were waiting for you.", 2, cyan),
        say("Relax, we will drive you home.", 2, cyan),
        "goal 0.00", "level end04.lvl 150 196", "code 26", "code 5", "goal 1.00",
        "element police_car car01.til 5 0 100", "goal 0.00", "wait 2000", "code 30",
    };
    EXPECT_EQ(car, scene(8));

    const char* magenta = "FFFF00FF";
    Script balloon = {
        "code 22", "code 5", "code 1", "moveX 370",
        say("Take a balloon.", 2, magenta), say("It's the shortest way to go outside.", 2, magenta),
        "code 31", "hide balloon", "moveY -200", "goal 0.00", "wait 2000", "code 30",
    };
    EXPECT_EQ(balloon, scene(9));
}

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
    bool sent(int code) const
    {
        for (int c : codes)
            if (c == code)
                return true;
        return false;
    }
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

TEST(MovieScenes, TheJumpHintHoldsControlFiveSecondsUnlessTheActionKeyEndsIt)
{
    ScenePlay held(2);
    unsigned start = MovieClock::now;
    ASSERT_EQ(Movie::codeMessage, held.frame());
    EXPECT_EQ(5, held.movie.getValue1());
    held.playToEnd();
    unsigned lasted = MovieClock::now - start;
    EXPECT_GE(lasted, 5000u);
    EXPECT_LT(lasted, 5000u + 4 * 33) << "the line, the wait and the end take a frame each";

    ScenePlay skipped(2);
    ASSERT_EQ(Movie::codeMessage, skipped.frame());
    EXPECT_EQ(Movie::codeNothing, skipped.frame());
    skipped.movie.killWaiter();
    EXPECT_EQ(Movie::codeEnd, skipped.frame());
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
    EXPECT_EQ(scene(4), describe(play.movie));
    EXPECT_EQ(Movie::codeHideHud, play.frame());
    EXPECT_EQ(Movie::codeFocusPoint, play.frame());
    EXPECT_EQ(470, play.movie.getValue1());
    EXPECT_EQ(30, play.movie.getValue2());
}

} // namespace
