// The level checker, run as the data build runs it: on a game directory,
// and on level files. It reads the levels as the game does and must find
// every problem a content author has to fix.

#include "base/TestFiles.h"
#include "level/LevelFileFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A fresh game directory with the test tiles and an empty Level/ folder.
std::string gameDir(const std::string& name)
{
    std::string dir = freshFolder("levelcheck_" + name, "Level");
    writeLevelTiles(dir + "/tiles.dat");
    return dir;
}

void copyLevels(const std::string& dir, const std::string& files)
{
    std::string command = "cd '" + levelData() + "/Level' && cp " + files + " '" + dir + "/Level/'";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

void writeLevel(const std::string& dir, const char* file, const std::string& content)
{
    std::ofstream out(dir + "/Level/" + file, std::ios::binary);
    out << content;
}

const std::string ground = "ELEMENT\nground\n  wall.til\n 0 0\n 0 0 0\n  \n";

} // namespace

TEST(LevelcheckTest, GoodLevelsPassWithTheirSummaries)
{
    std::string dir = gameDir("good");
    copyLevels(dir, "routing.lvl arrival.lvl water_fill.lvl water_switched.lvl");
    writeLevel(dir, "loop.lvl", ground + "ELEMENT\nback\n  wall.til\n 0 0\n 9 9 0\n  door loop.lvl ground\n");
    TOOL_RUN run = runTool("levelcheck", "'" + dir + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(run.says("./Level/routing.lvl: 13 elements, 6 entities, 0 lights, 2 doors, 0 bonus, 3 ennemies\n"))
        << run.output;
    EXPECT_TRUE(run.says("levelcheck: 5 levels, 0 with errors, 0 warnings\n")) << run.output;
}

TEST(LevelcheckTest, BrokenLevelsAreReportedAndFail)
{
    std::string dir = gameDir("broken");
    copyLevels(dir, "missing_tile.lvl keywords.lvl keywords.spc arrival.lvl");
    writeLevel(dir, "doors.lvl",
               ground + "ELEMENT\nout\n  wall.til\n 0 0\n 0 0 0\n  door nowhere.lvl entry\n" +
                   "ELEMENT\nin\n  wall.til\n 0 0\n 0 0 0\n  locked_key_door arrival.lvl lobby 2\n" +
                   "ELEMENT\nok\n  wall.til\n 0 0\n 0 0 0\n  door arrival.lvl entry\n");
    writeLevel(dir, "empty.lvl", "# nothing here\n");
    writeLevel(dir, "numbers.lvl", "BASE_DEPTH deep\n" + ground + "ELEMENT\nhalf\n");
    TOOL_RUN run = runTool("levelcheck", "'" + dir + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(run.says("./Level/missing_tile.lvl:9: error: tile not in the library, element dropped: \"nope.til\"\n"))
        << run.output;
    EXPECT_TRUE(run.says("./Level/missing_tile.lvl:12: warning: ignored line: \"  ladder\"\n"));
    // The special file's own problem is reported against that file.
    EXPECT_TRUE(run.says("./Level/keywords.spc:10: error: tile not in the library"));
    EXPECT_TRUE(run.says("./Level/doors.lvl: error: door at (0, 0): destination ./Level/nowhere.lvl does not exist\n"));
    EXPECT_TRUE(run.says("./Level/doors.lvl: error: door at (0, 0): ./Level/arrival.lvl has no element \"lobby\""));
    EXPECT_FALSE(run.says("\"entry\""));
    EXPECT_TRUE(run.says("./Level/arrival.lvl: error: door at (0, 0): destination ./Level/routing.lvl does not exist"));
    EXPECT_TRUE(run.says("./Level/empty.lvl:1: warning: ignored line: \"# nothing here\"\n"));
    EXPECT_TRUE(run.says("./Level/empty.lvl: error: no map"));
    EXPECT_TRUE(run.says("./Level/numbers.lvl:1: error: number or word does not parse: \"BASE_DEPTH deep\"\n"));
    EXPECT_TRUE(run.says("./Level/numbers.lvl:9: error: file ends inside a block"));
    EXPECT_TRUE(run.says("levelcheck: 6 levels, 6 with errors, 4 warnings\n")) << run.output;
}

TEST(LevelcheckTest, LevelFilesAndGameDirectoriesWithoutLevels)
{
    std::string dir = gameDir("files");
    copyLevels(dir, "arrival.lvl routing.lvl");
    TOOL_RUN files = runTool("levelcheck", "--game '" + dir + "' '" + dir + "/Level/arrival.lvl' '" + dir + "/nothing.lvl'");
    EXPECT_EQ(files.status, 1) << files.output;
    EXPECT_TRUE(files.says("/Level/arrival.lvl: 1 elements,")) << files.output;
    EXPECT_TRUE(files.says("/nothing.lvl: error: cannot open\n"));
    EXPECT_TRUE(files.says("levelcheck: 2 levels, 1 with errors, 0 warnings\n"));

    std::string empty = gameDir("empty");
    EXPECT_EQ(runTool("levelcheck", "'" + empty + "'").status, 0);
    ASSERT_EQ(std::system(("rm -rf '" + empty + "/Level' '" + empty + "/tiles.dat'").c_str()), 0);
    TOOL_RUN none = runTool("levelcheck", "'" + empty + "'");
    EXPECT_EQ(none.status, 0) << none.output;
    EXPECT_TRUE(none.says("levelcheck: 0 levels, 0 with errors, 0 warnings\n"));
    EXPECT_EQ(runTool("levelcheck", "").status, 2);
}

TEST(LevelcheckTest, AOneFrameElementGivenAnotherFrameIsAWarning)
{
    std::string dir = gameDir("frames");
    writeLevel(dir, "frames.lvl",
               ground + "ELEMENT\nshifted\n  wall.til\n 0 1\n 4 4 0\n  \n" +
                   "ELEMENT\nbehind\n  wall.til\n 0 -1\n 8 8 0\n  \n" +
                   "ELEMENT\nturning\n  anim.anm\n 1 2\n 8 8 0\n  \n");
    TOOL_RUN run = runTool("levelcheck", "'" + dir + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(run.says("./Level/frames.lvl:10: warning: one-frame element given another frame, its only frame is "
                         "used: \" 0 1\"\n"))
        << run.output;
    EXPECT_TRUE(run.says("./Level/frames.lvl:16: warning:")) << run.output;
    EXPECT_TRUE(run.says("levelcheck: 1 levels, 0 with errors, 2 warnings\n")) << run.output;
}

// A tile library cut short keeps its directory, but the tiles past the cut
// have no frames: a level showing one of them has an error.
TEST(LevelcheckTest, ATileWithoutFramesIsAnError)
{
    std::string dir = gameDir("cut_tiles");
    writeLevel(dir, "lamp.lvl", "ELEMENT\nlamp\n  aceto.til\n 0 0\n 0 0 0\n  \n" + ground);
    TOOL_RUN whole = runTool("levelcheck", "'" + dir + "'");
    EXPECT_EQ(whole.status, 0) << whole.output;

    std::string tiles = dir + "/tiles.dat", bytes = readFile(tiles);
    std::ofstream(tiles, std::ios::binary) << bytes.substr(0, bytes.size() - 20);
    TOOL_RUN cut = runTool("levelcheck", "'" + dir + "'");
    EXPECT_EQ(cut.status, 1) << cut.output;
    EXPECT_TRUE(cut.says("tile \"aceto.til\" has no frames")) << cut.output;
    EXPECT_TRUE(cut.says("1 with errors")) << cut.output;
    EXPECT_FALSE(cut.says("wall.til\" has no frames")) << cut.output;
}

// A message naming a key stays wrong once the player binds another: the
// check points at every such sign and sheet, and lets "%NNN" and plain words
// that only look like keys pass.
TEST(LevelcheckTest, AMessageNamingAKeyLiterallyIsAWarning)
{
    std::string dir = gameDir("key_names");
    auto sign = [](const char* name, const std::string& kindLine) {
        bool sheet = kindLine.compare(0, 6, "sheet ") == 0;
        return std::string(sheet ? "BONUS\n" : "ELEMENT\n") + name + "\n  wall.til\n 0 0\n 0 0 0\n  " + kindLine +
               "\n";
    };
    writeLevel(dir, "signs.lvl",
               ground + sign("quoted", "text FFFFFFFF Jump with the 'space' key.") +
                   sign("letter", "text FFFFFFFF Take it with \"E\".") + sign("bracket", "sheet Pull (A) twice.") +
                   sign("press", "sheet Press e at the door.") + sign("bar", "text FFFFFFFF Hit the space bar.") +
                   sign("escaped", "text FFFFFFFF Jump with the '%032' key, hold %274 to crawl.") +
                   sign("plain", "sheet A key waits up there. Don't stop: it's the Z gallery (east).") +
                   sign("apostrophes", "text FFFFFFFF RUE D'ALESIA. Quarrymen's 'upper' gallery."));
    TOOL_RUN run = runTool("levelcheck", "'" + dir + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    for (const char* named : {"\"quoted\" names a key literally ('space')", "\"letter\" names a key literally (\"E\")",
                              "\"bracket\" names a key literally ((A))", "\"press\" names a key literally (Press e)",
                              "\"bar\" names a key literally (space bar)"})
        EXPECT_TRUE(run.says(std::string("./Level/signs.lvl: warning: ") + named)) << named << run.output;
    EXPECT_TRUE(run.says("levelcheck: 1 levels, 0 with errors, 5 warnings\n")) << run.output;
}
