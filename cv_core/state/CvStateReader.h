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

    /** The integer a stored value stands for, as the framework reads it: ints and bools as they are, doubles
        truncated, text from its leading decimal digits (none gives 0), every other type 0. None for a number that
        no int holds (not finite, or beyond the int range, also as a run of digits): the framework's own
        conversions of such numbers are undefined.
    */
    static std::optional<int> readInt (const var& stored);

    /** The number a stored value stands for, as the framework reads it: numbers and bools as they are, text as a
        decimal number after white space ("nan" and "inf" included; no number gives 0), every other type 0. An
        exponent of any length is read, where the framework's own reader overflows.
    */
    static double readDouble (const var& stored);

    /** Lets the framework forget the tag and property names that nothing holds any more. It keeps every name it
        has met in one sorted pool, where each new name moves all the later ones, and sweeps it at most every 30
        seconds: without this, every document of many distinct names would make reading the next one slower.
        Call it once what was read here is gone.
    */
    static void releaseUnusedNames();
};

} // namespace juce
