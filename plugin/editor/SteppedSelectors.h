#pragma once

#include "VuruvoduComponent.h"

#include <cv_core/cv_core.h>

/** The three switched frequency controls of the vuVE panel. */
enum FreqSelectorType
{
    loCpsSelector = 0,
    kcsAttSelector = 1,
    kcsBstSelector = 2
};

/** A vuVE frequency switch: lit labels stacked above an up and a down zone. Pressing a zone steps at once and
    repeats while held; each step is reported with an asynchronous click.
*/
class CvFreqSelector_vuVE
    : public juce::Button
    , public juce::Timer
    , public VuruvoduComponent
{
public:
    explicit CvFreqSelector_vuVE (FreqSelectorType type);
    ~CvFreqSelector_vuVE() override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void timerCallback() override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

    float defaultValue = 0.0f;

private:
    void stepAndReport();

    juce::Image strip;
    juce::Rectangle<int> upZone, downZone;
    int firstRepeatDelay = 600, repeatInterval = 200;
    int positions;
    bool wrapAround;
    int action = 0;
    int index = 0;
    juce::CvTimerDeadline timerDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvFreqSelector_vuVE)
};

/** A classic frequency switch: one frame of a strip per position, stepped through by pressing near an up or a
    down point. Each step inverts the toggle state, so listeners hear of it at once.
*/
class CvFreqSelector_classicGUI
    : public juce::Button
    , public juce::Timer
    , public VuruvoduComponent
{
public:
    CvFreqSelector_classicGUI (const char* imageData, int imageDataSize, int numPositions, juce::Point<int> upPoint,
                               juce::Point<int> downPoint);
    ~CvFreqSelector_classicGUI() override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void timerCallback() override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

    /** Set by the panel for a switch whose up step goes from the last position back to the first. */
    bool wrapAround = false;
    float defaultValue = 0.0f;

private:
    void stepAndReport();

    int action = 0;
    int index = 0;
    int positions;
    juce::Point<int> upPoint, downPoint;
    juce::Image strip;
    int firstRepeatDelay = 600, repeatInterval = 200;
    juce::CvTimerDeadline timerDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvFreqSelector_classicGUI)
};

/** The vuVE Q switch: nine positions shown by a row of five cross-fading LEDs. */
class CvQSelector_vuVE
    : public juce::Button
    , public juce::Timer
    , public VuruvoduComponent
{
public:
    CvQSelector_vuVE();
    ~CvQSelector_vuVE() override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void timerCallback() override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

    float defaultValue = 0.0f;

private:
    void stepAndReport();

    int repeatInterval = 200;
    juce::Rectangle<int> upZone { 14, 27, 20, 20 }, downZone { 40, 27, 20, 20 };
    juce::Point<int> ledCentre { 36, 7 };
    juce::Image whiteLed, redLed;
    int action = 0;
    int index = 0;
    juce::CvTimerDeadline timerDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvQSelector_vuVE)
};

/** The classic Q switch: nine positions shown by a row of five cross-fading dots; tells its hover listener
    when the mouse enters or leaves it.
*/
class CvQSelector_oldGUI
    : public juce::Button
    , public juce::Timer
    , public VuruvoduComponent
{
public:
    CvQSelector_oldGUI();
    ~CvQSelector_oldGUI() override;

    /** Makes the listener the hover target and a button listener; null only clears the hover target. */
    void addExtListener (ExtendedListener* listener);

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void timerCallback() override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;
    void mouseEnter (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;

    float defaultValue = 0.0f;

private:
    void stepAndReport();

    int tickCounter = 0;
    int action = 0;
    int index = 0;
    juce::Point<int> upPoint { 22, 38 }, downPoint { 52, 38 };
    juce::Point<int> ledCentre { 36, 7 };
    juce::Image whiteDot, redDot;
    int tickInterval = 100;
    ExtendedListener* hoverListener = nullptr;
    juce::CvTimerDeadline timerDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvQSelector_oldGUI)
};

/** The vuVE channel switch: a click steps to the panel's own channel, a long press links the channels. */
class CvChannelSelector_vuVE
    : public juce::Button
    , public juce::Timer
    , public VuruvoduComponent
{
public:
    CvChannelSelector_vuVE();
    ~CvChannelSelector_vuVE() override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void timerCallback() override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

    /** The state a short click ends in, set by the panel to its channel (1 or 2); 0 keeps the plain step. */
    int shortClickState = 0;

private:
    juce::Image labels;
    juce::Rectangle<int> hotZone { 95, 0, 20, 20 };
    int state = 0;
    int stateAtPress = 0;
    juce::CvTimerDeadline timerDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvChannelSelector_vuVE)
};

/** The classic channel switch: a click steps linked, channel 1, channel 2, channel 1 ...; holding for 900 ms
    links the channels.
*/
class CvChannelSelector_classicGUI
    : public juce::Button
    , public juce::Timer
    , public VuruvoduComponent
{
public:
    CvChannelSelector_classicGUI();
    ~CvChannelSelector_classicGUI() override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void timerCallback() override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

private:
    int tickCounter = 0;
    int state = 0;
    juce::Point<int> hotPoint { 110, 9 };
    juce::Image labels;
    int stateAtPress = 0;
    juce::CvTimerDeadline timerDeadline;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvChannelSelector_classicGUI)
};
