namespace juce
{

namespace SysExProtocol
{
namespace
{
constexpr uint8 header[] { 0xf0, 0x00, 0x12, 0x34 };
constexpr uint8 endOfExclusive = 0xf7;
} // namespace

const std::array<uint8, 7> identifyRequest { 0xf0, 0x00, 0x12, 0x34, 0x00, identify, endOfExclusive };
const std::array<uint8, 9> informationRequest { 0xf0, 0x00, 0x12, 0x34, 0x00, information, 0x63, 0x00, endOfExclusive };

ParameterMessage makeParameterValue (int serialNumber, int command, int controlNumber, int deviceValue)
{
    return { header[0],
             header[1],
             header[2],
             header[3],
             (uint8) (serialNumber & 0xff),
             (uint8) command,
             (uint8) controlNumber,
             (uint8) (deviceValue & 0x7f),
             (uint8) ((deviceValue >> 7) & 0x01),
             endOfExclusive };
}

Received decode (const uint8* bytes, size_t length)
{
    Received message;

    if (length < 5 || std::memcmp (bytes, header, sizeof (header)) != 0)
        return message;

    message.deviceByte = bytes[4];
    message.kind = Received::Kind::headerOnly;

    if (length < 6)
        return message;

    switch (bytes[5])
    {
        case parameterValueFromPanel:
        case parameterValue:
            // A value message needs its control number and both value bytes; a shorter one is damage.
            if (length >= 9)
            {
                message.kind = Received::Kind::parameterValue;
                message.controlNumber = bytes[6];
                message.deviceValue = bytes[7] + 128 * bytes[8];
            }
            else
            {
                message.kind = Received::Kind::other;
            }
            break;

        case textReply:
        {
            // Data bytes are 7-bit, so the first F7 closes the message; anything after it is not text.
            const auto* payload = bytes + 6;
            const auto* end = std::find (payload, bytes + length, endOfExclusive);
            message.kind = Received::Kind::textReply;
            message.text = unpackText (payload, (size_t) (end - payload));
            break;
        }

        default:
            message.kind = Received::Kind::other;
            break;
    }

    return message;
}

String unpackText (const uint8* payload, size_t size)
{
    String text;
    const auto numCharacters = 7 * size / 8;

    for (size_t k = 0; k < numCharacters; ++k)
    {
        const auto firstBit = 8 * k;
        const auto byteIndex = firstBit / 7;
        const auto shift = (int) (firstBit % 7);
        const auto character = (uint8) ((payload[byteIndex] >> shift) | (payload[byteIndex + 1] << (7 - shift)));

        if (character != 0)
            text += String::charToString ((juce_wchar) character);
    }

    if (text.length() >= 6)
        text = text.substring (0, 5) + "." + text.substring (5);

    return text.replace ("SV", "Firmware version").replace ("UT", "Uptime").replace ("MC", "Front panel manipulations");
}
} // namespace SysExProtocol

} // namespace juce
