#pragma once

#include "MidiParams.h"

class Vu418dParamsManager;
class Vu418dPluginInstance;

/** Binds one unit to one plug-in instance's parameter model: once bound it builds the 17 mirrors, one per control
    number, sends the unit the channel code and the information request, routes every value the unit sends to
    the mirror of its control number and reads the unit's firmware version from its text replies.

    The unit's messages arrive on the read thread while the message thread may be building or deleting the
    mirrors, so dispatch and the mirrors' lifetime share a lock; the mirrors themselves only hand values over.
*/
class Vu418dMidiBridge : public juce::MidiDevice::Listener
{
public:
    Vu418dMidiBridge (Vu418dPluginInstance& instance, Vu418dParamsManager& manager);
    ~Vu418dMidiBridge() override;

    void setConnectedMidiDevice (juce::MidiDevice* device) override;
    void hidConnectionCallback (bool available) override;
    void paramReceived (int controlNumber, int deviceValue) override;
    void extendedResponse (juce::String text) override;

    static Conversions::ToParameter getLambdaMidiIntToFloat (int pair);
    static Conversions::ToDevice getLambdaMidiFloatToInt (int pair);
    static Conversions::ToValue getLambdaMidiIntToVar (int pair);
    static Conversions::ValueToDevice getLambdaMidiVarToInt (int pair);

    juce::MidiDevice* getDevice() const noexcept { return device; }

private:
    void buildMirrors();
    void deleteMirrors();

    Vu418dPluginInstance* pluginInstance;
    Vu418dParamsManager* paramsManager;
    juce::MidiDevice* device = nullptr;

    std::mutex mirrorsLock;
    std::unique_ptr<MidiChannelParam> channelMirror;
    std::map<int, std::unique_ptr<MidiLRParam>> pairMirrors; // by control number
    std::unique_ptr<MidiSwitchParams> switchMirror;
    std::unique_ptr<MidiBoolParams> flagMirror;
    std::unique_ptr<MidiMonoParam> monoMirror;

    juce::ThreadBarierNonAutomatableParameter canBeMsBarrier;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Vu418dMidiBridge)
};
