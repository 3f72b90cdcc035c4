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
    ~CvPluginInstance() override = default;

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
    std::unique_ptr<CvParamsManager> paramsManager;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvPluginInstance)
};

} // namespace juce
