#include <FontResources.h>

namespace juce
{
namespace
{
const Colour menuTextColour { 0xffb2b5be };

Typeface::Ptr loadTypeface (const char* data, int size)
{
    return Typeface::createSystemTypefaceFor (data, (size_t) size);
}
} // namespace

CvLookAndFeel::CvLookAndFeel()
{
    setColour (PopupMenu::backgroundColourId, Colour (0xff36383d));
    setColour (PopupMenu::highlightedBackgroundColourId, Colour (0xff252629));
    setColour (TextButton::buttonColourId, Colour (0xff252629));

    classicConsole = loadTypeface (FontBinaryData::temp_binary_data_4, FontBinaryData::temp_binary_data_4Size);
    latoRegular = loadTypeface (FontBinaryData::temp_binary_data_3, FontBinaryData::temp_binary_data_3Size);
    latoBold = loadTypeface (FontBinaryData::temp_binary_data_0, FontBinaryData::temp_binary_data_0Size);
    latoItalic = loadTypeface (FontBinaryData::temp_binary_data_2, FontBinaryData::temp_binary_data_2Size);
    latoBoldItalic = loadTypeface (FontBinaryData::temp_binary_data_1, FontBinaryData::temp_binary_data_1Size);
}

CvLookAndFeel::~CvLookAndFeel()
{
    classicConsole = nullptr;
    latoRegular = nullptr;
    latoBold = nullptr;
    latoItalic = nullptr;
    latoBoldItalic = nullptr;

    // Cached glyphs of the embedded fonts must not outlive the typefaces loaded here.
    Typeface::clearTypefaceCache();
}

Typeface::Ptr CvLookAndFeel::getTypefaceForFont (const Font& font)
{
    if (font.isBold())
        return font.isItalic() ? latoBoldItalic : latoBold;

    return font.isItalic() ? latoItalic : latoRegular;
}

void PopupMenu_LAF::drawPopupMenuBackground (Graphics& g, int width, int height)
{
    g.setGradientFill (ColourGradient::vertical (Colour (0xff373737), 0.0f, Colour (0xff282828), (float) height));
    g.fillAll();

    g.setColour (Colour (0x99000000));
    g.drawRect (Rectangle<float> (0.0f, 0.0f, (float) width, (float) height), 1.0f);
}

void PopupMenu_LAF::drawPopupMenuItem (Graphics& g, const Rectangle<int>& area, bool isSeparator, bool isActive,
                                       bool isHighlighted, bool isTicked, bool hasSubMenu, const String& text,
                                       const String& shortcutKeyText, const Drawable* icon, const Colour*)
{
    if (isSeparator)
    {
        auto r = area.reduced (5, 0);
        r.removeFromTop (roundToInt ((float) r.getHeight() * 0.5f - 0.5f));

        g.setColour (Colour (0x4cb2b5be));
        g.fillRect (r.removeFromTop (1));
        return;
    }

    auto r = area.reduced (1);

    if (isActive && isHighlighted)
    {
        ColourGradient gradient (Colour (0xff414141), 0.0f, 0.0f, Colour (0xff1e1e1e), 0.0f, (float) r.getHeight(),
                                 false);
        gradient.addColour (0.5, Colour (0xff282828));
        g.setGradientFill (gradient);
        g.fillRect (r);
    }

    g.setColour (isActive ? menuTextColour : Colour (0x80b2b5be));

    r.reduce (jmin (5, area.getWidth() / 20), 0);

    auto font = getPopupMenuFont();
    const auto maxFontHeight = (float) r.getHeight() / 1.3f;

    if (font.getHeight() > maxFontHeight)
        font.setHeight (maxFontHeight);

    g.setFont (font);

    const auto iconArea = r.removeFromLeft (roundToInt (maxFontHeight)).toFloat();

    if (icon != nullptr)
    {
        icon->drawWithin (g, iconArea, RectanglePlacement::centred | RectanglePlacement::onlyReduceInSize, 1.0f);
        r.removeFromLeft (roundToInt (maxFontHeight * 0.5f));
    }
    else if (isTicked)
    {
        const auto tick = getTickShape (1.0f);
        g.fillPath (tick, tick.getTransformToScaleToFit (iconArea.reduced (iconArea.getWidth() / 5, 0), true));
    }

    if (hasSubMenu)
    {
        const auto arrowH = 0.6f * getPopupMenuFont().getAscent();
        const auto x = (float) r.removeFromRight ((int) arrowH).getX();
        const auto halfH = (float) r.getCentreY();

        Path arrow;
        arrow.startNewSubPath (x, halfH - arrowH * 0.5f);
        arrow.lineTo (x + arrowH * 0.6f, halfH);
        arrow.lineTo (x, halfH + arrowH * 0.5f);
        g.strokePath (arrow, PathStrokeType (2.0f));
    }

    r.removeFromRight (3);
    g.drawFittedText (text, r, Justification::centredLeft, 1);

    if (shortcutKeyText.isNotEmpty())
    {
        auto shortcutFont = font;
        shortcutFont.setHeight (font.getHeight() * 0.75f);
        shortcutFont.setHorizontalScale (0.95f);
        g.setFont (shortcutFont);
        g.drawText (shortcutKeyText, r, Justification::centredRight, true);
    }
}

void PopupMenu_LAF::drawPopupMenuSectionHeader (Graphics& g, const Rectangle<int>& area, const String& sectionName)
{
    g.setFont (withOwnTypeface (Font (15.0f)));
    g.setColour (menuTextColour);
    g.drawFittedText (sectionName, area.getX() + 12, area.getY(), area.getWidth() - 16,
                      (int) ((float) area.getHeight() * 0.8f), Justification::bottomLeft, 1, 0.0f);
}
} // namespace juce
