#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <ParamTools.h>
#include <PluginInstance.h>

#include <gtest/gtest.h>

using testsupport::pumpMessages;
using testsupport::RecordingListener;
using Kind = RecordingListener::Kind;

namespace
{
class StereoParameterLinkerTest : public ::testing::Test
{
protected:
    StereoParameterLinkerTest()
    {
        for (auto index : { 4, 24 })
            manager.addParamListener (&listener, index, juce::CvParamsManager::registerOnly);
    }

    ~StereoParameterLinkerTest() override
    {
        for (auto index : { 4, 24 })
            manager.automatableParams[index]->listeners.removeAllInstancesOf (&listener);
    }

    juce::CvParamsManager::AutomatableParamListener* hostParameterOf (int index)
    {
        return dynamic_cast<juce::CvDawParameter*> (manager.automatableParams[index]->hostParameter);
    }

    void editorGesture (int index, float value)
    {
        manager.beginParamGesture (&editor, index);
        manager.setParamValue (&editor, index, value);
        manager.endParamGesture (&editor, index);
    }

    static bool fromLinker (const RecordingListener::Event& event)
    {
        return dynamic_cast<const StereoParameterLinker*> (
                   static_cast<const juce::CvParamsManager::AutomatableParamListener*> (event.source)) != nullptr;
    }

    Vu418dPluginInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
    RecordingListener listener;
    RecordingListener editor;
};
} // namespace

TEST_F (StereoParameterLinkerTest, EditorGestureIsCopiedToThePartnerOnLaterTurns)
{
    editorGesture (4, 0.25f);
    EXPECT_TRUE (listener.eventsFor (24).empty());

    pumpMessages (10);

    const auto copied = listener.eventsFor (24);
    ASSERT_EQ (copied.size(), 3u);
    EXPECT_EQ (copied[0].kind, Kind::gestureBegin);
    EXPECT_EQ (copied[1].kind, Kind::value);
    EXPECT_FLOAT_EQ (copied[1].value, 0.25f);
    EXPECT_EQ (copied[2].kind, Kind::gestureEnd);

    for (const auto& event : copied)
        EXPECT_TRUE (fromLinker (event));

    // The copy is not copied back.
    EXPECT_EQ (listener.eventsFor (4).size(), 3u);
}

TEST_F (StereoParameterLinkerTest, ChannelTwoIsCopiedToChannelOneWithSixSignificantDigits)
{
    manager.setParamValue (nullptr, 24, 0.123456789f);
    pumpMessages (10);

    EXPECT_FLOAT_EQ (manager.automatableParams[4]->value, 0.123457f);
}

TEST_F (StereoParameterLinkerTest, HostValuesAreNotCopiedButHostGesturesAre)
{
    auto* host = hostParameterOf (4);
    manager.beginParamGesture (host, 4);
    manager.setParamValue (host, 4, 0.9f);
    manager.endParamGesture (host, 4);
    pumpMessages (10);

    const auto partner = listener.eventsFor (24);
    ASSERT_EQ (partner.size(), 2u);
    EXPECT_EQ (partner[0].kind, Kind::gestureBegin);
    EXPECT_EQ (partner[1].kind, Kind::gestureEnd);
    EXPECT_FLOAT_EQ (manager.automatableParams[24]->value, 0.5f);
}

TEST_F (StereoParameterLinkerTest, DualMonoCopiesNothing)
{
    for (auto channel : { 0.5f, 1.0f })
    {
        manager.setParamValue (&editor, ParamData::channel, channel);
        listener.events.clear();

        editorGesture (4, 0.3f);
        pumpMessages (10);

        EXPECT_TRUE (listener.eventsFor (24).empty()) << channel;
    }
}

TEST_F (StereoParameterLinkerTest, MessageWithTooFewTokensOrUnknownCommandDoesNothing)
{
    StereoParameterLinker linker (manager, 4, 24);

    linker.actionListenerCallback ("1|24");
    linker.actionListenerCallback ("4|24|0.5");
    EXPECT_TRUE (listener.events.empty());

    linker.actionListenerCallback ("1|24|0.75");
    EXPECT_FLOAT_EQ (manager.automatableParams[24]->value, 0.75f);
}
