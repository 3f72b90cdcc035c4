#pragma once

namespace juce
{

/** The services side of the manager: the client, the scan run after each set-up change, and the handshake
    timer that promotes units once they have answered.
*/
class MidiManager::Pimpl
    : public AsyncUpdater
    , public Timer
{
public:
    explicit Pimpl (MidiManager& owner);
    ~Pimpl() override;

    void handleAsyncUpdate() override;
    void timerCallback() override;

    static void MIDISetupChangeCallback (const platform::MIDINotification* message, void* refCon);

    MidiManager& owner;
    std::vector<std::unique_ptr<MidiDevice>> pendingDevices;
    const int handshakeIntervalMs = 500;
    platform::MIDIClientRef client = 0;

private:
    using Collection = std::vector<platform::MIDIDeviceRef>;

    std::vector<Collection> collectOnlineDevices() const;
    void dropVanishedDevices (const std::vector<Collection>& collections);
    void addNewDevices (const std::vector<Collection>& collections);
    bool isKnown (platform::MIDIDeviceRef deviceRef) const;

    JUCE_DECLARE_NON_COPYABLE (Pimpl)
};

} // namespace juce
