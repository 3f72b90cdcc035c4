#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using juce::CvStateReader;

namespace
{
juce::MemoryBlock hex (const juce::String& digits)
{
    juce::MemoryBlock block;
    block.loadFromHexString (digits);
    return block;
}

juce::MemoryBlock utf8 (const juce::String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}

juce::ValueTree read (const juce::MemoryBlock& blob)
{
    return CvStateReader::readValueTree (blob.getData(), blob.getSize());
}

// A node "n" whose only property "p" holds the given value: its length, then its marker and payload.
juce::MemoryBlock nodeWithValue (const juce::String& value)
{
    return hex ("6e00 0101 7000 " + value + " 00");
}

juce::MemoryBlock binaryXml (int declaredLength, const char* xml)
{
    juce::MemoryOutputStream stream;
    stream.writeInt (0x21324356);
    stream.writeInt (declaredLength);
    stream.write (xml, std::strlen (xml));
    return stream.getMemoryBlock();
}

juce::MemoryBlock pluginState()
{
    Vu418dPluginInstance instance;
    juce::MemoryBlock state;
    instance.getStateInformation (state);
    return state;
}
} // namespace

// The plug-in's state holds strings, ints, doubles and bools; the other tree the remaining types.
TEST (CvStateReader, WrittenTreesReadBackWholeAndCutOffOnesGiveNoTreeOrTheWholeOne)
{
    const juce::ValueTree otherTypes (
        "ROOT", { { "int64", (juce::int64) 1 << 40 },
                  { "string", juce::String (juce::CharPointer_UTF8 ("\xc3\xa9t\xc3\xa9")) },
                  { "binary", juce::MemoryBlock (300, true) },
                  { "array", juce::Array<juce::var> { 1, "two", juce::Array<juce::var> { 2.5 }, juce::var() } } });
    juce::MemoryOutputStream other;
    otherTypes.writeToStream (other);
    const auto result = read (other.getMemoryBlock());
    EXPECT_TRUE (result.isEquivalentTo (otherTypes) && result["int64"].isInt64() && result["binary"].isBinaryData());

    for (const auto& full : { pluginState(), other.getMemoryBlock() })
    {
        const auto complete = juce::ValueTree::readFromData (full.getData(), full.getSize());
        ASSERT_TRUE (read (full).isEquivalentTo (complete));

        for (size_t size = 0; size < full.getSize(); ++size)
        {
            const auto tree = CvStateReader::readValueTree (full.getData(), size);
            ASSERT_TRUE (! tree.isValid() || tree.isEquivalentTo (complete)) << size << " of " << full.getSize();
        }
    }
}

TEST (CvStateReader, HostileTreeBytesGiveNoTreeOrNoValue)
{
    // "n" with no properties and one child, nested; then an empty type name, a name that is not UTF-8, counts
    // and value lengths of 2^31 - 1 that the bytes left cannot hold.
    const auto nested = [] (int levels)
    { return hex (juce::String::repeatedString ("6e00000101", levels) + "6e000000"); };
    const juce::MemoryBlock noTree[] {
        nested (40),
        nested (100000),
        hex ("000000"),
        hex ("6ec3 000000"),
        hex ("6e00 04ffffff7f 7000 0000"),
        hex ("6e00 00 04ffffff7f 6300 0000"),
        nodeWithValue ("04ffffff7f 05 6100"),
        nodeWithValue ("04ffffff7f 08 01"),
    };

    for (const auto& blob : noTree)
        EXPECT_FALSE (read (blob).isValid()) << juce::String::toHexString (blob.getData(), (int) blob.getSize());

    // Counts whose magnitude is 2^31, negative and positive, as the whole blob the issue found.
    juce::MemoryOutputStream found;
    found << "CV_VU418D_3_0_0" << hex ("00 8400000080");
    EXPECT_FALSE (read (found.getMemoryBlock()).isValid());
    EXPECT_FALSE (read (hex ("6e00 0400000080 7000 0000")).isValid());

    // An unterminated string, a cut-off character, an array count of 2^31 - 1 and of -2^31, an int of two bytes.
    for (const auto* value : { "04 05 616263", "04 05 61e2 00", "06 07 04ffffff7f", "06 07 8400000080", "03 01 0000" })
    {
        const auto tree = read (nodeWithValue (value));
        EXPECT_TRUE (! tree.isValid() || tree["p"].isVoid()) << value;
    }

    // An array holding an array ... a hundred thousand deep, each length in four bytes.
    juce::MemoryOutputStream deepArray;
    deepArray << hex ("6e00 0101 7000");

    for (int level = 100000; level > 0; --level)
    {
        deepArray.writeByte (4);
        deepArray.writeInt (8 * level - 4);
        deepArray.write ("\x07\x01\x01", 3);
    }

    deepArray << hex ("00 00");
    const auto deep = read (deepArray.getMemoryBlock());
    EXPECT_TRUE (! deep.isValid() || deep["p"].isArray() || deep["p"].isVoid());

    // The framework's pool of names and its property search take quadratic time on many names.
    juce::ValueTree manyNames ("ROOT"), manyProperties ("ROOT");

    for (int i = 0; i < 5000; ++i)
        manyNames.appendChild (juce::ValueTree ("T" + juce::String (5000 - i)), nullptr);

    for (int i = 0; i < 65; ++i)
        manyProperties.setProperty ("p" + juce::String (i), i, nullptr);

    for (const auto& tree : { manyNames, manyProperties })
    {
        juce::MemoryOutputStream stream;
        tree.writeToStream (stream);
        EXPECT_FALSE (read (stream.getMemoryBlock()).isValid());
    }
}

TEST (CvStateReader, ReadsXmlInItsUsableFormsAndRefusesWhatTheParserMishandles)
{
    juce::String xml ("<preset state=\"stereo\"><parameters>");

    for (int index = 0; index < 40; ++index)
        xml << "<" << index << " value=\"0.5\"/>";

    xml << "</parameters></preset>";
    const auto* raw = xml.toRawUTF8();
    juce::MemoryOutputStream utf16;
    utf16.writeShort ((short) 0xfeff);

    for (auto c : xml)
        utf16.writeShort ((short) c);

    // As the framework's own writer puts it, with every character it escapes.
    auto written = juce::parseXML (xml);
    written->setAttribute ("name", juce::CharPointer_UTF8 ("a & \"b\" <c> 'd' \xc3\xa9\t\r\n\x01"));

    const juce::MemoryBlock usable[] {
        utf8 (written->toString()),
        utf8 (xml),
        utf8 ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + xml),
        binaryXml (1000000, raw),
        binaryXml ((int) std::strlen (raw), (xml + "<!DOCTYPE beyond the length>").toRawUTF8()),
        utf16.getMemoryBlock(),
        utf8 (xml.replace ("\"stereo\"", "\"st&#x00000065;r&#101;o\"")),
        utf8 ("<!-- <a><a> --><?xml version='1.0'?>\n" +
              xml.replace ("</preset>", "<note text='&lt;a&gt;'>&nbsp;<![CDATA[<a>]]><!--<a>--></note></preset>&#x")),
    };

    // Bytes beyond the given size, which the reader must not touch, would make each of them unusable.
    for (auto blob : usable)
    {
        const auto size = blob.getSize();
        blob.append ("<!DOCTYPE beyond>", 17);
        const auto parsed = CvStateReader::readXml (blob.getData(), size);
        ASSERT_NE (parsed, nullptr) << blob.toString();
        EXPECT_EQ (parsed->getStringAttribute ("state"), "stereo");
        EXPECT_EQ (parsed->getChildByName ("parameters")->getNumChildElements(), 40) << "siblings are no nesting";
    }

    juce::String deep, manyNames ("<preset>");

    for (int i = 0; i < 40; ++i)
        deep = "<a>" + deep + "</a>";

    for (int i = 5000; i > 0; --i)
        manyNames << "<a" << i << "/>";

    manyNames << "</preset>";

    const juce::MemoryBlock refused[] {
        utf8 ("<!DOCTYPE preset [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><preset state=\"&b;\"/>"),
        binaryXml (60, "<!DOCTYPE preset><preset/>"),
        utf8 ("<?xml version=\"1.0\"?><preset><?pi inside?><parameters/></preset>"),
        utf8 (deep),
        binaryXml (-5, raw),
        binaryXml (10, "<preset/>\xe2"),
        pluginState(),
        utf8 ("<bank>&#x"),
        binaryXml (22, "<preset state=\"&#X1234"),
        utf8 ("<preset><parameters><5 value=\"&#xabcdef01"),
        utf8 ("<preset>&<parameters>&#x1;</preset>"),
        utf8 ("<preset><!--" + juce::String::repeatedString ("</a>", 40) + "-->" + deep + "</preset>"),
        utf8 ("<preset><!--\"-->" + juce::String::repeatedString ("<a>", 40) + "\"</preset>"),
        utf8 ("<preset>" + juce::String::repeatedString ("<a b=\"&#x41\"/>\">", 40) + "</preset>"),
        utf8 ("<preset>" + juce::String::repeatedString ("&", 100) + "</preset>"),
        utf8 ("<preset><a><?pi?>text</a></preset>"),
        utf8 ("<preset state=\"<\"/>"),
        utf8 ("< preset/>"),
        utf8 ("<preset state=\"" + juce::String::repeatedString ("&#65536;", 5000) + "\"/>"),
        utf8 (manyNames),
    };

    for (const auto& blob : refused)
        EXPECT_EQ (CvStateReader::readXml (blob.getData(), blob.getSize()), nullptr)
            << blob.toString().substring (0, 80);
}

TEST (CvStateReader, ReadsIntegersOnlyWhereTheyAreDefined)
{
    const auto huge = 1.0e300, nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<juce::var, std::optional<int>> cases[] {
        { 7, 7 },
        { true, 1 },
        { -2.9, -2 },
        { 2147483647.5, 2147483647 },
        { -2147483648.0, -2147483647 - 1 },
        { 2147483648.0, {} },
        { huge, {} },
        { -huge, {} },
        { nan, {} },
        { std::numeric_limits<double>::infinity(), {} },
        { (juce::int64) 1 << 40, {} },
        { (juce::int64) -5, -5 },
        { " -12abc", -12 },
        { "abc", 0 },
        { "", 0 },
        { "-2147483648", -2147483647 - 1 },
        { "2147483648", {} },
        { "99999999999999999999999", {} },
        { {}, 0 },
        { juce::var (juce::Array<juce::var> { 1 }), 0 },
    };

    for (const auto& [stored, expected] : cases)
        EXPECT_EQ (CvStateReader::readInt (stored), expected) << stored.toString();
}

TEST (CvStateReader, ReadsNumbersOfAnyLengthAsTheFrameworkDoesWithin)
{
    const auto inf = std::numeric_limits<double>::infinity();
    const auto longRun = [] (const char* before, const char* after)
    { return before + juce::String::repeatedString ("0", 400) + after; };

    const std::pair<juce::var, double> cases[] {
        { " \t-1.25e2x", -125.0 },
        { "+.5", 0.5 },
        { "7.", 7.0 },
        { "1.2.3", 1.2 },
        { "1e", 1.0 },
        { "1e+x", 1.0 },
        { "2E-3", 0.002 },
        { "1e8888888888", inf },
        { "-1e8888888888", -inf },
        { "1e-8888888888", 0.0 },
        { longRun ("1", ""), inf },
        { longRun ("0.", "1e401"), 1.0 },
        { longRun ("1", "e-400"), 1.0 },
        { "-INF", -inf },
        { "abc", 0.0 },
        { "-.", 0.0 },
        { "", 0.0 },
        { 3, 3.0 },
        { true, 1.0 },
        { {}, 0.0 },
        { juce::var (juce::Array<juce::var> { 1 }), 0.0 },
    };

    for (const auto& [stored, expected] : cases)
        EXPECT_EQ (CvStateReader::readDouble (stored), expected) << stored.toString();

    EXPECT_TRUE (std::isnan (CvStateReader::readDouble ("nan")));
}
