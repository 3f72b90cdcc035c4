#include "MidiSystem.h"

namespace platform::MidiDriver
{
MIDIDeviceRef addDevice (const DeviceShape& shape, ReceiveFromHost receiver)
{
    return MidiSystem::get().addDevice (shape, std::move (receiver));
}

void removeDevice (MIDIDeviceRef device)
{
    MidiSystem::get().removeDevice (device);
}

void setOffline (MIDIDeviceRef device, bool offline)
{
    MidiSystem::get().setOffline (device, offline);
}

void sendToHost (MIDIDeviceRef device, const std::vector<std::vector<std::uint8_t>>& packets)
{
    MidiSystem::get().sendToHost (device, packets);
}

void setSendsFail (MIDIDeviceRef device, bool fail)
{
    MidiSystem::get().setSendsFail (device, fail);
}

void waitUntilIdle()
{
    MidiSystem::get().waitUntilIdle();
}

void removeAllDevices()
{
    MidiSystem::get().removeAllDevices();
}
} // namespace platform::MidiDriver
