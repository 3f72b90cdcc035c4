#include "support/RecordingListener.h"

#include <gtest/gtest.h>

using testsupport::RecordingListener;
using Kind = RecordingListener::Kind;

namespace
{
// Relies on the default source filter: only the two-argument forms are overridden.
class FilteredListener : public juce::CvParamsManager::AutomatableParamListener
{
public:
    using juce::CvParamsManager::AutomatableParamListener::paramGestureChanged;
    using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;

    void paramValueChanged (int, float) override { ++values; }
    void paramGestureChanged (int, bool) override { ++gestures; }

    int values = 0;
    int gestures = 0;
};

class CvParamsManagerTest : public ::testing::Test
{
protected:
    CvParamsManagerTest()
    {
        for (int index = 0; index < 3; ++index)
        {
            juce::CvDawParameter::Options options;
            options.parameterID = juce::ParameterID ("p" + juce::String (index), 1);
            options.defaultValue = 0.25f * (float) index;
            store.addAutomatableParam (*hostParameters.add (new juce::CvDawParameter (store, index, options)));
        }

        store.addNonAutomatableParam (false);
        store.addNonAutomatableParam (-1);
    }

    // Declared first so the host-facing parameters outlive the store, as the processor's do.
    juce::OwnedArray<juce::CvDawParameter> hostParameters;
    juce::CvParamsManager store;
};
} // namespace

TEST_F (CvParamsManagerTest, RecordTakesHostDefaultAndListsHostParameterFirst)
{
    ASSERT_EQ (store.automatableParams.size(), 3);
    EXPECT_FLOAT_EQ (store.automatableParams[2]->value, 0.5f);
    EXPECT_EQ (store.automatableParams[2]->listeners.getFirst(),
               static_cast<juce::CvParamsManager::AutomatableParamListener*> (hostParameters[2]));
    EXPECT_EQ (store.automatableParams[2]->index, 2);
    EXPECT_EQ (store.automatableParams[2]->gestureCount, 0);
}

TEST_F (CvParamsManagerTest, WriteNotifiesEveryListenerInOrderEvenWhenUnchanged)
{
    RecordingListener first, second;
    store.addParamListener (&first, 1, juce::CvParamsManager::registerOnly);
    store.addParamListener (&second, 1, juce::CvParamsManager::registerOnly);

    store.setParamValue (nullptr, 1, 0.25f);
    store.setParamValue (nullptr, 1, 0.25f);

    ASSERT_EQ (first.events.size(), 2u);
    ASSERT_EQ (second.events.size(), 2u);
    EXPECT_FLOAT_EQ (first.events[1].value, 0.25f);
    EXPECT_FLOAT_EQ (store.automatableParams[1]->value, 0.25f);
}

TEST_F (CvParamsManagerTest, DefaultBodiesSkipTheListenerThatWroteTheChange)
{
    FilteredListener author, other;
    store.addParamListener (&author, 0, juce::CvParamsManager::registerOnly);
    store.addParamListener (&other, 0, juce::CvParamsManager::registerOnly);

    store.beginParamGesture (&author, 0);
    store.setParamValue (&author, 0, 0.75f);
    store.endParamGesture (&author, 0);

    EXPECT_EQ (author.values + author.gestures, 0);
    EXPECT_EQ (other.values, 1);
    EXPECT_EQ (other.gestures, 2);

    store.setParamValue (nullptr, 0, 0.5f);
    EXPECT_EQ (author.values, 1);
    EXPECT_EQ (other.values, 2);
}

TEST_F (CvParamsManagerTest, ReentrantWriteHandsTheNewestValueToLaterListeners)
{
    struct Rewriter : juce::CvParamsManager::AutomatableParamListener
    {
        explicit Rewriter (juce::CvParamsManager& s)
            : store (s)
        {
        }

        using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;

        void paramValueChanged (int index, float value) override
        {
            if (value < 0.5f)
                store.setParamValue (this, index, 0.9f);
        }

        juce::CvParamsManager& store;
    };

    Rewriter rewriter (store);
    RecordingListener later;
    store.addParamListener (&rewriter, 1, juce::CvParamsManager::registerOnly);
    store.addParamListener (&later, 1, juce::CvParamsManager::registerOnly);

    store.setParamValue (nullptr, 1, 0.1f);

    // The inner write reaches the later listener first; the outer loop then re-reads the stored value.
    ASSERT_EQ (later.events.size(), 2u);
    EXPECT_FLOAT_EQ (later.events[0].value, 0.9f);
    EXPECT_FLOAT_EQ (later.events[1].value, 0.9f);
    EXPECT_FLOAT_EQ (store.automatableParams[1]->value, 0.9f);
}

TEST_F (CvParamsManagerTest, OnlyTheOutermostGestureReachesListeners)
{
    RecordingListener listener;
    store.addParamListener (&listener, 2, juce::CvParamsManager::registerOnly);

    store.beginParamGesture (nullptr, 2);
    store.beginParamGesture (nullptr, 2);
    store.endParamGesture (nullptr, 2);
    store.endParamGesture (nullptr, 2);

    ASSERT_EQ (listener.events.size(), 2u);
    EXPECT_EQ (listener.events[0].kind, Kind::gestureBegin);
    EXPECT_EQ (listener.events[1].kind, Kind::gestureEnd);
}

TEST_F (CvParamsManagerTest, UnbalancedEndCountsBelowZeroSilently)
{
    RecordingListener listener;
    store.addParamListener (&listener, 2, juce::CvParamsManager::registerOnly);

    store.endParamGesture (nullptr, 2);
    EXPECT_EQ (store.automatableParams[2]->gestureCount, -1);

    store.beginParamGesture (nullptr, 2);
    EXPECT_EQ (store.automatableParams[2]->gestureCount, 0);
    EXPECT_TRUE (listener.events.empty());

    store.beginParamGesture (nullptr, 2);
    EXPECT_EQ (listener.events.size(), 1u);
}

TEST_F (CvParamsManagerTest, NonAutomatableWriteSkipsExactlyTheSource)
{
    RecordingListener first, author, last;

    for (auto* listener : { &first, &author, &last })
        store.addNonAutomatableParamListener (listener, 0, juce::CvParamsManager::registerOnly);

    store.setNonAutomatableParamValue (&author, 0, true);
    store.setNonAutomatableParamValue (&author, 0, true);

    EXPECT_EQ (first.events.size(), 2u);
    EXPECT_TRUE (author.events.empty());
    ASSERT_EQ (last.events.size(), 2u);
    EXPECT_TRUE ((bool) last.events[0].naValue);
}

TEST_F (CvParamsManagerTest, RegisteringTwiceKeepsOneEntryButCallsBackEachTime)
{
    RecordingListener listener;
    store.addParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);
    store.addParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);
    store.addNonAutomatableParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);
    store.addNonAutomatableParamListener (&listener, 1, juce::CvParamsManager::sendCurrentValue);

    EXPECT_EQ (store.automatableParams[1]->listeners.size(), 2);
    EXPECT_EQ (store.nonAutomatableParams[1]->listeners.size(), 1);
    ASSERT_EQ (listener.events.size(), 4u);
    EXPECT_EQ (listener.events[0].source, nullptr);
    EXPECT_FLOAT_EQ (listener.events[0].value, 0.25f);
    EXPECT_EQ ((int) listener.events[3].naValue, -1);

    store.setParamValue (nullptr, 1, 0.5f);
    EXPECT_EQ (listener.events.size(), 5u);
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
    }

    for (auto index : { -1, 2 })
    {
        store.setNonAutomatableParamValue (nullptr, index, 1);
        store.addNonAutomatableParamListener (&listener, index, juce::CvParamsManager::sendCurrentValue);
    }

    EXPECT_TRUE (listener.events.empty());
    EXPECT_EQ (store.nonAutomatableParams.size(), 2);
}
