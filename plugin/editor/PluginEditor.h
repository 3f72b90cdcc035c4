#pragma once

#include "MenuBar.h"
#include "PanelsHolder.h"
#include "ParamsManager.h"
#include "VuruvoduLookAndFeel.h"

class Vu418dPluginInstance;

/** The plug-in's window: the menu bar across the top and the panels holder below it. The holder decides its own
    size and sizes the window to it; nothing of the window's state is kept between openings.
*/
class Vu418dAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    Vu418dAudioProcessorEditor (Vu418dPluginInstance& instance, Vu418dParamsManager& paramsManager);
    ~Vu418dAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    static constexpr int menuBarHeight = 25;

private:
    Vu418dPluginInstance& pluginInstance;
    VuruvoduLookAndFeel lookAndFeel;
    MenuBar menuBar;
    PanelsHolder panelsHolder;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Vu418dAudioProcessorEditor)
};
