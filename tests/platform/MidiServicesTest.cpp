#include "platform/MidiDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace platform
{
namespace
{
using Bytes = std::vector<std::uint8_t>;

bool waitFor (const std::function<bool()>& condition)
{
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds (2);
         ! condition() && std::chrono::steady_clock::now() < end;)
        std::this_thread::yield();

    return condition();
}

// Collects what the services deliver. While it is held a delivery waits, so a test can tell that the delivery
// was not made inside the call that caused it. The services order every delivery before the calls that wait
// for it, so the test reads the deliveries without a lock.
struct Recorder
{
    struct Delivery
    {
        std::thread::id thread;
        bool afterRelease;
        void* refCon;
        std::vector<Bytes> packets;
    };

    void record (void* refCon, std::vector<Bytes> packets = {})
    {
        ++entered;
        const auto afterRelease = waitFor ([this] { return ! held; });
        std::this_thread::sleep_for (linger);
        deliveries.push_back ({ std::this_thread::get_id(), afterRelease, refCon, std::move (packets) });
    }

    std::atomic<bool> held { false };
    std::atomic<int> entered { 0 };
    std::chrono::milliseconds linger {};
    std::vector<Delivery> deliveries;
};

void recordPackets (const MIDIPacketList* list, void* recorder, void* connectionRefCon)
{
    std::vector<Bytes> packets;
    const auto* packet = list->packet;

    for (std::uint32_t i = 0; i < list->numPackets; ++i, packet = MIDIPacketNext (packet))
    {
        EXPECT_EQ (reinterpret_cast<std::uintptr_t> (packet) % 4, 0u);
        packets.emplace_back (packet->data, packet->data + packet->length);
    }

    static_cast<Recorder*> (recorder)->record (connectionRefCon, std::move (packets));
}

// Frees the request, as the device code does, so a sanitizer build sees any later use of it.
void recordCompletion (MIDISysexSendRequest* request)
{
    static_cast<Recorder*> (request->completionRefCon)->record (request->complete ? request : nullptr);
    delete request;
}

class MidiServicesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        MidiDriver::removeAllDevices();
        MidiDriver::waitUntilIdle();
        const auto recordNotification = [] (const MIDINotification*, void* recorder)
        { static_cast<Recorder*> (recorder)->record (nullptr); };
        ASSERT_EQ (MIDIClientCreate ("test", recordNotification, &notified, &client), noErr);
    }

    void TearDown() override
    {
        MIDIClientDispose (client);
        MidiDriver::removeAllDevices();
        MidiDriver::waitUntilIdle();
    }

    static auto sourceOf (MIDIDeviceRef d, int i = 0) { return MIDIEntityGetSource (MIDIDeviceGetEntity (d, 0), i); }
    static auto destinationOf (MIDIDeviceRef d) { return MIDIEntityGetDestination (MIDIDeviceGetEntity (d, 0), 0); }

    MIDIPortRef connect (Recorder& recorder, MIDIEndpointRef source, void* connectionRefCon = nullptr)
    {
        MIDIPortRef port = 0;
        EXPECT_EQ (MIDIInputPortCreate (client, "in", recordPackets, &recorder, &port), noErr);
        EXPECT_EQ (MIDIPortConnectSource (port, source, connectionRefCon), noErr);
        return port;
    }

    Recorder notified, reads, completions;
    MIDIClientRef client = 0;
};

TEST_F (MidiServicesTest, ReadsNotificationsAndCompletionsComeOnOtherThreadsAfterTheCallsThatCausedThem)
{
    Recorder moreReads, secondSource, unit;
    int connectionA = 0, connectionB = 0;
    const Bytes message { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };
    const std::vector<Bytes> packets {
        {}, { 0xf0 }, { 1, 2, 3 }, { 1, 2, 3, 4, 5 }, { 1, 2, 3, 4, 5, 6 }, Bytes (300, 0x11), Bytes (65535, 0x7f)
    };
    const auto send = [&] (MIDIEndpointRef destination)
    {
        auto* request = new MIDISysexSendRequest { destination, message.data(),   (std::uint32_t) message.size(),
                                                   false,       recordCompletion, &completions };
        const auto status = MIDISendSysex (request);

        if (status != noErr)
            delete request;

        return status;
    };

    for (auto* recorder : { &notified, &reads, &completions })
        recorder->held = true;

    const auto device =
        MidiDriver::addDevice ({ "Unit", 2, 1 }, [&] (const Bytes& b) { unit.record (nullptr, { b }); });
    const auto ports = { connect (reads, sourceOf (device), &connectionA),
                         connect (moreReads, sourceOf (device), &connectionB),
                         connect (secondSource, sourceOf (device, 1)) };
    MidiDriver::sendToHost (device, packets);
    MidiDriver::sendToHost (device, {});

    // A send that cannot be made fails at once and never completes.
    const auto removed = MidiDriver::addDevice ({ "Unit", 1, 1 }, {});
    const auto staleDestination = destinationOf (removed);
    MidiDriver::removeDevice (removed);

    for (const auto destination : { (MIDIEndpointRef) 0, sourceOf (device), staleDestination })
        EXPECT_NE (send (destination), noErr);

    for (const auto offline : { true, false })
    {
        MidiDriver::setOffline (device, offline);
        MidiDriver::setSendsFail (device, ! offline);
        EXPECT_NE (send (destinationOf (device)), noErr) << offline;
    }

    MidiDriver::setSendsFail (device, false);
    EXPECT_EQ (send (destinationOf (device)), noErr);

    for (auto* recorder : { &notified, &reads, &completions })
        recorder->held = false;

    MidiDriver::waitUntilIdle();

    for (auto* recorder : { &notified, &reads, &completions })
    {
        ASSERT_FALSE (recorder->deliveries.empty());
        EXPECT_TRUE (recorder->deliveries[0].afterRelease);
        EXPECT_NE (recorder->deliveries[0].thread, std::this_thread::get_id());
    }

    EXPECT_NE (notified.deliveries[0].thread, reads.deliveries[0].thread);

    for (auto [recorder, connection] : { std::pair { &reads, &connectionA }, std::pair { &moreReads, &connectionB } })
    {
        ASSERT_EQ (recorder->deliveries.size(), 2u);
        EXPECT_EQ (recorder->deliveries[0].packets, packets);
        EXPECT_TRUE (recorder->deliveries[1].packets.empty());
        EXPECT_EQ (recorder->deliveries[0].refCon, connection);
    }

    EXPECT_TRUE (secondSource.deliveries.empty());
    ASSERT_EQ (completions.deliveries.size(), 1u);
    EXPECT_NE (completions.deliveries[0].refCon, nullptr) << "not marked complete";
    ASSERT_EQ (unit.deliveries.size(), 1u);
    EXPECT_EQ (unit.deliveries[0].packets, std::vector<Bytes> { message });

    for (const auto port : ports)
        MIDIPortDispose (port);

    // Disposing the client waits for the notification running and ends the rest.
    const auto numNotified = notified.entered.load();
    notified.linger = std::chrono::milliseconds (50);
    MidiDriver::setOffline (device, true);
    ASSERT_TRUE (waitFor ([&] { return notified.entered == numNotified + 1; }));
    ASSERT_EQ (MIDIClientDispose (client), noErr);
    EXPECT_EQ (notified.deliveries.size(), (size_t) numNotified + 1);
    MidiDriver::removeDevice (device);
    MidiDriver::waitUntilIdle();
    EXPECT_EQ (notified.entered, numNotified + 1);
}

// While another thread floods the host, each way of cutting a port off during a read ends the reads at once.
TEST_F (MidiServicesTest, NoReadAfterTheConnectionIsCutEvenWhileFlooded)
{
    const std::function<void (MIDIPortRef, MIDIDeviceRef)> cuts[] {
        [] (MIDIPortRef port, MIDIDeviceRef device)
        { EXPECT_EQ (MIDIPortDisconnectSource (port, sourceOf (device)), noErr); },
        [] (MIDIPortRef port, MIDIDeviceRef) { EXPECT_EQ (MIDIPortDispose (port), noErr); },
        [] (MIDIPortRef, MIDIDeviceRef device) { MidiDriver::removeDevice (device); },
        [this] (MIDIPortRef, MIDIDeviceRef) { EXPECT_EQ (MIDIClientDispose (client), noErr); }
    };

    for (const auto& cut : cuts)
    {
        Recorder flooded;
        flooded.linger = std::chrono::milliseconds (1);
        const auto device = MidiDriver::addDevice ({ "Flooding", 1, 1 }, {});
        const auto port = connect (flooded, sourceOf (device));
        std::atomic<bool> stop { false };
        std::atomic<int> sent { 0 };
        std::thread flood (
            [&]
            {
                for (; ! stop; ++sent)
                    MidiDriver::sendToHost (device, { { 0xf0, 0xf7 } });
            });

        EXPECT_TRUE (waitFor ([&] { return flooded.entered > 0; }));
        cut (port, device);
        const auto readsAtCut = flooded.deliveries.size();
        waitFor ([&, sentAtCut = sent.load()] { return sent > sentAtCut + 100; });
        stop = true;
        flood.join();
        MidiDriver::waitUntilIdle();
        EXPECT_EQ (flooded.entered, static_cast<int> (readsAtCut)) << "a read ran after the cut, or during it";
        MIDIPortDispose (port);
    }
}

} // namespace
} // namespace platform
