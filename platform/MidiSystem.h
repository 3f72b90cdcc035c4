#pragma once

#include "MidiDriver.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace platform
{
/** The one process-wide MIDI system behind both the host API and the driver interface: it owns every object and
    the three threads that deliver reads, set-up notifications and send completions.

    One mutex guards all state. Callbacks always run on a delivery thread with the mutex released; while one runs,
    its target is noted, so that the calls that cut a target off wait until it is no longer being served.
*/
class MidiSystem
{
public:
    enum class EndpointKind
    {
        source,
        destination
    };

    static MidiSystem& get();

    MidiSystem() = default;
    ~MidiSystem();

    MidiSystem (const MidiSystem&) = delete;
    MidiSystem& operator= (const MidiSystem&) = delete;

    OSStatus createClient (MIDINotifyProc notifyProc, void* refCon, MIDIClientRef* outClient);
    OSStatus disposeClient (MIDIClientRef client);
    OSStatus createInputPort (MIDIClientRef client, MIDIReadProc readProc, void* refCon, MIDIPortRef* outPort);
    OSStatus connectSource (MIDIPortRef port, MIDIEndpointRef source, void* connectionRefCon);
    OSStatus disconnectSource (MIDIPortRef port, MIDIEndpointRef source);
    OSStatus disposePort (MIDIPortRef port);

    int getNumberOfDevices();
    MIDIDeviceRef getDevice (int index);
    OSStatus getStringProperty (MIDIObjectRef object, MIDIProperty property, std::string& outValue);
    OSStatus getIntegerProperty (MIDIObjectRef object, MIDIProperty property, std::int32_t& outValue);
    MIDIEntityRef getEntity (MIDIDeviceRef device, int index);
    int getNumberOfEndpoints (MIDIEntityRef entity, EndpointKind kind);
    MIDIEndpointRef getEndpoint (MIDIEntityRef entity, EndpointKind kind, int index);
    OSStatus sendSysex (MIDISysexSendRequest* request);

    MIDIDeviceRef addDevice (const MidiDriver::DeviceShape& shape, MidiDriver::ReceiveFromHost receiver);
    void removeDevice (MIDIDeviceRef device);
    void setOffline (MIDIDeviceRef device, bool offline);
    void sendToHost (MIDIDeviceRef device, const std::vector<std::vector<std::uint8_t>>& packets);
    void setSendsFail (MIDIDeviceRef device, bool fail);
    void waitUntilIdle();
    void removeAllDevices();

private:
    struct Device
    {
        std::string name;
        bool readableName = true;
        bool offline = false;
        bool sendsFail = false;
        std::shared_ptr<const MidiDriver::ReceiveFromHost> receiver;
        MIDIEntityRef entity = 0;
        std::vector<MIDIEndpointRef> sources, destinations;
    };

    struct Client
    {
        MIDINotifyProc notifyProc;
        void* refCon;
    };

    struct Port
    {
        MIDIClientRef client;
        MIDIReadProc readProc;
        void* refCon;
    };

    struct Connection
    {
        MIDIPortRef port;
        MIDIEndpointRef source;
        void* refCon;
    };

    struct ReadJob
    {
        MIDIEndpointRef source;
        std::vector<std::uint32_t> packetList; // words, so the list is 4-byte aligned
    };

    struct NotifyJob
    {
        MIDINotification message;
    };

    struct SendJob
    {
        MIDISysexSendRequest* request;
        MIDIDeviceRef device;
    };

    template <typename Job>
    struct Lane
    {
        std::deque<Job> jobs;
        std::thread thread;
        bool busy = false;
    };

    struct ReadTarget
    {
        MIDIPortRef port = 0;
        MIDIEndpointRef source = 0;
    };

    MIDIObjectRef newRef() { return nextRef++; }
    Device* findDevice (MIDIDeviceRef device);
    const std::vector<MIDIEndpointRef>* findEndpoints (MIDIEntityRef entity, EndpointKind kind);
    bool isObject (MIDIObjectRef object) const;
    void postSetupChanged();

    template <typename Predicate>
    std::vector<MIDIObjectRef> dropConnections (Predicate shouldDrop);

    template <typename Job>
    void post (Lane<Job>& lane, Job job);

    template <typename Job>
    void run (Lane<Job>& lane);

    template <typename Job, typename Predicate>
    void waitUnlessOnLane (std::unique_lock<std::mutex>& lock, const Lane<Job>& lane, Predicate isDone);

    template <typename Target, typename Call>
    void callUnlocked (std::unique_lock<std::mutex>& lock, Target& inFlight, Target target, Call&& call);

    template <typename Job>
    static bool isIdle (const Lane<Job>& lane)
    {
        return lane.jobs.empty() && ! lane.busy;
    }

    void deliver (ReadJob& job, std::unique_lock<std::mutex>& lock);
    void deliver (NotifyJob& job, std::unique_lock<std::mutex>& lock);
    void deliver (SendJob& job, std::unique_lock<std::mutex>& lock);

    std::mutex mutex;
    std::condition_variable changed;
    bool stopping = false;
    MIDIObjectRef nextRef = 1;

    std::vector<MIDIDeviceRef> deviceOrder;
    std::map<MIDIDeviceRef, Device> devices;
    std::map<MIDIEntityRef, MIDIDeviceRef> entityOwners;
    std::map<MIDIEndpointRef, MIDIDeviceRef> sourceOwners, destinationOwners;
    std::map<MIDIClientRef, Client> clients;
    std::map<MIDIPortRef, Port> ports;
    std::map<MIDIObjectRef, Connection> connections; // keyed in the order they were made

    Lane<ReadJob> reads;
    Lane<NotifyJob> notifications;
    Lane<SendJob> sends;

    ReadTarget readInFlight;
    MIDIClientRef notifyInFlight = 0;
    MIDIDeviceRef sendInFlight = 0;
};
} // namespace platform
