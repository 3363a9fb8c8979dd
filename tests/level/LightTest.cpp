#include "level/Light.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The carried lamps and the fire: the kind of light each makes and the
// lowest intensity its flicker reaches (1 for a steady light).
struct LAMP {
    int style;
    int type;
    float flickerLow;
};
const LAMP lamps[] = {
    {Light::StyleCandle, Light::Omni, 0.8f},
    {Light::StyleElectric, Light::Spot, 1.0f},
    {Light::StyleAceto, Light::Omni, 0.9f},
    {Light::StyleFire, Light::Omni, 0.8f},
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
        EXPECT_GT(light.radius, 0) << "style " << lamp.style;
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
    EXPECT_EQ(make(lamps[3]).y, 34);
}

TEST(LightTest, AnUnknownStyleOnlyClearsTheStyleAndADarkLampStaysDark)
{
    Light aceto = make(lamps[2]);
    const Light before = aceto;
    aceto.setStyle(7);
    EXPECT_EQ(aceto.style, Light::StyleNone);
    EXPECT_EQ(aceto.type, before.type);
    EXPECT_EQ(aceto.colour, before.colour);
    EXPECT_EQ(aceto.radius, before.radius);

    Light dark = make(lamps[0]);
    dark.intensity = 0;
    for (int i = 0; i < 50; i++)
        ASSERT_TRUE(dark.update());
    EXPECT_EQ(dark.intensity, 0.0f);
}
