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
    /** Built first of all the instance's parts, so it takes the instance before its processor exists. */
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

    /** Writes the host state blob. Callable on any thread: the automatable values are read from the
        host-facing parameters' atomics, the non-automatable ones from a copy kept under a lock as they change.
    */
    void writeState (juce::OutputStream& stream);

    /** Applies a host state blob or preset file in the binary form or one of the older XML forms; anything
        else changes nothing. Every automatable write is a gesture with no source, so the host records it and
        the unit follows. Runs on the message thread or with it held.
    */
    void setStateInformation (const void* data, int size);

private:
    void addAutomatableParams();
    void addNonAutomatableParams();
    static juce::var readStoredGuiTheme();
    void copySelectedChannel();
    static juce::ValueTree createStateTree();
    void keepInState (int index, const juce::var& value);

    void writeAsGesture (int index, float value);
    void applyXml (const juce::XmlElement& root);
    void applyXmlPreset (const juce::XmlElement& preset);
    void applyStateTree (const juce::ValueTree& root);
    void applyPreset (const juce::ValueTree& preset);
    void applySettings (const juce::ValueTree& settingsNode);

    juce::OwnedArray<juce::ThreadBarierNonAutomatableParameter> barriers;
    juce::OwnedArray<StereoParameterLinker> linkers;

    juce::CriticalSection stateLock;
    juce::Array<juce::var> nonAutomatableCopy;
    juce::ValueTree state;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Vu418dParamsManager)
};
