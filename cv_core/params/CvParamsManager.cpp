namespace juce
{

namespace
{
// Every record is made from a host-facing parameter of this framework.
CvDawParameter& hostParameterOf (const CvParamsManager::AutomatableParameter& record)
{
    return *static_cast<CvDawParameter*> (record.hostParameter);
}
} // namespace

CvParamsManager::AutomatableParameter::AutomatableParameter (CvParamsManager& owner, int indexInStore,
                                                             CvDawParameter& hostFacingParameter)
    : hostParameter (&hostFacingParameter)
    , manager (&owner)
    , index (indexInStore)
    , value ((float) hostFacingParameter.getRange().convertFrom0to1 (hostFacingParameter.getValue()))
{
    listeners.add (&hostFacingParameter);
}

// The notifying loops walk the listeners by position and re-read both the length and the stored value before
// each call, so a listener that writes the same index again hands the newest value to the listeners after it.
void CvParamsManager::setParamValue (AutomatableParamListener* source, int index, float value)
{
    auto* record = automatableParams[index];

    if (record == nullptr)
        return;

    record->value = value;

    for (int i = 0; i < record->listeners.size(); ++i)
        record->listeners.getUnchecked (i)->paramValueChanged (source, index, record->value);
}

void CvParamsManager::beginParamGesture (AutomatableParamListener* source, int index)
{
    if (auto* record = automatableParams[index])
        if (record->gestureCount++ == 0)
            notifyGesture (*record, source, true);
}

void CvParamsManager::endParamGesture (AutomatableParamListener* source, int index)
{
    if (auto* record = automatableParams[index])
        if (record->gestureCount-- == 1)
            notifyGesture (*record, source, false);
}

void CvParamsManager::notifyGesture (AutomatableParameter& record, AutomatableParamListener* source, bool starting)
{
    for (int i = 0; i < record.listeners.size(); ++i)
        record.listeners.getUnchecked (i)->paramGestureChanged (source, record.index, starting);
}

void CvParamsManager::setNonAutomatableParamValue (NonAutomatableParamListener* source, int index, var value)
{
    auto* record = nonAutomatableParams[index];

    if (record == nullptr)
        return;

    record->value = std::move (value);

    for (int i = 0; i < record->listeners.size(); ++i)
        if (auto* listener = record->listeners.getUnchecked (i); listener != source)
            listener->nonAutomatableParamValueChanged (index, record->value);
}

void CvParamsManager::addParamListener (AutomatableParamListener* listener, int index, ListenerInitState state)
{
    auto* record = automatableParams[index];

    if (record == nullptr)
        return;

    record->listeners.addIfNotAlreadyThere (listener);

    if (state == sendCurrentValue)
        listener->paramValueChanged (nullptr, index, record->value);
}

void CvParamsManager::addNonAutomatableParamListener (NonAutomatableParamListener* listener, int index,
                                                      ListenerInitState state)
{
    auto* record = nonAutomatableParams[index];

    if (record == nullptr)
        return;

    record->listeners.addIfNotAlreadyThere (listener);

    if (state == sendCurrentValue)
        listener->nonAutomatableParamValueChanged (index, record->value);
}

void CvParamsManager::addNonAutomatableParam (var initialValue)
{
    nonAutomatableParams.add (new NonAutomatableParamData (initialValue));
}

void CvParamsManager::addAutomatableParam (CvDawParameter& hostParameter)
{
    automatableParams.add (new AutomatableParameter (*this, automatableParams.size(), hostParameter));
}

void CvParamsManager::deliverPendingHostWrites()
{
    for (auto* record : automatableParams)
        hostParameterOf (*record).handleUpdateNowIfNeeded();
}

void CvParamsManager::cancelPendingHostWrites()
{
    for (auto* record : automatableParams)
        hostParameterOf (*record).cancelPendingUpdate();
}

std::vector<uint32> CvParamsManager::countHostWrites() const
{
    std::vector<uint32> counts;

    for (auto* record : automatableParams)
        counts.push_back (hostParameterOf (*record).getHostWriteCount());

    return counts;
}

void CvParamsManager::restoreAsHostCall (const std::vector<uint32>& hostWritesBefore,
                                         const std::function<void()>& restore)
{
    deliverPendingHostWrites();
    hostWritesBeforeRunningRestore = &hostWritesBefore;
    restore();
    hostWritesBeforeRunningRestore = nullptr;

    for (size_t index = 0; index < hostWritesBefore.size(); ++index)
        if (auto* record = automatableParams[(int) index])
            hostParameterOf (*record).deliverIfWrittenSince (hostWritesBefore[index]);
}

bool CvParamsManager::isWrittenSinceRunningRestore (int index, uint32 hostWrites) const noexcept
{
    const auto* before = hostWritesBeforeRunningRestore;
    return before != nullptr && isPositiveAndBelow (index, (int) before->size()) &&
           (*before)[(size_t) index] != hostWrites;
}

} // namespace juce
