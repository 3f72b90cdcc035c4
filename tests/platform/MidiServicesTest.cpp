#include "platform/MidiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <set>
#include <thread>

namespace platform
{
namespace
{
using Bytes = std::vector<std::uint8_t>;

struct Delivery
{
    std::thread::id thread;
    bool afterOpened;
    void* refCon;
    std::vector<Bytes> packets;
};

/** Collects what the services deliver. While its gate is closed a delivery waits (up to two seconds), so a test can
    tell that it was not made inside the call that caused it.
*/
class Recorder
{
public:
    std::chrono::milliseconds hold {};
    std::atomic<int> entered { 0 };

    void closeGate() { gate = opener.get_future().share(); }
    void openGate() { opener.set_value(); }

    void record (void* refCon, std::vector<Bytes> packets = {})
    {
        ++entered;
        const auto closed = gate;
        const auto afterOpened =
            ! closed.valid() || closed.wait_for (std::chrono::seconds (2)) == std::future_status::ready;
        std::this_thread::sleep_for (hold);
        const std::lock_guard<std::mutex> lock (mutex);
        deliveries.push_back ({ std::this_thread::get_id(), afterOpened, refCon, std::move (packets) });
    }

    std::vector<Delivery> get()
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return deliveries;
    }

    bool waitUntilEntered() const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (2);

        while (entered == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();

        return entered > 0;
    }

private:
    std::mutex mutex;
    std::promise<void> opener;
    std::shared_future<void> gate;
    std::vector<Delivery> deliveries;
};

void recordNotification (const MIDINotification* message, void* recorder)
{
    EXPECT_EQ (message->messageID, kMIDIMsgSetupChanged);
    static_cast<Recorder*> (recorder)->record (nullptr);
}

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
        ASSERT_EQ (MIDIClientCreate ("test", recordNotification, &notified, &client), noErr);
    }

    void TearDown() override
    {
        MIDIClientDispose (client);
        MidiDriver::removeAllDevices();
        MidiDriver::waitUntilIdle();
    }

    static MIDIEndpointRef sourceOf (MIDIDeviceRef device, int index = 0)
    {
        return MIDIEntityGetSource (MIDIDeviceGetEntity (device, 0), index);
    }

    static MIDIEndpointRef destinationOf (MIDIDeviceRef device)
    {
        return MIDIEntityGetDestination (MIDIDeviceGetEntity (device, 0), 0);
    }

    MIDIPortRef connect (Recorder& recorder, MIDIEndpointRef source, void* connectionRefCon)
    {
        MIDIPortRef port = 0;
        EXPECT_EQ (MIDIInputPortCreate (client, "in", recordPackets, &recorder, &port), noErr);
        EXPECT_EQ (MIDIPortConnectSource (port, source, connectionRefCon), noErr);
        return port;
    }

    MIDIDeviceRef addUnit()
    {
        return MidiDriver::addDevice ({ "Unit", 1, 1 },
                                      [this] (const Bytes& bytes) { unit.record (nullptr, { bytes }); });
    }

    // The message must outlive the completion.
    OSStatus send (MIDIEndpointRef destination, const Bytes& message, bool withData = true)
    {
        const auto* data = withData ? message.data() : nullptr;
        const auto size = static_cast<std::uint32_t> (message.size());
        auto* request = new MIDISysexSendRequest { destination, data, size, false, recordCompletion, &completions };
        const auto status = MIDISendSysex (request);

        if (status != noErr)
            delete request;

        return status;
    }

    // While another thread floods the host, cuts the port off during a read, then expects no further read.
    void expectNoReadAfter (const char* what, const std::function<void (MIDIPortRef, MIDIDeviceRef)>& cut)
    {
        SCOPED_TRACE (what);
        Recorder flooded;
        const auto device = MidiDriver::addDevice ({ "Flooding", 1, 1 }, {});
        flooded.hold = std::chrono::milliseconds (1);
        const auto port = connect (flooded, sourceOf (device), nullptr);
        std::atomic<bool> stop { false };
        std::atomic<int> sent { 0 };
        std::thread flood (
            [&]
            {
                for (; ! stop; ++sent)
                    MidiDriver::sendToHost (device, { { 0xf0, 0xf7 } });
            });

        EXPECT_TRUE (flooded.waitUntilEntered());
        cut (port, device);
        const auto readsAtCut = flooded.get().size();

        for (const auto sentAtCut = sent.load(); sent < sentAtCut + 100;)
            std::this_thread::yield();

        stop = true;
        flood.join();
        MidiDriver::waitUntilIdle();
        EXPECT_EQ (flooded.get().size(), readsAtCut);
        EXPECT_EQ (flooded.entered, static_cast<int> (readsAtCut));
        MIDIPortDispose (port);
    }

    Recorder notified, reads, moreReads, unit, completions;
    MIDIClientRef client = 0;
};

TEST_F (MidiServicesTest, EnumeratesDevicesWithOneEntityAndTheirProperties)
{
    const auto a = MidiDriver::addDevice ({ "Unit A", 1, 1 }, {});
    const auto b = MidiDriver::addDevice ({ "Unit B", 0, 2, false }, {});
    const auto c = MidiDriver::addDevice ({ "Unit C", 2, 0 }, {});
    const auto entityB = MIDIDeviceGetEntity (b, 0);

    ASSERT_EQ (MIDIGetNumberOfDevices(), 3);
    EXPECT_EQ ((std::vector<MIDIDeviceRef> { MIDIGetDevice (-1), MIDIGetDevice (0), MIDIGetDevice (1),
                                             MIDIGetDevice (2), MIDIGetDevice (3) }),
               (std::vector<MIDIDeviceRef> { 0, a, b, c, 0 }));
    EXPECT_EQ (MIDIDeviceGetNumberOfEntities (b), 1);
    EXPECT_EQ (MIDIDeviceGetEntity (b, 1), 0u);
    EXPECT_EQ (MIDIEntityGetNumberOfSources (entityB), 0);
    EXPECT_EQ (MIDIEntityGetNumberOfDestinations (entityB), 2);
    EXPECT_EQ (MIDIEntityGetDestination (entityB, 2), 0u);
    EXPECT_EQ (MIDIEntityGetNumberOfSources (MIDIDeviceGetEntity (c, 0)), 2);

    const auto refs = {
        a, b, entityB, sourceOf (a), destinationOf (a), MIDIEntityGetDestination (entityB, 1), sourceOf (c, 1)
    };
    EXPECT_EQ (std::set<MIDIObjectRef> (refs).size(), refs.size());
    EXPECT_EQ (std::count (refs.begin(), refs.end(), 0u), 0);

    std::string name;
    std::int32_t offline = -1;
    EXPECT_EQ (MIDIObjectGetStringProperty (a, MIDIProperty::name, name), noErr);
    EXPECT_EQ (name, "Unit A");
    EXPECT_EQ (MIDIObjectGetStringProperty (b, MIDIProperty::name, name), errUnknownProperty);
    EXPECT_EQ (MIDIObjectGetIntegerProperty (c, MIDIProperty::offline, offline), noErr);
    EXPECT_EQ (offline, 0);

    MidiDriver::setOffline (c, true);
    MidiDriver::removeDevice (b);
    EXPECT_EQ (MIDIObjectGetIntegerProperty (c, MIDIProperty::offline, offline), noErr);
    EXPECT_EQ (offline, 1);
    ASSERT_EQ (MIDIGetNumberOfDevices(), 2);
    EXPECT_EQ (MIDIGetDevice (1), c);
    EXPECT_EQ (MIDIObjectGetIntegerProperty (b, MIDIProperty::offline, offline), errInvalidObject);
    EXPECT_EQ (MIDIDeviceGetNumberOfEntities (b), 0);
    EXPECT_EQ (MIDIEntityGetDestination (entityB, 0), 0u);
}

TEST_F (MidiServicesTest, DisposedClientsAndPortsAreInvalid)
{
    const auto device = addUnit();
    MIDIClientRef other = 0;
    MIDIPortRef port = 0;
    ASSERT_EQ (MIDIClientCreate ("other", nullptr, nullptr, &other), noErr);
    ASSERT_EQ (MIDIInputPortCreate (other, "in", recordPackets, &reads, &port), noErr);
    EXPECT_EQ (MIDIPortConnectSource (port, destinationOf (device), nullptr), errInvalidObject);
    EXPECT_EQ (MIDIPortDisconnectSource (port, sourceOf (device)), errInvalidObject);

    EXPECT_EQ (MIDIClientDispose (other), noErr);
    EXPECT_EQ (MIDIClientDispose (other), errInvalidObject);
    EXPECT_EQ (MIDIPortConnectSource (port, sourceOf (device), nullptr), errInvalidObject);
    EXPECT_EQ (MIDIPortDispose (port), errInvalidObject);
    EXPECT_EQ (MIDIInputPortCreate (other, "in", recordPackets, &reads, &port), errInvalidObject);
}

TEST_F (MidiServicesTest, NotifiesEverySetupChangeOnAnotherThreadAfterTheCallReturned)
{
    notified.closeGate();
    const auto device = addUnit();
    MidiDriver::setOffline (device, true);
    MidiDriver::removeDevice (device);
    notified.openGate();
    MidiDriver::waitUntilIdle();

    const auto deliveries = notified.get();
    ASSERT_EQ (deliveries.size(), 3u);

    for (const auto& delivery : deliveries)
    {
        EXPECT_TRUE (delivery.afterOpened);
        EXPECT_NE (delivery.thread, std::this_thread::get_id());
    }
}

TEST_F (MidiServicesTest, ClientDisposeWaitsForItsRunningNotifyAndEndsTheRest)
{
    Recorder slow;
    slow.hold = std::chrono::milliseconds (50);
    MIDIClientRef other = 0;
    ASSERT_EQ (MIDIClientCreate ("other", recordNotification, &slow, &other), noErr);

    addUnit();
    ASSERT_TRUE (slow.waitUntilEntered());
    ASSERT_EQ (MIDIClientDispose (other), noErr);
    EXPECT_EQ (slow.get().size(), 1u);

    addUnit();
    MidiDriver::waitUntilIdle();
    EXPECT_EQ (slow.entered, 1);
}

TEST_F (MidiServicesTest, ReadsReachEveryPortOfTheFirstSourceOnTheReadThread)
{
    const auto device = MidiDriver::addDevice ({ "Unit", 2, 1 }, {});
    int connectionA = 0, connectionB = 0;
    Recorder secondSource;
    reads.closeGate();
    const auto ports = { connect (reads, sourceOf (device), &connectionA),
                         connect (moreReads, sourceOf (device), &connectionB),
                         connect (secondSource, sourceOf (device, 1), nullptr) };

    const std::vector<Bytes> packets {
        {}, { 0xf0 }, { 1, 2, 3 }, { 1, 2, 3, 4, 5 }, { 1, 2, 3, 4, 5, 6 }, Bytes (300, 0x11), Bytes (65535, 0x7f)
    };
    MidiDriver::sendToHost (device, packets);
    MidiDriver::sendToHost (device, {});
    reads.openGate();
    MidiDriver::waitUntilIdle();

    for (auto [recorder, connection] : { std::pair { &reads, &connectionA }, std::pair { &moreReads, &connectionB } })
    {
        const auto deliveries = recorder->get();
        ASSERT_EQ (deliveries.size(), 2u);
        EXPECT_EQ (deliveries[0].packets, packets);
        EXPECT_TRUE (deliveries[1].packets.empty());
        EXPECT_EQ (deliveries[0].refCon, connection);
        EXPECT_NE (deliveries[0].thread, std::this_thread::get_id());
        EXPECT_NE (deliveries[0].thread, notified.get().at (0).thread);
    }

    EXPECT_TRUE (reads.get().at (0).afterOpened);
    EXPECT_TRUE (secondSource.get().empty());

    for (const auto port : ports)
        MIDIPortDispose (port);
}

TEST_F (MidiServicesTest, NoReadAfterTheConnectionIsCutEvenWhileFlooded)
{
    expectNoReadAfter ("disconnect", [] (MIDIPortRef port, MIDIDeviceRef device)
                       { EXPECT_EQ (MIDIPortDisconnectSource (port, sourceOf (device)), noErr); });
    expectNoReadAfter ("port dispose",
                       [] (MIDIPortRef port, MIDIDeviceRef) { EXPECT_EQ (MIDIPortDispose (port), noErr); });
    expectNoReadAfter ("device removal", [] (MIDIPortRef, MIDIDeviceRef device) { MidiDriver::removeDevice (device); });
    expectNoReadAfter ("client dispose",
                       [this] (MIDIPortRef, MIDIDeviceRef) { EXPECT_EQ (MIDIClientDispose (client), noErr); });
}

TEST_F (MidiServicesTest, SysexCompletesAfterReturningOnceTheDeviceHasTheBytes)
{
    const auto device = addUnit();
    const Bytes message { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };
    completions.closeGate();
    EXPECT_EQ (send (destinationOf (device), message), noErr);
    completions.openGate();
    MidiDriver::waitUntilIdle();

    const auto done = completions.get();
    ASSERT_EQ (done.size(), 1u);
    EXPECT_TRUE (done[0].afterOpened);
    EXPECT_NE (done[0].thread, std::this_thread::get_id());
    EXPECT_NE (done[0].refCon, nullptr);
    ASSERT_EQ (unit.get().size(), 1u);
    EXPECT_EQ (unit.get()[0].packets, std::vector<Bytes> { message });
}

TEST_F (MidiServicesTest, SysexFailsAtOnceWithoutCompletingWhenItCannotBeSent)
{
    const auto device = addUnit();
    const auto removed = addUnit();
    const auto staleDestination = destinationOf (removed);
    MidiDriver::removeDevice (removed);
    const Bytes message { 0xf0, 0xf7 };

    EXPECT_NE (send (0, message), noErr);
    EXPECT_NE (send (sourceOf (device), message), noErr);
    EXPECT_NE (send (staleDestination, message), noErr);
    EXPECT_NE (send (destinationOf (device), {}), noErr);
    EXPECT_NE (send (destinationOf (device), message, false), noErr);

    MidiDriver::setOffline (device, true);
    EXPECT_NE (send (destinationOf (device), message), noErr);
    MidiDriver::setOffline (device, false);
    MidiDriver::setSendsFail (device, true);
    EXPECT_NE (send (destinationOf (device), message), noErr);
    MidiDriver::setSendsFail (device, false);
    EXPECT_EQ (send (destinationOf (device), message), noErr);

    MidiDriver::waitUntilIdle();
    EXPECT_EQ (completions.get().size(), 1u);
    ASSERT_EQ (unit.get().size(), 1u);
    EXPECT_EQ (unit.get()[0].packets, std::vector<Bytes> { message });
}
} // namespace
} // namespace platform
