#include <PluginInstance.h>
#include <support/TemporaryHome.h>

#include <iostream>

namespace
{
void deliverPendingMessages()
{
    juce::MessageManager::callAsync ([] {});
    juce::MessageManager::getInstance()->runDispatchLoopUntil (0);
}

bool writeState (Vu418dPluginInstance& instance, const juce::File& file)
{
    deliverPendingMessages();

    juce::MemoryBlock state;
    instance.getStateInformation (state);
    return file.replaceWithData (state.getData(), state.getSize());
}

// Writes go through the host-facing parameters, as a host's would, so the blob holds what a saved project holds.
void setHostValue (Vu418dPluginInstance& instance, int index, float value)
{
    instance.getParameters()[index]->setValueNotifyingHost (value);
}
} // namespace

// Writes the state blobs of real instances into the given folder, so the fuzzer starts from the current format.
int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: " << argv[0] << " <corpus folder>\n";
        return 2;
    }

    const testsupport::TemporaryHome home;
    const juce::ScopedJuceInitialiser_GUI juce;

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);

    if (! folder.createDirectory())
        return 1;

    auto ok = true;

    {
        Vu418dPluginInstance instance;
        ok = writeState (instance, folder.getChildFile ("state-default.bin")) && ok;
    }

    {
        Vu418dPluginInstance instance;
        setHostValue (instance, ParamData::channel, 1.0f);
        setHostValue (instance, ParamData::eq1In, 1.0f);
        setHostValue (instance, ParamData::eq1Gain, 0.25f);
        setHostValue (instance, ParamData::eq1Gain + ParamData::numChannelControls, 0.75f);
        setHostValue (instance, ParamData::hpfFreq + ParamData::numChannelControls, 0.5f);
        setHostValue (instance, ParamData::msMatrix, 1.0f);
        instance.getParamsManager().setNonAutomatableParamValue (nullptr, ParamData::selectedChannel,
                                                                 ParamData::channel2);
        ok = writeState (instance, folder.getChildFile ("state-dual-mono.bin")) && ok;
    }

    return ok ? 0 : 1;
}
