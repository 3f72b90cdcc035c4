#pragma once

#include <cv_core/cv_core.h>

#include "ParamData.h"

class StereoParameterLinker;
class Vu418dPluginInstance;

/** The product's parameter manager: the 42 device controls with their host-facing parameters and value texts,
    the 10 values of the running instance, and the stereo linkers of the two channels.
*/
class Vu418dParamsManager : public juce::CvParamsManager
{
public:
    explicit Vu418dParamsManager (Vu418dPluginInstance& owner);
    ~Vu418dParamsManager() override;

    static std::function<juce::String (float)> getValueToTextFunction (int index);
    static float getDefaultValue (int index);

    /** Going from DUAL MONO to STEREO by any writer but the host first copies the selected channel onto the
        other, so the unit's two channels agree once linked.
    */
    void setParamValue (AutomatableParamListener* source, int index, float value) override;

    /** Remembers the GUI theme in the settings file before notifying. */
    void setNonAutomatableParamValue (NonAutomatableParamListener* source, int index, juce::var value) override;

    /** The hand-over object of a non-automatable index, for writers on other threads. */
    juce::ThreadBarierNonAutomatableParameter* getBarrier (int index) const { return barriers[index]; }

private:
    void addAutomatableParams();
    void addNonAutomatableParams();
    juce::var readStoredGuiTheme() const;
    void copySelectedChannel();

    Vu418dPluginInstance& owner;
    juce::CvSettingsFile* settings;
    juce::OwnedArray<juce::ThreadBarierNonAutomatableParameter> barriers;
    juce::OwnedArray<StereoParameterLinker> linkers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Vu418dParamsManager)
};
