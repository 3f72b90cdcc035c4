#include "support/EmulatedUnit.h"

#include <cv_midi/cv_midi.h>

#include <gtest/gtest.h>

namespace
{
using juce::SysExProtocol::decode;
using testsupport::EmulatedUnit;
using Kind = juce::SysExProtocol::Received::Kind;
using Bytes = EmulatedUnit::Bytes;

juce::SysExProtocol::Received decodeBytes (const Bytes& message)
{
    return decode (message.data(), message.size());
}
} // namespace

TEST (SysExProtocol, ValueMessageCarriesTheValueInTwoBytesAndFFWhileTheNumberIsUnknown)
{
    for (const auto& [value, low, high] : { std::tuple { 200, 0x48, 0x01 }, std::tuple { 127, 0x7f, 0x00 },
                                            std::tuple { 128, 0x00, 0x01 }, std::tuple { 255, 0x7f, 0x01 } })
    {
        const juce::SysExProtocol::ParameterMessage expected {
            0xf0, 0x00, 0x12, 0x34, 0x05, 0x01, 0x03, (juce::uint8) low, (juce::uint8) high, 0xf7
        };
        EXPECT_EQ (juce::SysExProtocol::makeParameterValue (5, 1, 3, value), expected) << value;
    }

    const auto unknown = juce::SysExProtocol::makeParameterValue (-1, 8, 14, 4);
    EXPECT_EQ (Bytes (unknown.begin() + 4, unknown.begin() + 6), (Bytes { 0xff, 0x08 }));
}

TEST (SysExProtocol, DecodesValuesWithAnUnmaskedHighByteAndTellsOtherMessagesApart)
{
    const auto received = decodeBytes ({ 0xf0, 0x00, 0x12, 0x34, 0x09, 0x00, 0x02, 0x05, 0x03, 0xf7 });
    EXPECT_EQ (received.kind, Kind::parameterValue);
    EXPECT_EQ (std::tuple (received.deviceByte, received.controlNumber, received.deviceValue), std::tuple (9, 2, 389));

    for (const auto& [message, kind, deviceByte] :
         { std::tuple { Bytes { 0xf0, 0x00, 0x12, 0x35, 0x01, 0x01, 0x01, 0x01, 0x00, 0xf7 }, Kind::notOurs, -1 },
           std::tuple { Bytes { 0xf0, 0x00, 0x12, 0x34 }, Kind::notOurs, -1 },
           std::tuple { Bytes {}, Kind::notOurs, -1 },
           std::tuple { Bytes { 0xf0, 0x00, 0x12, 0x34, 0x07 }, Kind::headerOnly, 7 },
           std::tuple { Bytes { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x01, 0x02, 0xf7 }, Kind::other, 7 },
           std::tuple { Bytes { 0xf0, 0x00, 0x12, 0x34, 0x07, 0x05, 0xf7 }, Kind::other, 7 } })
    {
        EXPECT_EQ (decodeBytes (message).kind, kind) << message.size();
        EXPECT_EQ (decodeBytes (message).deviceByte, deviceByte) << message.size();
    }
}

TEST (SysExProtocol, TextReplyIsUnpackedAndItsAbbreviationsSpeltOut)
{
    const auto reply = decodeBytes (EmulatedUnit::textReply (5, "SV: 228"));
    EXPECT_EQ (reply.kind, Kind::textReply);
    EXPECT_EQ (reply.text, "Firmware version: 2.28");

    const auto withZero = EmulatedUnit::textReply (5, std::string ("UT\0MC12345", 10));
    EXPECT_EQ (decodeBytes (withZero).text, "UptimeFront panel manipulations1.2345");

    // Bytes after the closing F7 (a stray real-time byte) are not text; a reply cut before it keeps what came.
    auto trailing = EmulatedUnit::textReply (5, "SV: 228");
    trailing.push_back (0xfe);
    EXPECT_EQ (decodeBytes (trailing).text, "Firmware version: 2.28");
    trailing.resize (trailing.size() - 2);
    EXPECT_EQ (decodeBytes (trailing).text, "Firmware version: 2.28");

    // Characters are ISO 8859-1 code points, not UTF-8.
    EXPECT_EQ (decodeBytes (EmulatedUnit::textReply (5, "\xe9\xff")).text,
               juce::String (juce::CharPointer_UTF8 ("\xc3\xa9\xc3\xbf")));

    // Spelt out as if one abbreviation after another were replaced: side by side, split by the point, or with the
    // letters of another around them.
    EXPECT_EQ (decodeBytes (EmulatedUnit::textReply (5, "SVUTMCSV")).text, "Firmware versionUptimeM.CFirmware version");
    EXPECT_EQ (decodeBytes (EmulatedUnit::textReply (5, "SSVV")).text, "SFirmware versionV");
    EXPECT_EQ (decodeBytes (EmulatedUnit::textReply (5, "MUTC")).text, "MUptimeC");

    const auto empty = decodeBytes (EmulatedUnit::textReply (5, ""));
    EXPECT_EQ (empty.kind, Kind::textReply);
    EXPECT_TRUE (empty.text.isEmpty());
}
