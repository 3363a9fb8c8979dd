#include "platform/GameFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// A scratch tree: a build-like program folder, an installed layout
// (prefix/bin beside prefix/share/gloamer) and a home folder.
class GameFoldersTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = testing::TempDir() + "folders-" + testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(root);
        fs::create_directories(root + "/build/game");
        fs::create_directories(root + "/prefix/bin");
        fs::create_directories(root + "/prefix/share/gloamer");
        fs::create_directories(root + "/home");
        setPlayerFolder("");
    }
    void TearDown() override
    {
        chmod((root + "/build/game").c_str(), 0755);
        setPlayerFolder("");
        fs::remove_all(root);
    }
    static void addData(const std::string& folder) { std::ofstream(folder + "/tiles.dat") << "data"; }

    // Chooses for a program in `program`, with no data in the system folder.
    int choose(const std::string& program, const char* xdg = nullptr)
    {
        std::string home = root + "/home";
        return chooseGameFolders(program, root + "/none", xdg, home.c_str(), &folders, &message);
    }
    std::string root;
    GAME_FOLDERS folders;
    std::string message;
};

} // namespace

TEST_F(GameFoldersTest, ABuildFolderHoldingTheDataIsUsedAndWrittenTo)
{
    addData(root + "/build/game");
    addData(root + "/prefix/share/gloamer");
    ASSERT_EQ(choose(root + "/build/game"), 1);
    EXPECT_EQ(folders.data, root + "/build/game");
    EXPECT_EQ(folders.player, "") << "a writable build folder keeps the player's files beside the data";
}

TEST_F(GameFoldersTest, AReadOnlyDataFolderSendsWritesToThePlayersFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    addData(root + "/build/game");
    chmod((root + "/build/game").c_str(), 0555);
    ASSERT_EQ(choose(root + "/build/game"), 1);
    EXPECT_EQ(folders.data, root + "/build/game");
    EXPECT_EQ(folders.player, root + "/home/.local/share/gloamer");
}

TEST_F(GameFoldersTest, InstalledDataIsFoundBesideTheProgramAndNeverWrittenTo)
{
    addData(root + "/prefix/share/gloamer");
    // Writable, but installed: the player's files still go to his own folder.
    ASSERT_EQ(choose(root + "/prefix/bin"), 1);
    EXPECT_TRUE(fs::equivalent(folders.data, root + "/prefix/share/gloamer"));
    EXPECT_EQ(folders.player, root + "/home/.local/share/gloamer");

    ASSERT_EQ(choose(root + "/prefix/bin", (root + "/xdg").c_str()), 1);
    EXPECT_EQ(folders.player, root + "/xdg/gloamer");
    // A relative XDG_DATA_HOME is ignored, as the XDG rules say.
    ASSERT_EQ(choose(root + "/prefix/bin", "relative/xdg"), 1);
    EXPECT_EQ(folders.player, root + "/home/.local/share/gloamer");
    ASSERT_EQ(choose(root + "/prefix/bin", ""), 1);
    EXPECT_EQ(folders.player, root + "/home/.local/share/gloamer");
}

TEST_F(GameFoldersTest, NoDataAnywhereIsAMessageNamingTheFileAndTheFolders)
{
    EXPECT_EQ(choose(root + "/build/game"), 0);
    EXPECT_NE(message.find("tiles.dat"), std::string::npos) << message;
    EXPECT_NE(message.find(root + "/build/game"), std::string::npos) << message;
    EXPECT_NE(message.find(root + "/none"), std::string::npos) << message;
}

TEST_F(GameFoldersTest, PlayersFilesAreWrittenToHisFolderAndReadBackFromIt)
{
    std::string player = root + "/home/.local/share/gloamer";
    EXPECT_EQ(playerFileToWrite("./Save/slot0.sav"), "./Save/slot0.sav") << "no player folder: beside the data";

    setPlayerFolder(player);
    EXPECT_EQ(playerFileToRead("./Save/slot0.sav"), "./Save/slot0.sav") << "nothing saved yet: the data's copy";
    std::string written = playerFileToWrite("./Save/slot0.sav");
    EXPECT_EQ(written, player + "/Save/slot0.sav");
    EXPECT_TRUE(fs::is_directory(player + "/Save")) << "the folders are made on the way";
    std::ofstream(written) << "slot";
    EXPECT_EQ(playerFileToRead("./Save/slot0.sav"), written);
    EXPECT_EQ(playerFileToRead("./Save/begin.sav"), "./Save/begin.sav") << "files never written come from the data";
    EXPECT_EQ(playerFileToWrite("control.ini"), player + "/control.ini");
    EXPECT_EQ(playerFileToWrite("/abs/control.ini"), "/abs/control.ini");
}
