#pragma once

#include "VuruvoduComponent.h"

#include <cv_core/cv_core.h>

/** A vuVE switch or lamp: draws its lit image while on and nothing while off, so the panel's unlit artwork shows.
    It takes the image's size.
*/
class CvSimpleButton_vuVE
    : public juce::Button
    , public VuruvoduComponent
{
public:
    CvSimpleButton_vuVE (const char* imageData, int dataSize, bool clickingTogglesState);
    ~CvSimpleButton_vuVE() override;

    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    /** On for values above 0.5. Any notification other than dontSendNotification ends in an asynchronous click. */
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

private:
    juce::Image litImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvSimpleButton_vuVE)
};

/** A clip LED. The panel lights it at each clip report; it goes dark when its time runs out, so it stays lit until
    that long after the last report.
*/
class CvClip_vuVE
    : public CvSimpleButton_vuVE
    , public juce::Timer
{
public:
    CvClip_vuVE (const char* imageData, int dataSize);
    ~CvClip_vuVE() override;

    /** Switches the lamp on until at least that many milliseconds from now. */
    void lightFor (int milliseconds);

    void timerCallback() override;

private:
    juce::CvTimerDeadline holdDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvClip_vuVE)
};

/** A classic-panel switch or lamp; its panel sets its size and, for lamps, switches toggling off. */
class CvSimpleButton_classicGUI : public juce::Button
{
public:
    CvSimpleButton_classicGUI (const char* imageData, int dataSize);
    ~CvSimpleButton_classicGUI() override;

    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    juce::Image litImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvSimpleButton_classicGUI)
};

/** The classic panel's invisible preset spot: a double click runs its action. */
class CvPresetEncoder_oldGUI : public juce::Component
{
public:
    CvPresetEncoder_oldGUI();
    ~CvPresetEncoder_oldGUI() override;

    void mouseDoubleClick (const juce::MouseEvent& event) override;

    std::function<void()> onDoubleClick;
    /** Shown by the classic read-out when it has nothing else to show; -1 for none. */
    int presetNumber = -1;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvPresetEncoder_oldGUI)
};

/** The 40 x 40 corner tab that opens the two-panel view. */
class OpenPanelsButton : public juce::Button
{
public:
    OpenPanelsButton();
    ~OpenPanelsButton() override;

    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    juce::Path tabPath, cornerPath;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OpenPanelsButton)
};

/** The 40 x 40 corner tab that closes the two-panel view, with a crossed-out disc in its top-right corner. */
class ClosePanelsButton : public juce::Button
{
public:
    ClosePanelsButton();
    ~ClosePanelsButton() override;

    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    juce::Path iconPath, tabPath, cornerPath;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ClosePanelsButton)
};
