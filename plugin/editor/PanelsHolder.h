#pragma once

#include "Buttons.h"
#include "FrontPanel.h"
#include "ParamsManager.h"

/** The part of the window below the menu bar: one or both channels' front panels, stacked, with the corner
    buttons that open and close the two-panel view by a slide. It decides its own size and sizes the window
    around it.
*/
class PanelsHolder
    : public juce::Component
    , public juce::ChangeListener
    , public juce::CvParamsManager::AutomatableParamListener
    , public juce::CvParamsManager::NonAutomatableParamListener
{
public:
    enum PanelsMode
    {
        bothPanels = 0,
        panelAOnly,
        panelBOnly,
        openingPanels,
        closingToPanelA,
        closingToPanelB
    };

    /** Only the framework's editor operations are used on the window, which must outlive the holder. */
    PanelsHolder (juce::AudioProcessorEditor& editor, Vu418dParamsManager& paramsManager);
    ~PanelsHolder() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    void setPanelsMode (PanelsMode mode);

    using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int index, float value) override;
    void nonAutomatableParamValueChanged (int index, juce::var value) override;

    /** The end of a slide. */
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

private:
    float channelValue() const;
    PanelsMode modeFor (float channelSetting) const;
    void applyTheme (int newTheme);
    void showButtons (bool open, bool close);
    void setDimmed (bool dimA, bool dimB);
    void setWindowHeight (int height);
    void slideTo (int height);

    juce::AudioProcessorEditor& editor;
    Vu418dParamsManager& paramsManager;
    std::unique_ptr<CvFrontPanel> panelA, panelB;
    OpenPanelsButton openButton;
    ClosePanelsButton closeButtonA, closeButtonB;
    juce::ComponentAnimator animator;
    PanelsMode panelsMode = bothPanels;
    int theme = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PanelsHolder)
};
