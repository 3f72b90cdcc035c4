#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <gtest/gtest.h>

#include <thread>

using testsupport::HostRecorder;
using testsupport::pumpMessages;
using testsupport::pumpUntil;
using testsupport::RecordingListener;

namespace
{
juce::CvDawParameter::Options makeOptions (juce::CvDawParameter::ValueToText text = {})
{
    juce::CvDawParameter::Options options;
    options.parameterID = juce::ParameterID ("GAIN 0", 1);
    options.name = "GAIN";
    options.defaultValue = 0.5f;
    options.label = "dB";
    options.valueToText = std::move (text);
    return options;
}

class CvDawParameterTest : public ::testing::Test
{
protected:
    CvDawParameterTest()
    {
        store.addAutomatableParam (parameter);
        store.addParamListener (&listener, 0, juce::CvParamsManager::registerOnly);
        parameter.addListener (&host);
    }

    ~CvDawParameterTest() override { parameter.removeListener (&host); }

    juce::CvParamsManager store;
    juce::CvDawParameter parameter { store, 0, makeOptions() };
    RecordingListener listener;
    HostRecorder host;
};
} // namespace

TEST_F (CvDawParameterTest, HostWriteReachesTheStoreOnlyOnTheMessageThreadWithoutEcho)
{
    parameter.setValue (0.75f);

    EXPECT_FLOAT_EQ (parameter.getValue(), 0.75f);
    EXPECT_TRUE (listener.events.empty());

    pumpMessages (5);

    ASSERT_EQ (listener.events.size(), 1u);
    EXPECT_EQ (listener.events[0].source, static_cast<juce::CvParamsManager::AutomatableParamListener*> (&parameter));
    EXPECT_FLOAT_EQ (store.automatableParams[0]->value, 0.75f);
    EXPECT_TRUE (host.values.empty());
}

TEST_F (CvDawParameterTest, HostWritesCollapseAndUnchangedWritesPostNothing)
{
    parameter.setValue (0.1f);
    parameter.setValue (0.2f);
    parameter.setValue (0.3f);
    pumpMessages (5);

    ASSERT_EQ (listener.events.size(), 1u);
    EXPECT_FLOAT_EQ (listener.events[0].value, 0.3f);

    parameter.setValue (0.3f);
    pumpMessages (5);
    EXPECT_EQ (listener.events.size(), 1u);
    EXPECT_FALSE (parameter.isUpdatePending());
}

TEST_F (CvDawParameterTest, ModelChangeReachesTheHostOnceWithGesturesAndPostsNothingBack)
{
    store.beginParamGesture (nullptr, 0);
    store.setParamValue (nullptr, 0, 0.25f);
    store.endParamGesture (nullptr, 0);

    EXPECT_EQ (host.values, std::vector<float> { 0.25f });
    EXPECT_EQ (host.gestures, (std::vector<bool> { true, false }));
    EXPECT_FLOAT_EQ (parameter.getValue(), 0.25f);
    EXPECT_FALSE (parameter.isUpdatePending());

    pumpMessages (5);
    EXPECT_EQ (listener.eventsFor (0).size(), 3u);
}

TEST_F (CvDawParameterTest, ModelValuesAreClampedToTheRange)
{
    store.setParamValue (nullptr, 0, 1.5f);
    EXPECT_FLOAT_EQ (parameter.getValue(), 1.0f);

    store.setParamValue (nullptr, 0, -0.5f);
    EXPECT_FLOAT_EQ (parameter.getValue(), 0.0f);
}

TEST_F (CvDawParameterTest, WritesFromAnotherThreadAreDeliveredOnTheMessageThread)
{
    std::thread hostThread (
        [this]
        {
            for (int i = 1; i <= 1000; ++i)
                parameter.setValue ((float) i / 1000.0f);
        });
    hostThread.join();

    ASSERT_TRUE (pumpUntil ([this] { return store.automatableParams[0]->value == 1.0f; }));
    EXPECT_LE (listener.events.size(), 1000u);
    EXPECT_FLOAT_EQ (listener.events.back().value, 1.0f);
}

TEST_F (CvDawParameterTest, ReadsNumbersFromHostText)
{
    const std::pair<const char*, float> cases[] {
        { "0.25", 0.25f }, { "+ 0.5", 0.5f },   { "  ++0.5", 0.5f }, { "1,5", 1.0f }, { "ON", 0.0f },
        { "-3", 0.0f },    { "0.75dB", 0.75f }, { "0.4 x", 0.4f },   { "", 0.0f },
    };

    for (const auto& [text, expected] : cases)
        EXPECT_FLOAT_EQ (parameter.getValueForText (text), expected) << text;
}

TEST_F (CvDawParameterTest, TextComesFromTheValueFunctionOrTheDecimalFallback)
{
    EXPECT_EQ (parameter.getText (0.333f, 100), "0.33");

    juce::CvDawParameter withText { store, 0, makeOptions ([] (float v) { return juce::String (v, 3); }) };
    EXPECT_EQ (withText.getText (0.333f, 2), "0.333");
    EXPECT_EQ (withText.getName (3), "GAIN");
    EXPECT_TRUE (withText.isMetaParameter());
    EXPECT_FLOAT_EQ (withText.getDefaultValue(), 0.5f);
}
