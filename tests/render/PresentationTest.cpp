#include "render/Screen.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A display-like 32-bit surface, cleared to a colour no picture uses.
SDL_Surface* newTarget(int w, int h)
{
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SDL_FillRect(target, nullptr, 0x12345678u);
    return target;
}

Uint32 pixelOf(SDL_Surface* s, int x, int y)
{
    return static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x];
}

} // namespace

TEST(PresentationOnSdl, BrightnessLiftsOnlyTheDarkEndMonotonicallyAndPresentsAgain)
{
    Screen s(1, 1, 1);
    auto channel = [&](int step, int v) {
        s.setBrightness(step);
        return Screen::getGreen(s.presented(Screen::getColor(0, v, 0, 255)));
    };
    for (int c : {0, 0x12345678, int(0xFF0A1420), int(0x80FFFFFF)})
        EXPECT_EQ(s.presented(c), c) << "step 0 changes no bit";
    for (int step = -2; step <= 5; step++)
        for (int v = 0; v < 256; v++) {
            int f = channel(step, v);
            bool kept = v >= Screen::brightnessKnee || step == 0;
            ASSERT_TRUE(kept ? f == v : (step > 0 ? f >= v : f <= v)) << step << " " << v;
            ASSERT_TRUE(v == 0 || f >= channel(step, v - 1)) << "darker stays darker: " << step << " " << v;
            ASSERT_TRUE(step == -2 || f >= channel(step - 1, v)) << "each step is brighter: " << step << " " << v;
        }
    EXPECT_GE(channel(5, 20), 60) << "the brightest step lifts a dim floor well";
    EXPECT_EQ(channel(5, 0), 0) << "black stays black";
    s.setBrightness(3);
    EXPECT_EQ(Screen::getAlpha(s.presented(int(0x7F102030))), 0x7F);

    SDL_Surface* target = newTarget(1, 1);
    s.setPixel(0, 0, int(0xFF101010));
    s.draw(target);
    s.setBrightness(4);
    s.draw(target);
    EXPECT_EQ(pixelOf(target, 0, 0), Uint32(s.presented(int(0xFF101010)))) << "a new step presents the buffer again";
    SDL_FreeSurface(target);
}

TEST(PresentationOnSdl, DisplayHoldsTheBlockPictureAfterRandomChangesAndStillFramesWriteNothing)
{
    const int scale = 3;
    Screen s(23, 17, scale);
    SDL_Surface* target = newTarget(23 * scale, 17 * scale);
    ASSERT_NE(target, nullptr);
    std::srand(11);
    // The first frame leaves most pixels at the buffer's start value, which
    // must still reach the display.
    for (int frame = 0; frame < 9; frame++) {
        for (int k = 0; k < (frame % 2 ? 5 : 200); k++)
            s.setPixel(std::rand() % 23, std::rand() % 17, int(0xFF000000u | unsigned(std::rand() & 0xFFFFFF)));
        s.draw(target);
        // Each logical pixel shows as a scale x scale block of its colour.
        for (int x = 0; x < target->w; x++)
            for (int y = 0; y < target->h; y++)
                ASSERT_EQ(pixelOf(target, x, y), Uint32(s.getPixel(x / scale, y / scale))) << x << "," << y;
    }
    // What was not changed is not sent, a pixel drawn again in its own
    // colour included: mark the display, present, look.
    SDL_FillRect(target, nullptr, 0x0BADF00Du);
    s.setPixel(4, 4, s.getPixel(4, 4));
    s.draw(target);
    for (int x = 0; x < target->w; x++)
        for (int y = 0; y < target->h; y++)
            ASSERT_EQ(pixelOf(target, x, y), 0x0BADF00Du) << "a still frame wrote " << x << "," << y;
    SDL_FreeSurface(target);
}

TEST(PresentationOnSdl, BlocksAreClippedToTheDisplayAndConvertedToItsFormat)
{
    // A display smaller than the magnified buffer keeps its clipping.
    Screen s(4, 4, 4);
    s.clear(int(0xFF102030u));
    SDL_Surface* small = newTarget(10, 6);
    s.draw(small);
    for (int x = 0; x < 10; x++)
        for (int y = 0; y < 6; y++)
            ASSERT_EQ(pixelOf(small, x, y), 0xFF102030u);
    SDL_FreeSurface(small);
    // A 16-bit display gets the nearest colour it has.
    SDL_Surface* narrow = SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_NE(narrow, nullptr);
    Screen t(4, 4, 4);
    t.clear(int(0xFFFF8040u));
    t.draw(narrow);
    Uint16 expected = Uint16(SDL_MapRGB(narrow->format, 0xFF, 0x80, 0x40));
    EXPECT_EQ(static_cast<Uint16*>(narrow->pixels)[5 * narrow->pitch / 2 + 7], expected);
    SDL_FreeSurface(narrow);
}

TEST(SaveImage, WritesA24BitBottomUpBitmapWithPaddedRowsAndNothingWhereItCannot)
{
    Screen s(2, 2, 1);
    s.setPixel(0, 0, int(0xFF010203));
    s.setPixel(1, 0, int(0x80040506));
    s.setPixel(0, 1, int(0xFF0A0B0C));
    s.setPixel(1, 1, int(0xFF0D0E0F));
    std::string pattern = std::string(testing::TempDir()) + "shot%03d.bmp";
    s.saveImage(pattern.c_str());
    s.saveImage(pattern.c_str());
    EXPECT_EQ(s.imageCount, 2);

    std::string first = std::string(testing::TempDir()) + "shot000.bmp";
    std::ifstream in(first, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 54u + 16u);
    auto le32 = [&](int at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24; };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    // File size, data offset, header size, width, height, one plane of 24 bits, 72 dpi both ways.
    const int header[][2] = {{2, 70}, {10, 54}, {14, 40}, {18, 2}, {22, 2}, {26, 1 | 24 << 16}, {38, 72}, {42, 72}};
    for (const auto& h : header)
        EXPECT_EQ(le32(h[0]), h[1]) << "at " << h[0];
    // Bottom row first (y = 1), blue-green-red, two bytes of padding per row.
    std::vector<unsigned char> data(bytes.begin() + 54, bytes.end());
    EXPECT_EQ(data, (std::vector<unsigned char>{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0, 0,
                                                0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0}));
    EXPECT_TRUE(std::ifstream(std::string(testing::TempDir()) + "shot001.bmp").good());
    std::remove(first.c_str());
    std::remove((std::string(testing::TempDir()) + "shot001.bmp").c_str());

    Screen t(1, 1, 1);
    t.saveImage("/nonexistent/folder/shot%d.bmp");
    EXPECT_EQ(t.imageCount, 0);
    EXPECT_EQ(t.imageFile, nullptr);
    // A pattern longer than the name buffer is cut, never overflowed.
    std::string longPattern = "/nonexistent/" + std::string(600, 'a');
    t.saveImage(longPattern.c_str());
    EXPECT_EQ(t.imageCount, 0);
}

namespace {

std::vector<SDL_Rect> shown;
int flips = 0;

void recordRectangles(SDL_Surface*, SDL_Rect* rectangles, int count)
{
    flips++;
    shown.assign(rectangles, rectangles + count);
}

// Replaces the way a flip reaches the display for the length of one test.
class Flip : public testing::Test {
protected:
    void SetUp() override
    {
        shown.clear();
        flips = 0;
        saved = Screen::showRectangles;
        Screen::showRectangles = recordRectangles;
    }
    void TearDown() override { Screen::showRectangles = saved; }
    Screen::ShowRectangles saved;
};

bool wholeDisplay(const SDL_Surface* target)
{
    return shown.size() == 1 && shown[0].x == 0 && shown[0].y == 0 && shown[0].w == target->w &&
           shown[0].h == target->h;
}

// A black first frame, drawn and flipped: what the later frames change from.
void showBlack(Screen* s, SDL_Surface* target)
{
    s->clear(int(0xFF000000u));
    s->draw(target);
    s->flip(target);
}

} // namespace

TEST_F(Flip, TheWholeDisplayIsShownFirstAfterCoveringWhenMostChangedAndOnAHardwareDoubleBuffer)
{
    Screen s(64, 20, 1);
    SDL_Surface* target = newTarget(64, 20);
    showBlack(&s, target);
    EXPECT_TRUE(wholeDisplay(target));
    s.draw(target);
    s.flip(target);
    EXPECT_EQ(flips, 2);
    EXPECT_TRUE(shown.empty()) << "a still frame shows nothing";
    // After the window was covered the whole display is shown again, once.
    s.flipWholeNext();
    s.flip(target);
    EXPECT_TRUE(wholeDisplay(target));
    s.flip(target);
    EXPECT_TRUE(shown.empty());
    // Three columns in four change: more than half of the display.
    for (int x = 0; x < 48; x++)
        for (int y = 0; y < 20; y++)
            s.setPixel(x, y, int(0xFF0000FFu));
    s.draw(target);
    s.flip(target);
    EXPECT_TRUE(wholeDisplay(target));
    // One band in four: its rectangle only.
    for (int y = 0; y < 20; y++)
        s.setPixel(Screen::bandWidth + 3, y, int(0xFF00FF00u));
    s.draw(target);
    s.flip(target);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ((std::vector<int>{shown[0].x, shown[0].w, shown[0].h}),
              (std::vector<int>{Screen::bandWidth, Screen::bandWidth, 20}));
    // A hardware double buffer shows its other buffer: always flipped whole.
    target->flags |= SDL_HWSURFACE | SDL_DOUBLEBUF;
    s.draw(target);
    s.flip(target);
    EXPECT_TRUE(wholeDisplay(target));
    target->flags &= ~Uint32(SDL_HWSURFACE | SDL_DOUBLEBUF);
    SDL_FreeSurface(target);
}

TEST_F(Flip, ChangedBlocksLieInTheRectanglesShownWithinTheDisplay)
{
    const int scale = 3;
    // The display is cut short of the buffer's last band and rows.
    Screen s(70, 50, scale);
    SDL_Surface* target = newTarget(65 * scale, 47 * scale);
    showBlack(&s, target);
    std::srand(5);
    for (int frame = 0; frame < 20; frame++) {
        std::vector<std::pair<int, int>> changed;
        // Two draws before a flip: the flip shows the changes of both.
        for (int draw = 0; draw < 2; draw++) {
            for (int k = 0; k < 1 + frame % 6; k++) {
                int x = std::rand() % 70, y = std::rand() % 50;
                int colour = int(0xFF000000u | unsigned(std::rand() & 0xFFFFFF));
                if (colour == s.getPixel(x, y))
                    continue;
                s.setPixel(x, y, colour);
                changed.push_back({x, y});
            }
            s.draw(target);
        }
        s.flip(target);
        for (const SDL_Rect& r : shown) {
            EXPECT_GE(r.x, 0);
            EXPECT_GE(r.y, 0);
            EXPECT_LE(r.x + r.w, target->w);
            EXPECT_LE(r.y + r.h, target->h);
        }
        for (auto [x, y] : changed)
            for (int dx = 0; dx < scale; dx++)
                for (int dy = 0; dy < scale; dy++) {
                    int px = x * scale + dx, py = y * scale + dy;
                    if (px >= target->w || py >= target->h)
                        continue;
                    bool seen = std::any_of(shown.begin(), shown.end(), [&](const SDL_Rect& r) {
                        return px >= r.x && py >= r.y && px < r.x + r.w && py < r.y + r.h;
                    });
                    ASSERT_TRUE(seen) << "block of " << x << "," << y << " not shown, frame " << frame;
                }
    }
    SDL_FreeSurface(target);
}
