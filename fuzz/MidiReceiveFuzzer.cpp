#include <cv_midi/cv_midi.h>
#include <cv_midi/device/MidiDevicePimpl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size);

namespace
{
/** Touches everything it is given, so a read past a packet's bytes would show. */
class Listener : public juce::MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (juce::MidiDevice*) override {}
    void paramReceived (int controlNumber, int deviceValue) override { sum += controlNumber + deviceValue; }
    void extendedResponse (juce::String text) override { sum += text.hashCode(); }

    std::int64_t sum = 0;
};

// A manager that was never started has no client, so its device opens no ports: packets reach it only here.
struct Environment
{
    Environment() { device.setListener (&listener); }

    juce::ScopedJuceInitialiser_GUI juce;
    juce::MidiManager manager;
    juce::MidiDevice device { manager, 0, "Vuruvodu RX 418T" };
    Listener listener;
};

using Packet = std::vector<std::uint8_t>;

// Each packet is a little-endian length, cut to the bytes left, then that many bytes.
std::vector<Packet> splitIntoPackets (const std::uint8_t* data, std::size_t size)
{
    std::vector<Packet> packets;

    while (size >= 2)
    {
        const auto length = std::min<std::size_t> (data[0] | (std::size_t) data[1] << 8, size - 2);
        packets.emplace_back (data + 2, data + 2 + length);
        data += 2 + length;
        size -= 2 + length;
    }

    return packets;
}

// A list laid out as the services lay it out: packets back to back, each padded to a multiple of four bytes.
// The block ends where the last packet's bytes end, so reading past them is caught.
std::unique_ptr<std::uint8_t[]> makeList (const std::vector<Packet>& packets)
{
    std::size_t size = offsetof (platform::MIDIPacketList, packet);

    for (size_t i = 0; i < packets.size(); ++i)
        size += i + 1 < packets.size()
                    ? (offsetof (platform::MIDIPacket, data) + packets[i].size() + 3) & ~std::size_t { 3 }
                    : offsetof (platform::MIDIPacket, data) + packets[i].size();

    auto block = std::make_unique<std::uint8_t[]> (std::max (size, sizeof (platform::MIDIPacketList)));
    auto* list = reinterpret_cast<platform::MIDIPacketList*> (block.get());
    list->numPackets = (std::uint32_t) packets.size();
    auto* packet = list->packet;

    for (const auto& bytes : packets)
    {
        packet->length = (std::uint16_t) bytes.size();

        if (! bytes.empty())
            std::memcpy (packet->data, bytes.data(), bytes.size());

        packet = const_cast<platform::MIDIPacket*> (platform::MIDIPacketNext (packet));
    }

    return block;
}

void deliver (Environment& environment, const std::vector<Packet>& packets)
{
    const auto list = makeList (packets);
    juce::MidiDevice::Pimpl::MIDIReceiveCallback (reinterpret_cast<const platform::MIDIPacketList*> (list.get()),
                                                  environment.device.pimpl.get(), nullptr);
}
} // namespace

// Every packet alone in an exactly sized list, then all of them in one list walked packet by packet.
extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    static auto* environment = new Environment();
    const auto packets = splitIntoPackets (data, size);

    for (const auto& packet : packets)
        deliver (*environment, { packet });

    deliver (*environment, packets);
    return 0;
}
