#include "support/EmulatedUnit.h"

#include <cv_midi/cv_midi.h>

#include <gtest/gtest.h>

#include <thread>

namespace
{
using testsupport::EmulatedUnit;
using Bytes = EmulatedUnit::Bytes;

const std::string rx418 = "Vuruvodu RX 418T";

// Called on the read thread; the test reads it once the services are idle.
class RecordingListener : public juce::MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (juce::MidiDevice*) override {}

    void paramReceived (int control, int value) override
    {
        add ("value " + std::to_string (control) + " " + std::to_string (value));
    }

    void extendedResponse (juce::String text) override { add ("text " + text.toStdString()); }

    std::vector<std::string> events() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return recorded;
    }

private:
    void add (const std::string& event)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        recorded.push_back (event);
    }

    mutable std::mutex mutex;
    std::vector<std::string> recorded;
};

// Counts calls made or still running once an unbinding has returned. Each call waits for the test to start
// cutting its binding off and then lingers a moment, so an unbinding that did not wait for it would return, and be
// noted, in that moment. The test numbers its bindings, so a late call is told apart from one of the next binding.
class UnbindingWatcher : public juce::MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (juce::MidiDevice*) override {}

    void paramReceived (int, int) override
    {
        const auto binding = bindings.load();
        ++calls;
        waitFor (unbinding, binding, std::chrono::milliseconds (50));
        waitFor (unbound, binding, std::chrono::milliseconds (2));

        if (unbound >= binding)
            ++callsAfterUnbinding;
    }

    std::atomic<int> bindings { 0 }, unbinding { 0 }, unbound { 0 };
    std::atomic<int> calls { 0 }, callsAfterUnbinding { 0 };

private:
    static void waitFor (const std::atomic<int>& stage, int binding, std::chrono::milliseconds timeout)
    {
        for (const auto end = std::chrono::steady_clock::now() + timeout;
             stage < binding && std::chrono::steady_clock::now() < end;)
            std::this_thread::yield();
    }
};

// The manager only lends its client here: it accepts no name, so the tests open the devices themselves.
class MidiDeviceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::MidiDriver::removeAllDevices();
        platform::MidiDriver::waitUntilIdle();
        manager.start ({});
    }

    void TearDown() override
    {
        platform::MidiDriver::removeAllDevices();
        platform::MidiDriver::waitUntilIdle();
    }

    std::unique_ptr<juce::MidiDevice> open (const EmulatedUnit& unit)
    {
        return std::make_unique<juce::MidiDevice> (manager, unit.getDeviceRef(), rx418);
    }

    juce::MidiManager manager;
};

TEST_F (MidiDeviceTest, LearnsItsNumberFromTheFirstValidMessageOnly)
{
    EmulatedUnit replying ({ rx418 }, 12);
    EmulatedUnit sendingValues ({ rx418 }, 9);
    const auto first = open (replying);
    const auto second = open (sendingValues);

    replying.sendPackets ({ { 0xf0, 0x00, 0x12, 0x35, 0x33, 0x07, 0xf7 }, // another maker's
                            { 0xf0, 0x00, 0x12, 0x34 },                   // too short to carry a number
                            EmulatedUnit::textReply (12, "SV: 228") });
    replying.sendPackets ({ EmulatedUnit::valueMessage (40, 1, 2, 3) });
    sendingValues.sendParameter (3, 100); // nobody bound: it only tells the number
    EmulatedUnit::waitForDeliveries();

    EXPECT_EQ (first->serialNumber.load(), 12);
    EXPECT_EQ (second->serialNumber.load(), 9);
}

TEST_F (MidiDeviceTest, DeliversEveryPacketOfAListToTheBoundListener)
{
    EmulatedUnit unit ({ rx418 }, 5);
    RecordingListener listener;
    const auto device = open (unit);
    device->setListener (&listener);

    unit.sendPackets ({ EmulatedUnit::valueMessage (5, 0, 1, 200),
                        {},
                        { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x03, 0xf7 }, // cut short
                        EmulatedUnit::textReply (5, "SV: 228"),
                        EmulatedUnit::valueMessage (5, 8, 2, 16), // a command the unit never sends
                        EmulatedUnit::valueMessage (5, 1, 17, 255) });
    EmulatedUnit::waitForDeliveries();

    EXPECT_EQ (listener.events(),
               (std::vector<std::string> { "value 1 200", "text Firmware version: 2.28", "value 17 255" }));
}

TEST_F (MidiDeviceTest, InformationRequestIsAnsweredWithTextsForTheListener)
{
    EmulatedUnit unit ({ rx418 }, 6);
    EmulatedUnit withoutDestination ({ rx418, 1, 0 }, 7);
    unit.setFirmwareVersion ("301");
    RecordingListener listener;
    const auto device = open (unit);
    const auto cannotBeAsked = open (withoutDestination);
    device->setListener (&listener);

    const auto& request = juce::SysExProtocol::informationRequest;
    device->sendSysex (request.data(), (int) request.size());
    cannotBeAsked->sendSysex (request.data(), (int) request.size());
    EmulatedUnit::waitForDeliveries();

    EXPECT_EQ (unit.receivedMessages(), std::vector<Bytes> { EmulatedUnit::informationRequest });
    EXPECT_EQ (listener.events(), (std::vector<std::string> { "text Firmware version: 3.01", "text Uptime: 1.234",
                                                              "text Front panel manipulations: 0.042" }));
    EXPECT_EQ (device->serialNumber.load(), 6);
    EXPECT_FALSE (cannotBeAsked->hasDestination());
    EXPECT_TRUE (withoutDestination.receivedMessages().empty());
}

TEST_F (MidiDeviceTest, NeverCallsAListenerOnceUnbindingOrDestructionHasReturned)
{
    EmulatedUnit unit ({ rx418 }, 3);
    UnbindingWatcher watcher;
    auto device = open (unit);

    std::atomic<bool> stop { false };
    std::thread flood (
        [&]
        {
            while (! stop)
            {
                unit.sendParameter (1, 2);
                std::this_thread::yield();
            }
        });

    // Binds, waits for a call to be running, and cuts the binding off.
    const auto bindAndCutOff = [&] (const std::function<void()>& cutOff)
    {
        const auto callsBefore = watcher.calls.load();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (1);
        const auto binding = ++watcher.bindings;
        device->setListener (&watcher);

        while (watcher.calls == callsBefore && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();

        watcher.unbinding = binding;
        cutOff();
        watcher.unbound = binding;
    };

    for (const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (200);
         std::chrono::steady_clock::now() < end;)
        bindAndCutOff ([&] { device->setListener (nullptr); });

    bindAndCutOff ([&] { device.reset(); });

    stop = true;
    flood.join();
    EmulatedUnit::waitForDeliveries();
    EXPECT_GT (watcher.calls.load(), 0);
    EXPECT_EQ (watcher.callsAfterUnbinding.load(), 0);
}
} // namespace
