#pragma once

#include "platform/MidiDriver.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport
{
/** The hardware unit as the in-process MIDI services see it: plugged in from construction until it is unplugged
    or destroyed. It answers the identify request with its number and the information request with its packed
    texts, sends whatever a test tells it to, and records every message it receives.

    The services call its receiver on their send thread, so everything the receiver touches is guarded.
*/
class EmulatedUnit
{
public:
    using Bytes = std::vector<std::uint8_t>;

    static const Bytes identifyRequest;
    static const Bytes informationRequest;

    /** The shape gives the device name and whether it has a source and a destination; the number is 0..127. */
    EmulatedUnit (const platform::MidiDriver::DeviceShape& shape, int number);
    ~EmulatedUnit();

    /** Each plug-in makes a new device on the services, as real hardware would. */
    void plugIn();
    void unplug();
    void setOffline (bool isOffline);

    /** A silent unit answers no request; what a test tells it to send still goes out. */
    void setSilent (bool isSilent) { silent = isSilent; }

    /** Three digits: "228" is read by the plug-in as 2.28. */
    void setFirmwareVersion (const std::string& digits);

    platform::MIDIDeviceRef getDeviceRef() const { return device; }

    /** Command 0 is a front-panel change, command 1 an answer. */
    void sendParameter (int control, int value, int command = 0);
    void sendText (const std::string& text);

    /** Sends one packet list; offline, the unit sends nothing. */
    void sendPackets (const std::vector<Bytes>& packets);

    std::vector<Bytes> receivedMessages() const;
    std::size_t numReceived() const;
    int countOf (const std::function<bool (const Bytes&)>& predicate) const;
    int countOf (const Bytes& message) const;

    /** Returns once the services have delivered everything posted so far, answers to it included. */
    static void waitForDeliveries() { platform::MidiDriver::waitUntilIdle(); }

    /** Messages as a unit sends them, from any device byte. */
    static Bytes valueMessage (int deviceByte, int command, int control, int value);
    static Bytes textReply (int deviceByte, const std::string& text);

    /** Eight-bit characters as one stream of seven bits per byte, least significant bit first. */
    static Bytes packText (const std::string& text);

private:
    void receive (const Bytes& message);

    const platform::MidiDriver::DeviceShape shape;
    const int number;
    std::atomic<platform::MIDIDeviceRef> device { 0 };
    std::atomic<bool> offline { false }, silent { false };

    mutable std::mutex mutex;
    std::string firmwareVersion = "228";
    std::vector<Bytes> received;
};
} // namespace testsupport
