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
    void writeAsGesture (int index, float value);
    void applyChannelRule();

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
