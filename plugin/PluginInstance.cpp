#include "PluginInstance.h"

Vu418dPluginInstance::Vu418dPluginInstance()
    : juce::CvPluginInstance (std::make_unique<Vu418dParamsManager> (*this),
                              BusesProperties()
                                  .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                  .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    , productManager (static_cast<Vu418dParamsManager*> (paramsManager.get()))
{
}

Vu418dPluginInstance::~Vu418dPluginInstance() = default;

juce::AudioProcessorEditor* Vu418dPluginInstance::createEditor()
{
    return nullptr;
}

bool Vu418dPluginInstance::hasEditor() const
{
    return false;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Vu418dPluginInstance();
}
