#include "render/Screen.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
unsigned u(int c) { return unsigned(c); }
} // namespace

TEST(Colour, ChannelsPackingClampsAndAddingSaturatesEveryChannel)
{
    int c = int(0x80FF4020);
    EXPECT_EQ((std::vector<int>{Screen::getAlpha(c), Screen::getRed(c), Screen::getGreen(c), Screen::getBlue(c)}),
              (std::vector<int>{0x80, 0xFF, 0x40, 0x20}));
    EXPECT_EQ(u(Screen::getColor(300, -5, 128, 255)), 0xFFFF0080u);
    EXPECT_EQ(u(Screen::getColor(0, 0, 0, 999)), 0xFF000000u);
    EXPECT_EQ(u(Screen::colorAdd(int(0x80F01020), int(0x90201010))), 0xFFFF2030u) << "alpha included";
}

TEST(Colour, MultiplicationsTruncate)
{
    // 255 * 0.5 = 127.5 truncates to 127 on every channel, alpha included.
    EXPECT_EQ(u(Screen::colorMul(int(0xFFFF0101), 0.5f)), 0x7F7F0000u);
    EXPECT_EQ(u(Screen::colorMul(int(0xFF808080), 3.0f)), 0xFFFFFFFFu);
    EXPECT_EQ(u(Screen::colorMul_exA(int(0x40FF8002), 0.5f)), 0x407F4001u);
    int grey = int(0x7F0A1410);
    Screen::desaturate(&grey);
    EXPECT_EQ(u(grey), 0x7F0F0F0Fu); // (10 + 20 + 16) / 3 = 15 in integers
}

TEST(Colour, BlendOverOpaqueBlack)
{
    Screen s(2, 2, 1);
    s.clear(int(0xFF000000));
    s.addPixel(0, 0, int(0x80FF0000));
    EXPECT_EQ(u(s.getPixel(0, 0)), 0xBE800000u);
    s.addPixel(1, 0, 0x00FFFFFF);
    EXPECT_EQ(u(s.getPixel(1, 0)), 0xFF000000u) << "alpha 0 leaves the pixel";
    s.addPixel(1, 1, int(0xFF123456));
    EXPECT_EQ(u(s.getPixel(1, 1)), 0xFF123456u) << "alpha 255 replaces it";
}
