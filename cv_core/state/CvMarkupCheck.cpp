namespace juce
{

namespace
{
// The parser appends each reference of an attribute value to the value read so far, copying it each time: a
// bound on references times bytes keeps that to milliseconds.
constexpr int64 maximumReferenceWork = 1 << 26;

// The ASCII characters the parser takes into names.
bool isNameCharacter (juce_wchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == ':' || c == '.';
}
} // namespace

CvMarkupCheck::CvMarkupCheck (const String& text, int maximumNesting, size_t maximumDistinctNames)
    : p (text.getCharPointer())
    , maximumDepth (maximumNesting)
    , maximumNames (maximumDistinctNames)
{
}

bool CvMarkupCheck::isSafeToParse (const String& text, int maximumNesting, size_t maximumDistinctNames)
{
    return CvMarkupCheck (text, maximumNesting, maximumDistinctNames).readDocument();
}

bool CvMarkupCheck::readDocument()
{
    if (! skipProlog() || ! readStartTag())
        return false;

    while (depth > 0)
        if (! readContent())
            return false;

    return true;
}

// The parser skips white space, comments and processing instructions before the root; the XML declaration is
// one of them.
bool CvMarkupCheck::skipProlog()
{
    for (;;)
    {
        skipSpaces();

        if (startsWith ("<!--"))
        {
            if (! skipSection ("<!--", "-->"))
                return false;
        }
        else if (startsWith ("<?"))
        {
            if (! skipSection ("<?", "?>"))
                return false;
        }
        else
        {
            return true;
        }
    }
}

// A closing tag is taken as the parser takes it: whatever its name, up to the next ">".
bool CvMarkupCheck::readContent()
{
    if (*p == '&')
        return readReference();

    if (*p != '<')
    {
        if (p.isEmpty())
            return false;

        ++p;
        return true;
    }

    if (startsWith ("</"))
    {
        --depth;
        return skipSection ("</", ">");
    }

    if (startsWith ("<!--"))
        return skipSection ("<!--", "-->");

    if (startsWith ("<![CDATA["))
        return skipSection ("<![CDATA[", "]]>");

    return readStartTag();
}

// The name right after "<", attributes each with "=" and a quoted value, white space between them, then "/>" or
// ">".
bool CvMarkupCheck::readStartTag()
{
    if (*p != '<')
        return false;

    ++p;

    if (! readName (true))
        return false;

    for (;;)
    {
        skipSpaces();

        if (startsWith ("/>"))
        {
            p += 2;
            return true;
        }

        if (*p == '>')
        {
            ++p;
            return ++depth <= maximumDepth;
        }

        if (! readName (true))
            return false;

        skipSpaces();

        if (! skipCharacter ('='))
            return false;

        skipSpaces();

        if (! readQuotedValue())
            return false;
    }
}

bool CvMarkupCheck::readQuotedValue()
{
    const auto quote = *p;

    if (quote != '"' && quote != '\'')
        return false;

    const auto* start = (++p).getAddress();
    int64 references = 0;

    while (*p != quote)
    {
        if (p.isEmpty() || *p == '<')
            return false;

        if (*p != '&')
            ++p;
        else if (readReference())
            ++references;
        else
            return false;
    }

    const auto bytes = (int64) (p.getAddress() - start);
    ++p;
    return references * bytes <= maximumReferenceWork;
}

// A reference the parser reads whole and stops after: up to eight hexadecimal or twelve decimal digits, or a
// name, then ";".
bool CvMarkupCheck::readReference()
{
    ++p;

    if (! skipCharacter ('#'))
        return readName (false) && skipCharacter (';');

    const auto hexadecimal = skipCharacter ('x') || skipCharacter ('X');
    int digits = 0;

    for (; hexadecimal ? CharacterFunctions::getHexDigitValue (*p) >= 0 : (*p >= '0' && *p <= '9'); ++p)
        ++digits;

    return digits > 0 && digits <= (hexadecimal ? 8 : 12) && skipCharacter (';');
}

// Tag and attribute names go to the framework's pool of names; a reference's name does not.
bool CvMarkupCheck::readName (bool pooled)
{
    const auto* start = p.getAddress();

    while (isNameCharacter (*p))
        ++p;

    const auto length = (size_t) (p.getAddress() - start);

    if (pooled && length > 0)
        names.emplace (start, length);

    return length > 0 && names.size() <= maximumNames;
}

bool CvMarkupCheck::skipSection (const char* opening, const char* closing)
{
    p += (int) std::strlen (opening);
    const auto length = p.indexOf (CharPointer_ASCII (closing));

    if (length < 0)
        return false;

    p += length + (int) std::strlen (closing);
    return true;
}

bool CvMarkupCheck::skipCharacter (juce_wchar c)
{
    if (*p != c)
        return false;

    ++p;
    return true;
}

bool CvMarkupCheck::startsWith (const char* text) const
{
    return CharacterFunctions::compareUpTo (p, CharPointer_ASCII (text), (int) std::strlen (text)) == 0;
}

void CvMarkupCheck::skipSpaces()
{
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
}

} // namespace juce
