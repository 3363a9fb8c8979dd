#include "app/Frame.h"

#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <string>
#include <unistd.h>

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

    // With both fonts, the character sheet: missing, cut in the middle of a
    // frame, or random; then the start of a new game.
    std::filesystem::remove("typo_small.dat");
    std::filesystem::remove("character.dat");
    std::filesystem::copy_file(std::string(GLOAMER_GAME_DIR) + "/typo_small.dat", "typo_small.dat");
    const std::string whole = readFile(std::string(GLOAMER_GAME_DIR) + "/character.dat");
    for (const std::string& damaged : {std::string(), whole.substr(0, whole.size() / 2), std::string("\x93\x01x\n7 7")}) {
        if (!damaged.empty())
            std::ofstream("character.dat", std::ios::binary) << damaged;
        EXPECT_EQ(0, loadContent(message, sizeof message));
        EXPECT_NE(nullptr, std::strstr(message, "character.dat")) << message;
    }
    std::ofstream("character.dat", std::ios::binary) << whole;
    EXPECT_EQ(0, loadContent(message, sizeof message));
    EXPECT_NE(nullptr, std::strstr(message, "begin.sav")) << message;
    ASSERT_EQ(0, chdir(previous));
}

// Without a display, the failure is on standard error and the program ends
// at once: a window nobody sees would wait for a key that never comes.
TEST(FrameFonts, WithoutADisplayAMissingFontEndsTheProgramAtOnce)
{
    std::string folder = testing::TempDir() + "fontless-game";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::string(GLOAMER_GAME_DIR) + "/gloamer", folder + "/gloamer");
    std::filesystem::create_symlink(std::string(GLOAMER_GAME_DIR) + "/tiles.dat", folder + "/tiles.dat");
    std::string command = "cd " + folder + " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY= timeout 30 " +
                          "./gloamer --frames 1 2>stderr.txt";
    int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << "124: it waited";
    EXPECT_NE(readFile(folder + "/stderr.txt").find("typo.dat"), std::string::npos);
}
