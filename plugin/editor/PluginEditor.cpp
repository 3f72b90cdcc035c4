#include "PluginEditor.h"

#include "PluginInstance.h"

Vu418dAudioProcessorEditor::Vu418dAudioProcessorEditor (Vu418dPluginInstance& instance, Vu418dParamsManager& manager)
    : juce::AudioProcessorEditor (instance)
    , pluginInstance (instance)
    , menuBar (manager, instance)
    , panelsHolder (*this, manager)
{
    setLookAndFeel (&lookAndFeel);
    addAndMakeVisible (menuBar);
    addAndMakeVisible (panelsHolder);
    setSize (panelsHolder.getWidth(), panelsHolder.getHeight() + menuBarHeight);
    pluginInstance.updateHostDisplay();
}

// No child may still draw through the look-and-feel once it is gone.
Vu418dAudioProcessorEditor::~Vu418dAudioProcessorEditor()
{
    setLookAndFeel (nullptr);
}

void Vu418dAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

// The holder keeps the size it chose; the window follows it, never the other way round.
void Vu418dAudioProcessorEditor::resized()
{
    menuBar.setBounds (0, 0, getWidth(), menuBarHeight);
    panelsHolder.setBounds (0, menuBarHeight, panelsHolder.getWidth(), panelsHolder.getHeight());
}
