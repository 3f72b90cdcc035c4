#include "PluginEditor.h"

#include "PluginInstance.h"

Vu418dAudioProcessorEditor::Vu418dAudioProcessorEditor (Vu418dPluginInstance& instance, Vu418dParamsManager&)
    : juce::AudioProcessorEditor (instance)
{
    setSize (640, 425);
}

void Vu418dAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}
