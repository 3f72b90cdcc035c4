#pragma once

#include "VuruvoduComponent.h"

/** The vuVE panel's knob: draws only its pointer mark, rotated to one of 15 positions over the panel's knob body. */
class CvEncoder_vuVE
    : public juce::Slider
    , public juce::DropShadow
    , public VuruvoduComponent
{
public:
    explicit CvEncoder_vuVE (bool centreMark);
    ~CvEncoder_vuVE() override;

    void mouseDown (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;
    void modifierKeysChanged (const juce::ModifierKeys& modifiers) override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

    float defaultValue = 0.0f;

private:
    const juce::Image& imageOf (int position) const;

    juce::Image redPointer, whitePointer;
    int positions;
    bool centreMark;
    bool fineDragActive = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvEncoder_vuVE)
};

/** The classic panel's knob: draws only an indicator dot at one of 15 places on a ring, and reports hovering. */
class CvEncoder_classicGUI
    : public juce::Slider
    , public VuruvoduComponent
{
public:
    explicit CvEncoder_classicGUI (bool centreMark);
    ~CvEncoder_classicGUI() override;

    void mouseEnter (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;
    void modifierKeysChanged (const juce::ModifierKeys& modifiers) override;
    void setFloatValue (float value, juce::NotificationType notification) override;
    float getFloatValue() override;

    /** Sets the hover listener, which also joins the slider listeners once; null stops the hover calls. */
    void addExtListener (ExtendedListener* listener);

    float defaultValue = 0.0f;

private:
    void drawDot (juce::Graphics& g, int position);

    ExtendedListener* extListener = nullptr;
    int ringCentreX;
    int ringCentreFromBottom;
    float ringRadius;
    int positions;
    bool centreMark;
    juce::Image whiteDot, redDot;
    bool fineDragActive = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvEncoder_classicGUI)
};
