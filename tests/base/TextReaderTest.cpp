#include "base/TextReader.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(TextReaderTest, WholeNumbersAreRefusedWithAnythingAfterOrOutOfRange)
{
    struct {
        const char* text;
        bool read;
        int value;
    } cases[] = {
        {"42", true, 42},  {" -7", true, -7}, {"100", true, 100}, {"101", false, 0},
        {"4 2", false, 0}, {"42x", false, 0}, {"", false, 0},     {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        int value = 0;
        EXPECT_EQ(readWholeNumber(c.text, -100, 100, &value), c.read) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    int untouched = 5;
    EXPECT_FALSE(readWholeNumber(nullptr, 0, 9, &untouched));
    EXPECT_EQ(untouched, 5);
}

TEST(TextReaderTest, WordsStemsAndLines)
{
    EXPECT_TRUE(firstWordIs("  checkpoint here", "checkpoint"));
    EXPECT_FALSE(firstWordIs("checkpoints", "checkpoint"));
    EXPECT_FALSE(firstWordIs("", "checkpoint"));
    EXPECT_EQ(stemOf("./Level/metro3.lvl"), "metro3");
    EXPECT_EQ(stemOf("metro3.lvl"), "metro3");

    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::fputs("dos line\r\nabcdefghij\nlast", f);
    std::rewind(f);
    char line[9];
    // The carriage return goes, a long line is cut, the last needs no newline.
    for (const char* expected : {"dos line", "abcdefgh", "last"}) {
        ASSERT_TRUE(readLine(f, line, sizeof line));
        EXPECT_STREQ(line, expected);
    }
    EXPECT_FALSE(readLine(f, line, sizeof line));
    std::fclose(f);
}
