#include "support/RecordingListener.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using testsupport::RecordingListener;

namespace
{
// Overrides only the two-argument forms, so the default bodies skip its own changes; it may act on each value.
struct Listener : juce::CvParamsManager::AutomatableParamListener
{
    using AutomatableParamListener::paramGestureChanged;
    using AutomatableParamListener::paramValueChanged;

    void paramValueChanged (int, float value) override
    {
        values.push_back (value);
        onValue (value);
    }

    void paramGestureChanged (int, bool starting) override { gestures.push_back (starting); }

    std::vector<float> values;
    std::vector<bool> gestures;
    std::function<void (float)> onValue = [] (float) {};
};

class CvParamsManagerTest : public ::testing::Test
{
protected:
    CvParamsManagerTest()
    {
        // Three of each kind; the host defaults are 0, 0.25 and 0.5.
        for (int index = 0; index < 3; ++index)
        {
            juce::CvDawParameter::Options options;
            options.parameterID = juce::ParameterID ("p" + juce::String (index), 1);
            options.defaultValue = 0.25f * (float) index;
            store.addAutomatableParam (*hostParameters.add (new juce::CvDawParameter (store, index, options)));
        }

        for (const juce::var& value : { juce::var (false), juce::var (-1), juce::var (0) })
            store.addNonAutomatableParam (value);
    }

    // Declared first so the host-facing parameters outlive the store, as the processor's do.
    juce::OwnedArray<juce::CvDawParameter> hostParameters;
    juce::CvParamsManager store;
};
} // namespace

// A listener that writes the index again hands the newest value to the listeners after it, and every write
// notifies, unchanged or not.
TEST_F (CvParamsManagerTest, NotifiesInRegistrationOrderAndReentrantWritesPassOnTheNewestValue)
{
    Listener first, rewriter, later;
    rewriter.onValue = [&] (float value)
    {
        if (value < 0.5f)
            store.setParamValue (&rewriter, 1, 0.9f);
    };

    for (auto* listener : { &first, &rewriter, &later })
        store.addParamListener (listener, 1, juce::CvParamsManager::registerOnly);

    store.setParamValue (nullptr, 1, 0.1f);
    store.setParamValue (nullptr, 1, 0.9f);

    EXPECT_EQ (first.values, (std::vector<float> { 0.1f, 0.9f, 0.9f }));
    EXPECT_EQ (later.values, (std::vector<float> { 0.9f, 0.9f, 0.9f }));
}

TEST_F (CvParamsManagerTest, SkipsTheSourceOfAChange)
{
    Listener author, other;
    store.addParamListener (&author, 0, juce::CvParamsManager::registerOnly);
    store.addParamListener (&other, 0, juce::CvParamsManager::registerOnly);

    store.beginParamGesture (&author, 0);
    store.setParamValue (&author, 0, 0.75f);
    store.endParamGesture (&author, 0);
    store.setParamValue (nullptr, 0, 0.5f);

    EXPECT_EQ (author.values, std::vector<float> { 0.5f });
    EXPECT_TRUE (author.gestures.empty());
    EXPECT_EQ (other.values, (std::vector<float> { 0.75f, 0.5f }));
    EXPECT_EQ (other.gestures, (std::vector<bool> { true, false }));

    // The non-automatable store skips the source itself, and exactly the source.
    RecordingListener before, naAuthor, after;

    for (auto* listener : { &before, &naAuthor, &after })
        store.addNonAutomatableParamListener (listener, 0, juce::CvParamsManager::registerOnly);

    store.setNonAutomatableParamValue (&naAuthor, 0, true);
    store.setNonAutomatableParamValue (&naAuthor, 0, true);

    EXPECT_EQ (before.events.size(), 2u);
    EXPECT_TRUE (naAuthor.events.empty());
    ASSERT_EQ (after.events.size(), 2u);
    EXPECT_TRUE ((bool) after.events[0].naValue);
}

TEST_F (CvParamsManagerTest, OnlyTheOutermostGestureReachesListenersAndAnUnbalancedEndCountsSilently)
{
    Listener listener;
    store.addParamListener (&listener, 2, juce::CvParamsManager::registerOnly);

    for (auto begin : { true, true, false, false, false })
        begin ? store.beginParamGesture (nullptr, 2) : store.endParamGesture (nullptr, 2);

    EXPECT_EQ (store.automatableParams[2]->gestureCount, -1);
    store.beginParamGesture (nullptr, 2);
    store.beginParamGesture (nullptr, 2);
    EXPECT_EQ (listener.gestures, (std::vector<bool> { true, false, true }));
}

TEST_F (CvParamsManagerTest, RegisteringTwiceKeepsOneEntryButCallsBackEachTime)
{
    RecordingListener listener;

    store.addParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);
    store.addNonAutomatableParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);
    store.addParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);
    store.addNonAutomatableParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);

    EXPECT_EQ (store.automatableParams[1]->listeners.size(), 2);
    EXPECT_EQ (store.nonAutomatableParams[1]->listeners.size(), 1);
    ASSERT_EQ (listener.events.size(), 4u);
    EXPECT_EQ (listener.events[0].source, nullptr);
    EXPECT_FLOAT_EQ (listener.events[0].value, 0.25f);
    EXPECT_EQ ((int) listener.events[1].naValue, -1);
}

TEST_F (CvParamsManagerTest, IndicesOutOfRangeAreIgnored)
{
    RecordingListener listener;

    for (auto index : { -1, 3 })
    {
        store.setParamValue (nullptr, index, 1.0f);
        store.beginParamGesture (nullptr, index);
        store.endParamGesture (nullptr, index);
        store.addParamListener (&listener, index, juce::CvParamsManager::sendCurrentValue);
        store.setNonAutomatableParamValue (nullptr, index, 1);
        store.addNonAutomatableParamListener (&listener, index, juce::CvParamsManager::sendCurrentValue);
    }

    EXPECT_TRUE (listener.events.empty());
    EXPECT_EQ (store.nonAutomatableParams.size(), 3);
}
