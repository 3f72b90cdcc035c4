#include "support/MessageLoop.h"

#include <link/MidiParams.h>

#include <gtest/gtest.h>

namespace
{
using testsupport::pumpMessages;
using testsupport::pumpUntil;

// Records the slot's calls to its owner, B and E for a gesture's begin and end, and the time of each call.
class MidiParamTest : public testing::Test
{
protected:
    MidiParamTest()
    {
        slot->apply = [this] (int value) { record (juce::String (value)), ++applied; };
        slot->gesture = [this] (bool starting) { record (starting ? "B" : "E"); };
    }

    void record (const juce::String& call)
    {
        trace << call << " ";
        times.push_back (juce::Time::currentTimeMillis());
    }

    // Waits for the gesture to close; returns how long it stayed open after the last value.
    juce::int64 closingDelay() const
    {
        EXPECT_TRUE (pumpUntil ([this] { return trace.endsWith ("E "); }));
        return times.size() < 2 ? 0 : times.back() - times[times.size() - 2];
    }

    // Sends values with the given gap, each applied before the next is sent.
    void sendBurst (std::initializer_list<int> values, int gapMilliseconds)
    {
        for (auto value : values)
        {
            slot->receive (value);
            ASSERT_TRUE (pumpUntil ([&, expected = applied + 1] { return applied == expected; }, 500));
            pumpMessages (gapMilliseconds);
        }
    }

    juce::String trace;
    std::vector<juce::int64> times;
    int applied = 0;
    std::unique_ptr<MidiParam> slot = std::make_unique<MidiParam>();
};
} // namespace

// Values posted before the message thread runs become one write of the last.
TEST_F (MidiParamTest, EachSingleWriteIsAGestureOf300Milliseconds)
{
    for (int value = 1; value <= 10; ++value)
        slot->receive (value * 10);

    EXPECT_TRUE (trace.isEmpty()) << "applied off the message thread";
    const auto first = closingDelay();

    sendBurst ({ 43 }, 0);
    const auto second = closingDelay();
    EXPECT_EQ (trace, "B 100 E B 43 E ");

    for (auto delay : { first, second })
    {
        EXPECT_GE (delay, 295);
        EXPECT_LT (delay, 600);
    }
}

TEST_F (MidiParamTest, BurstHoldsOneGestureForThreeTimesTheLastGapWithinAFloorOf100Milliseconds)
{
    for (const auto& [gap, minDelay, maxDelay] : { std::tuple { 50, 145, 290 }, std::tuple { 5, 95, 145 } })
    {
        trace.clear();
        sendBurst ({ 1, 2, 3, 4 }, gap);
        const auto delay = closingDelay();
        EXPECT_EQ (trace, "B 1 2 3 4 E ") << gap;
        EXPECT_GE (delay, minDelay) << gap;
        EXPECT_LT (delay, maxDelay) << gap;
    }
}

TEST_F (MidiParamTest, SlotDestroyedMidGestureClosesItAndAppliesNothingMore)
{
    sendBurst ({ 3 }, 0);
    slot->receive (4);
    slot.reset();
    pumpMessages (20);
    EXPECT_EQ (trace, "B 3 E ");
}
