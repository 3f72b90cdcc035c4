#pragma once

namespace juce
{
/** The colours of the menu bar and its buttons. */
struct MainMenuColours
{
    Colour backgroundTop { 0xff252629 };
    Colour backgroundBottom { 0xff252629 };
    Colour spare { 0x00000000 };
    Colour buttonOn { 0xffd63232 };
    /** Also the USB indicator's idle colour. */
    Colour buttonOff { 0xffb3b6bd };
    Colour buttonDisabled { 0xff51565f };
    Colour usbConnected { 0xff0092ff };
};

/** A look-and-feel whose fonts carry their typeface.

    The framework finds the typeface of a font that has none through the process-wide default look-and-feel
    alone, which a plug-in must leave to its host, so no other look-and-feel's getTypefaceForFont is ever asked.
    Every font this look-and-feel hands out therefore comes with the typeface its getTypefaceForFont picks, and
    drawing code that makes a font of its own passes it through withOwnTypeface.
*/
template <typename LookAndFeelBase>
class CvPinnedFonts : public LookAndFeelBase
{
public:
    /** The font with the typeface this look-and-feel picks for it; height, scale, kerning and underline stay. */
    Font withOwnTypeface (const Font& font)
    {
        const auto typeface = this->getTypefaceForFont (font);

        if (typeface == nullptr)
            return font;

        Font pinned (typeface);
        pinned.setHeight (font.getHeight());
        pinned.setHorizontalScale (font.getHorizontalScale());
        pinned.setExtraKerningFactor (font.getExtraKerningFactor());
        pinned.setUnderline (font.isUnderlined());
        return pinned;
    }

    Font getTextButtonFont (TextButton& button, int buttonHeight) override
    {
        return withOwnTypeface (LookAndFeelBase::getTextButtonFont (button, buttonHeight));
    }

    Font getLabelFont (Label& label) override { return withOwnTypeface (LookAndFeelBase::getLabelFont (label)); }
    Font getComboBoxFont (ComboBox& box) override { return withOwnTypeface (LookAndFeelBase::getComboBoxFont (box)); }
    Font getPopupMenuFont() override { return withOwnTypeface (LookAndFeelBase::getPopupMenuFont()); }
    Font getAlertWindowTitleFont() override { return withOwnTypeface (LookAndFeelBase::getAlertWindowTitleFont()); }
    Font getAlertWindowMessageFont() override { return withOwnTypeface (LookAndFeelBase::getAlertWindowMessageFont()); }
    Font getAlertWindowFont() override { return withOwnTypeface (LookAndFeelBase::getAlertWindowFont()); }
};

/** A version-4 look-and-feel that draws text in the embedded Lato family and carries the menu-bar colours. */
class CvLookAndFeel : public CvPinnedFonts<LookAndFeel_V4>
{
public:
    CvLookAndFeel();
    ~CvLookAndFeel() override;

    /** Picks Lato by the bold and italic flags alone; name, height and underline are ignored. */
    Typeface::Ptr getTypefaceForFont (const Font& font) override;

    const MainMenuColours& getMainMenuColours() const noexcept { return mainMenuColours; }

private:
    MainMenuColours mainMenuColours;
    Typeface::Ptr classicConsole, latoRegular, latoBold, latoItalic, latoBoldItalic;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvLookAndFeel)
};

/** Paints pop-up menus in a dark gradient style. */
class PopupMenu_LAF : public CvLookAndFeel
{
public:
    PopupMenu_LAF() = default;
    ~PopupMenu_LAF() override = default;

    void drawPopupMenuBackground (Graphics& g, int width, int height) override;
    void drawPopupMenuItem (Graphics& g, const Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const String& text,
                            const String& shortcutKeyText, const Drawable* icon,
                            const Colour* textColourToUse) override;
    void drawPopupMenuSectionHeader (Graphics& g, const Rectangle<int>& area, const String& sectionName) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PopupMenu_LAF)
};
} // namespace juce
