#include "support/EmulatedUnit.h"
#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <link/Conversions.h>
#include <Identifiers.h>
#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <numeric>
#include <thread>

namespace
{
using Conversions::Pair;
using testsupport::EmulatedUnit;
using testsupport::HostRecorder;
using testsupport::pumpMessages;
using testsupport::pumpUntil;
using namespace ParamData;

// A message the unit received: command, control number and value, or {-1, -1, length} for any other message.
using Sent = std::tuple<int, int, int>;
using Sents = std::vector<Sent>;

constexpr int unitNumber = 5;
constexpr int ch2 = numChannelControls;

// The recall's order of control numbers, each with its count of messages per channel; in stereo MS MATRIX (17)
// follows.
constexpr std::pair<int, size_t> recallOrder[] { { 1, 1 }, { 2, 1 },  { 3, 1 },  { 6, 1 },  { 7, 1 },
                                                 { 8, 1 }, { 11, 1 }, { 15, 5 }, { 4, 1 },  { 9, 1 },
                                                 { 5, 1 }, { 10, 1 }, { 16, 1 }, { 12, 1 }, { 13, 2 } };
constexpr size_t stereoRecall = 13 + 5 + 2 + 1, dualMonoRecall = 2 * 13 + 10 + 4;

// One unit (number 5) and one instance whose binding timer the tests tick themselves, from no other devices.
class MidiBridgeTest : public testing::Test
{
protected:
    ~MidiBridgeTest() override
    {
        instances.clear(); // the last one deletes the manager, before the units go
        units.clear();
        platform::MidiDriver::waitUntilIdle();
    }

    EmulatedUnit& addUnit (int number)
    {
        return *units.emplace_back (
            std::make_unique<EmulatedUnit> (platform::MidiDriver::DeviceShape { "Vuruvodu RX 418T" }, number));
    }

    Vu418dPluginInstance& addInstance()
    {
        auto& added = *instances.emplace_back (std::make_unique<Vu418dPluginInstance>());
        added.stopTimer();
        return added;
    }

    static bool connected (const Vu418dPluginInstance& which)
    {
        return which.getParamsManager().nonAutomatableParams[isConnected]->value.equals (true);
    }

    float value (int index) const { return store.automatableParams[index]->value; }
    juce::var naValue (int index) const { return store.nonAutomatableParams[index]->value; }
    juce::AudioProcessorParameter& host (int index) const { return *store.automatableParams[index]->hostParameter; }

    // A host write, handed to the store by the next turns of the loop.
    void hostWrite (int index, float newValue) const
    {
        host (index).setValue (newValue);
        pumpMessages (5);
    }

    // Ticks the binding timer once the unit is listed; what the unit receives from then on is taken next.
    void bind()
    {
        EXPECT_TRUE (pumpUntil ([&] { return manager.devices.size() == 1; }));
        take (0);
        instance.timerCallback();
        EXPECT_TRUE (connected (instance));
    }

    // Waits for the count of messages since those taken last, then a little longer for any that should not come,
    // and takes them.
    Sents take (size_t count)
    {
        EXPECT_TRUE (pumpUntil ([&] { return unit.numReceived() >= taken + count; }));
        pumpMessages (20);
        EmulatedUnit::waitForDeliveries();
        const auto messages = unit.receivedMessages();
        Sents sent;

        for (auto m = messages.begin() + (std::ptrdiff_t) taken; m < messages.end(); ++m)
            sent.push_back (m->size() == 10 && (*m)[4] == unitNumber
                                ? Sent { (*m)[5], (*m)[6], (*m)[7] + 128 * (*m)[8] }
                                : Sent { -1, -1, (int) m->size() });

        taken = messages.size();
        return sent;
    }

    // Expects the messages from the given one on to be a recall with the selected channel (0 stereo): the commands
    // and control numbers of every mirror in turn.
    static void expectRecall (const Sents& sent, size_t from, int selected)
    {
        const int commands[] { selected == 2 ? 8 : 1, selected == 1 ? 8 : 1 };
        std::vector<std::pair<int, int>> expected, actual;

        for (const auto& [control, count] : recallOrder)
            for (int c = 0; c < (selected == 0 ? 1 : 2); ++c)
                expected.insert (expected.end(), count, { commands[c], control });

        if (selected == 0)
            expected.emplace_back (1, 17);

        for (auto i = from; i < sent.size(); ++i)
            actual.emplace_back (std::get<0> (sent[i]), std::get<1> (sent[i]));

        EXPECT_EQ (actual, expected);
    }

    int numListeners() const
    {
        const auto count = [] (const auto& records)
        {
            return std::accumulate (records.begin(), records.end(), 0,
                                    [] (int n, auto* r) { return n + r->listeners.size(); });
        };
        return count (store.automatableParams) + count (store.nonAutomatableParams);
    }

    size_t taken = 0;
    const bool noOtherDevices = (platform::MidiDriver::removeAllDevices(), platform::MidiDriver::waitUntilIdle(), true);
    std::vector<std::unique_ptr<EmulatedUnit>> units;
    std::vector<std::unique_ptr<Vu418dPluginInstance>> instances;
    EmulatedUnit& unit = addUnit (unitNumber);
    Vu418dPluginInstance& instance = addInstance();
    Vu418dParamsManager& store = instance.getParamsManager();
    juce::MidiManager& manager = *instance.getMidiManager();
};
} // namespace

TEST_F (MidiBridgeTest, BindingSendsTheCodeTheInformationRequestAndLaterTheStateThenEachHostWriteButNoLinkedCopy)
{
    store.setParamValue (nullptr, eq1Gain, 200.0f / 255.0f);
    store.setParamValue (nullptr, msMatrix, 1.0f);

    bind();
    const auto boundAt = juce::Time::getMillisecondCounter();
    EXPECT_EQ (naValue (connectedDevSn), juce::var (unitNumber));
    EXPECT_FALSE (instance.isTimerRunning());
    EXPECT_EQ (manager.devices[0]->getListener(), instance.getBridge());

    const auto sent = take (2 + stereoRecall);
    EXPECT_GE (juce::Time::getMillisecondCounter() - boundAt, 495u);
    ASSERT_EQ (sent.size(), 2 + stereoRecall);
    EXPECT_EQ (Sents (sent.begin(), sent.begin() + 2), (Sents { { 1, 14, 4 }, { -1, -1, 9 } }));
    expectRecall (sent, 2, 0);
    EXPECT_EQ (sent[2], Sent (1, 1, 200));
    EXPECT_EQ (sent.back(), Sent (1, 17, 1));

    // The unit answers the information request with its firmware, uptime and front-panel texts; only the firmware
    // text counts.
    EXPECT_TRUE (pumpUntil ([&] { return naValue (canBeMs).equals (true); }));

    for (const auto& [text, canSwitch] :
         { std::pair { "SV: 227", false }, std::pair { "UT: 123456789012345678902291", false },
           std::pair { "SV: 228", true } })
    {
        unit.sendText (text);
        EmulatedUnit::waitForDeliveries();
        pumpMessages (20);
        EXPECT_EQ (naValue (canBeMs), juce::var (canSwitch)) << text;
    }

    // Host writes reach the unit after one turn of the loop, a burst of them as one message with the newest value.
    auto& gain = host (eq1Gain);
    std::thread ([&gain] { gain.setValue (0.3f); }).join();
    EXPECT_EQ (take (1), (Sents { { 1, 1, 76 } }));

    for (auto newValue : { 0.1f, 0.2f, 0.7f })
        gain.setValue (newValue);

    EXPECT_EQ (take (1), (Sents { { 1, 1, 178 } }));

    // The stereo linkers copy a change onto channel 2; the unit links its channels itself, so the copy is not sent.
    testsupport::RecordingListener editor;
    store.setParamValue (&editor, eq1Gain, 0.3f);
    store.setParamValue (&editor, engage, 0.0f);
    ASSERT_TRUE (pumpUntil ([&] { return value (eq1Gain + ch2) == 0.3f && value (engage + ch2) == 0.0f; }));
    EXPECT_EQ (take (2), (Sents { { 1, 1, 76 }, { 1, 15, 0 } }));
}

TEST_F (MidiBridgeTest, InStereoAUnitValueSetsBothChannelsAndTheUnitsChannelSwitchesAreFollowedWithoutAnAnswer)
{
    bind();
    take (2 + stereoRecall);
    HostRecorder first, second;
    host (eq1Gain).addListener (&first);
    host (eq1Gain + ch2).addListener (&second);

    unit.sendParameter (1, 100);
    ASSERT_TRUE (pumpUntil ([&] { return ! first.values.empty() && ! second.values.empty(); }));
    pumpMessages (600);

    // Channel 2 follows through the stereo linker, whose copy is rounded to six digits: the same device step.
    EXPECT_EQ (first.values, std::vector<float> { 100 / 255.0f });

    for (auto* host : { &first, &second })
    {
        EXPECT_EQ (Conversions::toDevice (Pair::gain) (host->values.back()), 100);
        EXPECT_TRUE (host->gestures.size() >= 2 && host->gestures.front() && ! host->gestures.back());
    }

    host (eq1Gain).removeListener (&first);
    host (eq1Gain + ch2).removeListener (&second);

    for (const auto& [code, channelValue, selected] : { std::tuple { 2, 1.0f, 0 }, std::tuple { 1, 1.0f, 1 } })
    {
        unit.sendParameter (14, code);
        EXPECT_TRUE (pumpUntil ([&, c = channelValue, s = selected]
                                { return value (channel) == c && naValue (selectedChannel) == juce::var (s); }))
            << code;
        pumpMessages (20);
    }

    pumpMessages (600);
    EXPECT_TRUE (take (0).empty()) << "the unit's own value or switch was answered";

    // The mirrors follow: with channel 2 selected, channel-1 values and MS MATRIX are for the other channel.
    hostWrite (eq1Gain, 0.0f);
    hostWrite (msMatrix, 1.0f);
    EXPECT_EQ (take (2), (Sents { { 8, 1, 0 }, { 8, 17, 1 } }));

    // Back to stereo, the store copies the selected channel onto the other, but no code goes back.
    unit.sendParameter (14, 4);
    EXPECT_TRUE (pumpUntil ([&] { return value (channel) == 0.0f && naValue (selectedChannel) == juce::var (0); }));
    pumpMessages (600);

    for (const auto& sent : take (0))
        EXPECT_NE (std::get<1> (sent), 14);
}

TEST_F (MidiBridgeTest, InDualMonoTheOtherChannelGoesWithCommand8AndAKnobBurstIsOneHostGesture)
{
    store.setParamValue (nullptr, channel, 1.0f);
    store.setParamValue (nullptr, eq1Gain + ch2, 0.0f);
    store.setParamValue (nullptr, eq1In + ch2, 1.0f);
    const auto hiBwBefore = value (hiBw);
    bind();

    // Locked, the mirrors hold the last change and drop what the unit sends.
    for (auto newValue : { 0.1f, 0.2f, 0.3f })
        hostWrite (eq1Gain, newValue);

    hostWrite (engage, 0.0f);
    hostWrite (eq2In + ch2, 1.0f);
    unit.sendParameter (1, 255);
    EmulatedUnit::waitForDeliveries();
    EXPECT_EQ (take (2), (Sents { { 1, 14, 2 }, { -1, -1, 9 } }));

    // HI BW from the unit ends the lock at once: the held values go first, a packed channel-2 value also through
    // the A/B slot, then the recall.
    const auto hiBwAt = juce::Time::getMillisecondCounter();
    unit.sendParameter (16, 10);
    auto sent = take (12 + dualMonoRecall);
    EXPECT_LT (juce::Time::getMillisecondCounter() - hiBwAt, 300u);
    EXPECT_TRUE (value (eq1Gain) == 0.3f && value (hiBw) == hiBwBefore) << "a value from the unit was taken";

    Sents held { { 1, 1, 76 } };
    held.insert (held.end(), 5, { 1, 15, 0 });
    held.insert (held.end(), 6, { 8, 15, 64 | 8 | 4 });
    ASSERT_EQ (sent.size(), 12 + dualMonoRecall);
    EXPECT_EQ (Sents (sent.begin(), sent.begin() + 12), held);
    expectRecall (sent, 12, 1);
    EXPECT_EQ (sent[13], Sent (8, 1, 0)) << "channel 2 not recalled with its own value";

    // Packed controls carry the other members of their channel.
    store.setNonAutomatableParamValue (nullptr, abSelected, true);
    hostWrite (engage + ch2, 0.0f);
    hostWrite (kcsAtten, 1.0f);
    hostWrite (loCps, 0.0f);
    EXPECT_EQ (take (4),
               (Sents { { 8, 15, 32 | 64 | 8 | 4 }, { 8, 15, 32 | 8 | 4 }, { 1, 13, 16 | 2 }, { 1, 13, 16 | 8 } }));

    // Selecting the other channel sends its code, locks and recalls again.
    store.setNonAutomatableParamValue (nullptr, selectedChannel, 1);
    sent = take (1 + dualMonoRecall);
    ASSERT_EQ (sent.size(), 1 + dualMonoRecall);
    EXPECT_EQ (sent[0], Sent (1, 14, 1));
    expectRecall (sent, 1, 2);

    // Values of a knob turned on the unit reach the selected channel, each burst in one gesture, none sent back.
    HostRecorder second;
    host (eq1Gain + ch2).addListener (&second);

    for (auto burst : { 10, 100 })
    {
        for (auto deviceValue : { burst, burst + 1, burst + 2 })
        {
            const auto handled = second.values.size() + 1;
            unit.sendParameter (1, deviceValue);
            ASSERT_TRUE (pumpUntil ([&] { return second.values.size() == handled; }));
            pumpMessages (40);
        }

        EXPECT_TRUE (pumpUntil ([&] { return ! second.gestures.back(); }, 1000));
    }

    EXPECT_EQ (second.gestures, (std::vector<bool> { true, false, true, false }));
    EXPECT_EQ (second.values, (std::vector<float> { 10 / 255.0f, 11 / 255.0f, 12 / 255.0f, 100 / 255.0f, 101 / 255.0f,
                                                    102 / 255.0f }));
    EXPECT_TRUE (take (0).empty());
    host (eq1Gain + ch2).removeListener (&second);
}

TEST_F (MidiBridgeTest, OfTwoUnitsTheStoredNumberIsBoundAgainWhenItReturnsOrElseTheUserChooses)
{
    const auto listenersBefore = numListeners();
    addUnit (6);
    ASSERT_TRUE (pumpUntil ([&] { return manager.devices.size() == 2; }));

    // Nothing is bound while the user wants no connection.
    store.setNonAutomatableParamValue (nullptr, shouldBeConnected, false);
    instance.startTimer (1000);
    instance.timerCallback();
    pumpMessages (20);
    EXPECT_EQ (instance.getParkedCommand(), nullptr);
    EXPECT_TRUE (instance.isTimerRunning());

    // With no stored number, the user is asked to choose.
    store.setNonAutomatableParamValue (nullptr, shouldBeConnected, true);
    instance.timerCallback();
    ASSERT_TRUE (pumpUntil ([&] { return instance.getParkedCommand() != nullptr; }));
    EXPECT_EQ (instance.getParkedCommand()->id, Ids::cvVu418d::showDeviceSelector);
    EXPECT_FALSE (connected (instance));
    EXPECT_TRUE (instance.isTimerRunning());

    store.setNonAutomatableParamValue (nullptr, connectedDevSn, unitNumber);
    instance.timerCallback();
    ASSERT_TRUE (connected (instance));
    ASSERT_EQ (instance.getBridge()->getDevice()->serialNumber.load(), unitNumber);

    unit.unplug();
    ASSERT_TRUE (pumpUntil ([&] { return ! connected (instance); }));
    EXPECT_TRUE (instance.isTimerRunning());
    EXPECT_EQ (numListeners(), listenersBefore) << "a mirror is still registered with the store";

    // The other unit is free, but not the one this instance waits for.
    instance.timerCallback();
    EXPECT_FALSE (connected (instance));
    EXPECT_EQ (manager.devices[0]->getListener(), nullptr);

    take (0);
    unit.plugIn();
    ASSERT_TRUE (pumpUntil ([&] { return connected (instance); }, 4000)) << "bound by its own timer";

    const auto sent = take (1 + 2 + stereoRecall);
    ASSERT_EQ (sent.size(), 1 + 2 + stereoRecall);
    EXPECT_EQ (sent[1], Sent (1, 14, 4));
    expectRecall (sent, 3, 0);
}

TEST_F (MidiBridgeTest, OneUnitGoesToOneOfTwoInstancesAndToTheOtherOnceTheFirstIsDestroyed)
{
    auto& other = addInstance();
    bind();
    other.timerCallback();

    EXPECT_EQ (manager.devices[0]->getListener(), instance.getBridge());
    EXPECT_FALSE (connected (other));
    EXPECT_EQ (other.getParamsManager().nonAutomatableParams[connectedDevSn]->value, juce::var (-1));
    EXPECT_TRUE (other.isTimerRunning());

    struct : juce::MidiManager::ConnectionListListener
    {
        void connectionListChanged() override { ++count; }
        int count = 0;
    } notices;

    manager.listeners.add (&notices);
    instances.erase (instances.begin());
    EXPECT_EQ (manager.devices[0]->getListener(), nullptr);
    EXPECT_TRUE (pumpUntil ([&] { return notices.count > 0; }));

    other.timerCallback();
    EXPECT_TRUE (connected (other));
    manager.listeners.removeFirstMatchingValue (&notices);
}
