#include "MidiParams.h"

#include "ParamTools.h"

// A gesture still open when the slot goes (the unit unplugged mid-turn) is closed: the store counts gestures,
// and one left open would hide every later gesture of that parameter from the host.
MidiParam::~MidiParam()
{
    closeGesture();
}

void MidiParam::receive (int deviceValue)
{
    pendingValue.store (deviceValue);
    triggerAsyncUpdate();
}

void MidiParam::send (int deviceValue) const
{
    if (sendFunction)
        sendFunction (deviceValue);
}

// The first value of a burst holds the gesture open for 300 ms; each later one for three times the gap since the
// previous value, within 100..1000 ms, so a slow turn of a knob stays one gesture and a quick one ends soon.
void MidiParam::handleAsyncUpdate()
{
    const auto value = pendingValue.load();
    stopTimer (0);

    const auto now = juce::Time::currentTimeMillis();
    int interval = 300;

    if (! gestureOpen)
    {
        if (gesture)
            gesture (true);

        gestureOpen = true;
    }
    else
    {
        const auto gap = (juce::int32) ((juce::uint32) now - (juce::uint32) lastReceiveTime);
        interval = (int) juce::jlimit ((juce::int64) 100, (juce::int64) 1000, 3 * (juce::int64) gap);
    }

    lastReceiveTime = now;
    gestureDeadline.startTimer (*this, 0, interval);

    if (apply)
        apply (value);
}

void MidiParam::timerCallback (int timerID)
{
    if (timerID != 0 || gestureDeadline.rearmedBeforeDeadline (*this, 0))
        return;

    stopTimer (0);
    closeGesture();
}

void MidiParam::closeGesture()
{
    if (! gestureOpen)
        return;

    gestureOpen = false;

    if (gesture)
        gesture (false);
}

MidiChannelParam::MidiChannelParam (juce::MidiDevice* unit, juce::CvParamsManager& paramsStore, int channelIndex,
                                    int selectedChannelIndex)
    : store (paramsStore)
    , device (unit)
    , automatableIndex (channelIndex)
    , nonAutomatableIndex (selectedChannelIndex)
{
    store.addParamListener (this, automatableIndex, juce::CvParamsManager::registerOnly);
    store.addNonAutomatableParamListener (this, nonAutomatableIndex, juce::CvParamsManager::registerOnly);

    channelSlot.apply = [this] (int code) { applyCode (code); };
    channelSlot.gesture = [this] (bool starting)
    {
        if (starting)
            store.beginParamGesture (this, automatableIndex);
        else
            store.endParamGesture (this, automatableIndex);
    };
    channelSlot.sendFunction = [this] (int code) { sendCode (code); };
}

MidiChannelParam::~MidiChannelParam()
{
    if (auto* record = store.automatableParams[automatableIndex])
        record->listeners.removeAllInstancesOf (this);

    if (auto* record = store.nonAutomatableParams[nonAutomatableIndex])
        record->listeners.removeAllInstancesOf (this);
}

int MidiChannelParam::selectedChannelOf (int code)
{
    if (code < 2)
        return 2;

    return code < 4 ? 1 : 0;
}

int MidiChannelParam::computeCode() const
{
    const auto* channel = store.automatableParams[automatableIndex];
    const auto* selected = store.nonAutomatableParams[nonAutomatableIndex];

    if ((channel != nullptr ? channel->value : 0.0f) > 0.5f)
        return (selected != nullptr && (int) selected->value == 0) ? 2 : 1;

    return 4;
}

void MidiChannelParam::sendCode (int code)
{
    if (device != nullptr)
    {
        for (auto* listener : recallingListeners)
            listener->lockReceiving (true);

        if (device->hasDestination())
        {
            const auto message = juce::SysExProtocol::makeParameterValue (
                device->serialNumber.load(), juce::SysExProtocol::parameterValue, controlNumber, code);
            device->sendSysex (message.data(), (int) message.size());
        }

        recallDeadline.startTimer (*this, recallTimer, 500);
    }

    for (auto* listener : recallingListeners)
        listener->setSelectedChannel (selectedChannelOf (code));
}

void MidiChannelParam::receiveCode (int code)
{
    for (auto* listener : recallingListeners)
        listener->setSelectedChannel (selectedChannelOf (code));

    channelSlot.receive (code);
}

void MidiChannelParam::requestEarlyRecall()
{
    earlyRecall.triggerAsyncUpdate();
}

void MidiChannelParam::EarlyRecall::handleAsyncUpdate()
{
    if (! owner.isTimerRunning (recallTimer))
        return;

    owner.stopTimer (recallTimer);
    owner.handleAsyncUpdate();
}

// The unit's own switch is followed without sending the code back: the store does not call the source back.
void MidiChannelParam::applyCode (int code)
{
    store.setParamValue (this, automatableIndex, code > 2 ? 0.0f : 1.0f);
    store.setNonAutomatableParamValue (this, nonAutomatableIndex, code < 2 ? 1 : 0);
}

void MidiChannelParam::paramValueChanged (int index, float)
{
    if (index == automatableIndex)
        startTimer (debounceTimer, 2);
}

void MidiChannelParam::nonAutomatableParamValueChanged (int index, juce::var)
{
    if (index == nonAutomatableIndex)
        startTimer (debounceTimer, 2);
}

void MidiChannelParam::timerCallback (int timerID)
{
    if (timerID == recallTimer && recallDeadline.rearmedBeforeDeadline (*this, recallTimer))
        return;

    stopTimer (timerID);

    if (timerID == debounceTimer)
        channelSlot.send (computeCode());
    else if (timerID == recallTimer)
        triggerAsyncUpdate();
}

// Unlocking first sends what each mirror held back; then every mirror sends its current values.
void MidiChannelParam::handleAsyncUpdate()
{
    for (auto* listener : recallingListeners)
        listener->lockReceiving (false);

    for (auto* listener : recallingListeners)
        listener->sendForced();
}

MidiMirror::MidiMirror (juce::MidiDevice* unit, juce::CvParamsManager& paramsStore, int control,
                        std::vector<int> indices)
    : store (paramsStore)
    , device (unit)
    , controlNumber (control)
    , automatableIndices (std::move (indices))
{
    for (auto index : automatableIndices)
        store.addParamListener (this, index, juce::CvParamsManager::registerOnly);
}

MidiMirror::~MidiMirror()
{
    for (auto index : automatableIndices)
        if (auto* record = store.automatableParams[index])
            record->listeners.removeAllInstancesOf (this);
}

void MidiMirror::setSelectedChannel (int channel)
{
    selectedChannel.store (channel);
}

bool MidiMirror::shouldIgnore (AutomatableParamListener* source) const
{
    return source == this || dynamic_cast<StereoParameterLinker*> (source) != nullptr;
}

void MidiMirror::sendToUnit (SlotChannel slotChannel, int deviceValue) const
{
    if (device == nullptr || ! device->hasDestination())
        return;

    const auto otherChannel = slotChannel == channel1 ? 2 : 1;
    const auto command = selectedChannel.load() == otherChannel ? juce::SysExProtocol::parameterValueOtherChannel
                                                                : juce::SysExProtocol::parameterValue;
    const auto message =
        juce::SysExProtocol::makeParameterValue (device->serialNumber.load(), command, controlNumber, deviceValue);
    device->sendSysex (message.data(), (int) message.size());
}

float MidiMirror::storedValue (int index) const
{
    const auto* record = store.automatableParams[index];
    return record != nullptr ? record->value : 0.0f;
}

void MidiMirror::installAutomatableSlot (MidiParam& slot, int index, Conversions::ToParameter toParameter,
                                         std::function<void (int)> send)
{
    slot.apply = [this, index, toParameter] (int deviceValue)
    { store.setParamValue (this, index, toParameter (deviceValue)); };
    slot.gesture = [this, index] (bool starting)
    {
        if (starting)
            store.beginParamGesture (this, index);
        else
            store.endParamGesture (this, index);
    };
    slot.sendFunction = std::move (send);
}

MidiLRParam::MidiLRParam (juce::MidiDevice* unit, juce::CvParamsManager& paramsStore, int channel1Index,
                          int channel2Index, int control, Conversions::ToParameter toParameter,
                          Conversions::ToDevice toDeviceValue)
    : MidiMirror (unit, paramsStore, control, { channel1Index, channel2Index })
    , indices { channel1Index, channel2Index }
    , toDevice (std::move (toDeviceValue))
{
    for (auto channel : { channel1, channel2 })
        installAutomatableSlot (slots[channel], indices[channel], toParameter,
                                [this, channel] (int deviceValue) { sendOrHold (channel, deviceValue); });
}

void MidiLRParam::sendOrHold (SlotChannel slotChannel, int deviceValue)
{
    if (locked.load())
        heldValues[slotChannel] = deviceValue;
    else
        sendToUnit (slotChannel, deviceValue);
}

// In stereo a channel-2 change goes out like a channel-1 change: the unit's channels are linked.
void MidiLRParam::paramValueChanged (AutomatableParamListener* source, int index, float value)
{
    if (shouldIgnore (source))
        return;

    const auto deviceValue = toDevice (value);

    if (index == indices[channel1])
        slots[channel1].send (deviceValue);

    if (index == indices[channel2])
        slots[selectedChannel.load() == 0 ? channel1 : channel2].send (deviceValue);
}

// In stereo a value from the unit goes to channel 1 only, and the stereo linker copies it and its gesture onto
// channel 2. A gesture of the mirror's own on channel 2 would overlap that copy, and since the store reports
// gestures only as its count of open ones passes zero, neither channel's gesture would ever be reported closed.
void MidiLRParam::paramMidiChanged (int deviceValue)
{
    if (locked.load())
        return;

    switch (selectedChannel.load())
    {
        case 0:
        case 1:
            slots[channel1].receive (deviceValue);
            break;
        case 2:
            slots[channel2].receive (deviceValue);
            break;
        default:
            break;
    }
}

void MidiLRParam::sendForced()
{
    if (device == nullptr)
        return;

    slots[channel1].send (toDevice (storedValue (indices[channel1])));

    if (selectedChannel.load() != 0)
        slots[channel2].send (toDevice (storedValue (indices[channel2])));
}

// Locking keeps what was held; unlocking sends the last held value of each slot.
void MidiLRParam::lockReceiving (bool shouldLock)
{
    locked.store (shouldLock);

    if (shouldLock)
        return;

    for (auto channel : { channel1, channel2 })
    {
        if (heldValues[channel] >= 0)
            slots[channel].send (std::exchange (heldValues[channel], -1));
    }
}

MidiMonoParam::MidiMonoParam (juce::MidiDevice* unit, juce::CvParamsManager& paramsStore, int parameterIndex,
                              int control, Conversions::ToParameter toParameter, Conversions::ToDevice toDeviceValue)
    : MidiMirror (unit, paramsStore, control, { parameterIndex })
    , index (parameterIndex)
    , toDevice (std::move (toDeviceValue))
{
    installAutomatableSlot (slot, index, std::move (toParameter),
                            [this] (int deviceValue) { sendOrHold (deviceValue); });
}

void MidiMonoParam::sendOrHold (int deviceValue)
{
    if (locked.load())
        heldValues[channel1] = deviceValue;
    else
        sendToUnit (channel1, deviceValue);
}

void MidiMonoParam::paramValueChanged (int changedIndex, float value)
{
    if (changedIndex == index)
        slot.send (toDevice (value));
}

void MidiMonoParam::paramMidiChanged (int deviceValue)
{
    if (! locked.load())
        slot.receive (deviceValue);
}

void MidiMonoParam::sendForced()
{
    if (device != nullptr && selectedChannel.load() == 0)
        slot.send (toDevice (storedValue (index)));
}

void MidiMonoParam::lockReceiving (bool shouldLock)
{
    locked.store (shouldLock);

    if (! shouldLock && heldValues[channel1] >= 0)
        slot.send (std::exchange (heldValues[channel1], -1));
}

std::vector<int> MidiPackedMirror::indicesOf (const std::vector<Member>& members)
{
    std::vector<int> indices;

    for (const auto& member : members)
        indices.insert (indices.end(), std::begin (member.indices), std::end (member.indices));

    return indices;
}

MidiPackedMirror::MidiPackedMirror (juce::MidiDevice* unit, juce::CvParamsManager& paramsStore, int control,
                                    std::vector<Member> packedMembers)
    : MidiMirror (unit, paramsStore, control, indicesOf (packedMembers))
    , members (std::move (packedMembers))
{
    for (int m = 0; m < (int) members.size(); ++m)
    {
        for (auto channel : { channel1, channel2 })
        {
            auto& slot = *slots.emplace_back (std::make_unique<MidiParam>());
            installAutomatableSlot (slot, members[(size_t) m].indices[channel], members[(size_t) m].toParameter,
                                    [this, channel, m] (int deviceValue)
                                    { sendPacked (channel, deviceValue | packedValue (channel, m)); });
        }
    }
}

int MidiPackedMirror::packedValue (SlotChannel slotChannel, int exceptMember) const
{
    auto packed = 0;

    for (int m = 0; m < (int) members.size(); ++m)
        if (m != exceptMember)
            packed |= members[(size_t) m].toDevice (storedValue (members[(size_t) m].indices[slotChannel]));

    return packed;
}

void MidiPackedMirror::sendPacked (SlotChannel slotChannel, int deviceValue)
{
    if (locked.load())
        heldValues[slotChannel] = deviceValue;
    else
        sendToUnit (slotChannel, deviceValue);
}

void MidiPackedMirror::paramValueChanged (AutomatableParamListener* source, int index, float value)
{
    if (shouldIgnore (source))
        return;

    for (int m = 0; m < (int) members.size(); ++m)
        if (members[(size_t) m].indices[channel1] == index)
            slots[(size_t) (2 * m)]->send (members[(size_t) m].toDevice (value));

    const auto channel2Slot = selectedChannel.load() == 0 ? channel1 : channel2;

    for (int m = 0; m < (int) members.size(); ++m)
        if (members[(size_t) m].indices[channel2] == index)
            slots[(size_t) (2 * m + channel2Slot)]->send (members[(size_t) m].toDevice (value));
}

// As with the paired mirrors, stereo values go to channel 1 only and reach channel 2 through the linkers.
void MidiPackedMirror::paramMidiChanged (int deviceValue)
{
    const auto selected = selectedChannel.load();

    if (locked.load() || selected < 0 || selected > 2)
        return;

    const auto channel = selected == 2 ? channel2 : channel1;

    for (int m = 0; m < (int) members.size(); ++m)
        slots[(size_t) (2 * m + channel)]->receive (deviceValue);

    receiveAlso (deviceValue);
}

void MidiPackedMirror::receiveAlso (int) {}

// Every slot ORs what it is given with the store's other members, so each channel goes out once per member.
void MidiPackedMirror::sendForced()
{
    if (device == nullptr)
        return;

    const int packed[] { packedValue (channel1, -1), packedValue (channel2, -1) };
    const auto lastChannel = selectedChannel.load() == 0 ? channel1 : channel2;

    for (int channel = channel1; channel <= lastChannel; ++channel)
        for (int m = 0; m < (int) members.size(); ++m)
            slots[(size_t) (2 * m + channel)]->send (packed[channel]);
}

// Unlike the paired mirrors, locking forgets what was held before.
void MidiPackedMirror::lockReceiving (bool shouldLock)
{
    locked.store (shouldLock);

    if (shouldLock)
    {
        heldValues[channel1] = heldValues[channel2] = -1;
        return;
    }

    for (auto channel : { channel1, channel2 })
        if (heldValues[channel] >= 0)
            sendHeld (channel, std::exchange (heldValues[channel], -1));
}

void MidiPackedMirror::sendHeld (SlotChannel slotChannel, int heldValue)
{
    for (int m = 0; m < (int) members.size(); ++m)
        slots[(size_t) (2 * m + slotChannel)]->send (heldValue);
}

MidiSwitchParams::MidiSwitchParams (juce::MidiDevice* unit, juce::CvParamsManager& paramsStore, int aChannel1Index,
                                    int aChannel2Index, int control, Conversions::ToParameter aToParameter,
                                    Conversions::ToDevice aToDevice, int bChannel1Index, int bChannel2Index,
                                    Conversions::ToParameter bToParameter, Conversions::ToDevice bToDevice)
    : MidiPackedMirror (unit, paramsStore, control,
                        { { { aChannel1Index, aChannel2Index }, std::move (aToParameter), std::move (aToDevice) },
                          { { bChannel1Index, bChannel2Index }, std::move (bToParameter), std::move (bToDevice) } })
{
}

MidiBoolParams::MidiBoolParams (juce::MidiDevice* unit, juce::CvParamsManager& paramsStore, std::vector<Member> flags,
                                int control, int abSelectedIndex, Conversions::ToValue abToValueConverter,
                                Conversions::ValueToDevice abToDeviceConverter)
    : MidiPackedMirror (unit, paramsStore, control, std::move (flags))
    , abIndex (abSelectedIndex)
    , abToValue (std::move (abToValueConverter))
    , abToDevice (std::move (abToDeviceConverter))
{
    store.addNonAutomatableParamListener (this, abIndex, juce::CvParamsManager::registerOnly);

    abSlot.apply = [this] (int deviceValue)
    { store.setNonAutomatableParamValue (this, abIndex, abToValue (deviceValue)); };
    abSlot.gesture = [] (bool) {};
    abSlot.sendFunction = [this] (int deviceValue)
    { sendPacked (channel2, deviceValue | MidiPackedMirror::packedValue (channel2, -1)); };
}

MidiBoolParams::~MidiBoolParams()
{
    if (auto* record = store.nonAutomatableParams[abIndex])
        record->listeners.removeAllInstancesOf (this);
}

void MidiBoolParams::nonAutomatableParamValueChanged (int index, juce::var value)
{
    if (index == abIndex)
        abSlot.send (abToDevice (value));
}

int MidiBoolParams::packedValue (SlotChannel slotChannel, int exceptMember) const
{
    const auto* abRecord = store.nonAutomatableParams[abIndex];
    const auto abValue = abRecord != nullptr ? abToDevice (abRecord->value) : 0;
    return MidiPackedMirror::packedValue (slotChannel, exceptMember) | abValue;
}

// A held channel-2 value also goes out through the A/B slot, the way "A/B SELECTED" itself travels; a held
// channel-1 value does not, since each flag send carries "A/B SELECTED" already.
void MidiBoolParams::sendHeld (SlotChannel slotChannel, int heldValue)
{
    MidiPackedMirror::sendHeld (slotChannel, heldValue);

    if (slotChannel == channel2)
        abSlot.send (heldValue);
}

void MidiBoolParams::receiveAlso (int deviceValue)
{
    abSlot.receive (deviceValue);
}
