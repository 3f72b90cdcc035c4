#pragma once

#include "Buttons.h"
#include "Displays.h"
#include "Knobs.h"
#include "ParamsManager.h"
#include "SteppedSelectors.h"

#include <array>

/** A front panel: one channel's 20 controls, the two shared ones (CHANNEL, MS MATRIX) and four running values.
    It keeps no values of its own: its widgets show what the store last told them, and a user's change reaches
    the store only through the widgets' call-backs, with the panel as source.
*/
class CvFrontPanel
    : public juce::Component
    , public juce::CvParamsManager::AutomatableParamListener
    , public juce::CvParamsManager::NonAutomatableParamListener
{
public:
    CvFrontPanel (ParamData::SelectedChannel channel, Vu418dParamsManager& paramsManager);
    ~CvFrontPanel() override;

    /** Told by the panels holder how the second channel's panel is numbered; the base shows no number. */
    virtual void setPanelNo (int panelNo);

    void paintOverChildren (juce::Graphics& g) override;

    /** Written by the panels holder, which repaints after each write. Paint only: a dimmed panel still takes
        mouse input.
    */
    bool dimmed = false;

protected:
    /** Subscribes with an immediate call-back for each value, so every widget must already be in place. */
    void registerAndInitParams();
    void unregisterParams();

    /** Writes every automatable default with no source, so both panels follow through their call-backs. */
    void resetAllParamsToDefaults();

    /** The automatable index of per-channel control k (0..19) on this panel's channel. */
    int indexOf (int control) const noexcept;

    /** Wires per-channel control k's widget so that a user's change reaches the store, with this panel as source. */
    void connectControl (juce::Component& widget, int control);
    void writeAsGesture (int index, float value);

    /** What a channel selector shows for a CHANNEL value: linked, or this panel's own channel. */
    float channelSelectorValueFor (float channelValue) const noexcept;

    /** Writes CHANNEL for a channel selector's new value and, for dual-mono operation, the selected channel. */
    void applyChannelRule (float selectorValue);

    Vu418dParamsManager& paramsManager;
    const ParamData::SelectedChannel channel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvFrontPanel)
};

/** The default theme's panel: a picture of the unit's front plate with 26 widgets wired to the store. */
class CvFrontPanel_vuVE : public CvFrontPanel
{
public:
    CvFrontPanel_vuVE (ParamData::SelectedChannel channel, Vu418dParamsManager& paramsManager);
    ~CvFrontPanel_vuVE() override;

    /** A double click in the reset area puts every automatable parameter back to its default. */
    void mouseDoubleClick (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;
    void resized() override;

    /** Number 2 shows the second channel's plate, any other the first's; only a change reloads and repaints. */
    void setPanelNo (int newPanelNo) override;

    using CvFrontPanel::paramValueChanged;
    void paramValueChanged (int index, float value) override;
    void nonAutomatableParamValueChanged (int index, juce::var value) override;

private:
    static constexpr int numWidgets = 26;

    std::array<juce::Component*, numWidgets> widgetsInOrder();
    std::array<VuruvoduComponent*, ParamData::numChannelControls> controlWidgets();
    std::array<CvEncoder_vuVE*, 10> knobs();

    void initDisplay();
    void removeDisplayListeners();
    void setDefaultValues();
    void connectWidgets();

    juce::Image background;
    juce::Rectangle<int> resetArea;
    int panelNo = 0;

    CvEncoder_vuVE hpfFreq, eq1Gain, eq2Gain, eq1Freq, eq2Freq, loBoost, loAtten, hiBoost, hiAtten, hiBw;
    CvQSelector_vuVE eq1Q, eq2Q;
    CvSimpleButton_vuVE hpfIn, eq1In, eq2In, peqIn, abSelected, engage, isConnected;
    CvClip_vuVE clipL, clipR;
    CvFreqSelector_vuVE loCps, kcsAtt, kcsBst;
    CvChannelSelector_vuVE channelSelector;
    CvDisplay_vuVE display;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvFrontPanel_vuVE)
};

/** The classic theme's panel: a picture of the unit's front with 27 widgets wired to the store, and a read-out of
    the knob or Q selector under the mouse, which holds the value for 1.5 s after the mouse leaves.
*/
class CvFrontPanel_oldGUI
    : public CvFrontPanel
    , private juce::Timer
    , private ExtendedListener
{
public:
    CvFrontPanel_oldGUI (ParamData::SelectedChannel channel, Vu418dParamsManager& paramsManager);
    ~CvFrontPanel_oldGUI() override;

    void paint (juce::Graphics& g) override;

    using CvFrontPanel::paramValueChanged;
    void paramValueChanged (int index, float value) override;
    void nonAutomatableParamValueChanged (int index, juce::var value) override;

private:
    /** Keeps a clip lamp lit until a while after the last clip report. */
    class ClipHold : private juce::Timer
    {
    public:
        explicit ClipHold (juce::Button& lamp);
        void light();

    private:
        void timerCallback() override;

        juce::Button& lamp;
        juce::CvTimerDeadline holdDeadline;
    };

    static constexpr int numWidgets = 27;

    void timerCallback() override;
    void sliderValueChanged (juce::Slider* slider) override;
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;
    void sliderMouseEnter (juce::Slider* slider) override;
    void sliderMouseExit (juce::Slider* slider) override;
    void buttonMouseEnter (juce::Button* button) override;
    void buttonMouseExit (juce::Button* button) override;
    void buttonClicked (juce::Button* button) override;

    std::array<juce::Component*, numWidgets> widgetsInOrder();
    std::array<juce::Component*, ParamData::numChannelControls> controlWidgets();

    void placeWidgets();
    void setDefaultValues();
    void connectWidgets();
    void forgetHoverWhileHolding();
    void holdAfterExit();
    void updateDisplay();

    juce::Image background;

    CvEncoder_classicGUI hpfFreq, eq1Gain, eq2Gain, eq1Freq, eq2Freq, loBoost, hiBoost, hiBw, loAtten, hiAtten;
    CvQSelector_oldGUI eq1Q, eq2Q;
    CvFreqSelector_classicGUI loCps, kcsAtt, kcsBst;
    CvChannelSelector_classicGUI channelSelector;
    CvSimpleButton_classicGUI hpfIn, eq1In, eq2In, peqIn, abSelected, engage, isConnected, clipL, clipR;
    CvPresetEncoder_oldGUI presetSpot;
    CvDisplay_oldGUI display;
    ClipHold clipLHold { clipL }, clipRHold { clipR };

    juce::Slider* hoveredSlider = nullptr;
    juce::Slider* draggedSlider = nullptr;
    juce::Button* hoveredButton = nullptr;
    juce::Button* clickedButton = nullptr;
    juce::uint32 lastExitTime = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvFrontPanel_oldGUI)
};
