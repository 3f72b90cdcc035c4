#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

using juce::CvStateReader;

namespace
{
juce::MemoryBlock bytes (std::initializer_list<juce::uint8> content)
{
    return { content.begin(), content.size() };
}

juce::MemoryBlock operator+ (juce::MemoryBlock a, const juce::MemoryBlock& b)
{
    a.append (b.getData(), b.getSize());
    return a;
}

juce::MemoryBlock text (const char* s)
{
    return { s, std::strlen (s) + 1 };
}

juce::MemoryBlock streamOf (const juce::ValueTree& tree)
{
    juce::MemoryOutputStream stream;
    tree.writeToStream (stream);
    return stream.getMemoryBlock();
}

juce::ValueTree read (const juce::MemoryBlock& blob)
{
    return CvStateReader::readValueTree (blob.getData(), blob.getSize());
}

std::unique_ptr<juce::XmlElement> readXml (const juce::MemoryBlock& blob)
{
    return CvStateReader::readXml (blob.getData(), blob.getSize());
}

juce::MemoryBlock utf8 (const juce::String& s)
{
    return { s.toRawUTF8(), s.getNumBytesAsUTF8() };
}

juce::MemoryBlock binaryXml (int declaredLength, const juce::String& xml)
{
    juce::MemoryOutputStream stream;
    stream.writeInt (0x21324356);
    stream.writeInt (declaredLength);
    stream.write (xml.toRawUTF8(), xml.getNumBytesAsUTF8());
    return stream.getMemoryBlock();
}

juce::ValueTree treeOfEveryType()
{
    juce::MemoryBlock binary (300);
    juce::Random (3).fillBitsRandomly (binary.getData(), binary.getSize());
    juce::Array<juce::var> inner { 2.5, "x" };
    juce::ValueTree root ("ROOT", { { "int", -123456 },
                                    { "int64", (juce::int64) 1 << 40 },
                                    { "yes", true },
                                    { "no", false },
                                    { "double", 0.1 },
                                    { "string", juce::String (juce::CharPointer_UTF8 ("\xc3\xa9t\xc3\xa9")) },
                                    { "empty", "" },
                                    { "binary", binary },
                                    { "array", juce::Array<juce::var> { 1, "two", juce::var (inner), juce::var() } } });
    root.appendChild (juce::ValueTree ("CHILD", { { "VALUE", 0.25 } }, { juce::ValueTree ("LEAF") }), nullptr);
    root.appendChild (juce::ValueTree ("CHILD"), nullptr);
    return root;
}

// A node "n" whose only property "p" holds the given value bytes.
juce::MemoryBlock nodeWithValue (const juce::MemoryBlock& value)
{
    return text ("n") + bytes ({ 0x01, 0x01 }) + text ("p") + value + bytes ({ 0x00 });
}

juce::MemoryBlock pluginState()
{
    Vu418dPluginInstance instance;
    juce::MemoryBlock state;
    instance.getStateInformation (state);
    return state;
}

juce::MemoryBlock nested (int levels)
{
    juce::MemoryOutputStream blob;

    for (int i = 0; i < levels; ++i)
        blob.write ("n\0\0\x01\x01", 5);

    blob.write ("n\0\0\0", 4);
    return blob.getMemoryBlock();
}
} // namespace

TEST (CvStateReader, ReadsBackEveryValueTypeOfAWrittenTree)
{
    const auto tree = treeOfEveryType();
    const auto result = read (streamOf (tree));

    ASSERT_TRUE (result.isValid());
    EXPECT_TRUE (result.isEquivalentTo (tree));
    EXPECT_TRUE (result["int64"].isInt64());
    EXPECT_TRUE (result["binary"].isBinaryData());
    EXPECT_EQ (result["array"].size(), 4);
}

TEST (CvStateReader, TruncatedBlobGivesNoTreeOrTheWholeOne)
{
    const auto state = pluginState(), other = streamOf (treeOfEveryType());

    for (const auto* full : { &state, &other })
    {
        const auto complete = juce::ValueTree::readFromData (full->getData(), full->getSize());
        EXPECT_TRUE (read (*full).isEquivalentTo (complete));

        juce::StringArray incomplete;

        for (size_t size = 0; size < full->getSize(); ++size)
        {
            const auto tree = CvStateReader::readValueTree (full->getData(), size);

            if (tree.isValid() && ! tree.isEquivalentTo (complete))
                incomplete.add (juce::String (size));
        }

        EXPECT_TRUE (incomplete.isEmpty())
            << "valid but incomplete at sizes " << incomplete.joinIntoString (", ") << " of " << full->getSize();
    }
}

TEST (CvStateReader, CountsAndLengthsTheRestCannotHoldGiveNoTree)
{
    const juce::MemoryBlock blobs[] {
        text ("n") + bytes ({ 0x04, 0xff, 0xff, 0xff, 0x7f }) + text ("p") + bytes ({ 0x00, 0x00 }),
        text ("n") + bytes ({ 0x00, 0x04, 0xff, 0xff, 0xff, 0x7f }) + text ("c") + bytes ({ 0x00, 0x00 }),
        text ("n") + bytes ({ 0x81, 0x01, 0x00 }),
        text ("n") + bytes ({ 0x00, 0x81, 0x01 }),
        nodeWithValue (bytes ({ 0x04, 0xff, 0xff, 0xff, 0x7f, 0x05, 'a', 0x00 })),
        nodeWithValue (bytes ({ 0x04, 0xff, 0xff, 0xff, 0x7f, 0x08, 0x01 })),
        bytes ({ 'n' }),
        bytes ({ 0x00, 0x00, 0x00 }),
    };

    for (const auto& blob : blobs)
        EXPECT_FALSE (read (blob).isValid()) << juce::String::toHexString (blob.getData(), (int) blob.getSize());
}

TEST (CvStateReader, ValuesThatOverrunTheirOwnBytesAreNotTaken)
{
    const juce::MemoryBlock values[] {
        bytes ({ 0x01, 0x04, 0x05, 'a', 'b', 'c' }),
        bytes ({ 0x01, 0x04, 0x05, 'a', 'b', 0xf0 }),
        bytes ({ 0x01, 0x06, 0x07, 0x04, 0xff, 0xff, 0xff, 0x7f }),
        bytes ({ 0x01, 0x03, 0x01, 0x00, 0x00 }),
    };

    for (const auto& value : values)
    {
        const auto tree = read (nodeWithValue (value));
        EXPECT_TRUE (! tree.isValid() || tree["p"].isVoid())
            << juce::String::toHexString (value.getData(), (int) value.getSize());
    }
}

TEST (CvStateReader, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
    EXPECT_TRUE (read (nested (20)).isValid());
    EXPECT_FALSE (read (nested (40)).isValid());
    EXPECT_FALSE (read (nested (100000)).isValid());

    // One property holding an array holding an array ..., written from the outside in.
    std::vector<juce::MemoryBlock> headers;
    size_t innerSize = 1;

    for (int i = 0; i < 100000; ++i)
    {
        juce::MemoryOutputStream header;
        header.writeCompressedInt ((int) innerSize + 3);
        header.write ("\x07\x01\x01", 3);
        innerSize += header.getDataSize();
        headers.push_back (header.getMemoryBlock());
    }

    juce::MemoryOutputStream value;

    for (auto header = headers.rbegin(); header != headers.rend(); ++header)
        value << *header;

    value.writeByte (0);
    const auto tree = read (nodeWithValue (value.getMemoryBlock()));
    EXPECT_TRUE (! tree.isValid() || tree["p"].isArray() || tree["p"].isVoid());
}

TEST (CvStateReader, ReadsPlainAndBinaryXmlInTheirUsableForms)
{
    const juce::String xml ("<preset state=\"stereo\"><parameters><4 value=\"0.5\"/></parameters></preset>");

    const auto plain = readXml (utf8 (xml));
    ASSERT_NE (plain, nullptr);
    EXPECT_EQ (plain->getStringAttribute ("state"), "stereo");

    const auto longer = readXml (binaryXml (1000000, xml));
    ASSERT_NE (longer, nullptr);
    EXPECT_EQ (longer->getTagName(), "preset");

    const auto exact = readXml (binaryXml ((int) xml.getNumBytesAsUTF8(), xml + "garbage<"));
    ASSERT_NE (exact, nullptr);
    EXPECT_NE (exact->getChildByName ("parameters"), nullptr);

    EXPECT_EQ (readXml (binaryXml (0, xml)), nullptr);
    EXPECT_EQ (readXml (binaryXml (-5, xml)), nullptr);

    juce::MemoryOutputStream utf16;
    utf16.writeShort ((short) 0xfeff);

    for (auto c : xml)
        utf16.writeShort ((short) c);

    const auto wide = readXml (utf16.getMemoryBlock());
    ASSERT_NE (wide, nullptr);
    EXPECT_EQ (wide->getStringAttribute ("state"), "stereo");
}

TEST (CvStateReader, FlatXmlWithManySiblingsIsNotTakenForDeepNesting)
{
    juce::String xml ("<preset><parameters>");

    for (int index = 0; index < 40; ++index)
        xml << "<" << index << " value=\"0.5\"/>";

    const auto parsed = readXml (utf8 (xml + "</parameters></preset>"));
    ASSERT_NE (parsed, nullptr);
    EXPECT_EQ (parsed->getChildByName ("parameters")->getNumChildElements(), 40);
}

TEST (CvStateReader, RefusesDocumentTypesDeepXmlAndValueTreeBlobs)
{
    juce::String deep;

    for (int i = 0; i < 40; ++i)
        deep << "<a>";

    for (int i = 0; i < 40; ++i)
        deep << "</a>";

    const juce::MemoryBlock blobs[] {
        utf8 ("<!DOCTYPE preset [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><preset state=\"&b;\"/>"),
        binaryXml (60, "<!DOCTYPE preset><preset/>"),
        utf8 (deep),
        utf8 ("not xml at all"),
        binaryXml (4, ""),
        pluginState(),
    };

    for (const auto& blob : blobs)
        EXPECT_EQ (readXml (blob), nullptr) << blob.toString();
}
