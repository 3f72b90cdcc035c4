#pragma once

namespace juce
{

class MidiManager;

/** One unit found on the MIDI services: its input port, source and destination, the unit's number learnt
    from its first valid message, and the one listener bound to it.

    Devices are created and destroyed by the manager only, on the message thread. Messages from the unit are
    decoded on the services' read thread and handed to the bound listener there.
*/
class MidiDevice
{
public:
    /** Implemented by whatever a unit is bound to. The unit's messages arrive on the read thread, so
        implementations hand that work over to the message thread; binding and connection calls come on the
        message thread.
    */
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void setConnectedMidiDevice (MidiDevice* device) = 0;

        /** True when the bound unit has become available, false when it has gone or is being unbound. */
        virtual void hidConnectionCallback (bool /*available*/) {}
        virtual void paramReceived (int /*controlNumber*/, int /*deviceValue*/) {}
        virtual void extendedResponse (String /*text*/) {}
    };

    class Pimpl;

    /** Opens the unit's ports on the manager's client. */
    MidiDevice (MidiManager& manager, platform::MIDIDeviceRef deviceRef, const String& acceptedName);
    virtual ~MidiDevice();

    /** Sends one System Exclusive message to the unit; does nothing when it has no destination. */
    void sendSysex (const uint8* bytes, int numBytes);

    bool hasDestination() const noexcept;

    /** Binds or unbinds (nullptr) a listener, on the message thread. Waits for a delivery to the previous
        listener that is in progress on the read thread, so a listener is never called once unbound.
    */
    void setListener (Listener* newListener);
    Listener* getListener() const noexcept { return listener; }

    MidiManager* const owner;
    std::unique_ptr<Pimpl> pimpl;
    std::atomic<int> serialNumber { -1 };
    const String name;

private:
    friend class Pimpl;
    void handlePacket (const uint8* bytes, size_t length);

    std::mutex listenerLock;
    Listener* listener = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiDevice)
};

} // namespace juce
