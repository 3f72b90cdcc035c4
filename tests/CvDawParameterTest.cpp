#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
juce::CvDawParameter::Options makeOptions (juce::CvDawParameter::ValueToText text = {})
{
    juce::CvDawParameter::Options options;
    options.parameterID = juce::ParameterID ("GAIN 0", 1);
    options.name = "GAIN";
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

    juce::CvParamsManager store;
    testsupport::RecordingListener listener;
    testsupport::HostRecorder host;
    juce::CvDawParameter parameter { store, 0, makeOptions() };
};
} // namespace

// Only the last of several host writes, from any thread, reaches the store, on the message thread, with the
// parameter as source and without an echo to the host; a write of the value already held posts nothing.
TEST_F (CvDawParameterTest, HostWritesCollapseIntoOneDeliveryOnTheMessageThread)
{
    for (auto value : { 0.1f, 0.2f, 0.75f })
        parameter.setValue (value);

    EXPECT_FLOAT_EQ (parameter.getValue(), 0.75f);
    EXPECT_TRUE (listener.events.empty());
    testsupport::pumpMessages (5);

    ASSERT_EQ (listener.events.size(), 1u);
    EXPECT_EQ (listener.events[0].source, static_cast<juce::CvParamsManager::AutomatableParamListener*> (&parameter));
    EXPECT_FLOAT_EQ (listener.events[0].value, 0.75f);
    EXPECT_TRUE (host.values.empty());

    parameter.setValue (0.75f);
    EXPECT_FALSE (parameter.isUpdatePending());

    std::thread hostThread (
        [this]
        {
            for (int i = 1; i <= 1000; ++i)
                parameter.setValue ((float) i / 1000.0f);
        });
    hostThread.join();

    EXPECT_TRUE (testsupport::pumpUntil ([this] { return store.automatableParams[0]->value == 1.0f; }));
}

// Some hosts pass on whatever they are given: the store only ever sees a number within 0..1.
TEST_F (CvDawParameterTest, HostWritesOutsideTheRangeAreClampedAndNonNumbersIgnored)
{
    parameter.setValue (0.5f);

    for (auto value : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity() })
        parameter.setValue (value);

    EXPECT_EQ (parameter.getValue(), 0.5f);
    parameter.setValue (3.0f);
    EXPECT_EQ (parameter.getValue(), 1.0f);
    parameter.setValue (-1.0e30f);
    EXPECT_EQ (parameter.getValue(), 0.0f);

    testsupport::pumpMessages (5);
    ASSERT_EQ (listener.events.size(), 1u);
    EXPECT_EQ (listener.events[0].value, 0.0f);
}

// Values from the model are clamped to the range and reach the host once, with their gestures, posting nothing
// back to the store.
TEST_F (CvDawParameterTest, ModelChangesReachTheHostOnceWithGestures)
{
    store.beginParamGesture (nullptr, 0);
    store.setParamValue (nullptr, 0, 1.5f);
    store.setParamValue (nullptr, 0, -0.5f);
    store.endParamGesture (nullptr, 0);

    EXPECT_EQ (host.values, (std::vector<float> { 1.0f, 0.0f }));
    EXPECT_EQ (host.gestures, (std::vector<bool> { true, false }));
    EXPECT_EQ (listener.events.size(), 4u);
    EXPECT_FALSE (parameter.isUpdatePending());
}

TEST_F (CvDawParameterTest, ReadsNumbersFromHostTextAndWritesTextWithTheFunctionOrTwoDecimals)
{
    const std::pair<const char*, float> cases[] {
        { "0.25", 0.25f }, { "+ 0.5", 0.5f }, { "  ++0.5", 0.5f }, { "1,5", 1.0f },   { "0,25", 0.25f },
        { "ON", 0.0f },    { "-3", 0.0f },    { "0.75dB", 0.75f }, { "0.4 x", 0.4f }, { "", 0.0f },
    };
    const auto hugeNumber = juce::String::repeatedString ("9", 400);

    for (const auto& [text, expected] : cases)
        EXPECT_FLOAT_EQ (parameter.getValueForText (text), expected) << text;

    EXPECT_EQ (parameter.getValueForText (hugeNumber), 1.0f);
    EXPECT_EQ (parameter.getValueForText ("-" + hugeNumber), 0.0f);

    EXPECT_EQ (parameter.getText (0.333f, 100), "0.33");

    const juce::CvDawParameter withText { store, 0, makeOptions ([] (float v) { return juce::String (v, 3); }) };
    EXPECT_EQ (withText.getText (0.333f, 2), "0.333");
    EXPECT_EQ (withText.getName (3), "GAIN");
    EXPECT_TRUE (withText.isMetaParameter());
}
