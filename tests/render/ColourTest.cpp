#include "render/Screen.h"

#include <gtest/gtest.h>

TEST(Colour, ChannelsAndPacking)
{
    int c = int(0x80FF4020);
    EXPECT_EQ(Screen::getAlpha(c), 0x80);
    EXPECT_EQ(Screen::getRed(c), 0xFF);
    EXPECT_EQ(Screen::getGreen(c), 0x40);
    EXPECT_EQ(Screen::getBlue(c), 0x20);
    EXPECT_EQ(unsigned(Screen::getColor(300, -5, 128, 255)), 0xFFFF0080u);
}
