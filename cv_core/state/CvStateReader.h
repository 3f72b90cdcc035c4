#pragma once

namespace juce
{

/** Reads host state blobs and preset files, which are input from outside: a damaged project or a wrong file
    must never crash, hang or make the reader allocate more than the blob's size suggests.
*/
struct CvStateReader
{
    /** The XML held by the blob, in the binary form ("VC2!", length, UTF-8 text) or as plain text; null when
        the blob holds no usable XML element.
    */
    static std::unique_ptr<XmlElement> readXml (const void* data, size_t size);

    /** The value tree held by the blob in the framework's binary format; an invalid tree when the bytes are
        not a complete, well-formed tree.
    */
    static ValueTree readValueTree (const void* data, size_t size);

    /** The integer a stored value stands for: ints and bools as they are, doubles truncated, text read from its
        leading decimal digits as the framework reads it (none gives 0). A number that is not finite or lies
        outside the int range, and every other type, gives none: the framework's own conversions of such values
        are undefined.
    */
    static std::optional<int> readInt (const var& stored);
};

} // namespace juce
