#pragma once

#include "ParamsManager.h"

/** The object a host creates for each insert of the plug-in: a stereo pass-through that owns the parameter
    model and offers it to the host.
*/
class Vu418dPluginInstance : public juce::CvPluginInstance
{
public:
    Vu418dPluginInstance();
    ~Vu418dPluginInstance() override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    Vu418dParamsManager& getParamsManager() const noexcept { return *productManager; }

private:
    Vu418dParamsManager* productManager;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Vu418dPluginInstance)
};
