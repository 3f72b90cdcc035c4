#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
class ThreadBarierTest : public ::testing::Test
{
protected:
    ThreadBarierTest()
    {
        store.addNonAutomatableParam (true);
        store.addNonAutomatableParamListener (&listener, 0, juce::CvParamsManager::registerOnly);
    }

    juce::CvParamsManager store;
    juce::ThreadBarierNonAutomatableParameter barrier { store, 0 };
    testsupport::RecordingListener listener;
};
} // namespace

TEST_F (ThreadBarierTest, DeliversTheLastOfSeveralWritesOnceOnTheMessageThreadWhenItDiffers)
{
    juce::ThreadBarierNonAutomatableParameter outside { store, 5 };
    outside.setValue (3);

    // The last value equals the stored true as a var, so nothing changes, not even the type; a hand-over for an
    // index beyond the store delivers nothing.
    for (const auto& value : { juce::var ("a"), juce::var ("b"), juce::var (1) })
        barrier.setValue (value);

    testsupport::pumpMessages (5);
    EXPECT_TRUE (listener.events.empty());
    EXPECT_TRUE (store.nonAutomatableParams[0]->value.isBool());

    for (auto* value : { "a", "b", "c" })
        barrier.setValue (value);

    EXPECT_TRUE (listener.events.empty());
    testsupport::pumpMessages (5);
    ASSERT_EQ (listener.events.size(), 1u);
    EXPECT_EQ (listener.events[0].naValue.toString(), "c");
}

TEST_F (ThreadBarierTest, WritesFromAnotherThreadNeverTearTheValue)
{
    std::atomic<bool> done { false };
    std::thread writer (
        [this, &done]
        {
            for (int i = 0; i < 20000; ++i)
                barrier.setValue (juce::String (i % 2 == 0 ? "even-text-value" : "odd-value"));

            barrier.setValue ("final");
            done = true;
        });

    testsupport::pumpUntil ([&] { return done.load(); }, 60000);

    writer.join();
    ASSERT_TRUE (
        testsupport::pumpUntil ([this] { return store.nonAutomatableParams[0]->value.toString() == "final"; }));

    for (const auto& event : listener.events)
        EXPECT_TRUE (event.naValue == "even-text-value" || event.naValue == "odd-value" || event.naValue == "final");
}
