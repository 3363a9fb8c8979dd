#include "app/Frame.h"

#include "assets/Typo.h"

#include <gtest/gtest.h>

#include <unistd.h>

// Start-up loads the large and the small font from the game folder, which
// is the working directory of the game.
TEST(FrameFonts, StartUpLoadsBothFonts)
{
    char previous[4096];
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    ASSERT_EQ(0, chdir(GLOAMER_GAME_DIR));
    ASSERT_EQ(0, startUp());
    ASSERT_NE(nullptr, typo.getGlyph('A'));
    ASSERT_NE(nullptr, typo2.getGlyph('A'));
    EXPECT_EQ(7, typo.getGlyph('A')->height);
    EXPECT_EQ(5, typo2.getGlyph('A')->height);
    shutDown();
    ASSERT_EQ(0, chdir(previous));
}
