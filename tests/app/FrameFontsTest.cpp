#include "app/Frame.h"

#include "assets/Typo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
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

// A missing or damaged font ends the start-up with a message naming it.
TEST(FrameFonts, AMissingOrDamagedFontIsAStartUpErrorNamingTheFile)
{
    char previous[4096];
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    std::string folder = testing::TempDir() + "no-fonts";
    std::filesystem::create_directories(folder);
    ASSERT_EQ(0, chdir(folder.c_str()));
    char message[512];
    EXPECT_EQ(0, loadContent(message, sizeof message));
    EXPECT_NE(nullptr, std::strstr(message, "typo.dat")) << message;

    std::filesystem::copy_file(std::string(GLOAMER_GAME_DIR) + "/typo.dat", "typo.dat");
    std::ofstream("typo_small.dat") << "90\na 1 1\nX\n";
    EXPECT_EQ(0, loadContent(message, sizeof message));
    EXPECT_NE(nullptr, std::strstr(message, "typo_small.dat")) << message;
    EXPECT_NE(nullptr, std::strstr(message, folder.c_str())) << message;
    ASSERT_EQ(0, chdir(previous));
}
