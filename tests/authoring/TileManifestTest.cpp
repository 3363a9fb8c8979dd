#include "authoring/TileManifest.h"
#include "render/PngImage.h"
#include "assets/TileContainer.h"
#include "assets/TileList.h"

#include "assets/TileFixtures.h"
#include "base/TestFiles.h"

#include <fstream>

namespace {

// A folder of its own holding the pictures of the tests below.
std::string picturesFolder()
{
    std::string folder = tempPath("manifest");
    std::string command = "mkdir -p '" + folder + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);

    PngImage frames, depth, glow, odd;
    frames.resize(4, 2, 0xFF112233u);   // two frames of 2 x 2
    frames.set(1, 0, 0x00FFFFFFu);      // invisible white: empty
    frames.set(3, 1, 0x80A0B0C0u);
    depth.resize(4, 2, 0xFF000000u);
    depth.set(2, 1, 0xFF090909u);
    glow.resize(4, 2, 0xFF000000u);
    glow.set(3, 1, 0xFF333333u);
    glow.set(1, 0, 0xFFFFFFFFu);        // glow under an empty pixel is dropped
    odd.resize(3, 2, 0xFFFFFFFFu);
    EXPECT_EQ(frames.save((folder + "/coin.png").c_str()), 1);
    EXPECT_EQ(depth.save((folder + "/coin_depth.png").c_str()), 1);
    EXPECT_EQ(glow.save((folder + "/coin_glow.png").c_str()), 1);
    EXPECT_EQ(odd.save((folder + "/odd.png").c_str()), 1);
    return folder;
}

std::string writeManifest(const std::string& folder, const std::string& text)
{
    std::string path = folder + "/manifest.txt";
    std::ofstream(path) << text;
    return path;
}

} // namespace

TEST(TileManifest, BuildsTilesFromPictures)
{
    std::string folder = picturesFolder();
    std::string manifest = writeManifest(folder, "# coins\n\n"
                                                 "gold_coin01.anm coin.png frame=2 depth=coin_depth.png glow=coin_glow.png extra=4,-5\n"
                                                 "  # indented comment\n"
                                                 "strip.til coin.png depth=7 glow=0.5\r\n");
    TileContainer container;
    TileManifest reader;
    ASSERT_EQ(reader.read(manifest.c_str(), &container), 1) << reader.error;
    std::string output = folder + "/out.dat";
    ASSERT_EQ(container.save(output.c_str()), 1) << container.error;

    TileList library(output.c_str(), false);
    ASSERT_EQ(library.count, 2);
    Tile* coin = library.findByName2("gold_coin01.anm");
    ASSERT_NE(coin, nullptr);
    ASSERT_EQ(coin->frameCount, 2);
    EXPECT_EQ(coin->width, 2);
    ASSERT_EQ(coin->extraCount, 2);
    EXPECT_EQ(coin->extra[1], -5);
    EXPECT_EQ(coin->getPixel(0, 1, 0), 0);
    EXPECT_EQ(coin->pixelAt(0, 1, 0)->incandescence, 0.0f);
    EXPECT_EQ(unsigned(coin->getPixel(1, 1, 1)), 0x80A0B0C0u);
    EXPECT_FLOAT_EQ(coin->pixelAt(1, 1, 1)->incandescence, 0x33 / 255.0f);
    EXPECT_EQ(coin->pixelAt(1, 0, 1)->depth, 9);
    EXPECT_EQ(coin->pixelAt(1, 1, 1)->depth, 0);

    // Frame width defaults to the height; single values apply everywhere.
    Tile* strip = library.findByName2("strip.til");
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->frameCount, 2);
    EXPECT_EQ(strip->pixelAt(1, 0, 0)->depth, 7);
    EXPECT_EQ(strip->pixelAt(0, 0, 0)->incandescence, 0.5f);
    EXPECT_EQ(strip->pixelAt(0, 1, 0)->incandescence, 0.0f);
}

TEST(TileManifest, BadLinesNameTheirPlace)
{
    std::string folder = picturesFolder();
    const char* cases[][2] = {
        {"key.png coin.png", "does not end in .til or .anm"},
        {"key.til", "has no image"},
        {"key.til coin.png size=3", "unknown option size"},
        {"key.til coin.png frame", "expected key=value"},
        {"key.til coin.png frame=0", "not a positive whole number"},
        {"key.til coin.png frame=3", "not a multiple of the frame width 3"},
        {"key.til coin.png frame=2 frame=2", "given twice"},
        {"key.til coin.png glow=1.5", "not between 0 and 1"},
        {"key.til coin.png extra=1,x", "'x' is not a whole number"},
        {"key.til missing.png", "cannot read image"},
        {"key.til coin.png depth=odd.png", "not 4x2"},
        {"key.til coin.png glow=nothing.png", "cannot read glow image"},
        {"coin.til coin.png", "already listed on line 2"},
    };
    for (auto& c : cases) {
        std::string manifest = writeManifest(folder, std::string("# tiles\ncoin.til coin.png\n") + c[0] + "\n");
        TileContainer container;
        TileManifest reader;
        EXPECT_EQ(reader.read(manifest.c_str(), &container), 0) << c[0];
        std::string error = reader.error;
        EXPECT_EQ(error.find(manifest + ":3: "), 0u) << error;
        EXPECT_NE(error.find(c[1]), std::string::npos) << error;
    }
}

TEST(TileContainer, RefusesWhatItCannotStore)
{
    Tile unnamed, unloaded;
    makeTile(&unnamed, "", 1, 1, 1);
    boundedCopy(unloaded.name, sizeof unloaded.name, "ghost.til");
    TileContainer container;
    EXPECT_EQ(container.add(unnamed), 0);
    EXPECT_EQ(container.add(unloaded), 0);
    EXPECT_EQ(container.count(), 0);
    EXPECT_EQ(container.save("/nonexistent/folder/tiles.dat"), 0);
}

// The tool end to end: a good manifest gives a container, a bad one an
// error on standard error, a failing exit and the previous output untouched.
TEST(Tilepack, PacksAManifestOrLeavesTheOutputAlone)
{
    std::string folder = picturesFolder();
    std::string tool = std::string(GLOAMER_TOOLS_DIR) + "/tilepack";
    std::string output = folder + "/packed.dat", errors = folder + "/errors.txt";
    std::string manifest = writeManifest(folder, "coin.anm coin.png frame=2\n");
    ASSERT_EQ(std::system((tool + " " + manifest + " " + output).c_str()), 0);
    {
        TileList library(output.c_str(), false);
        ASSERT_EQ(library.count, 1);
        EXPECT_EQ(library.findByName2("coin.anm")->frameCount, 2);
    }

    std::string original = readFile(output);
    manifest = writeManifest(folder, "coin.anm coin.png frame=2\nbad.til missing.png\n");
    EXPECT_NE(std::system((tool + " " + manifest + " " + output + " 2>" + errors).c_str()), 0);
    EXPECT_NE(readFile(errors).find("manifest.txt:2: cannot read image"), std::string::npos) << readFile(errors);
    EXPECT_EQ(readFile(output), original);
    EXPECT_NE(std::system((tool + " 2>/dev/null").c_str()), 0);
}
