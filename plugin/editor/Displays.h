#pragma once

#include "VuruvoduComponent.h"

#include <cv_core/cv_core.h>

#include <array>

/** The vuVE panel's three-digit seven-segment read-out. It listens to the panel's knobs and Q selectors (as
    slider, button and mouse listener), shows the value of the control under the mouse or just moved, formatted
    by the control's DisplayType, and goes dark 1.5 s after the mouse leaves. Its extra dot shows the mid/side
    matrix.
*/
class CvDisplay_vuVE
    : public juce::Component
    , public juce::Timer
    , public juce::Slider::Listener
    , public juce::Button::Listener
{
public:
    /** Segment flags 0..6 are a (top), b, c, d (bottom), e, f, g (middle); flag 7 is the digit's point. */
    static constexpr int pointFlag = 7;

    CvDisplay_vuVE();
    ~CvDisplay_vuVE() override;

    void mouseEnter (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;
    void sliderValueChanged (juce::Slider* slider) override;
    void buttonClicked (juce::Button* button) override;
    void timerCallback() override;

    /** Shows a value 0..1 as the given kind of reading; noReading blanks all digits. */
    void setDisplayForDisplayType (DisplayType type, float value);

    /** Digit 0 is the left (hundreds) digit. */
    bool isSegmentLit (int digit, int flag) const;

    void setMidSideIndicator (bool shouldBeLit);
    bool isMidSideIndicatorLit() const noexcept { return midSide; }

private:
    void showValueOf (juce::Component* component);
    void showDigit (int digit, int number);

    std::array<std::array<int, 8>, 3> segmentFlags {};
    bool midSide = true;
    juce::Image segmentStrip;
    juce::CvTimerDeadline blankDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvDisplay_vuVE)
};

/** The classic panel's three-character read-out, drawn from a character strip; the panel decides the text. */
class CvDisplay_oldGUI
    : public juce::Component
    , public juce::Slider::Listener
    , public juce::Button::Listener
{
public:
    /** What the three cells show, read from the end of the text: a point belongs to the cell before it. */
    struct Reading
    {
        std::array<char, 3> cells {}; // 0 for a blank cell
        std::array<bool, 3> points {};
        bool minusOne = false; // the first cell shows '1' and '-' together
    };

    CvDisplay_oldGUI();
    ~CvDisplay_oldGUI() override;

    void paint (juce::Graphics& g) override;
    void sliderValueChanged (juce::Slider* slider) override;
    void buttonClicked (juce::Button* button) override;

    /** Keeps at most the first 7 characters; null reads as an empty text. */
    void setText (const char* newText);
    const char* getText() const noexcept { return text.data(); }

    Reading getReading() const;

private:
    juce::Image characterStrip, pointImage;
    std::array<char, 8> text { "-12.3" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvDisplay_oldGUI)
};
