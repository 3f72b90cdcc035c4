#include "EmulatedUnit.h"

#include <algorithm>
#include <iterator>

namespace testsupport
{
namespace
{
constexpr std::uint8_t identifyAnswer = 0x05; // a command the plug-in does not know: it only learns the number
constexpr std::uint8_t textCommand = 0x07;

EmulatedUnit::Bytes frame (int deviceByte, int command, const EmulatedUnit::Bytes& payload = {})
{
    EmulatedUnit::Bytes message {
        0xf0, 0x00, 0x12, 0x34, static_cast<std::uint8_t> (deviceByte), static_cast<std::uint8_t> (command)
    };
    // Inserting at the end here makes g++ 12 at -O3 report a copy out of bounds that cannot happen.
    std::copy (payload.begin(), payload.end(), std::back_inserter (message));
    message.push_back (0xf7);
    return message;
}
} // namespace

const EmulatedUnit::Bytes EmulatedUnit::identifyRequest { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x04, 0xf7 };
const EmulatedUnit::Bytes EmulatedUnit::informationRequest { 0xf0, 0x00, 0x12, 0x34, 0x00, 0x06, 0x63, 0x00, 0xf7 };

EmulatedUnit::EmulatedUnit (const platform::MidiDriver::DeviceShape& deviceShape, int deviceNumber)
    : shape (deviceShape)
    , number (deviceNumber)
{
    plugIn();
}

EmulatedUnit::~EmulatedUnit()
{
    unplug();
}

void EmulatedUnit::plugIn()
{
    if (device == 0)
        device = platform::MidiDriver::addDevice (shape, [this] (const Bytes& message) { receive (message); });
}

// Once removeDevice returns the receiver no longer runs, so nothing here outlives the unit.
void EmulatedUnit::unplug()
{
    if (const auto old = device.exchange (0))
        platform::MidiDriver::removeDevice (old);
}

void EmulatedUnit::setOffline (bool isOffline)
{
    offline = isOffline;
    platform::MidiDriver::setOffline (device, isOffline);
}

void EmulatedUnit::setFirmwareVersion (const std::string& digits)
{
    const std::lock_guard<std::mutex> lock (mutex);
    firmwareVersion = digits;
}

void EmulatedUnit::sendParameter (int control, int value, int command)
{
    sendPackets ({ valueMessage (number, command, control, value) });
}

void EmulatedUnit::sendText (const std::string& text)
{
    sendPackets ({ textReply (number, text) });
}

// The services deliver an offline device's packets all the same, so an offline unit keeps quiet itself.
void EmulatedUnit::sendPackets (const std::vector<Bytes>& packets)
{
    if (! offline)
        platform::MidiDriver::sendToHost (device, packets);
}

std::vector<EmulatedUnit::Bytes> EmulatedUnit::receivedMessages() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return received;
}

std::size_t EmulatedUnit::numReceived() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return received.size();
}

int EmulatedUnit::countOf (const std::function<bool (const Bytes&)>& predicate) const
{
    const auto messages = receivedMessages();
    return static_cast<int> (std::count_if (messages.begin(), messages.end(), predicate));
}

int EmulatedUnit::countOf (const Bytes& message) const
{
    return countOf ([&message] (const Bytes& candidate) { return candidate == message; });
}

EmulatedUnit::Bytes EmulatedUnit::valueMessage (int deviceByte, int command, int control, int value)
{
    return frame (deviceByte, command,
                  { static_cast<std::uint8_t> (control), static_cast<std::uint8_t> (value & 0x7f),
                    static_cast<std::uint8_t> ((value >> 7) & 0x7f) });
}

EmulatedUnit::Bytes EmulatedUnit::textReply (int deviceByte, const std::string& text)
{
    return frame (deviceByte, textCommand, packText (text));
}

EmulatedUnit::Bytes EmulatedUnit::packText (const std::string& text)
{
    const auto numBits = 8 * text.size();
    Bytes packed ((numBits + 6) / 7, 0);

    for (std::size_t bit = 0; bit < numBits; ++bit)
        if (((static_cast<unsigned char> (text[bit / 8]) >> (bit % 8)) & 1) != 0)
            packed[bit / 7] = static_cast<std::uint8_t> (packed[bit / 7] | (1u << (bit % 7)));

    return packed;
}

void EmulatedUnit::receive (const Bytes& message)
{
    std::string version;

    {
        const std::lock_guard<std::mutex> lock (mutex);
        received.push_back (message);
        version = firmwareVersion;
    }

    if (silent || offline)
        return;

    if (message == identifyRequest)
        sendPackets ({ frame (number, identifyAnswer) });
    else if (message == informationRequest)
        sendPackets (
            { textReply (number, "SV: " + version), textReply (number, "UT: 1234"), textReply (number, "MC: 0042") });
}
} // namespace testsupport
