// The program's icon: a candle burning in the dark, its light falling on
// the rock around it. Drawn per pixel in coordinates of the unit square, so
// every size is drawn, not scaled.

#include "IconArt.h"

#include "render/PngImage.h"

#include <algorithm>
#include <cmath>

namespace {

struct RGB {
    float r, g, b;
};

RGB mix(RGB a, RGB b, float t)
{
    return RGB{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

// Coverage of a rounded square of corner radius `round` at (x, y) in 0..1.
float roundedSquare(float x, float y, float round)
{
    float dx = std::max(std::fabs(x - 0.5f) - (0.5f - round), 0.0f);
    float dy = std::max(std::fabs(y - 0.5f) - (0.5f - round), 0.0f);
    return std::sqrt(dx * dx + dy * dy) <= round ? 1.0f : 0.0f;
}

// The colour at (x, y) and its alpha.
RGB iconColour(float x, float y, float* alpha)
{
    *alpha = roundedSquare(x, y, 0.16f);
    const RGB rock = {0.06f, 0.06f, 0.10f};
    const RGB warm = {1.0f, 0.62f, 0.22f};
    // The flame's glow on the rock.
    float fx = 0.5f, fy = 0.40f;
    float d = std::sqrt((x - fx) * (x - fx) + (y - fy) * (y - fy));
    RGB c = mix(rock, warm, clamp01(0.55f - d) * 1.1f);
    // The candle: a pale stick under the flame.
    if (std::fabs(x - 0.5f) < 0.07f && y > 0.50f && y < 0.84f)
        c = mix(RGB{0.93f, 0.88f, 0.74f}, RGB{0.55f, 0.45f, 0.32f}, clamp01((x - 0.43f) / 0.14f) * 0.7f);
    // The flame: a drop, white at its heart.
    float ex = (x - 0.5f) / 0.065f, ey = (y - 0.41f) / (y < 0.41f ? 0.14f : 0.07f);
    float flame = ex * ex + ey * ey;
    if (flame < 1.0f)
        c = mix(RGB{1.0f, 0.78f, 0.25f}, RGB{1.0f, 1.0f, 0.92f}, clamp01(1.0f - flame) * 1.3f);
    return c;
}

// Four samples a pixel smooth the edges at the small sizes.
uint32_t pixel(int px, int py, int size)
{
    float r = 0, g = 0, b = 0, a = 0;
    for (int s = 0; s < 4; s++) {
        float x = (px + 0.25f + 0.5f * (s % 2)) / size, y = (py + 0.25f + 0.5f * (s / 2)) / size;
        float alpha;
        RGB c = iconColour(x, y, &alpha);
        r += c.r * alpha, g += c.g * alpha, b += c.b * alpha, a += alpha;
    }
    if (a == 0)
        return 0;
    auto channel = [](float v) { return uint32_t(clamp01(v) * 255.0f); };
    return channel(a / 4) << 24 | channel(r / a) << 16 | channel(g / a) << 8 | channel(b / a);
}

} // namespace

int writeIcons(const std::string& folder, std::string& error)
{
    for (int size : iconSizes) {
        PngImage icon;
        icon.resize(size, size);
        for (int y = 0; y < size; y++)
            for (int x = 0; x < size; x++)
                icon.set(x, y, pixel(x, y, size));
        std::string file = folder + "/" + std::to_string(size) + "x" + std::to_string(size) + ".png";
        if (!icon.save(file.c_str())) {
            error = icon.error;
            return 0;
        }
    }
    return 1;
}
