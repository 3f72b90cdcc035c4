#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <ParamTools.h>
#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using testsupport::RecordingListener;
using Kind = RecordingListener::Kind;
using Heard = std::vector<std::tuple<Kind, float, bool>>;

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

    // What an index heard: each event's kind and value, and whether a linker was its source.
    Heard heard (int index) const
    {
        Heard result;

        for (const auto& event : listener.eventsFor (index))
            result.emplace_back (
                event.kind, event.value,
                dynamic_cast<const StereoParameterLinker*> (
                    static_cast<const juce::CvParamsManager::AutomatableParamListener*> (event.source)) != nullptr);

        return result;
    }

    // Declared before the instance so that its store never holds them dangling.
    RecordingListener listener, editor;
    Vu418dPluginInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
};
} // namespace

// While CHANNEL is STEREO (< 0.5) a gesture on one channel is copied to the other on later loop turns, its value
// as text of six significant digits, with the linker as source so nothing is copied back. The host writes each
// channel's values itself, so of its changes only the gestures are copied.
TEST_F (StereoParameterLinkerTest, CopiesChangesToThePartnerOnLaterTurnsWhileStereo)
{
    // CHANNEL, written index, partner, written by the host.
    const std::tuple<float, int, int, bool> cases[] { { 0.0f, 4, 24, false },
                                                      { 0.0f, 24, 4, false },
                                                      { 0.0f, 4, 24, true },
                                                      { 0.5f, 4, 24, false },
                                                      { 1.0f, 4, 24, false } };
    const Heard copied { { Kind::gestureBegin, 0.0f, true },
                         { Kind::value, 0.123457f, true },
                         { Kind::gestureEnd, 0.0f, true } };

    for (const auto& [channel, from, to, byHost] : cases)
    {
        SCOPED_TRACE (testing::Message() << "channel " << channel << ", " << from << " -> " << to << ", host "
                                         << byHost);
        manager.setParamValue (&editor, ParamData::channel, channel);
        listener.events.clear();

        auto* host = dynamic_cast<juce::CvDawParameter*> (manager.automatableParams[from]->hostParameter);
        auto* writer = byHost ? static_cast<juce::CvParamsManager::AutomatableParamListener*> (host) : &editor;
        manager.beginParamGesture (writer, from);
        manager.setParamValue (writer, from, 0.123456789f);
        manager.endParamGesture (writer, from);
        EXPECT_TRUE (heard (to).empty());

        testsupport::pumpMessages (10);
        EXPECT_EQ (heard (to), (channel >= 0.5f ? Heard() : byHost ? Heard { copied[0], copied[2] } : copied));
        EXPECT_EQ (heard (from).size(), 3u);
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
