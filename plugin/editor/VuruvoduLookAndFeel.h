#pragma once

#include <cv_gui/cv_gui.h>

/** The editor window's look-and-feel: one embedded Lato face for every font, a fixed dark colour scheme for the
    framework's standard widgets, and flat text and toggle buttons.
*/
class VuruvoduLookAndFeel : public juce::CvPinnedFonts<juce::LookAndFeel_V3>
{
public:
    VuruvoduLookAndFeel();
    ~VuruvoduLookAndFeel() override;

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;
    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics& g, juce::TextButton& button, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;
    int getAlertWindowButtonHeight() override;

private:
    juce::Typeface::Ptr typeface;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VuruvoduLookAndFeel)
};
