// The player's character sheet as the data build makes it: the sequences
// the player code asks for, movement offsets that give the intended speeds
// at the play speeds the player code uses, and a lamp inside every frame.

#include "assets/Animation.h"
#include "assets/AnimationControler.h"
#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const char* const sequenceNames[] = {"idle", "idle_t", "walk", "walk_t", "run", "run_t",
                                     "fall", "fall_t", "duck", "push", "climb", "fly"};

class CharacterSheet : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(anim.loadFromFile2((std::string(GLOAMER_GAME_DIR) + "/character.dat").c_str()), 1);
    }

    int find(const std::string& name) const
    {
        for (int s = 0; s < anim.getSeqCount(); s++)
            if (name == anim.getSeqName(s))
                return s;
        return -1;
    }

    // Average movement per update over many updates of a sequence played
    // at `speed`, as the player code takes it: once per change of frame.
    void averageMove(const char* name, float speed, float* perUpdateX, float* perUpdateY)
    {
        AnimationControler c(&anim);
        c.setSeqByName(name);
        c.setToStart();
        c.play(speed);
        const int updates = 2000;
        long sumX = 0, sumY = 0;
        for (int i = 0; i < updates; i++) {
            c.update();
            int dx, dy;
            c.moveCoords(&dx, &dy);
            sumX += dx;
            sumY += dy;
        }
        *perUpdateX = float(sumX) / updates;
        *perUpdateY = float(sumY) / updates;
    }

    Animation anim;
};

} // namespace

TEST_F(CharacterSheet, HasEverySequenceThePlayerAsksFor)
{
    for (const char* name : sequenceNames) {
        int s = find(name);
        ASSERT_GE(s, 0) << name;
        EXPECT_LE(anim.getSeqBegin(s), anim.getSeqEnd(s)) << name;
    }
}

TEST_F(CharacterSheet, OffsetsGiveTheIntendedSpeeds)
{
    float x, y;
    const struct {
        const char* name;
        float speed, x, tolerance;
    } ground[] = {{"walk", 0.35f, 1.0f, 0.1f}, {"walk_t", 0.35f, 1.0f, 0.1f}, {"run", 0.7f, 2.0f, 0.15f},
                  {"run_t", 0.7f, 2.0f, 0.15f}, {"duck", 0.7f, 0.5f, 0.1f}};
    for (const auto& g : ground) {
        averageMove(g.name, g.speed, &x, &y);
        EXPECT_NEAR(x, g.x, g.tolerance) << g.name;
        EXPECT_EQ(y, 0.0f) << g.name;
    }
    averageMove("push", 0.35f, &x, &y);
    EXPECT_GE(x, 1.0f) << "keeps up with a block pushed 1 pixel per update";
    EXPECT_LE(x, 1.2f);
    averageMove("climb", 0.5f, &x, &y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_NEAR(y, -1.0f, 0.1f) << "up the ladder";
    averageMove("climb", -0.5f, &x, &y);
    EXPECT_NEAR(y, 1.0f, 0.1f) << "down the ladder, played backwards";
}

TEST_F(CharacterSheet, LampIsHeldInsideTheFrame)
{
    for (int f = 0; f < anim.getFrameCount(); f++) {
        int x, y;
        anim.lightCoords(&x, &y, f);
        EXPECT_TRUE(x >= 0 && y >= 0 && x < anim.getWidth() && y < anim.getHeight()) << "frame " << f;
    }
}

TEST(ArtgenCharacter, RefusesAFaultyPoseFileWithoutWritingASheet)
{
    std::string dir = testing::TempDir();
    std::string poses = dir + "faulty.poses", sheet = dir + "faulty.dat", preview = dir + "faulty.png";
    std::remove(sheet.c_str());
    const char* faults[] = {
        "size 21 24\nsequence walk_t like walk lamp 50 45\nframe 0 0 0 0 0 0 0 0 0 0 0 0 0\n",
        "size 21 24\nsequence walk side\nframe 0 0 0 0\n",
        "size 21 24\nsequence walk side\n",
        "size 21 24\nsequence walk sideways\nframe 0 0 0 0 0 0 0 0 0 0 0 0 0\n",
    };
    for (const char* text : faults) {
        std::ofstream(poses) << text;
        EXPECT_NE(runTool("artgen", "--character " + poses + " " + sheet + " " + preview).status, 0) << text;
        EXPECT_FALSE(std::ifstream(sheet).good()) << text;
    }
}
