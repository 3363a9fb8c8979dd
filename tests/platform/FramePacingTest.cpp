#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A microsecond clock that moves only by the time slept. Sleep number i
// wakes wakes[i] microseconds later than asked (earlier when negative: a
// sleep cut short by a signal); later sleeps wake on time.
struct FAKE_TIME {
    unsigned long long now = 1000000;
    std::vector<long long> wakes;
    std::vector<unsigned long long> sleeps;
};
FAKE_TIME fake;

unsigned long long fakeClock()
{
    return fake.now;
}

void fakeSleep(unsigned long long us)
{
    long long wake = fake.sleeps.size() < fake.wakes.size() ? fake.wakes[fake.sleeps.size()] : 0;
    fake.sleeps.push_back(us);
    fake.now += (unsigned long long)((long long)us + wake);
}

} // namespace

// A frame whose work took `work` microseconds waits out its 33 ms; the next
// counts from where this one ended, so a late frame is not made up.
TEST(FramePacing, SleepsToTheDeadlineAndNeverEndsAFrameEarly)
{
    const struct {
        const char* what;
        unsigned long long work;
        std::vector<long long> wakes;
        std::vector<unsigned long long> sleeps;
        unsigned long long frame;
    } cases[] = {
        {"a sleep that wakes on time", 10000, {}, {23000}, 33000},
        {"a sleep that wakes late lengthens only this frame", 10000, {150}, {23000}, 33150},
        {"a sleep cut short sleeps again for the rest", 10000, {-3000}, {23000, 3000}, 33000},
        {"a late frame returns at once", 50000, {}, {}, 50000},
    };
    for (const auto& c : cases) {
        fake = FAKE_TIME{1000000, c.wakes, {}};
        unsigned long long start = fake.now, last = start;
        fake.now += c.work;
        waitForFrame(last, 33, fakeClock, fakeSleep);
        EXPECT_EQ(fake.sleeps, c.sleeps) << c.what;
        EXPECT_EQ(last, fake.now) << c.what;
        EXPECT_EQ(last - start, c.frame) << c.what;
    }
}
