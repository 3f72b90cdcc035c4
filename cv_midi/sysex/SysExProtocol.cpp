namespace juce
{

namespace SysExProtocol
{
namespace
{
constexpr uint8 header[] { 0xf0, 0x00, 0x12, 0x34 };
constexpr uint8 endOfExclusive = 0xf7;

struct Abbreviation
{
    juce_wchar first, second;
    const char* spelt;
};

constexpr Abbreviation abbreviations[] { { 'S', 'V', "Firmware version" },
                                         { 'U', 'T', "Uptime" },
                                         { 'M', 'C', "Front panel manipulations" } };

const Abbreviation* abbreviationAt (const std::vector<juce_wchar>& characters, size_t position)
{
    if (position + 1 >= characters.size())
        return nullptr;

    for (const auto& abbreviation : abbreviations)
        if (characters[position] == abbreviation.first && characters[position + 1] == abbreviation.second)
            return &abbreviation;

    return nullptr;
}

// One pass spells out every abbreviation, in time linear in the text. It gives what replacing one abbreviation
// after another would: no abbreviation ends with the letter another begins with, and no spelt-out form makes one.
String spellOutAbbreviations (const std::vector<juce_wchar>& characters)
{
    std::vector<juce_wchar> text;
    text.reserve (characters.size() + 1);

    for (size_t i = 0; i < characters.size(); ++i)
    {
        const auto* abbreviation = abbreviationAt (characters, i);

        if (abbreviation == nullptr)
        {
            text.push_back (characters[i]);
            continue;
        }

        for (const auto* c = abbreviation->spelt; *c != 0; ++c)
            text.push_back ((juce_wchar) *c);

        ++i;
    }

    text.push_back (0);
    return String (CharPointer_UTF32 (text.data()));
}
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
    std::vector<juce_wchar> characters;
    const auto numCharacters = 7 * size / 8;
    characters.reserve (numCharacters + 1);

    for (size_t k = 0; k < numCharacters; ++k)
    {
        const auto firstBit = 8 * k;
        const auto byteIndex = firstBit / 7;
        const auto shift = (int) (firstBit % 7);
        const auto character = (uint8) ((payload[byteIndex] >> shift) | (payload[byteIndex + 1] << (7 - shift)));

        if (character != 0)
            characters.push_back (character);
    }

    if (characters.size() >= 6)
        characters.insert (characters.begin() + 5, '.');

    return spellOutAbbreviations (characters);
}
} // namespace SysExProtocol

} // namespace juce
