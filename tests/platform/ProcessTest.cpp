#include "platform/Process.h"

#include "base/TestFiles.h"

#include <gtest/gtest.h>

// The program gets its arguments as they are, quotes and blanks included,
// runs in the folder given with the variables added, and its error output
// and exit status come back.
TEST(ProcessTest, RunsWithoutAShellInItsFolderWithItsErrorsInAFile)
{
    std::string folder = freshFolder("process", "inside");
    std::string errors = folder + "/errors.txt";
    int status = runProgram({"/bin/sh", "-c", "printf '%s|%s|' \"$1\" \"$GLOAMER_PROBE\" >&2; pwd >&2; exit 3", "sh",
                             "it's a 'quoted' word"},
                            folder + "/inside", {"GLOAMER_PROBE=set"}, errors);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(readFile(errors), "it's a 'quoted' word|set|" + folder + "/inside\n");
    EXPECT_EQ(runProgram({"./missing"}, folder, {}, errors), 127);
}
