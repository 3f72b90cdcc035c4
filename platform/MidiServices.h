#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/** The operating system's MIDI services, as the hardware link uses them: clients with a notify procedure,
    input ports with a read procedure, devices with entities, sources and destinations, and System Exclusive
    sends that complete later. This is the project's own in-process implementation for systems that have no
    such services; delivery runs on threads of its own, as it does on a real system: read procedures on a read
    thread, notify procedures on a notify thread, send completions after the send has returned.

    References are opaque and non-zero; 0 means none.
*/
namespace platform
{
using OSStatus = std::int32_t;
using MIDIObjectRef = std::uint32_t;
using MIDIClientRef = MIDIObjectRef;
using MIDIPortRef = MIDIObjectRef;
using MIDIDeviceRef = MIDIObjectRef;
using MIDIEntityRef = MIDIObjectRef;
using MIDIEndpointRef = MIDIObjectRef;

constexpr OSStatus noErr = 0;
constexpr OSStatus errInvalidObject = -10830;
constexpr OSStatus errUnknownProperty = -10835;
constexpr OSStatus errSendFailed = -10844;

enum class MIDIProperty
{
    name,
    offline
};

/** A change of the set-up has message identifier 1. */
struct MIDINotification
{
    std::int32_t messageID;
    std::uint32_t messageSize;
};

constexpr std::int32_t kMIDIMsgSetupChanged = 1;

/** One packet of a list: its byte count, then the bytes. Packets have variable length and follow one another
    in the list, so a list is walked with MIDIPacketNext, never by indexing.
*/
struct MIDIPacket
{
    std::uint16_t length;
    std::uint8_t data[1]; // really `length` bytes, the packet padded to a multiple of 4 bytes
};

struct MIDIPacketList
{
    std::uint32_t numPackets;
    MIDIPacket packet[1];
};

const MIDIPacket* MIDIPacketNext (const MIDIPacket* packet);

using MIDINotifyProc = void (*) (const MIDINotification* message, void* refCon);
using MIDIReadProc = void (*) (const MIDIPacketList* packets, void* readProcRefCon, void* sourceConnectionRefCon);

struct MIDISysexSendRequest;
using MIDICompletionProc = void (*) (MIDISysexSendRequest* request);

/** A System Exclusive send: the caller keeps the request and its bytes alive until the completion procedure
    has been called with it, which happens after MIDISendSysex has returned noErr; on an error it is not called.
*/
struct MIDISysexSendRequest
{
    MIDIEndpointRef destination;
    const std::uint8_t* data;
    std::uint32_t bytesToSend;
    bool complete;
    MIDICompletionProc completionProc;
    void* completionRefCon;
};

OSStatus MIDIClientCreate (const std::string& name, MIDINotifyProc notifyProc, void* notifyRefCon,
                           MIDIClientRef* outClient);
/** Disposes the client and its ports. After it returns, none of their procedures is running or will be called
    again; so it waits for one that is running, and must not be called holding a lock that procedure takes.
*/
OSStatus MIDIClientDispose (MIDIClientRef client);

OSStatus MIDIInputPortCreate (MIDIClientRef client, const std::string& portName, MIDIReadProc readProc, void* refCon,
                              MIDIPortRef* outPort);
/** Connecting a source that is already connected to the port only replaces its connection reference. */
OSStatus MIDIPortConnectSource (MIDIPortRef port, MIDIEndpointRef source, void* connectionRefCon);
/** After it returns, the port's read procedure is not running for that source and will not be called again for
    it (it waits for a running one, like MIDIPortDispose). errInvalidObject when the two were not connected.
*/
OSStatus MIDIPortDisconnectSource (MIDIPortRef port, MIDIEndpointRef source);
/** After it returns, the port's read procedure is not running and will not be called again; so it waits for a
    running one, and must not be called holding a lock that the read procedure takes.
*/
OSStatus MIDIPortDispose (MIDIPortRef port);

int MIDIGetNumberOfDevices();
MIDIDeviceRef MIDIGetDevice (int index);
/** Only devices have properties: the name (a string) and the offline flag (an integer, 0 or 1). */
OSStatus MIDIObjectGetStringProperty (MIDIObjectRef object, MIDIProperty property, std::string& outValue);
OSStatus MIDIObjectGetIntegerProperty (MIDIObjectRef object, MIDIProperty property, std::int32_t& outValue);

int MIDIDeviceGetNumberOfEntities (MIDIDeviceRef device);
MIDIEntityRef MIDIDeviceGetEntity (MIDIDeviceRef device, int index);
int MIDIEntityGetNumberOfSources (MIDIEntityRef entity);
MIDIEndpointRef MIDIEntityGetSource (MIDIEntityRef entity, int index);
int MIDIEntityGetNumberOfDestinations (MIDIEntityRef entity);
MIDIEndpointRef MIDIEntityGetDestination (MIDIEntityRef entity, int index);

/** Fails at once, without completing the request, unless the destination belongs to an online device and there
    are bytes to send.
*/
OSStatus MIDISendSysex (MIDISysexSendRequest* request);
} // namespace platform
