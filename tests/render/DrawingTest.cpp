#include "render/Screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

namespace {

const int white = int(0xFFFFFFFF);
using Points = std::set<std::pair<int, int>>;

// The positions of every pixel that is not transparent black.
Points drawn(const Screen& s)
{
    Points p;
    for (int x = 0; x < s.width; x++)
        for (int y = 0; y < s.height; y++)
            if (s.getPixel(x, y) != 0)
                p.insert({x, y});
    return p;
}

} // namespace

TEST(Drawing, ReadsAndWritesOutsideTheBufferAreIgnoredAndShapesClipAtEveryEdge)
{
    Screen s(4, 3, 1);
    s.clear(white);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {-5, -5}, {4, 3}})
        EXPECT_EQ(s.getPixel(x, y), 0) << x << "," << y;
    Screen t(4, 3, 1);
    t.setPixel(4, 0, white);
    t.setPixel(0, 3, white);
    t.addPixel(-1, 2, white);
    t.fillRect(-10, -10, 10, 20, white); // ends just left of column 0
    EXPECT_TRUE(drawn(t).empty());
    // Shapes across an edge keep their part on the buffer.
    Screen c(5, 5, 1);
    c.fillRect(-2, -2, 4, 4, white);   // top-left corner: (0..1, 0..1)
    c.fillRect(4, 4, 10, 10, white);   // bottom-right: (4, 4)
    EXPECT_EQ(drawn(c), (Points{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {4, 4}}));
    c.clear();
    c.line(-3, 2, 8, 2, white);
    EXPECT_EQ(drawn(c).size(), 5u);
    c.clear();
    c.fillCircle(0, 0, 10, 1.0f, white);
    EXPECT_EQ(drawn(c).size(), 25u);
    // Filling blends each pixel as addPixel does, whatever lies under it.
    Screen filled(16, 16, 1), blended(16, 16, 1);
    for (int colour : {int(0x88000000), int(0x01FF7F10), int(0xFEFFFFFF), int(0x00FFFFFF), int(0xFF123456)}) {
        for (int i = 0; i < 256; i++)
            filled.pixels[i] = int(unsigned(i) * 2654435761u); // every channel varied
        std::copy(filled.pixels, filled.pixels + 256, blended.pixels);
        filled.fillRect(-3, 2, 30, 9, colour);
        for (int x = 0; x < 16; x++)
            for (int y = 2; y < 11; y++)
                blended.addPixel(x, y, colour);
        EXPECT_TRUE(std::equal(filled.pixels, filled.pixels + 256, blended.pixels)) << std::hex << colour;
    }
}

TEST(Drawing, RectanglesAndRoundedBoxes)
{
    Screen s(6, 6, 1);
    s.rect(1, 1, 4, 3, white);
    EXPECT_EQ(drawn(s), (Points{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {1, 2}, {4, 2}}));
    s.clear();
    s.rectRounded(0, 0, 2, 2, white);
    EXPECT_TRUE(drawn(s).empty()) << "a rounded 2 x 2 box has only corners";
    s.clear();
    s.rectRounded(0, 0, 3, 3, white);
    EXPECT_EQ(drawn(s), (Points{{1, 0}, {1, 2}, {0, 1}, {2, 1}}));
}

TEST(Drawing, LinesIncludeBothEnds)
{
    const struct {
        int x0, y0, x1, y1;
        Points points;
    } lines[] = {
        {0, 0, 2, 1, {{0, 0}, {1, 0}, {2, 1}}},
        {5, 5, 5, 5, {{5, 5}}},
        {3, 0, 3, 2, {{3, 0}, {3, 1}, {3, 2}}},
        {4, 4, 1, 1, {{4, 4}, {3, 3}, {2, 2}, {1, 1}}},
        // Steep and leftwards: x steps by dx / |dy| and truncates toward the start.
        {2, 0, 0, 4, {{2, 0}, {1, 1}, {1, 2}, {0, 3}, {0, 4}}},
    };
    for (const auto& l : lines) {
        Screen s(12, 12, 1);
        s.line(l.x0, l.y0, l.x1, l.y1, white);
        EXPECT_EQ(drawn(s), l.points) << l.x0 << "," << l.y0 << " to " << l.x1 << "," << l.y1;
    }
}

TEST(Drawing, DiscsRoundOrSquashed)
{
    Screen s(9, 9, 1);
    s.fillCircle(4, 4, 1, 1.0f, white);
    EXPECT_EQ(drawn(s), (Points{{4, 3}, {3, 4}, {4, 4}, {5, 4}, {4, 5}}));
    s.clear();
    s.fillCircle(4, 4, 2, 0.5f, white); // rows squashed to 3..5
    for (auto [x, y] : drawn(s))
        EXPECT_TRUE(y >= 3 && y <= 5) << y;
}

TEST(Drawing, SaturationAndLuminance)
{
    Screen s(1, 1, 1);
    s.setPixel(0, 0, int(0x80FF0000));
    s.setSaturation(2.0f);
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0x80FF0000u);
    s.setSaturation(0.0f);
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0x80555555u);
    s.setPixel(0, 0, int(0x80FF8040));
    s.setSaturation(0.5f); // grey m = 149: 255 -> 202, 128 -> 138, 64 -> 106
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0x80CA8A6Au);
    s.setPixel(0, 0, int(0x80FF8040));
    s.setLuminance(0.5f);
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0x807F4020u);
    s.setLuminance(4.0f);
    EXPECT_EQ(unsigned(s.getPixel(0, 0)), 0x80FFFF80u);
}

TEST(Drawing, MergeOfAnEqualOrLargerLayerAndEffectsEqualTheirRuleOnEveryPixel)
{
    // Runs of one colour and single pixels, with every kind of alpha.
    std::srand(3);
    const int palette[] = {0, int(0xFF000000u), int(0x80FF8040u), int(0x7F102030u), int(0xFFFFFFFFu)};
    auto someColour = [&] {
        return std::rand() % 2 ? palette[std::rand() % 5] : int(unsigned(std::rand()) * 2654435761u);
    };
    Screen base(7, 5, 1), layer(9, 6, 1), rule(7, 5, 1), one(1, 1, 1);
    for (int i = 0; i < 9 * 6; i++)
        layer.pixels[i] = someColour();
    for (int i = 0; i < 7 * 5; i++)
        base.pixels[i] = rule.pixels[i] = someColour();

    base.merge(&layer);
    for (int x = 0; x < 7; x++)
        for (int y = 0; y < 5; y++)
            rule.addPixel(x, y, layer.getPixel(x, y));
    for (int i = 0; i < 7 * 5; i++)
        ASSERT_EQ(base.pixels[i], rule.pixels[i]) << "merge, pixel " << i;
    // A smaller layer is not merged.
    one.setPixel(0, 0, white);
    base.merge(&one);
    EXPECT_TRUE(std::equal(base.pixels, base.pixels + 35, rule.pixels));

    // Each effect on the whole buffer equals the same effect on each pixel alone.
    auto onEachPixel = [&](void (Screen::*effect)(float), float value) {
        for (int i = 0; i < 7 * 5; i++)
            rule.pixels[i] = base.pixels[i];
        (base.*effect)(value);
        for (int i = 0; i < 7 * 5; i++) {
            one.pixels[0] = rule.pixels[i];
            (one.*effect)(value);
            ASSERT_EQ(base.pixels[i], one.pixels[0]) << "value " << value << ", pixel " << i;
        }
    };
    for (float value : {0.37f, 1.0f, 0.0f, 1.6f, -0.2f}) {
        onEachPixel(&Screen::setLuminance, value);
        onEachPixel(&Screen::setSaturation, value);
    }
    // Full luminance changes nothing.
    for (int i = 0; i < 7 * 5; i++)
        rule.pixels[i] = base.pixels[i];
    base.setLuminance(1.0f);
    EXPECT_TRUE(std::equal(base.pixels, base.pixels + 35, rule.pixels));
}
