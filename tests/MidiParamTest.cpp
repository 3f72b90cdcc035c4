#include "support/MessageLoop.h"

#include <MidiParams.h>

#include <gtest/gtest.h>

namespace
{
using testsupport::pumpMessages;
using testsupport::pumpUntil;

// What the slot's owner would see, each call stamped with the wall clock the slot times itself by.
class MidiParamTest : public testing::Test
{
public:
    struct Call
    {
        enum Kind
        {
            apply,
            begin,
            end
        } kind;
        int value;
        juce::int64 time;
    };

protected:
    MidiParamTest()
    {
        slot->apply = [this] (int value) { record (Call::apply, value); };
        slot->gesture = [this] (bool starting) { record (starting ? Call::begin : Call::end, 0); };
    }

    void record (Call::Kind kind, int value) { calls.push_back ({ kind, value, juce::Time::currentTimeMillis() }); }

    std::vector<Call::Kind> kinds() const
    {
        std::vector<Call::Kind> result;

        for (const auto& call : calls)
            result.push_back (call.kind);

        return result;
    }

    std::vector<int> appliedValues() const
    {
        std::vector<int> result;

        for (const auto& call : calls)
            if (call.kind == Call::apply)
                result.push_back (call.value);

        return result;
    }

    bool closed() const { return ! calls.empty() && calls.back().kind == Call::end; }

    // The gesture's lifetime after the last value it applied.
    juce::int64 closingDelay() const
    {
        EXPECT_TRUE (pumpUntil ([this] { return closed(); }, 2000));
        EXPECT_GE (calls.size(), 3u);
        return calls.back().time - calls[calls.size() - 2].time;
    }

    // Sends values from the unit with the given gap, each handled before the next arrives.
    void sendBurst (std::initializer_list<int> values, int gapMilliseconds)
    {
        for (auto value : values)
        {
            const auto handled = appliedValues().size() + 1;
            slot->receive (value);
            ASSERT_TRUE (pumpUntil ([&] { return appliedValues().size() == handled; }, 500));
            pumpMessages (gapMilliseconds);
        }
    }

    std::vector<Call> calls;
    std::unique_ptr<MidiParam> slot = std::make_unique<MidiParam>();
};

using Kind = MidiParamTest::Call::Kind;
} // namespace

TEST_F (MidiParamTest, SingleValueIsOneWriteInAGestureThatClosesAfter300Milliseconds)
{
    slot->receive (42);
    EXPECT_TRUE (calls.empty()) << "applied off the message thread";

    const auto delay = closingDelay();
    EXPECT_EQ (kinds(), (std::vector<Kind> { Kind::begin, Kind::apply, Kind::end }));
    EXPECT_EQ (appliedValues(), std::vector<int> { 42 });
    EXPECT_GE (delay, 295);
    EXPECT_LT (delay, 600);
}

TEST_F (MidiParamTest, ValuesFiftyMillisecondsApartKeepOneGestureUntil150MillisecondsAfterTheLast)
{
    sendBurst ({ 1, 2, 3, 4 }, 50);
    EXPECT_FALSE (closed());

    const auto delay = closingDelay();
    EXPECT_EQ (kinds(),
               (std::vector<Kind> { Kind::begin, Kind::apply, Kind::apply, Kind::apply, Kind::apply, Kind::end }));
    EXPECT_EQ (appliedValues(), (std::vector<int> { 1, 2, 3, 4 }));
    EXPECT_GE (delay, 145);
    EXPECT_LT (delay, 290) << "closed as if the burst had just begun";
}

TEST_F (MidiParamTest, QuickValuesHoldTheGestureForTheFloorOf100Milliseconds)
{
    sendBurst ({ 1, 2, 3, 4, 5 }, 5);

    const auto delay = closingDelay();
    EXPECT_EQ (appliedValues().size(), 5u);
    EXPECT_GE (delay, 95);
    EXPECT_LT (delay, 145);
}

TEST_F (MidiParamTest, ValuesPostedBeforeTheMessageThreadRunsBecomeOneWriteOfTheLast)
{
    for (int value = 1; value <= 10; ++value)
        slot->receive (value * 10);

    closingDelay();
    EXPECT_EQ (kinds(), (std::vector<Kind> { Kind::begin, Kind::apply, Kind::end }));
    EXPECT_EQ (appliedValues(), std::vector<int> { 100 });
}

TEST_F (MidiParamTest, ValueAfterTheGestureClosedOpensANewOneOf300Milliseconds)
{
    sendBurst ({ 7 }, 0);
    closingDelay();

    sendBurst ({ 8 }, 0);
    const auto delay = closingDelay();
    EXPECT_EQ (kinds(),
               (std::vector<Kind> { Kind::begin, Kind::apply, Kind::end, Kind::begin, Kind::apply, Kind::end }));
    EXPECT_GE (delay, 295);
}

TEST_F (MidiParamTest, WithoutAGestureFunctionValuesAreStillWritten)
{
    slot->gesture = nullptr;
    slot->receive (5);
    EXPECT_TRUE (pumpUntil ([this] { return ! calls.empty(); }));
    EXPECT_EQ (appliedValues(), std::vector<int> { 5 });
}

TEST_F (MidiParamTest, SlotDestroyedMidGestureClosesItAndAppliesNothingMore)
{
    sendBurst ({ 3 }, 0);
    slot->receive (4);
    slot.reset();

    EXPECT_EQ (kinds(), (std::vector<Kind> { Kind::begin, Kind::apply, Kind::end }));
    pumpMessages (20);
    EXPECT_EQ (appliedValues(), std::vector<int> { 3 });
}
