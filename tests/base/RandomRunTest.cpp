#include "base/RandomRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

// Runs draw what std::rand() would have drawn, and std::rand() goes on
// from where they left it, wherever in its table they start and end.
TEST(RandomRunTest, RunsAndRandDrawOneSequence)
{
    for (unsigned seed : {1u, 20261207u}) {
        std::srand(seed);
        std::vector<int> expected(1000);
        for (int& v : expected)
            v = std::rand();

        std::srand(seed);
        std::vector<int> drawn;
        for (int part : {7, 300, 1, 692}) {
            if (part == 1) {
                drawn.push_back(std::rand());
                continue;
            }
            RandomRun run;
            for (int i = 0; i < part; i++)
                drawn.push_back(run.next());
        }
        EXPECT_EQ(drawn, expected) << "seed " << seed;
    }
}
