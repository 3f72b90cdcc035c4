#pragma once

namespace juce
{

/** Hands one non-automatable value from any thread to the store on the message thread.

    Several writes before the delivery collapse into one delivery of the last value; the delivery changes the
    store only when the value differs from what it holds then.
*/
class ThreadBarierNonAutomatableParameter : public AsyncUpdater
{
public:
    ThreadBarierNonAutomatableParameter (CvParamsManager& manager, int index);
    ~ThreadBarierNonAutomatableParameter() override;

    void setValue (var newValue);

private:
    void handleAsyncUpdate() override;

    // The busy flag is held only for the copy of one var, so a spin is cheaper than a mutex and never blocks
    // the CoreMIDI thread for long.
    struct ScopedBusyFlag
    {
        explicit ScopedBusyFlag (std::atomic<bool>& flagToTake);
        ~ScopedBusyFlag();

        std::atomic<bool>& flag;
    };

    CvParamsManager& manager;
    const int index;
    std::atomic<bool> busy { false };
    var pendingValue;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ThreadBarierNonAutomatableParameter)
};

} // namespace juce
