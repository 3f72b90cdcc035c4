namespace juce
{

CvPluginInstance::CvPluginInstance (std::unique_ptr<CvParamsManager> store, const BusesProperties& buses)
    : AudioProcessor (buses)
    , paramsManager (std::move (store))
{
    for (auto* record : paramsManager->automatableParams)
        addParameter (record->hostParameter);
}

// The host-facing parameters outlive the store: the framework processor deletes them afterwards.
CvPluginInstance::~CvPluginInstance()
{
    holdMessageThreadUntilDestroyed();
    paramsManager->cancelPendingHostWrites();
}

void CvPluginInstance::holdMessageThreadUntilDestroyed()
{
    destructionHold.hold();
}

const String CvPluginInstance::getName() const
{
    return JucePlugin_Name;
}

void CvPluginInstance::prepareToPlay (double, int) {}
void CvPluginInstance::releaseResources() {}

// The unit does all the processing: inputs pass through the host's buffer untouched, and only outputs that
// have no input are cleared.
void CvPluginInstance::processBlock (AudioBuffer<float>& buffer, MidiBuffer&)
{
    if (buffer.hasBeenCleared())
        return;

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());
}

double CvPluginInstance::getTailLengthSeconds() const
{
    return 0.0;
}

bool CvPluginInstance::acceptsMidi() const
{
    return false;
}

// Declared for hosts that expect it; every MIDI byte goes straight to the unit, never to the host.
bool CvPluginInstance::producesMidi() const
{
    return true;
}

bool CvPluginInstance::isMidiEffect() const
{
    return false;
}

int CvPluginInstance::getNumPrograms()
{
    return 1;
}

int CvPluginInstance::getCurrentProgram()
{
    return 0;
}

void CvPluginInstance::setCurrentProgram (int) {}

const String CvPluginInstance::getProgramName (int)
{
    return {};
}

void CvPluginInstance::changeProgramName (int, const String&) {}
void CvPluginInstance::getStateInformation (MemoryBlock&) {}
void CvPluginInstance::getCurrentProgramStateInformation (MemoryBlock&) {}
void CvPluginInstance::setStateInformation (const void*, int) {}
void CvPluginInstance::setCurrentProgramStateInformation (const void*, int) {}

} // namespace juce
