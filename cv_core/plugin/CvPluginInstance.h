#pragma once

namespace juce
{

/** The reusable half of the plug-in's processor: a stereo pass-through that owns the parameter store and
    publishes the store's host-facing parameters to the host, in index order.
*/
class CvPluginInstance : public AudioProcessor
{
public:
    CvPluginInstance (std::unique_ptr<CvParamsManager> store, const BusesProperties& buses);
    ~CvPluginInstance() override;

    const String getName() const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    using AudioProcessor::processBlock;
    void processBlock (AudioBuffer<float>& buffer, MidiBuffer& midiMessages) override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const String getProgramName (int index) override;
    void changeProgramName (int index, const String& newName) override;
    void getStateInformation (MemoryBlock& destData) override;
    void getCurrentProgramStateInformation (MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

protected:
    /** Hosts destroy instances on threads of their own. Called first in the derived destructor, this holds the
        message thread until the store is gone, so nothing of the instance runs while it is taken apart, and
        what is cancelled meanwhile never will.
    */
    void holdMessageThreadUntilDestroyed();

private:
    CvMessageThreadHold destructionHold; // declared first: released after the store is deleted

protected:
    std::unique_ptr<CvParamsManager> paramsManager;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvPluginInstance)
};

} // namespace juce
