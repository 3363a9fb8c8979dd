// make install, as a packager runs it: staged under DESTDIR, then checked
// with the desktop's own validators.

#include "render/PngImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

int run(const std::string& command)
{
    int status = std::system((command + " > /dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(Install, StagedInstallHoldsTheGameItsDataAndValidDesktopFiles)
{
    std::string build = fs::path(GLOAMER_TOOLS_DIR).parent_path().string();
    std::string stage = testing::TempDir() + "stage";
    fs::remove_all(stage);
    ASSERT_EQ(run("DESTDIR='" + stage + "' cmake --install '" + build + "' --prefix /usr"), 0);
    std::string usr = stage + "/usr";

    EXPECT_TRUE(fs::is_regular_file(usr + "/bin/gloamer"));
    EXPECT_TRUE(fs::is_regular_file(usr + "/share/gloamer/tiles.dat"));
    EXPECT_TRUE(fs::is_regular_file(usr + "/share/gloamer/typo.dat"));
    EXPECT_TRUE(fs::is_regular_file(usr + "/share/gloamer/Save/begin.sav"));
    EXPECT_FALSE(fs::exists(usr + "/share/gloamer/gloamer")) << "the program is in bin/ only";
    for (const auto& entry : fs::recursive_directory_iterator(usr + "/share/gloamer")) {
        std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.rfind("slot", 0) != 0 && name != "control.ini") << "a player's file installed: " << name;
    }

    std::string desktop = usr + "/share/applications/org.gloamer.Gloamer.desktop";
    std::string metainfo = usr + "/share/metainfo/org.gloamer.Gloamer.metainfo.xml";
    EXPECT_EQ(run("desktop-file-validate '" + desktop + "'"), 0);
    EXPECT_EQ(run("appstreamcli validate --no-net '" + metainfo + "'"), 0);

    for (int size : {16, 32, 48, 64, 128, 256}) {
        std::string side = std::to_string(size);
        std::string file = usr + "/share/icons/hicolor/" + side + "x" + side + "/apps/org.gloamer.Gloamer.png";
        PngImage icon;
        ASSERT_EQ(icon.load(file.c_str()), 1) << file;
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
    }
    fs::remove_all(stage);
}
