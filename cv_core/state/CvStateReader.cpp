namespace juce
{

namespace
{
// Our own forms nest a handful of levels; anything deeper is damage, and the framework's readers recurse.
constexpr int maximumNesting = 32;

// The framework keeps every tag, type and property name in one sorted pool, where each new name moves all the
// later ones: input of many distinct names takes minutes. Our forms use a few dozen.
constexpr size_t maximumNames = 4096;

// A property is set by a search through the node's properties; our nodes have a handful.
constexpr int maximumProperties = 64;

std::unique_ptr<XmlElement> parseXmlText (const String& text)
{
    if (text.isEmpty() || ! CvMarkupCheck::isSafeToParse (text, maximumNesting, maximumNames))
        return {};

    return XmlDocument::parse (text);
}

// A string with a cut-off multi-byte character would be walked past its end by the framework's character
// iterator, so only valid UTF-8 becomes text.
bool isValidUtf8 (const char* text, size_t size)
{
    return CharPointer_UTF8::isValidString (text, (int) jmin (size, (size_t) std::numeric_limits<int>::max()));
}

std::unique_ptr<XmlElement> readBinaryXml (const uint8* bytes, size_t size)
{
    constexpr uint32 magic = 0x21324356; // "VC2!"

    if (size < 9 || ByteOrder::littleEndianInt (bytes) != magic)
        return {};

    const auto length = (int) ByteOrder::littleEndianInt (bytes + 4);

    if (length < 1)
        return {};

    const auto* text = reinterpret_cast<const char*> (bytes + 8);
    const auto textSize = jmin ((size_t) length, size - 8);

    if (! isValidUtf8 (text, textSize))
        return {};

    return parseXmlText (String::fromUTF8 (text, (int) textSize));
}

/** The framework's value-tree stream format, read with every count checked against the bytes left. */
class CheckedTreeReader
{
public:
    CheckedTreeReader (const void* data, size_t size)
        : input (data, size, false)
    {
    }

    ValueTree readNode (int depth)
    {
        if (depth > maximumNesting)
            return {};

        const auto type = readString();

        if (! isAcceptedName (type))
            return {};

        ValueTree node (type);
        const auto numProperties = readCount (3);

        if (numProperties > maximumProperties)
            return {};

        for (int i = 0; i < numProperties; ++i)
        {
            const auto name = readString();

            if (! isAcceptedName (name) || failed)
                return {};

            node.setProperty (name, readValue (depth), nullptr);
        }

        const auto numChildren = readCount (3);

        for (int i = 0; i < numChildren && ! failed; ++i)
        {
            auto child = readNode (depth + 1);

            if (! child.isValid())
                return {};

            node.appendChild (child, nullptr);
        }

        return failed ? ValueTree() : node;
    }

private:
    enum Marker
    {
        intMarker = 1,
        boolTrueMarker = 2,
        boolFalseMarker = 3,
        doubleMarker = 4,
        stringMarker = 5,
        int64Marker = 6,
        arrayMarker = 7,
        binaryMarker = 8
    };

    size_t remaining() { return (size_t) input.getNumBytesRemaining(); }

    bool isAcceptedName (const String& name)
    {
        if (name.isEmpty())
            return false;

        names.insert (name);
        return names.size() <= maximumNames;
    }

    String readString()
    {
        const auto* start = static_cast<const char*> (input.getData()) + input.getPosition();
        const auto* end = static_cast<const char*> (std::memchr (start, 0, remaining()));

        if (end == nullptr)
        {
            failed = true;
            return {};
        }

        input.skipNextBytes (end - start + 1);

        if (! isValidUtf8 (start, (size_t) (end - start)))
        {
            failed = true;
            return {};
        }

        return String::fromUTF8 (start, (int) (end - start));
    }

    // A count is plausible only if it is there whole and the bytes left can hold that many items of the
    // smallest size. Counts are never negative. The framework's version reads a missing number as 0, which would make a
    // cut-off blob look complete, and negates the magnitude 0x80000000 as an int.
    int readCount (size_t minimumItemSize)
    {
        const auto count = readCompressedCount (input);

        if (count < 0 || (size_t) count > remaining() / minimumItemSize)
        {
            failed = true;
            return 0;
        }

        return count;
    }

    static int readCompressedCount (MemoryInputStream& stream)
    {
        if (stream.getNumBytesRemaining() < 1)
            return -1;

        const auto header = (uint8) stream.readByte();
        const auto numBytes = (size_t) (header & 0x7f);
        uint8 bytes[4] = {};

        if (numBytes > 4 || (size_t) stream.getNumBytesRemaining() < numBytes)
            return -1;

        stream.read (bytes, (int) numBytes);
        const auto magnitude = ByteOrder::littleEndianInt (bytes);

        if (magnitude == 0)
            return 0;

        return (header & 0x80) != 0 || magnitude > (uint32) std::numeric_limits<int>::max() ? -1 : (int) magnitude;
    }

    var readValue (int depth)
    {
        const auto numBytes = readCount (1);

        if (numBytes == 0 || failed)
            return {};

        const auto* start = static_cast<const char*> (input.getData()) + input.getPosition();
        input.skipNextBytes (numBytes);

        MemoryInputStream value (start, (size_t) numBytes, false);
        return readValuePayload (value, depth);
    }

    var readValuePayload (MemoryInputStream& value, int depth)
    {
        const auto payload = value.getNumBytesRemaining() - 1;

        switch (value.readByte())
        {
            case intMarker:
                return payload >= 4 ? var (value.readInt()) : var();
            case int64Marker:
                return payload >= 8 ? var (value.readInt64()) : var();
            case boolTrueMarker:
                return true;
            case boolFalseMarker:
                return false;
            case doubleMarker:
                return payload >= 8 ? var (value.readDouble()) : var();
            case stringMarker:
                return readTerminatedString (static_cast<const char*> (value.getData()) + 1, (size_t) payload);
            case binaryMarker:
                return MemoryBlock (static_cast<const char*> (value.getData()) + 1, (size_t) payload);
            case arrayMarker:
                return readArray (value, depth);
            default:
                return {};
        }
    }

    // Only a string whose terminator lies inside its own bytes is taken, so decoding stops inside the blob.
    static var readTerminatedString (const char* text, size_t size)
    {
        const auto* end = static_cast<const char*> (std::memchr (text, 0, size));

        if (end == nullptr || ! isValidUtf8 (text, (size_t) (end - text)))
            return {};

        return String::fromUTF8 (text, (int) (end - text));
    }

    var readArray (MemoryInputStream& value, int depth)
    {
        if (depth > maximumNesting)
            return {};

        const auto count = readCompressedCount (value);

        if (count < 0 || count > value.getNumBytesRemaining())
            return {};

        Array<var> elements;

        for (int i = 0; i < count; ++i)
        {
            CheckedTreeReader element (static_cast<const char*> (value.getData()) + value.getPosition(),
                                       (size_t) value.getNumBytesRemaining());
            elements.add (element.readValue (depth + 1));
            value.skipNextBytes (element.input.getPosition());
        }

        return elements;
    }

    MemoryInputStream input;
    bool failed = false;
    std::unordered_set<String> names;
};
bool isDecimalDigit (juce_wchar c)
{
    return c >= '0' && c <= '9';
}

// Text is read as the framework reads it, a run of digits after white space and an optional minus sign, but
// without wrapping around: a run beyond the int range is no number.
std::optional<int> readLeadingInt (const String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    const auto negative = *p == '-';

    if (negative)
        ++p;

    int64 magnitude = 0;

    for (; isDecimalDigit (*p); ++p)
    {
        magnitude = magnitude * 10 + (*p - '0');

        if (magnitude > (int64) std::numeric_limits<int>::max() + 1)
            return {};
    }

    const auto number = negative ? -magnitude : magnitude;

    if (number > std::numeric_limits<int>::max())
        return {};

    return (int) number;
}

// Text is read as the framework reads it: white space, a sign, then "nan", "inf", or digits with at most one
// decimal point and an exponent whose digits follow an optional sign. The framework sums the exponent's digits in
// an int, which a long exponent overflows; here the number's characters go to the C library, which reads digits
// and exponents of any length, in the C locale whatever the host has set.
double readDecimal (const String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    const auto negative = *p == '-';
    std::string number (negative ? "-" : "");

    if (*p == '-' || *p == '+')
        ++p;

    if (p.compareIgnoreCaseUpTo (CharPointer_ASCII ("nan"), 3) == 0)
        return std::numeric_limits<double>::quiet_NaN();

    if (p.compareIgnoreCaseUpTo (CharPointer_ASCII ("inf"), 3) == 0)
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();

    bool hasDigits = false, hasPoint = false;

    for (; isDecimalDigit (*p) || (*p == '.' && ! hasPoint); ++p)
    {
        hasDigits = hasDigits || *p != '.';
        hasPoint = hasPoint || *p == '.';
        number += (char) *p;
    }

    if (! hasDigits)
        return 0.0;

    if (*p == 'e' || *p == 'E')
    {
        auto exponent = p + 1;
        std::string digits ("e");

        if (*exponent == '-' || *exponent == '+')
            digits += (char) exponent.getAndAdvance();

        for (; isDecimalDigit (*exponent); ++exponent)
            digits += (char) *exponent;

        if (isDecimalDigit ((juce_wchar) digits.back()))
            number += digits;
    }

    static const auto cLocale = newlocale (LC_ALL_MASK, "C", nullptr);
    return strtod_l (number.c_str(), nullptr, cLocale);
}
} // namespace

std::unique_ptr<XmlElement> CvStateReader::readXml (const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return {};

    const auto* bytes = static_cast<const uint8*> (data);

    if (auto binary = readBinaryXml (bytes, size))
        return binary;

    // The framework drops a UTF-8 byte-order mark and then reads the first character after it, even when there is
    // none: a mark alone is an empty text.
    if (size == 3 && CharPointer_UTF8::isByteOrderMark (data))
        return {};

    // The framework checks the bytes and falls back to an 8-bit code page when they are not valid UTF-8.
    const auto textSize = (int) jmin (size, (size_t) std::numeric_limits<int>::max());
    return parseXmlText (String::createStringFromData (data, textSize));
}

std::optional<int> CvStateReader::readInt (const var& stored)
{
    if (stored.isInt() || stored.isBool())
        return (int) stored;

    if (stored.isString())
        return readLeadingInt (stored.toString());

    if (! stored.isInt64() && ! stored.isDouble())
        return 0;

    const auto number = stored.isInt64() ? (double) (int64) stored : std::trunc ((double) stored);

    if (! std::isfinite (number) || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        return {};

    return (int) number;
}

double CvStateReader::readDouble (const var& stored)
{
    return stored.isString() ? readDecimal (stored.toString()) : (double) stored;
}

void CvStateReader::releaseUnusedNames()
{
    StringPool::getGlobalPool().garbageCollect();
}

ValueTree CvStateReader::readValueTree (const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return {};

    return CheckedTreeReader (data, size).readNode (0);
}

} // namespace juce
