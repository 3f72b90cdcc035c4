#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <gtest/gtest.h>

#include <thread>

using testsupport::pumpMessages;
using testsupport::pumpUntil;
using testsupport::RecordingListener;

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
    RecordingListener listener;
};
} // namespace

TEST_F (ThreadBarierTest, SeveralWritesDeliverTheLastOnceOnTheMessageThread)
{
    barrier.setValue ("a");
    barrier.setValue ("b");
    barrier.setValue ("c");
    EXPECT_TRUE (listener.events.empty());

    pumpMessages (5);

    ASSERT_EQ (listener.events.size(), 1u);
    EXPECT_EQ (listener.events[0].naValue.toString(), "c");
    EXPECT_EQ (store.nonAutomatableParams[0]->value.toString(), "c");
}

TEST_F (ThreadBarierTest, ValueEqualToTheStoredOneChangesNothing)
{
    barrier.setValue (1);
    pumpMessages (5);

    EXPECT_TRUE (listener.events.empty());
    EXPECT_TRUE (store.nonAutomatableParams[0]->value.isBool());
}

TEST_F (ThreadBarierTest, IndexBeyondTheStoreIsIgnored)
{
    juce::ThreadBarierNonAutomatableParameter outside { store, 5 };
    outside.setValue (3);
    pumpMessages (5);

    EXPECT_EQ (store.nonAutomatableParams.size(), 1);
    EXPECT_TRUE (listener.events.empty());
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

    while (! done)
        pumpMessages (1);

    writer.join();
    ASSERT_TRUE (pumpUntil ([this] { return store.nonAutomatableParams[0]->value.toString() == "final"; }));

    for (const auto& event : listener.events)
        EXPECT_TRUE (event.naValue == "even-text-value" || event.naValue == "odd-value" || event.naValue == "final");
}
