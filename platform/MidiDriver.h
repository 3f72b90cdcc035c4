#pragma once

#include "MidiServices.h"

/** The device side of the MIDI services: what a driver does when hardware appears, goes away or speaks.
    No driver for real hardware exists here; tests drive it through an emulated unit.
*/
namespace platform::MidiDriver
{
struct DeviceShape
{
    std::string name;
    int numSources = 1;
    int numDestinations = 1;
    bool readableName = true;
};

/** Receives each System Exclusive message sent to a device's destination, on the services' send thread,
    before the send completes.
*/
using ReceiveFromHost = std::function<void (const std::vector<std::uint8_t>& message)>;

/** Adds an online device with one entity, and tells every client that the set-up changed. */
MIDIDeviceRef addDevice (const DeviceShape& shape, ReceiveFromHost receiver);

/** Removes a device, its entity and endpoints; connections to its source are dropped. Tells every client.
    After it returns, no read procedure is running for its source and its receiver is not running; neither will be
    called again for it.
*/
void removeDevice (MIDIDeviceRef device);

/** Takes a device offline or back online (it stays listed), and tells every client. */
void setOffline (MIDIDeviceRef device, bool offline);

/** Delivers one packet list from the device's first source to every port connected at the time of delivery, on
    the read thread. Each inner vector is one packet, of at most 65535 bytes.
*/
void sendToHost (MIDIDeviceRef device, const std::vector<std::vector<std::uint8_t>>& packets);

/** Makes every following MIDISendSysex to this device's destination fail at once (or succeed again). */
void setSendsFail (MIDIDeviceRef device, bool fail);

/** Blocks until every delivery posted so far (reads, notifications, completions), and every delivery that those
    posted in turn, has run. Never call it from a delivery.
*/
void waitUntilIdle();

/** Removes every device; clients and ports stay. For tests that need a clean set-up. */
void removeAllDevices();
} // namespace platform::MidiDriver
