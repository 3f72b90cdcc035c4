#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** What the ZUZO read-out shows for a widget's value. */
enum DisplayType : juce::int32
{
    noReading = 0,
    hpfFrequencyReading = 1,
    gainReading = 2,
    eq1FrequencyReading = 3,
    eq2FrequencyReading = 4,
    qReading = 5,
    scaleReading = 6 // the 0.0 to 14.0 scale of the boost, attenuation and bandwidth knobs
};

/** A widget that shows one parameter value, normalised 0..1. Its panel sets it from the store and reads it back
    when the widget reports a user action; it never talks to the store itself.
*/
class VuruvoduComponent
{
public:
    virtual ~VuruvoduComponent() = default;

    virtual void setFloatValue (float value, juce::NotificationType notification) = 0;
    virtual float getFloatValue() = 0;

    /** A press with ctrl alone (mouse buttons aside) puts knobs and stepped selectors back to their default. */
    static bool isResetPress (const juce::ModifierKeys& mods)
    {
        return mods.withoutMouseButtons() == juce::ModifierKeys (juce::ModifierKeys::ctrlModifier);
    }

    /** Shift alone makes a knob drag fine. */
    static bool isFineDrag (const juce::ModifierKeys& mods)
    {
        return mods.withoutMouseButtons() == juce::ModifierKeys (juce::ModifierKeys::shiftModifier);
    }

    DisplayType displayType = noReading;
};

/** The classic panel's listener: the framework's slider and button calls plus hovering over its widgets. */
class ExtendedListener
    : public juce::Slider::Listener
    , public juce::Button::Listener
{
public:
    virtual void sliderMouseEnter (juce::Slider* slider) = 0;
    virtual void sliderMouseExit (juce::Slider* slider) = 0;
    virtual void buttonMouseEnter (juce::Button* button) = 0;
    virtual void buttonMouseExit (juce::Button* button) = 0;
};
