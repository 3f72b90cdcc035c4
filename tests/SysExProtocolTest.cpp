#include <cv_midi/cv_midi.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{
using juce::SysExProtocol::decode;
using Kind = juce::SysExProtocol::Received::Kind;

std::vector<juce::uint8> textReply (const std::vector<juce::uint8>& payload)
{
    std::vector<juce::uint8> message { 0xf0, 0x00, 0x12, 0x34, 0x05, 0x07 };
    message.insert (message.end(), payload.begin(), payload.end());
    message.push_back (0xf7);
    return message;
}

// Packs text as a unit does: 8 bits per character into a stream sent 7 bits per byte, least significant first.
std::vector<juce::uint8> packText (const std::string& text)
{
    std::vector<juce::uint8> payload ((text.size() * 8 + 6) / 7, 0);

    for (size_t bit = 0; bit < text.size() * 8; ++bit)
        if (((juce::uint8) text[bit / 8] >> (bit % 8)) & 1)
            payload[bit / 7] |= (juce::uint8) (1 << (bit % 7));

    return payload;
}
} // namespace

TEST (SysExProtocol, ValueMessageCarriesTheDeviceValueInTwoBytes)
{
    const std::pair<int, std::pair<int, int>> cases[] {
        { 200, { 0x48, 0x01 } }, { 127, { 0x7f, 0x00 } }, { 128, { 0x00, 0x01 } }, { 255, { 0x7f, 0x01 } }
    };

    for (const auto& [value, bytes] : cases)
    {
        const auto message = juce::SysExProtocol::makeParameterValue (5, 1, 3, value);
        const juce::SysExProtocol::ParameterMessage expected {
            0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x03, (juce::uint8) bytes.first, (juce::uint8) bytes.second, 0xf7
        };
        EXPECT_EQ (message, expected) << value;
    }
}

TEST (SysExProtocol, UnknownUnitNumberGoesOutAsFF)
{
    EXPECT_EQ (juce::SysExProtocol::makeParameterValue (-1, 8, 14, 4)[4], 0xff);
    EXPECT_EQ (juce::SysExProtocol::makeParameterValue (-1, 8, 14, 4)[5], 0x08);
}

TEST (SysExProtocol, ReceivedValueKeepsAnUnmaskedHighByte)
{
    const juce::uint8 message[] { 0xf0, 0x00, 0x12, 0x34, 0x09, 0x00, 0x02, 0x05, 0x03, 0xf7 };
    const auto received = decode (message, sizeof (message));

    EXPECT_EQ (received.kind, Kind::parameterValue);
    EXPECT_EQ (received.deviceByte, 9);
    EXPECT_EQ (received.controlNumber, 2);
    EXPECT_EQ (received.deviceValue, 389);
}

TEST (SysExProtocol, ForeignShortAndUnknownMessages)
{
    const std::vector<std::vector<juce::uint8>> notOurs {
        { 0xf0, 0x00, 0x12, 0x35, 0x01, 0x01, 0x01, 0x01, 0x00, 0xf7 }, { 0xf0, 0x00, 0x12, 0x34 }, {}
    };

    for (const auto& message : notOurs)
        EXPECT_EQ (decode (message.data(), message.size()).kind, Kind::notOurs);

    const juce::uint8 headerOnly[] { 0xf0, 0x00, 0x12, 0x34, 0x07 };
    EXPECT_EQ (decode (headerOnly, sizeof (headerOnly)).kind, Kind::headerOnly);
    EXPECT_EQ (decode (headerOnly, sizeof (headerOnly)).deviceByte, 7);

    const juce::uint8 shortValue[] { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x01, 0x02, 0xf7 };
    const juce::uint8 otherCommand[] { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x05, 0xf7 };

    for (const auto& [bytes, size] :
         { std::pair { shortValue, sizeof (shortValue) }, std::pair { otherCommand, sizeof (otherCommand) } })
    {
        const auto received = decode (bytes, size);
        EXPECT_EQ (received.kind, Kind::other);
        EXPECT_EQ (received.deviceByte, 7);
    }
}

TEST (SysExProtocol, TextReplyIsUnpackedAndItsAbbreviationsSpeltOut)
{
    const auto payload = packText ("SV: 228");
    ASSERT_EQ (payload.size(), 8u);

    const auto message = textReply (payload);
    const auto received = decode (message.data(), message.size());

    EXPECT_EQ (received.kind, Kind::textReply);
    EXPECT_EQ (received.text, "Firmware version: 2.28");
    EXPECT_EQ (received.text.substring (18, 22), "2.28");

    const auto withZero = textReply (packText (std::string ("UT", 2) + std::string (1, '\0') + "MC12345"));
    EXPECT_EQ (decode (withZero.data(), withZero.size()).text, "UptimeFront panel manipulations1.2345");

    const auto empty = textReply ({});
    EXPECT_EQ (decode (empty.data(), empty.size()).kind, Kind::textReply);
    EXPECT_TRUE (decode (empty.data(), empty.size()).text.isEmpty());
}
