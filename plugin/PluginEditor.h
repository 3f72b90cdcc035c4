#pragma once

#include "ParamsManager.h"

class Vu418dPluginInstance;

/** The plug-in's window. */
class Vu418dAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    Vu418dAudioProcessorEditor (Vu418dPluginInstance& instance, Vu418dParamsManager& paramsManager);

    void paint (juce::Graphics& g) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Vu418dAudioProcessorEditor)
};
