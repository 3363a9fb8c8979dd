// Playing a sheet: advancing and wrapping inside a sequence, handing out
// each frame's movement once, and drawing the shown frame.

#include "assets/Animation.h"
#include "assets/AnimationControler.h"
#include "render/Screen.h"

#include "TileFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// Eight 1 x 1 frames; frame f moves (f + 1, 10 * f) and its pixel is
// palette digit f (colour 0xFF000000 + f). Sequences: "stand" 0..3, "walk" 4..7.
class AnimationControlerTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string text = "1 1 8 2\nstand 0 3\nwalk 4 7\n";
        for (int d = 0; d < 10; d++)
            text += std::to_string(int(0xFF000000u) + d) + "\n";
        for (int f = 0; f < 8; f++)
            text += std::to_string(f + 1) + " " + std::to_string(10 * f) + "\n0 " + std::to_string(f) + "\n" +
                    std::to_string(f) + "\n";
        std::string path = tempPath("controler.txt");
        std::ofstream(path) << text;
        ASSERT_EQ(anim.loadFromFile2(path.c_str()), 1);
    }

    // After an update: the x offset handed out now, 0 when none.
    int updateAndMove()
    {
        c.update();
        int dx, dy;
        c.moveCoords(&dx, &dy);
        return dx;
    }

    void startWalking(float speed, float at)
    {
        c.setSeqByName("walk");
        c.play(speed);
        c.frame = at;
        int dx, dy;
        c.moveCoords(&dx, &dy);
    }

    Animation anim;
    AnimationControler c{&anim};
};

} // namespace

TEST_F(AnimationControlerTest, HalfSpeedHandsOutAnOffsetOnlyWhenTheFrameChanges)
{
    startWalking(0.5f, 4.0f);
    // Frame 5's offset, once, then frame 6's.
    const int moves[] = {0, 6, 0, 7};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(updateAndMove(), moves[i]) << i;
        EXPECT_FLOAT_EQ(c.getFrame(), 4.5f + 0.5f * float(i));
    }
}

TEST_F(AnimationControlerTest, BackwardsWrapsToTheLastFrameNegatingTheOffsetAndForwardsToTheFirstExactly)
{
    startWalking(-1.0f, 4.0f);
    c.update();
    EXPECT_FLOAT_EQ(c.getFrame(), 7.9f);
    int dx, dy;
    c.moveCoords(&dx, &dy);
    EXPECT_EQ(dx, -8);
    EXPECT_EQ(dy, -70);
    c.update();
    EXPECT_EQ(c.shownFrame(), 6) << "7.9 - 1 shows frame 6";

    // Forwards past the end: back to the first frame exactly.
    startWalking(0.7f, 7.5f);
    EXPECT_EQ(updateAndMove(), 5) << "frame 4 moves 5";
    EXPECT_EQ(c.getFrame(), 4.0f);
}

TEST_F(AnimationControlerTest, ChangingSequenceKeepsTheFrameUntilTheNextUpdate)
{
    c.frame = 6.5f;
    c.setSeqByName("stand");
    EXPECT_FLOAT_EQ(c.getFrame(), 6.5f);
    c.play(0.1f);
    c.update();
    EXPECT_FLOAT_EQ(c.getFrame(), 0.0f) << "6.6 is past the end of 0..3";
    c.setSeqByName("walk");
    c.setToStart();
    EXPECT_FLOAT_EQ(c.getFrame(), 4.0f);
    c.setSeqByName("no such sequence");
    EXPECT_EQ(c.seq, 0);
}

TEST_F(AnimationControlerTest, FirstOffsetIsHandedOutAtOnceAndLightFollowsTheShownFrame)
{
    int dx, dy;
    c.moveCoords(&dx, &dy);
    EXPECT_EQ(dx, 1) << "a new controller counts as moved";
    c.moveCoords(&dx, &dy);
    EXPECT_EQ(dx, 0);
    c.frame = 3.9f;
    int lx, ly;
    c.lightCoords(&lx, &ly);
    EXPECT_EQ(ly, 3);
}

TEST_F(AnimationControlerTest, DrawsTheShownFrameMaskedOrWhitened)
{
    Screen s(2, 1, 1);
    c.frame = 2.7f;
    c.draw(0, 0, 0, &s);
    EXPECT_EQ(s.getPixel(0, 0), int(0xFF000002u));
    c.draw(1, 0, 0, &s, int(0xFFFFFF00u));
    EXPECT_EQ(s.getPixel(1, 0), int(0xFF000000u));
    c.draw(0, 0, 0, &s, 0.0f, 1.0f);
    EXPECT_EQ(s.getPixel(0, 0), int(0xFFFFFFFFu)) << "white 1.0 ORs in every channel but alpha";
}

TEST(AnimationControler, WithoutAnAnimationDoesNothing)
{
    AnimationControler c;
    c.play(1.0f);
    c.setSeqByName("walk");
    c.setToStart();
    c.update();
    int dx = 9, dy = 9;
    c.moveCoords(&dx, &dy);
    EXPECT_EQ(dx | dy, 0);
    Screen s(2, 2, 1);
    c.draw(0, 0, 0, &s);
    EXPECT_EQ(s.getPixel(0, 0), 0);
}
