#include "MidiSystem.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform
{
namespace
{
std::size_t paddedPacketSize (std::size_t numBytes)
{
    return (offsetof (MIDIPacket, data) + numBytes + 3) & ~std::size_t { 3 };
}

// A packet's length field has 16 bits; longer driver data is cut rather than corrupting the list.
std::uint16_t packetLength (const std::vector<std::uint8_t>& bytes)
{
    return static_cast<std::uint16_t> (std::min<std::size_t> (bytes.size(), 0xffff));
}

std::vector<std::uint32_t> makePacketList (const std::vector<std::vector<std::uint8_t>>& packets)
{
    auto size = offsetof (MIDIPacketList, packet);

    for (const auto& bytes : packets)
        size += paddedPacketSize (packetLength (bytes));

    std::vector<std::uint32_t> words ((std::max (size, sizeof (MIDIPacketList)) + 3) / 4, 0);
    auto* list = reinterpret_cast<MIDIPacketList*> (words.data());
    list->numPackets = static_cast<std::uint32_t> (packets.size());
    auto* packet = list->packet;

    for (const auto& bytes : packets)
    {
        packet->length = packetLength (bytes);

        if (packet->length > 0)
            std::memcpy (packet->data, bytes.data(), packet->length);

        packet = const_cast<MIDIPacket*> (MIDIPacketNext (packet));
    }

    return words;
}

bool contains (const std::vector<MIDIObjectRef>& refs, MIDIObjectRef ref)
{
    return std::find (refs.begin(), refs.end(), ref) != refs.end();
}
} // namespace

const MIDIPacket* MIDIPacketNext (const MIDIPacket* packet)
{
    const auto* start = reinterpret_cast<const std::uint8_t*> (packet);
    return reinterpret_cast<const MIDIPacket*> (start + paddedPacketSize (packet->length));
}

MidiSystem& MidiSystem::get()
{
    static MidiSystem system;
    return system;
}

MidiSystem::~MidiSystem()
{
    {
        const std::lock_guard<std::mutex> lock (mutex);
        stopping = true;

        // Nobody listens at exit any more; pending sends still complete, since their owners free them then.
        reads.jobs.clear();
        notifications.jobs.clear();
    }

    changed.notify_all();

    for (auto* thread : { &reads.thread, &notifications.thread, &sends.thread })
        if (thread->joinable())
            thread->join();
}

OSStatus MidiSystem::createClient (MIDINotifyProc notifyProc, void* refCon, MIDIClientRef* outClient)
{
    if (outClient == nullptr)
        return errInvalidObject;

    const std::lock_guard<std::mutex> lock (mutex);
    *outClient = newRef();
    clients.emplace (*outClient, Client { notifyProc, refCon });
    return noErr;
}

OSStatus MidiSystem::disposeClient (MIDIClientRef client)
{
    std::unique_lock<std::mutex> lock (mutex);

    if (clients.erase (client) == 0)
        return errInvalidObject;

    std::vector<MIDIPortRef> ownPorts;

    for (auto it = ports.begin(); it != ports.end();)
    {
        if (it->second.client == client)
        {
            ownPorts.push_back (it->first);
            it = ports.erase (it);
        }
        else
        {
            ++it;
        }
    }

    dropConnections ([&] (const Connection& connection) { return contains (ownPorts, connection.port); });
    waitUnlessOnLane (lock, notifications, [&] { return notifyInFlight != client; });
    waitUnlessOnLane (lock, reads, [&] { return ! contains (ownPorts, readInFlight.port); });
    return noErr;
}

OSStatus MidiSystem::createInputPort (MIDIClientRef client, MIDIReadProc readProc, void* refCon, MIDIPortRef* outPort)
{
    if (outPort == nullptr)
        return errInvalidObject;

    const std::lock_guard<std::mutex> lock (mutex);

    if (clients.count (client) == 0)
        return errInvalidObject;

    *outPort = newRef();
    ports.emplace (*outPort, Port { client, readProc, refCon });
    return noErr;
}

OSStatus MidiSystem::connectSource (MIDIPortRef port, MIDIEndpointRef source, void* connectionRefCon)
{
    const std::lock_guard<std::mutex> lock (mutex);

    if (ports.count (port) == 0 || sourceOwners.count (source) == 0)
        return errInvalidObject;

    for (auto& entry : connections)
    {
        if (entry.second.port == port && entry.second.source == source)
        {
            entry.second.refCon = connectionRefCon;
            return noErr;
        }
    }

    connections.emplace (newRef(), Connection { port, source, connectionRefCon });
    return noErr;
}

OSStatus MidiSystem::disconnectSource (MIDIPortRef port, MIDIEndpointRef source)
{
    std::unique_lock<std::mutex> lock (mutex);

    const auto dropped = dropConnections ([&] (const Connection& connection)
                                          { return connection.port == port && connection.source == source; });

    if (dropped.empty())
        return errInvalidObject;

    waitUnlessOnLane (lock, reads, [&] { return readInFlight.port != port || readInFlight.source != source; });
    return noErr;
}

OSStatus MidiSystem::disposePort (MIDIPortRef port)
{
    std::unique_lock<std::mutex> lock (mutex);

    if (ports.erase (port) == 0)
        return errInvalidObject;

    dropConnections ([&] (const Connection& connection) { return connection.port == port; });
    waitUnlessOnLane (lock, reads, [&] { return readInFlight.port != port; });
    return noErr;
}

int MidiSystem::getNumberOfDevices()
{
    const std::lock_guard<std::mutex> lock (mutex);
    return static_cast<int> (deviceOrder.size());
}

MIDIDeviceRef MidiSystem::getDevice (int index)
{
    const std::lock_guard<std::mutex> lock (mutex);
    return index >= 0 && index < static_cast<int> (deviceOrder.size()) ? deviceOrder[static_cast<std::size_t> (index)]
                                                                       : 0;
}

OSStatus MidiSystem::getStringProperty (MIDIObjectRef object, MIDIProperty property, std::string& outValue)
{
    const std::lock_guard<std::mutex> lock (mutex);
    const auto* device = findDevice (object);

    if (device == nullptr)
        return isObject (object) ? errUnknownProperty : errInvalidObject;

    if (property != MIDIProperty::name || ! device->readableName)
        return errUnknownProperty;

    outValue = device->name;
    return noErr;
}

OSStatus MidiSystem::getIntegerProperty (MIDIObjectRef object, MIDIProperty property, std::int32_t& outValue)
{
    const std::lock_guard<std::mutex> lock (mutex);
    const auto* device = findDevice (object);

    if (device == nullptr)
        return isObject (object) ? errUnknownProperty : errInvalidObject;

    if (property != MIDIProperty::offline)
        return errUnknownProperty;

    outValue = device->offline ? 1 : 0;
    return noErr;
}

MIDIEntityRef MidiSystem::getEntity (MIDIDeviceRef device, int index)
{
    const std::lock_guard<std::mutex> lock (mutex);
    const auto* found = findDevice (device);
    return found != nullptr && index == 0 ? found->entity : 0;
}

int MidiSystem::getNumberOfEndpoints (MIDIEntityRef entity, EndpointKind kind)
{
    const std::lock_guard<std::mutex> lock (mutex);
    const auto* endpoints = findEndpoints (entity, kind);
    return endpoints != nullptr ? static_cast<int> (endpoints->size()) : 0;
}

MIDIEndpointRef MidiSystem::getEndpoint (MIDIEntityRef entity, EndpointKind kind, int index)
{
    const std::lock_guard<std::mutex> lock (mutex);
    const auto* endpoints = findEndpoints (entity, kind);

    if (endpoints == nullptr || index < 0 || index >= static_cast<int> (endpoints->size()))
        return 0;

    return (*endpoints)[static_cast<std::size_t> (index)];
}

OSStatus MidiSystem::sendSysex (MIDISysexSendRequest* request)
{
    if (request == nullptr)
        return errInvalidObject;

    const std::lock_guard<std::mutex> lock (mutex);
    const auto owner = destinationOwners.find (request->destination);

    if (owner == destinationOwners.end())
        return errInvalidObject;

    const auto& device = devices.at (owner->second);

    if (device.offline || device.sendsFail || request->data == nullptr || request->bytesToSend == 0 || stopping)
        return errSendFailed;

    post (sends, SendJob { request, owner->second });
    return noErr;
}

MIDIDeviceRef MidiSystem::addDevice (const MidiDriver::DeviceShape& shape, MidiDriver::ReceiveFromHost receiver)
{
    const std::lock_guard<std::mutex> lock (mutex);
    const auto ref = newRef();

    Device device;
    device.name = shape.name;
    device.readableName = shape.readableName;
    device.entity = newRef();
    entityOwners.emplace (device.entity, ref);

    if (receiver)
        device.receiver = std::make_shared<const MidiDriver::ReceiveFromHost> (std::move (receiver));

    for (int i = 0; i < shape.numSources; ++i)
        sourceOwners.emplace (device.sources.emplace_back (newRef()), ref);

    for (int i = 0; i < shape.numDestinations; ++i)
        destinationOwners.emplace (device.destinations.emplace_back (newRef()), ref);

    devices.emplace (ref, std::move (device));
    deviceOrder.push_back (ref);
    postSetupChanged();
    return ref;
}

void MidiSystem::removeDevice (MIDIDeviceRef device)
{
    std::unique_lock<std::mutex> lock (mutex);
    const auto found = devices.find (device);

    if (found == devices.end())
        return;

    const auto sources = found->second.sources;
    entityOwners.erase (found->second.entity);

    for (const auto source : sources)
        sourceOwners.erase (source);

    for (const auto destination : found->second.destinations)
        destinationOwners.erase (destination);

    devices.erase (found);
    deviceOrder.erase (std::find (deviceOrder.begin(), deviceOrder.end(), device));
    dropConnections ([&] (const Connection& connection) { return contains (sources, connection.source); });
    postSetupChanged();

    waitUnlessOnLane (lock, reads, [&] { return ! contains (sources, readInFlight.source); });
    waitUnlessOnLane (lock, sends, [&] { return sendInFlight != device; });
}

void MidiSystem::setOffline (MIDIDeviceRef device, bool offline)
{
    const std::lock_guard<std::mutex> lock (mutex);

    if (auto* found = findDevice (device))
    {
        found->offline = offline;
        postSetupChanged();
    }
}

void MidiSystem::sendToHost (MIDIDeviceRef device, const std::vector<std::vector<std::uint8_t>>& packets)
{
    auto packetList = makePacketList (packets);
    const std::lock_guard<std::mutex> lock (mutex);
    const auto* found = findDevice (device);

    if (found != nullptr && ! found->sources.empty())
        post (reads, ReadJob { found->sources.front(), std::move (packetList) });
}

void MidiSystem::setSendsFail (MIDIDeviceRef device, bool fail)
{
    const std::lock_guard<std::mutex> lock (mutex);

    if (auto* found = findDevice (device))
        found->sendsFail = fail;
}

void MidiSystem::waitUntilIdle()
{
    std::unique_lock<std::mutex> lock (mutex);
    changed.wait (lock, [this] { return isIdle (reads) && isIdle (notifications) && isIdle (sends); });
}

void MidiSystem::removeAllDevices()
{
    std::vector<MIDIDeviceRef> all;

    {
        const std::lock_guard<std::mutex> lock (mutex);
        all = deviceOrder;
    }

    for (const auto device : all)
        removeDevice (device);
}

MidiSystem::Device* MidiSystem::findDevice (MIDIDeviceRef device)
{
    const auto found = devices.find (device);
    return found != devices.end() ? &found->second : nullptr;
}

const std::vector<MIDIEndpointRef>* MidiSystem::findEndpoints (MIDIEntityRef entity, EndpointKind kind)
{
    const auto owner = entityOwners.find (entity);

    if (owner == entityOwners.end())
        return nullptr;

    const auto& device = devices.at (owner->second);
    return kind == EndpointKind::source ? &device.sources : &device.destinations;
}

bool MidiSystem::isObject (MIDIObjectRef object) const
{
    return devices.count (object) != 0 || entityOwners.count (object) != 0 || sourceOwners.count (object) != 0 ||
           destinationOwners.count (object) != 0 || clients.count (object) != 0 || ports.count (object) != 0;
}

void MidiSystem::postSetupChanged()
{
    post (notifications, NotifyJob { { kMIDIMsgSetupChanged, sizeof (MIDINotification) } });
}

template <typename Predicate>
std::vector<MIDIObjectRef> MidiSystem::dropConnections (Predicate shouldDrop)
{
    std::vector<MIDIObjectRef> dropped;

    for (auto it = connections.begin(); it != connections.end();)
    {
        if (shouldDrop (it->second))
        {
            dropped.push_back (it->first);
            it = connections.erase (it);
        }
        else
        {
            ++it;
        }
    }

    return dropped;
}

template <typename Job>
void MidiSystem::post (Lane<Job>& lane, Job job)
{
    if (stopping)
        return;

    lane.jobs.push_back (std::move (job));

    if (! lane.thread.joinable())
        lane.thread = std::thread ([this, &lane] { run (lane); });

    changed.notify_all();
}

template <typename Job>
void MidiSystem::run (Lane<Job>& lane)
{
    std::unique_lock<std::mutex> lock (mutex);

    for (;;)
    {
        changed.wait (lock, [&] { return stopping || ! lane.jobs.empty(); });

        if (lane.jobs.empty())
            return;

        auto job = std::move (lane.jobs.front());
        lane.jobs.pop_front();
        lane.busy = true;
        deliver (job, lock);
        lane.busy = false;
        changed.notify_all();
    }
}

// A callback that cuts off its own target (a receiver unplugging its device, say) must not wait for itself.
template <typename Job, typename Predicate>
void MidiSystem::waitUnlessOnLane (std::unique_lock<std::mutex>& lock, const Lane<Job>& lane, Predicate isDone)
{
    if (lane.thread.get_id() != std::this_thread::get_id())
        changed.wait (lock, isDone);
}

template <typename Target, typename Call>
void MidiSystem::callUnlocked (std::unique_lock<std::mutex>& lock, Target& inFlight, Target target, Call&& call)
{
    inFlight = target;
    lock.unlock();
    call();
    lock.lock();
    inFlight = Target {};
    changed.notify_all();
}

void MidiSystem::deliver (ReadJob& job, std::unique_lock<std::mutex>& lock)
{
    const auto* list = reinterpret_cast<const MIDIPacketList*> (job.packetList.data());

    // The next connection is looked up afresh each time: any of them may be dropped while another is served.
    for (MIDIObjectRef last = 0;;)
    {
        const auto next = std::find_if (connections.upper_bound (last), connections.end(),
                                        [&] (const auto& entry) { return entry.second.source == job.source; });

        if (next == connections.end())
            return;

        last = next->first;
        const auto connection = next->second;
        const auto port = ports.at (connection.port);

        if (port.readProc != nullptr)
            callUnlocked (lock, readInFlight, ReadTarget { connection.port, connection.source },
                          [&] { port.readProc (list, port.refCon, connection.refCon); });
    }
}

void MidiSystem::deliver (NotifyJob& job, std::unique_lock<std::mutex>& lock)
{
    for (MIDIClientRef last = 0;;)
    {
        const auto next = clients.upper_bound (last);

        if (next == clients.end())
            return;

        last = next->first;
        const auto client = next->second;

        if (client.notifyProc != nullptr)
            callUnlocked (lock, notifyInFlight, last, [&] { client.notifyProc (&job.message, client.refCon); });
    }
}

void MidiSystem::deliver (SendJob& job, std::unique_lock<std::mutex>& lock)
{
    auto* request = job.request;
    const auto* device = findDevice (job.device);

    if (device != nullptr && device->receiver != nullptr)
    {
        const auto receiver = device->receiver;
        callUnlocked (lock, sendInFlight, job.device,
                      [&]
                      {
                          const std::vector<std::uint8_t> message (request->data, request->data + request->bytesToSend);
                          (*receiver) (message);
                      });
    }

    // The completion procedure may free the request, so nothing touches it afterwards.
    lock.unlock();
    request->complete = true;

    if (request->completionProc != nullptr)
        request->completionProc (request);

    lock.lock();
}
} // namespace platform
