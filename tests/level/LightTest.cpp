#include "level/Light.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The carried lamps and the fire: the light each makes and the lowest
// intensity its flicker reaches (1 for a steady light).
struct LAMP {
    int style;
    int type;
    unsigned colour;
    int radius;
    float flickerLow;
};
const LAMP lamps[] = {
    {Light::StyleCandle, Light::Omni, 0xFFFFEE66u, 40, 0.8f},
    {Light::StyleElectric, Light::Spot, 0xFFFFFFFFu, 100, 1.0f},
    {Light::StyleAceto, Light::Omni, 0xFFFFEE88u, 80, 0.9f},
    {Light::StyleFire, Light::Omni, 0xFFFFCC66u, 70, 0.8f},
};

// A lamp moved away from the origin first: a lamp style places it at (0, 0),
// a fire where it is made.
Light make(const LAMP& lamp)
{
    Light light;
    light.x = 99;
    if (lamp.style == Light::StyleFire)
        light.createFire(12, 34);
    else
        light.setStyle(lamp.style);
    return light;
}

} // namespace

TEST(LightTest, EveryLampStyleMakesItsLightAndFlickersInItsRange)
{
    for (const LAMP& lamp : lamps) {
        Light light = make(lamp);
        EXPECT_EQ(light.style, lamp.style);
        EXPECT_EQ(light.type, lamp.type) << "style " << lamp.style;
        EXPECT_EQ(unsigned(light.colour), lamp.colour) << "style " << lamp.style;
        EXPECT_EQ(light.radius, lamp.radius) << "style " << lamp.style;
        EXPECT_EQ(light.x, lamp.style == Light::StyleFire ? 12 : 0) << "style " << lamp.style;
        EXPECT_FALSE(light.attenuate) << "style " << lamp.style;

        float low = 1, high = 0;
        for (int i = 0; i < 500; i++) {
            ASSERT_TRUE(light.update());
            low = std::min(low, light.intensity);
            high = std::max(high, light.intensity);
        }
        EXPECT_GE(low, lamp.flickerLow) << "style " << lamp.style;
        EXPECT_LE(high, 1.0f) << "style " << lamp.style;
        // The flicker really moves across its range.
        EXPECT_LT(low, lamp.flickerLow + 0.02f) << "style " << lamp.style;
        EXPECT_GT(high, lamp.flickerLow < 1 ? 0.98f : 0.99f) << "style " << lamp.style;
    }
    Light torch = make(lamps[1]);
    EXPECT_EQ(torch.aperture, 120);
    EXPECT_EQ(torch.direction, 0);
    EXPECT_EQ(make(lamps[3]).y, 34);
}

TEST(LightTest, AnUnknownStyleOnlyClearsTheStyleAndADarkLampStaysDark)
{
    Light aceto = make(lamps[2]);
    aceto.setStyle(7);
    EXPECT_EQ(aceto.style, Light::StyleNone);
    EXPECT_EQ(aceto.type, lamps[2].type);
    EXPECT_EQ(unsigned(aceto.colour), lamps[2].colour);
    EXPECT_EQ(aceto.radius, lamps[2].radius);

    Light dark = make(lamps[0]);
    dark.intensity = 0;
    for (int i = 0; i < 50; i++)
        ASSERT_TRUE(dark.update());
    EXPECT_EQ(dark.intensity, 0.0f);
}

TEST(LightTest, SpecialRingGrowsThirtyTimesThenEnds)
{
    Light ring;
    ring.radius = 55;
    ring.createSpecial(int(0xFFFFFFFFu), 1.0f, 5, 6, 300);
    EXPECT_EQ(ring.type, Light::Special);
    EXPECT_EQ(ring.radius, 0);
    EXPECT_EQ(ring.aperture, 300);
    EXPECT_EQ(ring.direction, 20);
    // Each pass's radius is checked where the ring lights a room.
    for (int i = 1; i <= 30; i++)
        ASSERT_TRUE(ring.update()) << "update " << i;
    EXPECT_FALSE(ring.update());
    EXPECT_EQ(ring.radius, 310);
}
