#include "level/Element.h"
#include "level/LevelFixtures.h"
#include "render/Screen.h"

#include <gtest/gtest.h>

#include <vector>

// A still picture makes a still element, an animation a running one.
TEST(ElementTest, ConstructionSetsTheSpeedAndAnimationWrapsBothWays)
{
    auto one = solidTile(2, 2);
    Element e(one.get());
    EXPECT_EQ(e.speed, 0.0f);
    e.speed = 1.0f;
    for (int i = 0; i < 3; i++) {
        e.update();
        EXPECT_EQ(e.currentFrame(), 0);
    }

    auto four = solidTile(2, 2, int(0xFF808080u), 5, 4);
    Element back(four.get());
    EXPECT_EQ(back.speed, 1.0f);
    back.speed = -1.0f;
    std::vector<int> frames;
    for (int i = 0; i < 4; i++) {
        back.update();
        frames.push_back(back.currentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{3, 2, 1, 0}));

    Element half(four.get());
    half.speed = 0.5f;
    half.update();
    EXPECT_EQ(half.currentFrame(), 0);
    half.update();
    EXPECT_EQ(half.currentFrame(), 1);
}

TEST(ElementTest, CountdownActivatesOnItsLastUpdate)
{
    Element e;
    e.countdown = 10;
    for (int i = 1; i < 10; i++) {
        e.update();
        ASSERT_FALSE(e.active) << "update " << i;
    }
    e.update();
    EXPECT_TRUE(e.active);
    EXPECT_EQ(e.countdown, -1);

    // Only a countdown that runs down to 0 switches the element on: one
    // spent (-1) or never set keeps it as it is.
    for (int start : {0, -5, -1}) {
        Element idle;
        idle.countdown = start;
        for (int i = 0; i < 3; i++)
            idle.update();
        EXPECT_FALSE(idle.active) << "countdown " << start;
        EXPECT_EQ(idle.countdown, start) << "countdown " << start;
    }
}

TEST(ElementTest, PixelQueriesReadTheCurrentFrame)
{
    auto tile = filledTile(4, 3, 2, TILE_PIXEL{int(0xFF102030u), 3, 0.25f});
    tile->frames[1].data[1 * 3 + 2] = TILE_PIXEL{int(0x80FFFFFFu), 6, 0.75f};
    Element e(tile.get());
    e.depth = 2;
    EXPECT_EQ(e.getDepth(1, 2), 5);
    e.frame = 1.9f;
    EXPECT_EQ(unsigned(e.getColor(1, 2)), 0x80FFFFFFu);
    EXPECT_EQ(e.getDepth(1, 2), 8);
    EXPECT_FLOAT_EQ(e.getIncandescence(1, 2), 0.75f);
    EXPECT_EQ(e.getColor(4, 0), 0);
}

TEST(ElementTest, HiddenAndInvisibleElementsDraw)
{
    auto tile = solidTile(2, 2, int(0xFFFF0000u));
    Screen s(8, 8, 1);
    Element e(tile.get());
    e.x = 3;
    e.y = 3;

    e.visible = false;
    s.clear(int(0xFF000000u));
    e.draw(1, 1, &s);
    EXPECT_EQ(unsigned(s.getPixel(4, 4)), 0xFF000000u);
    // The alpha-scaled draw shows a hidden element.
    e.draw(1, 1, &s, 1.0f);
    EXPECT_EQ(unsigned(s.getPixel(4, 4)), 0xFFFF0000u);

    e.visible = true;
    e.kind = Element::Invisible;
    s.clear(int(0xFF000000u));
    e.draw(0, 0, &s);
    e.draw(0, 0, &s, 1.0f);
    EXPECT_EQ(unsigned(s.getPixel(3, 3)), 0xFF000000u);

    e.kind = Element::Decor;
    e.draw(0, 0, &s);
    EXPECT_EQ(unsigned(s.getPixel(3, 3)), 0xFFFF0000u);
    EXPECT_EQ(unsigned(s.getPixel(2, 2)), 0xFF000000u);
}
