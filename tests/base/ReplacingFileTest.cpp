#include "base/ReplacingFile.h"

#include "base/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

TEST(ReplacingFile, TheTargetChangesOnlyOnASuccessfulCommit)
{
    std::string path = std::string(testing::TempDir()) + "replacing.txt";
    std::ofstream(path) << "old";
    {
        ReplacingFile dropped(path.c_str());
        ASSERT_NE(dropped.out, nullptr);
        std::fputs("half", dropped.out);
    }
    EXPECT_EQ(readFile(path), "old");
    {
        ReplacingFile failed(path.c_str());
        std::fputs("bad", failed.out);
        EXPECT_EQ(failed.commit(false), 0);
    }
    EXPECT_EQ(readFile(path), "old");
    ReplacingFile good(path.c_str());
    std::fputs("new", good.out);
    EXPECT_EQ(good.commit(), 1);
    EXPECT_EQ(readFile(path), "new");
    EXPECT_FALSE(std::ifstream(path + ".tmp").good());

    ReplacingFile nowhere("/nonexistent/folder/file.txt");
    EXPECT_EQ(nowhere.out, nullptr);
    EXPECT_EQ(nowhere.commit(), 0);
}
