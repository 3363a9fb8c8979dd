#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A clock in tenths of milliseconds that moves by one tenth on every read,
// as a spinning wait sees time go by, and by the time slept on every sleep,
// which wakes `lateBy` milliseconds late.
struct FAKE_TIME {
    unsigned long long tenths = 10000;
    unsigned lateBy = 0;
    std::vector<unsigned> sleeps;
    unsigned ms() const { return unsigned(tenths / 10); }
    void pass(unsigned milliseconds) { tenths += 10ULL * milliseconds; }
};
FAKE_TIME fake;

unsigned fakeClock()
{
    fake.tenths++;
    return fake.ms();
}

void fakeSleep(unsigned ms)
{
    fake.sleeps.push_back(ms);
    fake.pass(ms + fake.lateBy);
}

void resetFake(unsigned lateBy)
{
    fake = FAKE_TIME();
    fake.lateBy = lateBy;
}

} // namespace

TEST(FramePacing, FramesTakeAtLeastTheFrameTimeSleepingAllButTheLastMilliseconds)
{
    for (unsigned lateBy : {0u, 1u, 2u}) {
        resetFake(lateBy);
        unsigned last = fake.ms();
        // The frame's own work took 10 ms.
        fake.pass(10);
        waitForFrame(last, 33, fakeClock, fakeSleep);
        EXPECT_EQ(last, fake.ms());
        // One sleep up to the margin before the deadline, then only spinning.
        ASSERT_EQ(fake.sleeps.size(), 1u);
        EXPECT_EQ(fake.sleeps[0], 33u - 10u - frameSpinMargin);
        // Never shorter than the frame time; a sleep that wakes up to the
        // margin late does not make it longer.
        EXPECT_EQ(last - 1000, 33u) << "late by " << lateBy;
    }
}

TEST(FramePacing, SpinningWaitsOutTheLastMillisecondsWithoutSleeping)
{
    // The clock only moves with reads: a wait that would return before
    // the deadline, or sleep within the margin, is caught.
    resetFake(0);
    unsigned last = fake.ms();
    fake.pass(31);
    waitForFrame(last, 33, fakeClock, fakeSleep);
    EXPECT_TRUE(fake.sleeps.empty());
    EXPECT_GE(last - 1000, 33u);
    EXPECT_LE(last - 1000, 34u);
}

TEST(FramePacing, ALateFrameReturnsAtOnceAndIsNotMadeUp)
{
    resetFake(0);
    unsigned last = fake.ms();
    fake.pass(50);
    waitForFrame(last, 33, fakeClock, fakeSleep);
    EXPECT_TRUE(fake.sleeps.empty());
    EXPECT_EQ(last, 1050u);
    // The next frame gets its full time from the late one's end.
    fake.pass(5);
    waitForFrame(last, 33, fakeClock, fakeSleep);
    EXPECT_EQ(last, 1050u + 33u);
    // A clock that wraps around keeps the arithmetic.
    fake.tenths = 10ULL * 0xFFFFFFF0u;
    last = fake.ms();
    waitForFrame(last, 33, fakeClock, fakeSleep);
    EXPECT_EQ(last - 0xFFFFFFF0u, 33u);
}
