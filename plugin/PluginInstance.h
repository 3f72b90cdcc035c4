#pragma once

#include "link/MidiBridge.h"
#include "ParamsManager.h"

/** The object a host creates for each insert of the plug-in: a stereo pass-through that owns the parameter
    model, offers it to the host, keeps its state and answers the preset commands.
*/
class Vu418dPluginInstance
    : public juce::CvPluginInstance
    , public juce::CommandManager
    , public juce::Timer
{
public:
    Vu418dPluginInstance();
    ~Vu418dPluginInstance() override;

    juce::AudioProcessorParameter* getBypassParameter() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    void commandFallback (std::unique_ptr<juce::CvCommand> command) override;
    void timerCallback() override;

    /** Writes the state to the chosen file, with the preset extension, through a temporary file: a save that
        fails at any step leaves the file as it was. When the extension makes it another file that exists, the
        user is asked first, and nothing is written unless they agree.
    */
    void savePresetTo (const juce::File& chosen);

    /** Applies a preset file when the whole of it could be read, after everything the host did before. */
    void loadPresetFrom (const juce::File& file);

    Vu418dParamsManager& getParamsManager() const noexcept { return *productManager; }
    juce::ThreadBarierNonAutomatableParameter& getConnectionHandOver() noexcept { return connectionHandOver; }
    const juce::CvCommand* getParkedCommand() const noexcept { return parkedCommand.get(); }
    juce::MidiManager* getMidiManager() const noexcept { return midiManager; }
    Vu418dMidiBridge* getBridge() const noexcept { return bridge.get(); }

    /** Frees the bound unit for other instances and deletes the bridge; with no bridge, does nothing. */
    void unbindUnit();

protected:
    /** Asks the user whether an existing preset file may be replaced, and answers later on the message thread. */
    virtual void askToReplace (const juce::File& target, std::function<void (bool)> answer);

private:
    /** Restores that arrive off the message thread, applied there in the order they came. */
    class RestoreHandOver : private juce::AsyncUpdater
    {
    public:
        explicit RestoreHandOver (Vu418dParamsManager& manager);
        ~RestoreHandOver() override;

        void post (const void* data, int size, const std::vector<juce::uint32>& hostWrites);
        void applyPending();

    private:
        struct Restore
        {
            juce::MemoryBlock state;
            std::vector<juce::uint32> hostWrites;
        };

        void handleAsyncUpdate() override;

        Vu418dParamsManager& manager;
        juce::CriticalSection lock;
        std::vector<Restore> pending;
    };

    // Long enough for a busy message thread, short enough that a host whose loop waits is not stalled for long.
    static constexpr int restoreWaitMilliseconds = 1000;

    void restoreNow (const void* data, int sizeInBytes, const std::vector<juce::uint32>& hostWrites);
    void launchPresetChooser (bool saving);
    void writePreset (const juce::File& target);
    void countInWithMidiManager();
    void countOutOfMidiManager();
    juce::MidiDevice* findFreeUnit (int serialNumber) const;
    void bind (juce::MidiDevice& unit, std::unique_ptr<Vu418dMidiBridge> newBridge, bool rememberSerialNumber);

    Vu418dParamsManager* productManager;
    std::unique_ptr<juce::AudioParameterBool> bypass;
    juce::ThreadBarierNonAutomatableParameter connectionHandOver;
    std::unique_ptr<juce::CvCommand> parkedCommand;
    juce::MidiManager* midiManager = nullptr;
    std::unique_ptr<Vu418dMidiBridge> bridge;
    std::unique_ptr<juce::FileChooser> fileChooser;
    RestoreHandOver restoreHandOver;

    JUCE_DECLARE_WEAK_REFERENCEABLE (Vu418dPluginInstance)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Vu418dPluginInstance)
};
