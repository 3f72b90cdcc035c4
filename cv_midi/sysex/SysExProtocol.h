#pragma once

namespace juce
{

/** The System Exclusive messages exchanged with a unit: F0 00 12 34, a device byte, a command byte, the
    payload and F7.
*/
namespace SysExProtocol
{
enum Command
{
    parameterValueFromPanel = 0x00,
    parameterValue = 0x01,
    identify = 0x04,
    information = 0x06,
    textReply = 0x07,
    parameterValueOtherChannel = 0x08
};

using ParameterMessage = std::array<uint8, 10>;

extern const std::array<uint8, 7> identifyRequest;
extern const std::array<uint8, 9> informationRequest;

/** A value message to a unit; the device byte is the low eight bits of the unit's number, FF while it is -1. */
ParameterMessage makeParameterValue (int serialNumber, int command, int controlNumber, int deviceValue);

/** What a packet from a unit holds, decided from its bytes alone. */
struct Received
{
    enum class Kind
    {
        notOurs,
        headerOnly,
        parameterValue,
        textReply,
        other
    };

    Kind kind = Kind::notOurs;
    int deviceByte = -1;
    int controlNumber = 0;
    int deviceValue = 0;
    String text;
};

/** Decodes one packet, reading nothing outside its bytes. */
Received decode (const uint8* bytes, size_t length);

/** The text of a reply's payload: 7 bits per byte, least significant first, 8 bits per character; zero
    characters dropped, a point before the sixth character and the unit's abbreviations spelt out.
*/
String unpackText (const uint8* payload, size_t size);
} // namespace SysExProtocol

} // namespace juce
