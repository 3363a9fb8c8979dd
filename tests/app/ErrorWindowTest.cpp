#include "app/Frame.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

namespace {

// Runs in the game folder, where the game's fonts are.
class ErrorWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
        ASSERT_EQ(0, chdir(GLOAMER_GAME_DIR));
    }
    void TearDown() override
    {
        SDL_Quit();
        ASSERT_EQ(0, chdir(previous));
    }
    char previous[4096];
};

// The window's lit pixels: how many, and the rightmost column holding one.
struct INK {
    int count = 0;
    int right = -1;
};

INK inkOf(SDL_Surface* s)
{
    INK ink;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; x++)
            if (row[x] & 0x00FFFFFF) {
                ink.count++;
                ink.right = x > ink.right ? x : ink.right;
            }
    }
    SDL_UnlockSurface(s);
    return ink;
}

} // namespace

TEST_F(ErrorWindowTest, ShowsTheMessageInTheGameFontUnderTheTitle)
{
    const char* message = "Couldn't open the audio mixer: no sound device, and a long reason that wraps";
    ASSERT_EQ(showErrorWindow("Error", message, 0), 1);
    SDL_Surface* window = SDL_GetVideoSurface();
    ASSERT_NE(window, nullptr);
    INK ink = inkOf(window);
    EXPECT_GT(ink.count, 500) << "the message is drawn";
    EXPECT_LT(ink.right, window->w - 3 * 6) << "the text wraps inside the margin";
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Error");
}

TEST_F(ErrorWindowTest, AKeyClosesItBeforeItsTime)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_Event key;
    std::memset(&key, 0, sizeof key);
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_SPACE;
    ASSERT_EQ(SDL_PushEvent(&key), 0);
    unsigned start = SDL_GetTicks();
    ASSERT_EQ(showErrorWindow("Error", "message", 30000), 1);
    EXPECT_LT(SDL_GetTicks() - start, 20000u);
}
