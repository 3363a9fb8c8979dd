#include "audio/Control.h"
#include "audio/FakeMixer.h"
#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

std::string tempPath(const char* name)
{
    return std::string(testing::TempDir()) + name;
}

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Known state before each test: names built, default bindings, full volumes.
class ControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        initControlNames();
        loadDefaultControls();
        musicVolume = 100;
        fxVolume = 100;
    }

    FakeMixer fake;
};

} // namespace

TEST_F(ControlTest, KeyNames)
{
    // Gaps in the table are named by number; the AZERTY labels stand for the
    // keys SDL names after a QWERTY layout (the superscript two as one Latin-1
    // byte, not UTF-8); outside the table is key 0's name.
    const std::pair<int, const char*> names[] = {
        {300, "<300>"}, {511, "<511>"}, {0, "<"}, {8, "BACKSPACE"}, {32, "SPACE"}, {48, "0"}, {57, "9"},
        {97, "A"}, {122, "Z"}, {123, "["}, {124, "<124>"}, {282, "F1"}, {293, "F12"}, {294, "<294>"},
        {281, "<281>"}, {277, "INSER"}, {303, "RIGHT SHIFT"}, {306, "LEFT CTRL"}, {307, "<307>"}, {308, "ALT"},
        {44, ","}, {46, ";"}, {47, ":"}, {59, "$"}, {61, "="}, {91, ")"}, {92, "*"}, {93, "^"}, {96, "!"},
        {39, "\xB2"}, {-1, "<"}, {512, "<"}};
    for (const auto& [key, name] : names)
        EXPECT_STREQ(keyName(key), name) << key;
}

TEST_F(ControlTest, DefaultAndChangedBindings)
{
    EXPECT_STREQ(getControlName(controlLeft), "LEFT");
    EXPECT_STREQ(getControlName(controlAction), "E");
    EXPECT_STREQ(getControlName(controlShowMap), "TAB");
    EXPECT_EQ(getControl(600), 0);
    EXPECT_EQ(getControl(-1), 0);
    EXPECT_STREQ(getControlName(600), "<");

    setControl(controlJump, 97);
    EXPECT_EQ(getControl(controlJump), 97);
    EXPECT_STREQ(getControlName(controlJump), "A");
    EXPECT_EQ(getControl(controlReveal), 97) << "the reveal keeps its own binding";
    setControl(600, 5);
    setControl(-3, 5);
    EXPECT_EQ(getControl(0), 0);
    EXPECT_EQ(getControl(511), 511);
    // A key outside the table is kept but has the name of key 0.
    setControl(controlJump, 9000);
    EXPECT_EQ(getControl(controlJump), 9000);
    EXPECT_STREQ(getControlName(controlJump), "<");
}

TEST_F(ControlTest, VolumeStepsClampAndReachTheMixer)
{
    addMusicVolume(5);
    EXPECT_EQ(getMusicVolume(), 100);
    addMusicVolume(-5);
    EXPECT_EQ(getMusicVolume(), 95);
    ASSERT_FALSE(fake.calls("musicVolume").empty());
    EXPECT_EQ(fake.calls("musicVolume").back().first, 121);
    EXPECT_EQ(fake.calls("channelVolume").back().second, 128);

    fxVolume = 0;
    addFxVolume(-5);
    EXPECT_EQ(getFxVolume(), 0);
    EXPECT_EQ(fake.calls("channelVolume").back().second, 0);
    addFxVolume(2147483647);
    EXPECT_EQ(getFxVolume(), 100);
    addMusicVolume(-2147483647 - 1);
    EXPECT_EQ(getMusicVolume(), 0);
}

TEST_F(ControlTest, SaveThenLoadRestoresBindingsAndVolumes)
{
    setControl(controlLeft, 113);
    setControl(controlJump, 306);
    musicVolume = 35;
    fxVolume = 70;
    std::string path = tempPath("control.ini");
    ASSERT_EQ(saveControls(path.c_str()), 1);
    EXPECT_FALSE(exists(path + ".tmp"));
    std::string text = readFile(path);
    EXPECT_EQ(text.compare(0, 8, "0\n1\n2\n3\n"), 0);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 514);
    EXPECT_EQ(text.substr(text.size() - 6), "35\n70\n");

    loadDefaultControls();
    musicVolume = 100;
    fxVolume = 100;
    fake.events.clear();
    ASSERT_EQ(loadControls(path.c_str()), 1);
    EXPECT_EQ(getControl(controlLeft), 113);
    EXPECT_EQ(getControl(controlJump), 306);
    EXPECT_EQ(getControl(controlRight), 275);
    EXPECT_EQ(getMusicVolume(), 35);
    EXPECT_EQ(getFxVolume(), 70);
    ASSERT_EQ(fake.calls("musicVolume").size(), 1u);
    EXPECT_EQ(fake.calls("musicVolume")[0].first, 44);
    EXPECT_EQ(fake.calls("channelVolume")[63].second, 89);
    std::remove(path.c_str());
}

namespace {

void writeBindings(const std::string& path, int badSlot, int badValue, const char* tail)
{
    std::ofstream out(path);
    for (int slot = 0; slot < 512; slot++)
        out << (slot == badSlot ? badValue : (slot == controlLeft ? 113 : slot)) << "\n";
    out << tail;
}

} // namespace

TEST_F(ControlTest, FilesMissingOrNotReadAsAWholeAreRefusedAndTheDefaultsKept)
{
    std::string path = tempPath("garbled.ini");
    const std::string damaged[] = {
        "5\n6\n7\n",                          // cut short
        "1\n2\nabc\n4\n",                      // text among the numbers
        std::string("\x00\xff\x13garbage", 10),  // random bytes
        "",                                    // empty
    };
    for (const std::string& text : damaged) {
        std::ofstream(path, std::ios::binary) << text;
        setControl(controlLeft, 7);
        setControl(0, 9);
        musicVolume = 60;
        EXPECT_EQ(loadControls(path.c_str()), 0);
        EXPECT_EQ(getControl(controlLeft), controlLeft) << "every binding is the default";
        EXPECT_EQ(getControl(0), 0);
        EXPECT_EQ(getMusicVolume(), 60);
    }

    // Complete in length but wrong in one place: a key symbol out of range,
    // a number too long for an int, missing volumes, something left over.
    const std::pair<int, const char*> wrong[] = {
        {-4, "50\n50\n"}, {512, "50\n50\n"}, {0, "99999999999999999999\n50\n"}, {10, "50\n"}, {10, "50\n50\nmore\n"}};
    for (const auto& [binding, tail] : wrong) {
        writeBindings(path, 10, binding, tail);
        EXPECT_EQ(loadControls(path.c_str()), 0) << binding << " " << tail;
        EXPECT_EQ(getControl(controlLeft), controlLeft);
    }

    // A folder of that name, and no file at all: the volumes are not applied.
    std::string folder = tempPath("control-dir.ini");
    mkdir(folder.c_str(), 0755);
    musicVolume = 40;
    fake.events.clear();
    for (const std::string& unreadable : {folder, std::string("/nonexistent/control.ini")}) {
        setControl(controlLeft, 7);
        EXPECT_EQ(loadControls(unreadable.c_str()), 0);
        EXPECT_EQ(getControl(controlLeft), controlLeft);
        EXPECT_EQ(getMusicVolume(), 40);
    }
    EXPECT_TRUE(fake.events.empty());
    rmdir(folder.c_str());

    // Whole, with volumes out of range: taken, volumes clamped.
    writeBindings(path, 10, 10, "250\n-7\n  \n");
    EXPECT_EQ(loadControls(path.c_str()), 1);
    EXPECT_EQ(getControl(controlLeft), 113);
    EXPECT_EQ(getMusicVolume(), 100);
    EXPECT_EQ(getFxVolume(), 0);
    std::remove(path.c_str());
}

TEST_F(ControlTest, FailedSaveLeavesTheOldFileAndNoLeftovers)
{
    // A folder that cannot hold files: its path runs through a plain file.
    std::string plain = tempPath("plain-file");
    std::ofstream(plain) << "not a folder";
    EXPECT_EQ(saveControls((plain + "/control.ini").c_str()), 0);

    // The target is a folder: writing works but replacing it cannot.
    std::string folder = tempPath("control-folder");
    mkdir(folder.c_str(), 0755);
    std::string inside = folder + "/keep";
    std::ofstream(inside) << "old";
    setControl(controlLeft, 42);
    EXPECT_EQ(saveControls(folder.c_str()), 0);
    EXPECT_FALSE(exists(folder + ".tmp"));
    EXPECT_EQ(readFile(inside), "old");
    EXPECT_EQ(getControl(controlLeft), 42);
    std::remove(inside.c_str());
    std::remove(folder.c_str());
    std::remove(plain.c_str());
}
