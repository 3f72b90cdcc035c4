#include "support/EmulatedUnit.h"
#include "support/MessageLoop.h"
#include "support/RecordingListener.h"

#include <Conversions.h>
#include <Identifiers.h>
#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <thread>

namespace
{
using Conversions::Pair;
using testsupport::EmulatedUnit;
using testsupport::HostRecorder;
using testsupport::pumpMessages;
using testsupport::pumpUntil;
using namespace ParamData;

const std::string rx418 = "Vuruvodu RX 418T";
constexpr int unitNumber = 5;
constexpr int ch2 = numChannelControls;

// One message as the unit received it: a value message, or {-1, -1, length} for anything else.
struct Sent
{
    int command, control, value;

    bool operator== (const Sent& other) const
    {
        return command == other.command && control == other.control && value == other.value;
    }
};

void PrintTo (const Sent& sent, std::ostream* os)
{
    *os << "{" << sent.command << ", " << sent.control << ", " << sent.value << "}";
}

struct PairControl
{
    int number;
    int channel1Index;
    Pair pair;
};

// The recall's order: control numbers 1, 2, 3, 6, 7, 8, 11, then 15, then these, then 13 and 17.
constexpr PairControl pairsBeforeFlags[] { { 1, eq1Gain, Pair::gain },         { 2, eq1Q, Pair::qSteps },
                                           { 3, eq1Freq, Pair::frequency },    { 6, eq2Gain, Pair::gain },
                                           { 7, eq2Q, Pair::qSteps },          { 8, eq2Freq, Pair::frequency },
                                           { 11, hpfFreq, Pair::hpfFrequency } };

constexpr PairControl pairsAfterFlags[] {
    { 4, loBoost, Pair::shelfAndBandwidth }, { 9, loAtten, Pair::shelfAndBandwidth },
    { 5, hiBoost, Pair::shelfAndBandwidth }, { 10, hiAtten, Pair::shelfAndBandwidth },
    { 16, hiBw, Pair::shelfAndBandwidth },   { 12, kcsBoost, Pair::kcsBoostSteps }
};

constexpr std::pair<int, int> flagBits[] { { hpfIn, 2 }, { eq1In, 4 }, { eq2In, 8 }, { peqIn, 16 }, { engage, 64 } };

constexpr size_t stereoRecallSize = 13 + 5 + 2 + 1;
constexpr size_t dualMonoRecallSize = 2 * 13 + 10 + 4;

class NoticeCounter : public juce::MidiManager::ConnectionListListener
{
public:
    void connectionListChanged() override { ++count; }

    int count = 0;
};

// Starts from no devices on the services, before the fixture's unit is plugged in.
struct CleanDriver
{
    CleanDriver()
    {
        platform::MidiDriver::removeAllDevices();
        platform::MidiDriver::waitUntilIdle();
    }
};

// One unit (number 5) and one instance whose binding timer the tests tick themselves.
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
        units.push_back (std::make_unique<EmulatedUnit> (platform::MidiDriver::DeviceShape { rx418 }, number));
        return *units.back();
    }

    Vu418dPluginInstance& addInstance()
    {
        instances.push_back (std::make_unique<Vu418dPluginInstance>());
        instances.back()->stopTimer();
        return *instances.back();
    }

    juce::MidiManager& manager() const { return *instances.front()->getMidiManager(); }

    juce::MidiDevice* device (size_t position) const { return manager().devices[position].get(); }

    void waitUntilListed (size_t count) const
    {
        ASSERT_TRUE (pumpUntil ([&] { return manager().devices.size() == count; }));
    }

    static bool connected (const Vu418dPluginInstance& which)
    {
        return which.getParamsManager().nonAutomatableParams[isConnected]->value.equals (true);
    }

    float value (int index) const { return store.automatableParams[index]->value; }
    juce::var naValue (int index) const { return store.nonAutomatableParams[index]->value; }
    juce::AudioProcessorParameter& hostParameter (int index) const
    {
        return *store.automatableParams[index]->hostParameter;
    }

    // A host write, handed to the store by the next turns of the loop.
    void hostWrite (int index, float newValue) const
    {
        hostParameter (index).setValue (newValue);
        pumpMessages (5);
    }

    size_t received() const
    {
        EmulatedUnit::waitForDeliveries();
        return unit.receivedMessages().size();
    }

    // Ticks the binding timer once the unit is listed; returns the count of messages the unit had before.
    size_t bind()
    {
        waitUntilListed (1);
        const auto before = received();
        instance.timerCallback();
        EXPECT_TRUE (connected (instance));
        return before;
    }

    // Binds and waits for the recall; returns the count of messages the unit had after it.
    size_t bindAndRecall (size_t recallSize)
    {
        waitForSent (bind() + 2, recallSize);
        return received();
    }

    std::vector<Sent> sentSince (size_t from) const
    {
        const auto messages = unit.receivedMessages();
        std::vector<Sent> sent;

        for (auto i = from; i < messages.size(); ++i)
        {
            const auto& m = messages[i];

            if (m.size() == 10 && m[4] == unitNumber)
                sent.push_back ({ m[5], m[6], m[7] + 128 * m[8] });
            else
                sent.push_back ({ -1, -1, (int) m.size() });
        }

        return sent;
    }

    // Waits for the count of messages, then a little longer for any that should not come.
    std::vector<Sent> waitForSent (size_t from, size_t count) const
    {
        EXPECT_TRUE (pumpUntil ([&] { return unit.receivedMessages().size() >= from + count; }));
        pumpMessages (20);
        EmulatedUnit::waitForDeliveries();
        return sentSince (from);
    }

    int packedFlags (int offset) const
    {
        auto packed = naValue (abSelected).equals (true) ? 32 : 0;

        for (const auto& [index, bit] : flagBits)
            packed |= value (index + offset) > 0.5f ? bit : 0;

        return packed;
    }

    int packedSwitches (int offset) const
    {
        return Conversions::toDevice (Pair::loCpsSteps) (value (loCps + offset)) |
               Conversions::toDevice (Pair::kcsAttenSteps) (value (kcsAtten + offset));
    }

    // Every mirror's values from the store, in the order and with the commands of the selected channel (0 stereo).
    std::vector<Sent> expectedRecall (int selected) const
    {
        const int commands[] { selected == 2 ? 8 : 1, selected == 1 ? 8 : 1 };
        const auto numChannels = selected == 0 ? 1 : 2;
        std::vector<Sent> recall;

        const auto addPairs = [&] (const auto& controls)
        {
            for (const auto& control : controls)
                for (int c = 0; c < numChannels; ++c)
                    recall.push_back (
                        { commands[c], control.number,
                          Conversions::toDevice (control.pair) (value (control.channel1Index + c * ch2)) });
        };

        addPairs (pairsBeforeFlags);

        for (int c = 0; c < numChannels; ++c)
            recall.insert (recall.end(), 5, { commands[c], 15, packedFlags (c * ch2) });

        addPairs (pairsAfterFlags);

        for (int c = 0; c < numChannels; ++c)
            recall.insert (recall.end(), 2, { commands[c], 13, packedSwitches (c * ch2) });

        if (selected == 0)
            recall.push_back ({ 1, 17, Conversions::nearest (value (msMatrix)) });

        return recall;
    }

    std::vector<int> listenerCounts() const
    {
        std::vector<int> counts;

        for (auto* record : store.automatableParams)
            counts.push_back (record->listeners.size());

        for (auto* record : store.nonAutomatableParams)
            counts.push_back (record->listeners.size());

        return counts;
    }

    CleanDriver cleanDriver;
    std::vector<std::unique_ptr<EmulatedUnit>> units;
    std::vector<std::unique_ptr<Vu418dPluginInstance>> instances;
    EmulatedUnit& unit = addUnit (unitNumber);
    Vu418dPluginInstance& instance = addInstance();
    Vu418dParamsManager& store = instance.getParamsManager();
};
} // namespace

TEST_F (MidiBridgeTest, BindingSendsTheChannelCodeTheInformationRequestAndHalfASecondLaterTheWholeState)
{
    store.setParamValue (nullptr, eq1Gain, 200.0f / 255.0f);
    store.setParamValue (nullptr, msMatrix, 1.0f);

    const auto before = bind();
    const auto boundAt = juce::Time::getMillisecondCounter();
    EXPECT_EQ (naValue (connectedDevSn), juce::var (unitNumber));
    EXPECT_FALSE (instance.isTimerRunning());
    EXPECT_EQ (device (0)->getListener(), instance.getBridge());

    received();
    const auto messages = unit.receivedMessages();
    ASSERT_EQ (messages.size(), before + 2);
    EXPECT_EQ (messages[before], EmulatedUnit::valueMessage (unitNumber, 1, 14, 4));
    EXPECT_EQ (messages[before + 1], EmulatedUnit::informationRequest);

    const auto recall = waitForSent (before + 2, stereoRecallSize);
    EXPECT_GE (juce::Time::getMillisecondCounter() - boundAt, 495u);
    EXPECT_EQ (recall, expectedRecall (0));
    EXPECT_EQ (unit.receivedMessages()[before + 2], EmulatedUnit::valueMessage (unitNumber, 1, 1, 200));
}

TEST_F (MidiBridgeTest, InDualMonoEveryChannelIsRecalledWithTheCommandOfTheSelectedChannel)
{
    store.setParamValue (nullptr, channel, 1.0f);
    store.setParamValue (nullptr, eq1Gain + ch2, 0.0f);
    store.setParamValue (nullptr, engage + ch2, 0.0f);
    store.setParamValue (nullptr, kcsAtten + ch2, 1.0f);

    const auto before = bind();
    auto sent = waitForSent (before, 2 + dualMonoRecallSize);
    ASSERT_EQ (sent.size(), 2 + dualMonoRecallSize);
    EXPECT_EQ (sent[0], (Sent { 1, 14, 2 }));
    EXPECT_EQ (std::vector<Sent> (sent.begin() + 2, sent.end()), expectedRecall (1));

    // Selecting the other channel sends its code, locks and recalls again.
    const auto mark = received();
    store.setNonAutomatableParamValue (nullptr, selectedChannel, 1);
    sent = waitForSent (mark, 1 + dualMonoRecallSize);
    ASSERT_EQ (sent.size(), 1 + dualMonoRecallSize);
    EXPECT_EQ (sent[0], (Sent { 1, 14, 1 }));
    EXPECT_EQ (std::vector<Sent> (sent.begin() + 1, sent.end()), expectedRecall (2));
}

TEST_F (MidiBridgeTest, HiBwFromTheUnitEndsTheLockAtOnceAndIsItselfDropped)
{
    std::vector<float> values;

    for (auto* record : store.automatableParams)
        values.push_back (record->value);

    const auto before = bind();
    received();
    unit.sendParameter (0, 1);
    unit.sendParameter (18, 1);
    unit.sendParameter (16, 10);

    EXPECT_TRUE (pumpUntil ([&] { return unit.receivedMessages().size() >= before + 2 + stereoRecallSize; }, 300));
    EXPECT_EQ (waitForSent (before + 2, stereoRecallSize), expectedRecall (0));

    for (int index = 0; index < numAutomatable; ++index)
        EXPECT_EQ (value (index), values[(size_t) index]) << index;
}

TEST_F (MidiBridgeTest, HostWritesReachTheUnitAsOneMessagePerLoopTurnWithTheNewestValue)
{
    auto mark = bindAndRecall (stereoRecallSize);
    auto& gain = hostParameter (eq1Gain);

    std::thread ([&gain] { gain.setValue (0.3f); }).join();
    EXPECT_EQ (waitForSent (mark, 1), (std::vector<Sent> { { 1, 1, 76 } }));

    mark = received();

    for (auto newValue : { 0.1f, 0.2f, 0.7f })
        gain.setValue (newValue);

    EXPECT_EQ (waitForSent (mark, 1), (std::vector<Sent> { { 1, 1, 178 } }));
}

TEST_F (MidiBridgeTest, KnobTurnedOnTheUnitIsOneHostGesturePerBurstWithEveryValue)
{
    store.setParamValue (nullptr, channel, 1.0f);
    const auto mark = bindAndRecall (dualMonoRecallSize);

    HostRecorder first, second;
    hostParameter (eq1Gain).addListener (&first);
    hostParameter (eq1Gain + ch2).addListener (&second);

    for (auto burst : { 10, 100 })
    {
        for (auto deviceValue : { burst, burst + 1, burst + 2 })
        {
            const auto handled = first.values.size() + 1;
            unit.sendParameter (1, deviceValue);
            ASSERT_TRUE (pumpUntil ([&] { return first.values.size() == handled; }));
            pumpMessages (40);
        }

        EXPECT_EQ (first.gestures.back(), true) << "closed within the burst";
        EXPECT_TRUE (pumpUntil ([&] { return ! first.gestures.back(); }, 1000));
    }

    EXPECT_EQ (first.gestures, (std::vector<bool> { true, false, true, false }));
    EXPECT_EQ (first.values, (std::vector<float> { 10 / 255.0f, 11 / 255.0f, 12 / 255.0f, 100 / 255.0f, 101 / 255.0f,
                                                   102 / 255.0f }));
    EXPECT_TRUE (second.values.empty());
    EXPECT_TRUE (second.gestures.empty());
    EXPECT_TRUE (sentSince (mark).empty());

    hostParameter (eq1Gain).removeListener (&first);
    hostParameter (eq1Gain + ch2).removeListener (&second);
}

TEST_F (MidiBridgeTest, InStereoOneValueFromTheUnitSetsBothChannelsInGesturesThatAllClose)
{
    const auto mark = bindAndRecall (stereoRecallSize);

    HostRecorder first, second;
    hostParameter (eq1Gain).addListener (&first);
    hostParameter (eq1Gain + ch2).addListener (&second);

    unit.sendParameter (1, 100);
    ASSERT_TRUE (pumpUntil ([&] { return ! first.values.empty() && ! second.values.empty(); }));
    pumpMessages (600);

    // Channel 2 follows through the stereo linker, whose copy is rounded to six digits: the same device step.
    EXPECT_EQ (first.values, std::vector<float> { 100 / 255.0f });

    for (auto* host : { &first, &second })
    {
        EXPECT_EQ (Conversions::toDevice (Pair::gain) (host->values.back()), 100);
        ASSERT_FALSE (host->gestures.empty());
        EXPECT_EQ (host->gestures.front(), true);
        EXPECT_EQ (host->gestures.back(), false);
    }

    EXPECT_EQ (store.automatableParams[eq1Gain]->gestureCount, 0);
    EXPECT_EQ (store.automatableParams[eq1Gain + ch2]->gestureCount, 0);
    EXPECT_TRUE (sentSince (mark).empty());

    hostParameter (eq1Gain).removeListener (&first);
    hostParameter (eq1Gain + ch2).removeListener (&second);
}

TEST_F (MidiBridgeTest, UnitSwitchingItsChannelModeMovesChannelAndSelectedChannelWithoutAnAnswer)
{
    auto mark = bindAndRecall (stereoRecallSize);

    const struct
    {
        int code;
        float channel;
        int selected;
    } switches[] { { 4, 0.0f, 0 }, { 2, 1.0f, 0 }, { 1, 1.0f, 1 } };

    for (const auto& expected : switches)
    {
        unit.sendParameter (14, expected.code);
        EXPECT_TRUE (pumpUntil (
            [&] {
                return value (channel) == expected.channel &&
                       naValue (selectedChannel) == juce::var (expected.selected);
            }))
            << expected.code;
        pumpMessages (20);
    }

    pumpMessages (600);
    EXPECT_TRUE (sentSince (mark).empty()) << "no code, lock or recall followed the unit's own switch";

    // The mirrors follow: with channel 2 selected, channel-1 values and MS MATRIX are for the other channel.
    hostWrite (eq1Gain, 0.0f);
    hostWrite (msMatrix, 1.0f);
    EXPECT_EQ (waitForSent (mark, 2), (std::vector<Sent> { { 8, 1, 0 }, { 8, 17, 1 } }));

    // Back to stereo, the store copies the selected channel onto the other, but no code goes back.
    mark = received();
    unit.sendParameter (14, 4);
    EXPECT_TRUE (pumpUntil ([&] { return value (channel) == 0.0f && naValue (selectedChannel) == juce::var (0); }));
    pumpMessages (600);

    for (const auto& sent : sentSince (mark))
        EXPECT_NE (sent.control, 14);
}

TEST_F (MidiBridgeTest, FirmwareTextTellsWhetherTheUnitCanSwitchToMidSide)
{
    bind();
    received();

    // Binding asks for the firmware, uptime and front-panel texts; only the firmware text counts.
    EXPECT_TRUE (pumpUntil ([&] { return naValue (canBeMs).equals (true); }));

    unit.sendText ("SV: 227");
    EXPECT_TRUE (pumpUntil ([&] { return naValue (canBeMs).equals (false); }));

    unit.sendText ("UT: 123456789012345678902291");
    pumpMessages (20);
    EXPECT_TRUE (naValue (canBeMs).equals (false));

    unit.sendText ("SV: 228");
    EXPECT_TRUE (pumpUntil ([&] { return naValue (canBeMs).equals (true); }));
}

TEST_F (MidiBridgeTest, UnpluggedUnitIsWaitedForAndBoundAgainByItsNumberWhenItReturns)
{
    const auto listenersBefore = listenerCounts();
    addUnit (6);
    store.setNonAutomatableParamValue (nullptr, connectedDevSn, unitNumber);
    waitUntilListed (2);
    instance.timerCallback();
    ASSERT_TRUE (connected (instance));
    ASSERT_EQ (instance.getBridge()->getDevice()->serialNumber.load(), unitNumber);

    unit.unplug();
    ASSERT_TRUE (pumpUntil ([&] { return ! connected (instance); }));
    EXPECT_TRUE (instance.isTimerRunning());
    EXPECT_EQ (listenerCounts(), listenersBefore) << "a mirror is still registered with the store";

    // The other unit is free, but not the one this instance waits for.
    instance.timerCallback();
    EXPECT_FALSE (connected (instance));
    EXPECT_EQ (device (0)->getListener(), nullptr);

    const auto mark = received();
    unit.plugIn();
    ASSERT_TRUE (pumpUntil ([&] { return connected (instance); }, 4000)) << "bound by its own timer";

    const auto sent = waitForSent (mark, 1 + 2 + stereoRecallSize);
    ASSERT_EQ (sent.size(), 1 + 2 + stereoRecallSize);
    EXPECT_EQ (sent[1], (Sent { 1, 14, 4 }));
    EXPECT_EQ (std::vector<Sent> (sent.begin() + 3, sent.end()), expectedRecall (0));
}

TEST_F (MidiBridgeTest, TwoFreeUnitsAndNoStoredNumberAskTheUserToChoose)
{
    addUnit (6);
    waitUntilListed (2);
    instance.timerCallback();

    ASSERT_TRUE (pumpUntil ([&] { return instance.getParkedCommand() != nullptr; }));
    EXPECT_EQ (instance.getParkedCommand()->id, Ids::cvVu418d::showDeviceSelector);
    EXPECT_FALSE (connected (instance));
    EXPECT_TRUE (instance.isTimerRunning());
    EXPECT_EQ (device (0)->getListener(), nullptr);
    EXPECT_EQ (device (1)->getListener(), nullptr);
}

TEST_F (MidiBridgeTest, NothingIsBoundWhileTheUserWantsNoConnection)
{
    store.setNonAutomatableParamValue (nullptr, shouldBeConnected, false);
    instance.startTimer (1000);
    waitUntilListed (1);
    instance.timerCallback();

    EXPECT_FALSE (connected (instance));
    EXPECT_EQ (device (0)->getListener(), nullptr);
    EXPECT_TRUE (instance.isTimerRunning());
}

TEST_F (MidiBridgeTest, OneUnitGoesToOneOfTwoInstancesAndToTheOtherOnceTheFirstIsDestroyed)
{
    auto& other = addInstance();
    bind();
    other.timerCallback();

    EXPECT_EQ (device (0)->getListener(), instance.getBridge());
    EXPECT_FALSE (connected (other));
    EXPECT_EQ (other.getParamsManager().nonAutomatableParams[connectedDevSn]->value, juce::var (-1));
    EXPECT_TRUE (other.isTimerRunning());

    NoticeCounter notices;
    manager().listeners.add (&notices);
    instances.erase (instances.begin());

    EXPECT_EQ (device (0)->getListener(), nullptr);
    EXPECT_TRUE (pumpUntil ([&] { return notices.count > 0; }));

    other.timerCallback();
    EXPECT_TRUE (connected (other));
    manager().listeners.removeFirstMatchingValue (&notices);
}

TEST_F (MidiBridgeTest, LockedMirrorsHoldTheLastChangeAndDropWhatTheUnitSends)
{
    store.setParamValue (nullptr, channel, 1.0f);
    const auto before = bind() + 2;

    for (auto newValue : { 0.1f, 0.2f, 0.3f })
        hostWrite (eq1Gain, newValue);

    hostWrite (engage, 0.0f);
    hostWrite (eq2In + ch2, 1.0f);
    unit.sendParameter (1, 255);
    received();
    pumpMessages (5);

    EXPECT_EQ (value (eq1Gain), 0.3f);
    EXPECT_TRUE (sentSince (before).empty());

    // Unlocking sends the held values first: a packed channel-2 value also through the A/B slot.
    const auto sent = waitForSent (before, 1 + 5 + 6 + dualMonoRecallSize);
    std::vector<Sent> expected { { 1, 1, 76 } };
    expected.insert (expected.end(), 5, { 1, 15, packedFlags (0) });
    expected.insert (expected.end(), 6, { 8, 15, packedFlags (ch2) });
    const auto recall = expectedRecall (1);
    expected.insert (expected.end(), recall.begin(), recall.end());
    EXPECT_EQ (sent, expected);
}

TEST_F (MidiBridgeTest, PackedControlsCarryTheOtherMembersOfTheirChannel)
{
    store.setParamValue (nullptr, channel, 1.0f);
    store.setParamValue (nullptr, eq1In + ch2, 1.0f);
    const auto mark = bindAndRecall (dualMonoRecallSize);

    store.setNonAutomatableParamValue (nullptr, abSelected, true);
    hostWrite (engage + ch2, 0.0f);
    hostWrite (kcsAtten, 1.0f);
    hostWrite (loCps, 0.0f);

    EXPECT_EQ (waitForSent (mark, 4),
               (std::vector<Sent> { { 8, 15, 32 | 64 | 4 }, { 8, 15, 32 | 4 }, { 1, 13, 16 | 2 }, { 1, 13, 16 | 8 } }));
}

TEST_F (MidiBridgeTest, ChangesCopiedByTheStereoLinkersAreNotSentAgain)
{
    const auto mark = bindAndRecall (stereoRecallSize);
    testsupport::RecordingListener editor;

    store.setParamValue (&editor, eq1Gain, 0.3f);
    store.setParamValue (&editor, engage, 0.0f);
    ASSERT_TRUE (pumpUntil ([&] { return value (eq1Gain + ch2) == 0.3f && value (engage + ch2) == 0.0f; }));

    EXPECT_EQ (waitForSent (mark, 2), (std::vector<Sent> { { 1, 1, 76 }, { 1, 15, 0 } }));
}
