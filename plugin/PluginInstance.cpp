#include "PluginInstance.h"

#include "Identifiers.h"
#include "editor/PluginEditor.h"

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

// Unbinding restarts the binding timer, as the loss of any unit does, so the timer is stopped afterwards.
Vu418dPluginInstance::~Vu418dPluginInstance()
{
    holdMessageThreadUntilDestroyed();
    unbindUnit();
    stopTimer();
    countOutOfMidiManager();
}

// Every instance in the process shares one manager: the first one starts it, the last one deletes it. Hosts
// make instances on several threads at once, so counting in and out is one step under the users' lock.
void Vu418dPluginInstance::countInWithMidiManager()
{
    const juce::ScopedLock lock (juce::MidiManager::getUsersLock());
    midiManager = juce::MidiManager::singletonHolder.get();

    if (midiManager == nullptr)
        return;

    ++midiManager->usersCount;

    if (! midiManager->started)
        midiManager->start ({ "Vuruvodu RX 416T", "Vuruvodu RX 418T" });
}

// Runs with the message thread held, so the manager's scan and timer are not running when it is deleted.
void Vu418dPluginInstance::countOutOfMidiManager()
{
    const juce::ScopedLock lock (juce::MidiManager::getUsersLock());

    if (midiManager != nullptr && --midiManager->usersCount == 0)
        juce::MidiManager::singletonHolder.deleteInstance();

    midiManager = nullptr;
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

// Hosts restore from threads of their own and read the parameters back at once, so the restore is done before
// the call returns, while the message thread is held. Only when the message thread does not answer (a host may
// call while its own loop waits for the call) is it handed over, to be applied once the loop runs, in the order
// of the host's calls.
void Vu418dPluginInstance::setStateInformation (const void* data, int sizeInBytes)
{
    const auto hostWrites = productManager->countHostWrites();
    juce::CvMessageThreadHold messageThread;

    if (messageThread.tryHold (restoreWaitMilliseconds))
        restoreNow (data, sizeInBytes, hostWrites);
    else
        restoreHandOver.post (data, sizeInBytes, hostWrites);
}

// Restores handed over earlier come first, so none of them lands after this one.
void Vu418dPluginInstance::restoreNow (const void* data, int sizeInBytes, const std::vector<juce::uint32>& hostWrites)
{
    restoreHandOver.applyPending();
    productManager->restoreAsHostCall (hostWrites, [&] { productManager->setStateInformation (data, sizeInBytes); });
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

// One binding attempt a second while a unit is wanted and none is bound: the unit of the stored serial number,
// or with none stored the only free unit; with several free units the user is asked to choose.
void Vu418dPluginInstance::timerCallback()
{
    auto& store = *productManager;

    if (store.nonAutomatableParams[ParamData::shouldBeConnected]->value.equals (false))
        return;

    stopTimer();

    if (! store.nonAutomatableParams[ParamData::isConnected]->value.equals (false) || midiManager == nullptr)
    {
        startTimer (1000);
        return;
    }

    auto newBridge = std::make_unique<Vu418dMidiBridge> (*this, store);
    const auto storedSerial = (int) store.nonAutomatableParams[ParamData::connectedDevSn]->value;

    if (storedSerial != -1)
    {
        if (auto* unit = findFreeUnit (storedSerial))
            bind (*unit, std::move (newBridge), false);
        else
            startTimer (1000);

        return;
    }

    const auto numFree = std::count_if (midiManager->devices.begin(), midiManager->devices.end(),
                                        [] (const auto& unit) { return unit->getListener() == nullptr; });

    if (numFree == 1)
    {
        bind (*findFreeUnit (-1), std::move (newBridge), true);
        return;
    }

    if (numFree > 1)
        sendCommand (std::make_unique<juce::CvCommand> (Ids::cvVu418d::showDeviceSelector));

    startTimer (1000);
}

// With -1, the first free unit whatever its number.
juce::MidiDevice* Vu418dPluginInstance::findFreeUnit (int serialNumber) const
{
    for (const auto& unit : midiManager->devices)
        if (unit->getListener() == nullptr && (serialNumber == -1 || unit->serialNumber.load() == serialNumber))
            return unit.get();

    return nullptr;
}

void Vu418dPluginInstance::bind (juce::MidiDevice& unit, std::unique_ptr<Vu418dMidiBridge> newBridge,
                                 bool rememberSerialNumber)
{
    unit.setListener (newBridge.get());
    newBridge->setConnectedMidiDevice (&unit);
    midiManager->triggerAsyncUpdate();

    if (rememberSerialNumber)
        productManager->setNonAutomatableParamValue (nullptr, ParamData::connectedDevSn, unit.serialNumber.load());

    bridge = std::move (newBridge);
    productManager->setNonAutomatableParamValue (nullptr, ParamData::isConnected, true);
}

// Frees the unit for other instances; what the user chose ("SHOULD BE CONNECTED", the serial number) stays.
void Vu418dPluginInstance::unbindUnit()
{
    if (bridge == nullptr)
        return;

    if (midiManager != nullptr)
    {
        for (const auto& unit : midiManager->devices)
        {
            if (unit->getListener() == bridge.get())
            {
                bridge->hidConnectionCallback (false);
                unit->setListener (nullptr);
                midiManager->triggerAsyncUpdate();
                break;
            }
        }
    }

    bridge->setConnectedMidiDevice (nullptr);
    bridge.reset();
}

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

// The chooser warned about the name the user typed; with the preset extension put on, the file written may be
// another one, which is only replaced once the user has agreed.
void Vu418dPluginInstance::savePresetTo (const juce::File& chosen)
{
    if (chosen == juce::File())
        return;

    const auto target = chosen.withFileExtension (".cvrp");

    if (target == chosen || ! target.exists())
    {
        writePreset (target);
        return;
    }

    askToReplace (target,
                  [instance = juce::WeakReference<Vu418dPluginInstance> (this), target] (bool replace)
                  {
                      if (replace && instance != nullptr)
                          instance->writePreset (target);
                  });
}

// Without a display (a headless host) no question can be put, and nothing is replaced.
void Vu418dPluginInstance::askToReplace (const juce::File& target, std::function<void (bool)> answer)
{
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
    {
        answer (false);
        return;
    }

    juce::AlertWindow::showAsync (
        juce::MessageBoxOptions()
            .withIconType (juce::MessageBoxIconType::WarningIcon)
            .withTitle ("Save preset...")
            .withMessage ("\"" + target.getFileName() + "\" already exists. Do you want to replace it?")
            .withButton ("Replace")
            .withButton ("Cancel"),
        [answer] (int button) { answer (button == 1); });
}

void Vu418dPluginInstance::writePreset (const juce::File& target)
{
    juce::MemoryBlock state;
    getStateInformation (state);

    juce::TemporaryFile temporary (target);

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
        restoreNow (content.getData(), (int) content.getSize(), productManager->countHostWrites());
}

Vu418dPluginInstance::RestoreHandOver::RestoreHandOver (Vu418dParamsManager& paramsManager)
    : manager (paramsManager)
{
}

Vu418dPluginInstance::RestoreHandOver::~RestoreHandOver()
{
    cancelPendingUpdate();
}

void Vu418dPluginInstance::RestoreHandOver::post (const void* data, int size,
                                                  const std::vector<juce::uint32>& hostWrites)
{
    if (data == nullptr || size <= 0)
        return;

    {
        const juce::ScopedLock scopedLock (lock);
        pending.push_back ({ juce::MemoryBlock (data, (size_t) size), hostWrites });
    }

    triggerAsyncUpdate();
}

// Restores that came earlier from another thread go first, so the newest state is the one that stays.
void Vu418dPluginInstance::RestoreHandOver::applyPending()
{
    handleUpdateNowIfNeeded();
}

void Vu418dPluginInstance::RestoreHandOver::handleAsyncUpdate()
{
    std::vector<Restore> restores;

    {
        const juce::ScopedLock scopedLock (lock);
        restores.swap (pending);
    }

    for (const auto& restore : restores)
        manager.restoreAsHostCall (
            restore.hostWrites,
            [&] { manager.setStateInformation (restore.state.getData(), (int) restore.state.getSize()); });
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Vu418dPluginInstance();
}
