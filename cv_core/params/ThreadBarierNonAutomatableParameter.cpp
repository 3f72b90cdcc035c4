namespace juce
{

ThreadBarierNonAutomatableParameter::ScopedBusyFlag::ScopedBusyFlag (std::atomic<bool>& flagToTake)
    : flag (flagToTake)
{
    for (auto expected = false; ! flag.compare_exchange_weak (expected, true, std::memory_order_acquire);)
        expected = false;
}

ThreadBarierNonAutomatableParameter::ScopedBusyFlag::~ScopedBusyFlag()
{
    flag.store (false, std::memory_order_release);
}

ThreadBarierNonAutomatableParameter::ThreadBarierNonAutomatableParameter (CvParamsManager& owner, int valueIndex)
    : manager (owner)
    , index (valueIndex)
{
}

ThreadBarierNonAutomatableParameter::~ThreadBarierNonAutomatableParameter()
{
    cancelPendingUpdate();
}

// No cancel before the trigger: the framework would post its message again for every write while the first copy
// still waits, and a burst of writes would queue as many messages. The waiting one delivers the last value.
void ThreadBarierNonAutomatableParameter::setValue (var newValue)
{
    {
        const ScopedBusyFlag busyFlag (busy);
        pendingValue = std::move (newValue);
    }

    triggerAsyncUpdate();
}

void ThreadBarierNonAutomatableParameter::handleAsyncUpdate()
{
    var delivered;

    {
        const ScopedBusyFlag busyFlag (busy);
        delivered = pendingValue;
    }

    const auto* record = manager.nonAutomatableParams[index];
    const auto current = record != nullptr ? record->value : var (-1);

    if (! current.equals (delivered))
        manager.setNonAutomatableParamValue (nullptr, index, delivered);
}

} // namespace juce
