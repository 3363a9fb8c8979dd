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

void resetFake(std::vector<long long> wakes = {})
{
    fake = FAKE_TIME();
    fake.wakes = wakes;
}

} // namespace

TEST(FramePacing, SleepsToTheDeadlineAndNeverEndsAFrameEarly)
{
    const struct {
        const char* what;
        std::vector<long long> wakes;
        std::vector<unsigned long long> sleeps;
        unsigned long long frame;
    } cases[] = {
        {"a sleep that wakes on time", {}, {23000}, 33000},
        {"a sleep that wakes late lengthens only this frame", {150}, {23000}, 33150},
        {"a sleep cut short sleeps again for the rest", {-3000}, {23000, 3000}, 33000},
    };
    for (const auto& c : cases) {
        resetFake(c.wakes);
        unsigned long long start = fake.now, last = start;
        // The frame's own work took 10 ms.
        fake.now += 10000;
        waitForFrame(last, 33, fakeClock, fakeSleep);
        EXPECT_EQ(fake.sleeps, c.sleeps) << c.what;
        EXPECT_EQ(last, fake.now) << c.what;
        EXPECT_EQ(last - start, c.frame) << c.what;
    }
}

TEST(FramePacing, ALateFrameReturnsAtOnceAndIsNotMadeUp)
{
    resetFake();
    unsigned long long last = fake.now;
    fake.now += 50000;
    waitForFrame(last, 33, fakeClock, fakeSleep);
    EXPECT_TRUE(fake.sleeps.empty());
    EXPECT_EQ(last, 1050000u);
    // The next frame gets its full time from the late one's end.
    fake.now += 5000;
    waitForFrame(last, 33, fakeClock, fakeSleep);
    EXPECT_EQ(fake.sleeps, std::vector<unsigned long long>{28000});
    EXPECT_EQ(last, 1050000u + 33000u);
}
