#include "MidiSystem.h"

namespace platform
{
using EndpointKind = MidiSystem::EndpointKind;

OSStatus MIDIClientCreate (const std::string&, MIDINotifyProc notifyProc, void* notifyRefCon, MIDIClientRef* outClient)
{
    return MidiSystem::get().createClient (notifyProc, notifyRefCon, outClient);
}

OSStatus MIDIClientDispose (MIDIClientRef client)
{
    return MidiSystem::get().disposeClient (client);
}

OSStatus MIDIInputPortCreate (MIDIClientRef client, const std::string&, MIDIReadProc readProc, void* refCon,
                              MIDIPortRef* outPort)
{
    return MidiSystem::get().createInputPort (client, readProc, refCon, outPort);
}

OSStatus MIDIPortConnectSource (MIDIPortRef port, MIDIEndpointRef source, void* connectionRefCon)
{
    return MidiSystem::get().connectSource (port, source, connectionRefCon);
}

OSStatus MIDIPortDisconnectSource (MIDIPortRef port, MIDIEndpointRef source)
{
    return MidiSystem::get().disconnectSource (port, source);
}

OSStatus MIDIPortDispose (MIDIPortRef port)
{
    return MidiSystem::get().disposePort (port);
}

int MIDIGetNumberOfDevices()
{
    return MidiSystem::get().getNumberOfDevices();
}

MIDIDeviceRef MIDIGetDevice (int index)
{
    return MidiSystem::get().getDevice (index);
}

OSStatus MIDIObjectGetStringProperty (MIDIObjectRef object, MIDIProperty property, std::string& outValue)
{
    return MidiSystem::get().getStringProperty (object, property, outValue);
}

OSStatus MIDIObjectGetIntegerProperty (MIDIObjectRef object, MIDIProperty property, std::int32_t& outValue)
{
    return MidiSystem::get().getIntegerProperty (object, property, outValue);
}

int MIDIDeviceGetNumberOfEntities (MIDIDeviceRef device)
{
    return MidiSystem::get().getEntity (device, 0) != 0 ? 1 : 0;
}

MIDIEntityRef MIDIDeviceGetEntity (MIDIDeviceRef device, int index)
{
    return MidiSystem::get().getEntity (device, index);
}

int MIDIEntityGetNumberOfSources (MIDIEntityRef entity)
{
    return MidiSystem::get().getNumberOfEndpoints (entity, EndpointKind::source);
}

MIDIEndpointRef MIDIEntityGetSource (MIDIEntityRef entity, int index)
{
    return MidiSystem::get().getEndpoint (entity, EndpointKind::source, index);
}

int MIDIEntityGetNumberOfDestinations (MIDIEntityRef entity)
{
    return MidiSystem::get().getNumberOfEndpoints (entity, EndpointKind::destination);
}

MIDIEndpointRef MIDIEntityGetDestination (MIDIEntityRef entity, int index)
{
    return MidiSystem::get().getEndpoint (entity, EndpointKind::destination, index);
}

OSStatus MIDISendSysex (MIDISysexSendRequest* request)
{
    return MidiSystem::get().sendSysex (request);
}
} // namespace platform
