#include "level/KindLine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(KindLineTest, WordsAreTakenWholeAndAfterAnyBlanks)
{
    const struct {
        const char* line;
        int kind;
    } lines[] = {{"switch box1 3", KindSwitch},       {"switch_light lamp", KindSwitchLight},
                 {"water_switched 1 2 3", KindWaterSwitched}, {"water", KindWater},
                 {"   \t door a.lvl b", KindDoor},     {"doorway", KindNone}, {"", KindNone},
                 {"light  spot FFFFFFFF 1 0 0 9 45 90", KindLightSpot}, {"light sun", KindLightUnknown},
                 {"light", KindLightUnknown},         {"light omnibus", KindLightUnknown}};
    for (const auto& l : lines)
        EXPECT_EQ(readKindLine(l.line).kind, l.kind) << l.line;
}

TEST(KindLineTest, ArgumentsAreReadInOrderUntilTheFirstThatFails)
{
    KIND_LINE spot = readKindLine("light spot 0xFF102030 0.5 -3 4 60 45 270 extra");
    EXPECT_TRUE(spot.complete());
    EXPECT_EQ(spot.arguments[0].colour, 0xFF102030u);
    EXPECT_FLOAT_EQ(spot.arguments[1].real, 0.5f);
    EXPECT_EQ(spot.arguments[2].number, -3);
    EXPECT_EQ(spot.arguments[6].number, 270);
    EXPECT_STREQ(spot.rest, " extra");
    EXPECT_FALSE(spot.whole(KindLightSpot));

    KIND_LINE locked = readKindLine("locked_key_door crypt.lvl stairs many");
    EXPECT_EQ(locked.wanted, 3);
    EXPECT_EQ(locked.read, 2);
    EXPECT_STREQ(locked.arguments[1].word, "stairs");
    EXPECT_EQ(locked.arguments[2].number, 0);

    // Out of range, not finite, or a colour wider than 32 bits: not read.
    EXPECT_EQ(readKindLine("cloud 99999999999").read, 0);
    EXPECT_EQ(readKindLine("light ambient FFFFFFFF nan").read, 1);
    EXPECT_EQ(readKindLine("light ambient 1FFFFFFFF 1").read, 0);
    EXPECT_EQ(readKindLine("light ambient -1 1").read, 0);

    KIND_LINE longName = readKindLine(("door " + std::string(300, 'a') + " b").c_str());
    EXPECT_EQ(std::strlen(longName.arguments[0].word), std::size_t(kindWordSize - 1));
    EXPECT_STREQ(longName.arguments[1].word, "b");

    EXPECT_TRUE(readKindLine(" ladder  ").whole(KindLadder));
    EXPECT_FALSE(readKindLine("ladder up").whole(KindLadder));
}

TEST(KindLineTest, EnemyAndBonusWordsAreWholeFirstWords)
{
    EXPECT_EQ(readEnnemy("ennemy unstable"), EnnemyUnstable);
    EXPECT_EQ(readEnnemy("  ennemy   pick"), EnnemyPick);
    EXPECT_EQ(readEnnemy("ennemy lava"), EnnemyNone);
    EXPECT_EQ(readEnnemy("ennemy"), EnnemyNone);
    EXPECT_EQ(readEnnemy("switch toxic 1"), EnnemyNone);

    struct {
        const char* text;
        int word;
        const char* rest;
    } bonuses[] = {
        {"  one_time", BonusWordOneTime, ""},
        {"sheet Gone down.", BonusWordSheet, "Gone down."},
        {"sheet", BonusWordSheet, ""},
        {"goldfish", BonusWordNone, ""},
        {"", BonusWordNone, ""},
    };
    for (const auto& b : bonuses) {
        BONUS_LINE line = readBonusLine(b.text);
        EXPECT_EQ(line.word, b.word) << b.text;
        if (b.word != BonusWordNone) {
            EXPECT_STREQ(line.rest, b.rest) << b.text;
        }
    }
    EXPECT_TRUE(readBonusLine("random").alone());
    EXPECT_FALSE(readBonusLine("random gold").alone());

    int scene = -1;
    EXPECT_TRUE(readBonusLine("movie 7").number(&scene));
    EXPECT_EQ(scene, 7);
    EXPECT_FALSE(readBonusLine("movie seven").number(&scene));
    EXPECT_EQ(scene, 7);
    for (int w = 0; w < bonusWordCount; w++)
        EXPECT_EQ(readBonusLine(bonusWordName(w)).word, w);
}
