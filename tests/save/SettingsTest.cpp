#include "save/Settings.h"

#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

class SettingsFile : public testing::Test {
protected:
    std::string path = freshFolder("settings") + "/settings.ini";

    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
};

} // namespace

TEST_F(SettingsFile, RoundTripKeepsEveryValueAndTheLinesItDoesNotKnow)
{
    write("# my notes\nbrightness = 2\nvsync = 1\npad jump = 5\n\nfullscreen = 0\n");
    SETTINGS read;
    ASSERT_EQ(loadSettings(path.c_str(), &read), 1);
    EXPECT_EQ(read.brightness, 2);
    EXPECT_FALSE(read.fullScreen);
    EXPECT_EQ(read.padButton[PadJump], 5);
    EXPECT_EQ(read.padButton[PadPause], SETTINGS().padButton[PadPause]);

    read.brightness = -2;
    read.padButton[PadMap] = 31;
    ASSERT_EQ(saveSettings(path.c_str(), read), 1);
    EXPECT_FALSE(std::ifstream(path + ".tmp"));
    std::string text = readFile(path);
    for (const char* line : {"# my notes\n", "vsync = 1\n", "\n\n", "brightness = -2\n", "pad map = 31\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;

    SETTINGS again;
    ASSERT_EQ(loadSettings(path.c_str(), &again), 1);
    EXPECT_EQ(again.brightness, -2);
    EXPECT_EQ(again.padButton[PadMap], 31);
    EXPECT_EQ(again.otherLines, read.otherLines) << "kept lines are not doubled by a rewrite";
}

TEST_F(SettingsFile, MissingOrDamagedFilesGiveTheDefaults)
{
    SETTINGS read;
    read.brightness = 4;
    EXPECT_EQ(loadSettings((path + ".none").c_str(), &read), 0);
    EXPECT_EQ(read.brightness, 0);

    const std::string damaged[] = {
        "brightness = 6\n",           "brightness = -3\n",      "brightness = 1x\n",
        "brightness =\n",             "fullscreen = 2\n",       "pad jump = 32\n",
        "pad jump = -1\n",            "just words\n",           "= 4\n",
        std::string("brightness = 1\n\0\x01\x02", 18), "brightness = 99999999999999999999\n",
        std::string(70 * 1024, '#'),
    };
    for (const std::string& text : damaged) {
        write("brightness = 3\n" + text);
        read.brightness = 4;
        read.otherLines = {"x"};
        EXPECT_EQ(loadSettings(path.c_str(), &read), 0) << text.substr(0, 40);
        EXPECT_EQ(read.brightness, 0) << text.substr(0, 40);
        EXPECT_TRUE(read.fullScreen);
        EXPECT_TRUE(read.otherLines.empty());
    }
}
