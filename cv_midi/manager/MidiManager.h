#pragma once

namespace juce
{

/** The one process-wide registry of the units on the MIDI services, shared by every plug-in instance.

    It owns the services' client, finds units by their device name, sends each new one the identify request,
    lists a unit as connected once it has answered, and tells its listeners whenever the list changes. It binds
    nothing itself. Everything but the notify procedure runs on the message thread.
*/
class MidiManager : public AsyncUpdater
{
public:
    class ConnectionListListener
    {
    public:
        virtual ~ConnectionListListener() = default;
        virtual void connectionListChanged() = 0;
    };

    /** One row of the unit list. */
    struct ConnectionStatus
    {
        enum State
        {
            bound = 1,
            free = 2
        };

        int serialNumber;
        String name;
        int state;
        MidiDevice::Listener* listener;
    };

    class Pimpl;

    MidiManager();
    ~MidiManager() override;

    /** Builds the services' side with the accepted device names, in scan order, and posts the first scan. */
    void start (const StringArray& acceptedNames);

    /** Tells every list listener, in array order. Trigger it after binding or unbinding a unit. */
    void handleAsyncUpdate() override;

    std::unique_ptr<OwnedArray<ConnectionStatus>> getConnectionList() const;

    platform::MIDIClientRef getClient() const noexcept;

    Array<ConnectionListListener*> listeners;
    bool started = false;
    std::atomic<int> usersCount { 0 };
    StringArray deviceNames;

    /** The units that have answered, in the order the handshake promoted them. */
    std::vector<std::unique_ptr<MidiDevice>> devices;
    std::unique_ptr<Pimpl> pimpl;

    static SingletonHolder<MidiManager, CriticalSection, false> singletonHolder;

    /** Held by plug-in instances while they count themselves in and out, so that with instances made and
        destroyed on several threads the first one starts the manager and the last one deletes it, once.
    */
    static CriticalSection& getUsersLock();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiManager)
};

} // namespace juce
