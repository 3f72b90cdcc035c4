#include "support/EmulatedUnit.h"

#include <cv_midi/cv_midi.h>

#include <gtest/gtest.h>

#include <thread>

namespace
{
using testsupport::EmulatedUnit;
using Clock = std::chrono::steady_clock;

const std::string rx418 = "Vuruvodu RX 418T";

// The manager only lends its client here: it accepts no name, so the tests open the devices themselves and bind
// the fixture, which records the calls it receives on the read thread.
class MidiDeviceTest
    : public testing::Test
    , public juce::MidiDevice::Listener
{
protected:
    void SetUp() override { manager.start ({}); }

    std::unique_ptr<juce::MidiDevice> open (const EmulatedUnit& unit)
    {
        return std::make_unique<juce::MidiDevice> (manager, unit.getDeviceRef(), rx418);
    }

    void setConnectedMidiDevice (juce::MidiDevice*) override {}
    void extendedResponse (juce::String text) override { record (text); }

    // Once bindings are numbered, each call waits for the test to start cutting its binding off and then lingers
    // a moment, in which an unbinding that did not wait for the call would return and be noted.
    void paramReceived (int control, int value) override
    {
        const auto binding = bindings.load();
        record (juce::String (control) + "=" + juce::String (value));
        waitFor (unbinding, binding, std::chrono::milliseconds (50));
        waitFor (unbound, binding, std::chrono::milliseconds (2));
        callsAfterUnbinding += binding > 0 && unbound >= binding ? 1 : 0;
    }

    void record (const juce::String& event)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        events.add (event);
        ++calls;
    }

    static void waitFor (const std::atomic<int>& stage, int binding, std::chrono::milliseconds timeout)
    {
        for (const auto end = Clock::now() + timeout; stage < binding && Clock::now() < end;)
            std::this_thread::yield();
    }

    juce::MidiManager manager;
    std::mutex mutex;
    juce::StringArray events;
    std::atomic<int> calls { 0 }, bindings { 0 }, unbinding { 0 }, unbound { 0 }, callsAfterUnbinding { 0 };
};

TEST_F (MidiDeviceTest, LearnsItsNumberFromTheFirstValidMessageAndPassesOnEveryPacketOfAList)
{
    EmulatedUnit unit ({ rx418 }, 12);
    const auto device = open (unit);
    device->setListener (this);

    unit.sendPackets ({ { 0xf0, 0x00, 0x12, 0x35, 0x33, 0x07, 0xf7 }, // another maker's
                        {},
                        { 0xf0, 0x00, 0x12, 0x34 }, // too short to carry a number
                        EmulatedUnit::textReply (12, "SV: 228"),
                        { 0xf0, 0x00, 0x12, 0x34, 0x0c, 0x01, 0x03, 0xf7 }, // cut short
                        EmulatedUnit::valueMessage (12, 1, 17, 255),
                        EmulatedUnit::valueMessage (40, 8, 2, 16) }); // another number, a command never sent
    EmulatedUnit::waitForDeliveries();

    EXPECT_EQ (device->serialNumber.load(), 12);
    EXPECT_EQ (events.joinIntoString ("|"), "Firmware version: 2.28|17=255");
}

// A send the services refuse (the unit went offline) is dropped with its request; the next one goes through.
TEST_F (MidiDeviceTest, SendsEachMessageOnceAndDropsOneTheServicesRefuse)
{
    EmulatedUnit unit ({ rx418 }, 4);
    const auto device = open (unit);
    ASSERT_TRUE (device->hasDestination());

    for (const auto& [offline, control] : { std::pair { false, 1 }, { true, 2 }, { false, 3 } })
    {
        unit.setOffline (offline);
        const auto message = juce::SysExProtocol::makeParameterValue (4, 1, control, 9);
        device->sendSysex (message.data(), (int) message.size());
        EmulatedUnit::waitForDeliveries();
    }

    const auto received = unit.receivedMessages();
    ASSERT_EQ (received.size(), 2u);
    EXPECT_TRUE (received[0][6] == 1 && received[1][6] == 3);
}

TEST_F (MidiDeviceTest, NeverCallsAListenerOnceUnbindingOrDestructionHasReturned)
{
    EmulatedUnit unit ({ rx418 }, 3);
    auto device = open (unit);
    std::atomic<bool> stop { false };
    std::thread flood (
        [&]
        {
            while (! stop)
                unit.sendParameter (1, 2);
        });

    const auto bindAndCutOff = [&] (const std::function<void()>& cutOff)
    {
        const auto callsBefore = calls.load();
        const auto binding = ++bindings;
        device->setListener (this);
        waitFor (calls, callsBefore + 1, std::chrono::seconds (1));
        unbinding = binding;
        cutOff();
        unbound = binding;
    };

    for (const auto end = Clock::now() + std::chrono::milliseconds (200); Clock::now() < end;)
        bindAndCutOff ([&] { device->setListener (nullptr); });

    bindAndCutOff ([&] { device.reset(); });
    stop = true;
    flood.join();
    EmulatedUnit::waitForDeliveries();
    EXPECT_GT (calls.load(), 0);
    EXPECT_EQ (callsAfterUnbinding.load(), 0);
}
} // namespace
