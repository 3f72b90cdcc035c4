#pragma once

namespace juce
{

/** Walks XML text the way the framework's parser will, before the parser is given it, and accepts only what it
    can walk to the end of the root element safely.

    The parser steps past the end of its text on character references the text cuts off, re-parses the text of
    an unknown reference that begins with "<" as markup of its own, loops for ever on a processing instruction
    followed by text, expands a document type's entities without limit, recurses once per level of nesting, and
    takes time that grows with the square of some inputs. None of that occurs in the forms the plug-in reads. What
    passes here is: comments and processing instructions before the root, then one element of plain markup
    (names of ASCII letters, digits and "_-:.", quoted attribute values without "<", well-formed references,
    comments and CDATA sections). What follows the root is not read by the parser and is not looked at.
*/
class CvMarkupCheck
{
public:
    /** Whether the parser may be given the text: nested at most the given depth, with at most the given number
        of distinct tag and attribute names, which the framework keeps in its pool of names.
    */
    static bool isSafeToParse (const String& text, int maximumNesting, size_t maximumDistinctNames);

private:
    CvMarkupCheck (const String& text, int maximumNesting, size_t maximumDistinctNames);

    bool readDocument();
    bool skipProlog();
    bool readContent();
    bool readStartTag();
    bool readQuotedValue();
    bool readReference();
    bool readName (bool pooled);
    bool skipSection (const char* opening, const char* closing);
    bool skipCharacter (juce_wchar c);
    bool startsWith (const char* text) const;
    void skipSpaces();

    String::CharPointerType p;
    const int maximumDepth;
    const size_t maximumNames;
    int depth = 0;
    std::unordered_set<std::string_view> names;

    JUCE_DECLARE_NON_COPYABLE (CvMarkupCheck)
};

} // namespace juce
