#include "PluginInstance.h"

#include "Identifiers.h"
#include "PluginEditor.h"

Vu418dPluginInstance::Vu418dPluginInstance()
    : juce::CvPluginInstance (std::make_unique<Vu418dParamsManager> (*this),
                              BusesProperties()
                                  .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                  .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    , productManager (static_cast<Vu418dParamsManager*> (paramsManager.get()))
    , bypass (std::make_unique<juce::AudioParameterBool> (juce::ParameterID ("byps", 1), "Master Bypass", false))
    , connectionHandOver (*paramsManager, ParamData::isConnected)
    , restoreHandOver (*productManager)
{
    countInWithMidiManager();
    startTimer (1000);
}

Vu418dPluginInstance::~Vu418dPluginInstance()
{
    stopTimer();
    countOutOfMidiManager();
}

// Every instance in the process shares one manager: the first one starts it, the last one deletes it.
void Vu418dPluginInstance::countInWithMidiManager()
{
    midiManager = juce::MidiManager::singletonHolder.get();

    if (midiManager == nullptr)
        return;

    ++midiManager->usersCount;

    if (! midiManager->started)
        midiManager->start ({ "Vuruvodu RX 416T", "Vuruvodu RX 418T" });
}

void Vu418dPluginInstance::countOutOfMidiManager()
{
    if (midiManager != nullptr && --midiManager->usersCount == 0)
        juce::MidiManager::singletonHolder.deleteInstance();
}

// Reported to hosts that ask for it but read by nothing: the unit itself has no bypass.
juce::AudioProcessorParameter* Vu418dPluginInstance::getBypassParameter() const
{
    return bypass.get();
}

juce::AudioProcessorEditor* Vu418dPluginInstance::createEditor()
{
    return new Vu418dAudioProcessorEditor (*this, *productManager);
}

bool Vu418dPluginInstance::hasEditor() const
{
    return true;
}

void Vu418dPluginInstance::getStateInformation (juce::MemoryBlock& destData)
{
    juce::MemoryOutputStream stream (destData, false);
    productManager->writeState (stream);
}

void Vu418dPluginInstance::getCurrentProgramStateInformation (juce::MemoryBlock& destData)
{
    getStateInformation (destData);
}

// Some hosts restore from a thread of their own while the message thread changes parameters; the store is
// only ever touched on the message thread.
void Vu418dPluginInstance::setStateInformation (const void* data, int sizeInBytes)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        productManager->setStateInformation (data, sizeInBytes);
    else
        restoreHandOver.post (data, sizeInBytes);
}

void Vu418dPluginInstance::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    setStateInformation (data, sizeInBytes);
}

void Vu418dPluginInstance::commandFallback (std::unique_ptr<juce::CvCommand> command)
{
    if (command->id == Ids::cvVu418d::savePreset)
        launchPresetChooser (true);
    else if (command->id == Ids::cvVu418d::loadPreset)
        launchPresetChooser (false);
    else if (command->id == Ids::cvVu418d::showDeviceSelector)
        parkedCommand = std::move (command);
}

void Vu418dPluginInstance::timerCallback() {}

void Vu418dPluginInstance::launchPresetChooser (bool saving)
{
    const auto start = juce::File::getCurrentWorkingDirectory();

    if (saving)
    {
        fileChooser = std::make_unique<juce::FileChooser> ("Save preset...", start, "*.cvrp");
        fileChooser->launchAsync (juce::FileBrowserComponent::saveMode |
                                      juce::FileBrowserComponent::warnAboutOverwriting,
                                  [this] (const juce::FileChooser& chooser) { savePresetTo (chooser.getResult()); });
    }
    else
    {
        fileChooser = std::make_unique<juce::FileChooser> ("Load preset...", start, "*.cvrp; *.cvrb");
        fileChooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                                  [this] (const juce::FileChooser& chooser) { loadPresetFrom (chooser.getResult()); });
    }
}

void Vu418dPluginInstance::savePresetTo (const juce::File& chosen)
{
    if (chosen == juce::File())
        return;

    juce::MemoryBlock state;
    getStateInformation (state);

    juce::TemporaryFile temporary (chosen.withFileExtension (".cvrp"));

    {
        juce::FileOutputStream stream (temporary.getFile(), 8192);

        if (! stream.openedOk() || ! stream.write (state.getData(), state.getSize()))
            return;

        stream.flush();

        if (stream.getStatus().failed())
            return;
    }

    temporary.overwriteTargetFileWithTemporary();
}

void Vu418dPluginInstance::loadPresetFrom (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() > std::numeric_limits<int>::max())
        return;

    juce::MemoryBlock content;

    if (file.loadFileAsData (content))
        productManager->setStateInformation (content.getData(), (int) content.getSize());
}

Vu418dPluginInstance::RestoreHandOver::RestoreHandOver (Vu418dParamsManager& paramsManager)
    : manager (paramsManager)
{
}

Vu418dPluginInstance::RestoreHandOver::~RestoreHandOver()
{
    cancelPendingUpdate();
}

void Vu418dPluginInstance::RestoreHandOver::post (const void* data, int size)
{
    if (data == nullptr || size <= 0)
        return;

    {
        const juce::ScopedLock scopedLock (lock);
        pending.add (juce::MemoryBlock (data, (size_t) size));
    }

    triggerAsyncUpdate();
}

void Vu418dPluginInstance::RestoreHandOver::handleAsyncUpdate()
{
    juce::Array<juce::MemoryBlock> restores;

    {
        const juce::ScopedLock scopedLock (lock);
        restores.swapWith (pending);
    }

    for (const auto& state : restores)
        manager.setStateInformation (state.getData(), (int) state.getSize());
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Vu418dPluginInstance();
}
