#include "level/Light.h"

#include <gtest/gtest.h>

TEST(LightTest, FireAndRevealRing)
{
    Light fire;
    fire.createFire(12, 34);
    EXPECT_EQ(fire.type, Light::Omni);
    EXPECT_EQ(fire.style, Light::StyleFire);
    EXPECT_EQ(unsigned(fire.colour), 0xFFFFCC66u);
    EXPECT_FLOAT_EQ(fire.intensity, 1.0f);
    EXPECT_EQ(fire.x, 12);
    EXPECT_EQ(fire.y, 34);
    EXPECT_EQ(fire.radius, 70);
    EXPECT_FALSE(fire.attenuate);

    Light ring;
    ring.radius = 55;
    ring.createSpecial(int(0xFFFFFFFFu), 1.0f, 5, 6, 300);
    EXPECT_EQ(ring.type, Light::Special);
    EXPECT_EQ(ring.radius, 0);
    EXPECT_EQ(ring.aperture, 300);
    EXPECT_EQ(ring.direction, 20);
}

TEST(LightTest, LampStylesAndUnknownStyle)
{
    Light candle;
    candle.x = 99;
    candle.setStyle(1);
    EXPECT_EQ(candle.type, Light::Omni);
    EXPECT_EQ(candle.style, Light::StyleCandle);
    EXPECT_EQ(unsigned(candle.colour), 0xFFFFEE66u);
    EXPECT_EQ(candle.radius, 40);
    EXPECT_EQ(candle.x, 0);
    EXPECT_FALSE(candle.attenuate);

    Light torch;
    torch.setStyle(2);
    EXPECT_EQ(torch.type, Light::Spot);
    EXPECT_EQ(torch.style, Light::StyleElectric);
    EXPECT_EQ(unsigned(torch.colour), 0xFFFFFFFFu);
    EXPECT_EQ(torch.radius, 100);
    EXPECT_EQ(torch.aperture, 120);
    EXPECT_EQ(torch.direction, 0);

    Light aceto;
    aceto.setStyle(3);
    EXPECT_EQ(aceto.type, Light::Omni);
    EXPECT_EQ(aceto.style, Light::StyleAceto);
    EXPECT_EQ(unsigned(aceto.colour), 0xFFFFEE88u);
    EXPECT_EQ(aceto.radius, 80);

    // Any other style only clears the style.
    aceto.setStyle(7);
    EXPECT_EQ(aceto.style, Light::StyleNone);
    EXPECT_EQ(aceto.type, Light::Omni);
    EXPECT_EQ(unsigned(aceto.colour), 0xFFFFEE88u);
    EXPECT_EQ(aceto.radius, 80);
}

TEST(LightTest, FlickerStaysInItsStyleRange)
{
    Light candle, aceto, torch, fire, dark;
    candle.setStyle(1);
    aceto.setStyle(3);
    torch.setStyle(2);
    fire.createFire(0, 0);
    dark.setStyle(1);
    dark.intensity = 0;
    float candleLow = 1, candleHigh = 0, acetoLow = 1;
    for (int i = 0; i < 500; i++) {
        ASSERT_TRUE(candle.update());
        ASSERT_TRUE(aceto.update());
        ASSERT_TRUE(torch.update());
        ASSERT_TRUE(fire.update());
        ASSERT_TRUE(dark.update());
        ASSERT_GE(candle.intensity, 0.8f);
        ASSERT_LE(candle.intensity, 1.0f);
        ASSERT_GE(fire.intensity, 0.8f);
        ASSERT_LE(fire.intensity, 1.0f);
        ASSERT_GE(aceto.intensity, 0.9f);
        ASSERT_LE(aceto.intensity, 1.0f);
        ASSERT_FLOAT_EQ(torch.intensity, 1.0f);
        ASSERT_EQ(dark.intensity, 0.0f);
        candleLow = std::min(candleLow, candle.intensity);
        candleHigh = std::max(candleHigh, candle.intensity);
        acetoLow = std::min(acetoLow, aceto.intensity);
    }
    // The flicker really moves across its range.
    EXPECT_LT(candleLow, 0.82f);
    EXPECT_GT(candleHigh, 0.98f);
    EXPECT_LT(acetoLow, 0.91f);
}

TEST(LightTest, SpecialRingGrowsThirtyTimesThenEnds)
{
    Light ring;
    ring.createSpecial(int(0xFFFFFFFFu), 1.0f, 0, 0, 300);
    for (int i = 1; i <= 30; i++) {
        ASSERT_TRUE(ring.update()) << "update " << i;
        ASSERT_EQ(ring.radius, i * 10);
    }
    EXPECT_FALSE(ring.update());
    EXPECT_EQ(ring.radius, 310);
}
