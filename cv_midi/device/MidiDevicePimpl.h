#pragma once

namespace juce
{

/** The services side of a device: its port and endpoints, and the procedures the services call. */
class MidiDevice::Pimpl
{
public:
    Pimpl (MidiDevice& device, MidiManager& manager, platform::MIDIDeviceRef deviceRef);
    ~Pimpl();

    static void MIDIReceiveCallback (const platform::MIDIPacketList* packets, void* readProcRefCon, void*);
    static void MIDISendingComplete (platform::MIDISysexSendRequest* request);

    platform::MIDIDeviceRef deviceRef;
    platform::MIDIPortRef inputPort = 0;
    platform::MIDIEndpointRef source = 0;
    platform::MIDIEndpointRef destination = 0;
    MidiManager* manager;
    MidiDevice* owner;

private:
    void openPorts();

    JUCE_DECLARE_NON_COPYABLE (Pimpl)
};

} // namespace juce
