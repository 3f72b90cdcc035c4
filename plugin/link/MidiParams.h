#pragma once

#include "Conversions.h"

#include <cv_core/cv_core.h>
#include <cv_midi/cv_midi.h>

/** One device-side value slot of a mirror: it carries a value received from the unit from the read thread to
    the message thread, and turns a burst of values from the unit's front panel into one host gesture.

    Its owner installs the three functions; they name the owner, never the slot, as the source of changes.
*/
class MidiParam
    : public juce::AsyncUpdater
    , public juce::MultiTimer
    , public juce::HwParameter
{
public:
    MidiParam() = default;
    ~MidiParam() override;

    /** Read thread: keeps the newest value and posts its application. */
    void receive (int deviceValue);

    /** Message thread: hands a value to the send function. */
    void send (int deviceValue) const;

    std::function<void (int)> apply;
    std::function<void (bool)> gesture;
    std::function<void (int)> sendFunction;

private:
    void handleAsyncUpdate() override;
    void timerCallback (int timerID) override;
    void closeGesture();

    std::atomic<int> pendingValue { -1 };
    bool gestureOpen = false;
    juce::int64 lastReceiveTime = 0;
    juce::CvTimerDeadline gestureDeadline;

    JUCE_DECLARE_NON_COPYABLE (MidiParam)
};

/** Mirrors the unit's channel mode on control number 14 ("CHANNEL" and "SELECTED CHANNEL") and steers the
    other mirrors: it tells them the selected channel, locks them for 500 ms after each code it sends, then
    unlocks them and has each send its current values.
*/
class MidiChannelParam
    : public juce::CvParamsManager::AutomatableParamListener
    , public juce::CvParamsManager::NonAutomatableParamListener
    , public juce::AsyncUpdater
    , public juce::MultiTimer
{
public:
    /** What the channel mirror asks of the other mirrors. The selected channel is 0 (linked), 1 or 2. */
    class ChannelRecallingListener
    {
    public:
        virtual ~ChannelRecallingListener() = default;
        virtual void setSelectedChannel (int selectedChannel) = 0;
        virtual void lockReceiving (bool shouldLock) = 0;
        virtual void sendForced() = 0;
    };

    static constexpr int controlNumber = 14;

    MidiChannelParam (juce::MidiDevice* device, juce::CvParamsManager& store, int automatableIndex,
                      int nonAutomatableIndex);
    ~MidiChannelParam() override;

    /** The code for the unit from "CHANNEL" and "SELECTED CHANNEL": 4 stereo, 2 or 1 the selected channel. */
    int computeCode() const;

    /** Sends a code: locks the other mirrors, tells the unit and arms the recall. */
    void sendCode (int code);

    /** Read thread: a code from the unit. */
    void receiveCode (int code);

    /** Read thread: the unit has reported control 16, so the recall need not wait any longer. */
    void requestEarlyRecall();

    static int selectedChannelOf (int code);

    juce::Array<ChannelRecallingListener*> recallingListeners;

    using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int index, float value) override;
    void nonAutomatableParamValueChanged (int index, juce::var value) override;

private:
    enum Timers
    {
        debounceTimer = 0,
        recallTimer = 1
    };

    void handleAsyncUpdate() override;
    void timerCallback (int timerID) override;
    void applyCode (int code);

    /** Runs the early recall on the message thread, where the recall timer lives. */
    struct EarlyRecall : public juce::AsyncUpdater
    {
        explicit EarlyRecall (MidiChannelParam& mirror)
            : owner (mirror)
        {
        }
        ~EarlyRecall() override { cancelPendingUpdate(); }
        void handleAsyncUpdate() override;
        MidiChannelParam& owner;
    };

    juce::CvParamsManager& store;
    juce::MidiDevice* device;
    const int automatableIndex;
    const int nonAutomatableIndex;
    juce::CvTimerDeadline recallDeadline;
    MidiParam channelSlot;
    EarlyRecall earlyRecall { *this };

    JUCE_DECLARE_NON_COPYABLE (MidiChannelParam)
};

/** What the 16 mirrors that follow the channel mirror share: the unit, its control number, the selected
    channel and the lock, both read on the read thread while the message thread writes them.
*/
class MidiMirror
    : public juce::CvParamsManager::AutomatableParamListener
    , public MidiChannelParam::ChannelRecallingListener
{
public:
    ~MidiMirror() override;

    void setSelectedChannel (int channel) override;

protected:
    enum SlotChannel
    {
        channel1 = 0,
        channel2 = 1
    };

    MidiMirror (juce::MidiDevice* device, juce::CvParamsManager& store, int controlNumber,
                std::vector<int> automatableIndices);

    /** The mirror's own changes and the stereo linkers' copies are not sent: the unit links its channels
        itself.
    */
    bool shouldIgnore (AutomatableParamListener* source) const;

    /** In dual mono a value for the channel that is not selected goes with command 8, every other with 1. */
    void sendToUnit (SlotChannel slotChannel, int deviceValue) const;

    float storedValue (int index) const;
    void installAutomatableSlot (MidiParam& slot, int index, Conversions::ToParameter toParameter,
                                 std::function<void (int)> send);

    juce::CvParamsManager& store;
    juce::MidiDevice* const device;
    const int controlNumber;
    std::atomic<int> selectedChannel { 0 };
    std::atomic<bool> locked { false };
    int heldValues[2] { -1, -1 };

private:
    const std::vector<int> automatableIndices;
};

/** One control of both channels on one control number, the command byte saying which channel a value is for. */
class MidiLRParam : public MidiMirror
{
public:
    MidiLRParam (juce::MidiDevice* device, juce::CvParamsManager& store, int channel1Index, int channel2Index,
                 int controlNumber, Conversions::ToParameter toParameter, Conversions::ToDevice toDevice);

    void paramValueChanged (AutomatableParamListener* source, int index, float value) override;
    using MidiMirror::paramValueChanged;
    void sendForced() override;
    void lockReceiving (bool shouldLock) override;

    /** Read thread: a value from the unit. */
    void paramMidiChanged (int deviceValue);

private:
    void sendOrHold (SlotChannel slotChannel, int deviceValue);

    const int indices[2];
    const Conversions::ToDevice toDevice;
    MidiParam slots[2];
};

/** One parameter that exists once, on a control number of its own ("MS MATRIX"). */
class MidiMonoParam : public MidiMirror
{
public:
    MidiMonoParam (juce::MidiDevice* device, juce::CvParamsManager& store, int index, int controlNumber,
                   Conversions::ToParameter toParameter, Conversions::ToDevice toDevice);

    using MidiMirror::paramValueChanged;
    void paramValueChanged (int index, float value) override;
    void sendForced() override;
    void lockReceiving (bool shouldLock) override;

    /** Read thread: a value from the unit. */
    void paramMidiChanged (int deviceValue);

private:
    void sendOrHold (int deviceValue);

    const int index;
    const Conversions::ToDevice toDevice;
    MidiParam slot;
};

/** Several controls packed as bit fields of one device value per channel: each send ORs the member's value
    with the other members' values as the store holds them, and a received value goes to every member of the
    channel, whose converter picks out its own bits.
*/
class MidiPackedMirror : public MidiMirror
{
public:
    struct Member
    {
        int indices[2];
        Conversions::ToParameter toParameter;
        Conversions::ToDevice toDevice;
    };

    void paramValueChanged (AutomatableParamListener* source, int index, float value) override;
    using MidiMirror::paramValueChanged;
    void sendForced() override;
    void lockReceiving (bool shouldLock) override;

    /** Read thread: a value from the unit. */
    void paramMidiChanged (int deviceValue);

protected:
    MidiPackedMirror (juce::MidiDevice* device, juce::CvParamsManager& store, int controlNumber,
                      std::vector<Member> members);

    /** The device value of a channel made of every member but the one given (-1 for none). */
    virtual int packedValue (SlotChannel slotChannel, int exceptMember) const;

    void sendPacked (SlotChannel slotChannel, int deviceValue);

    /** Unlocking: the value held back for a channel goes through each of that channel's slots. */
    virtual void sendHeld (SlotChannel slotChannel, int heldValue);

    /** Read thread: a received value for slots beyond the members'. */
    virtual void receiveAlso (int deviceValue);

    const std::vector<Member> members;
    std::vector<std::unique_ptr<MidiParam>> slots; // member m channel c at 2 m + c

private:
    static std::vector<int> indicesOf (const std::vector<Member>& members);
};

/** LO CPS and KCS ATT of both channels on control number 13. */
class MidiSwitchParams : public MidiPackedMirror
{
public:
    MidiSwitchParams (juce::MidiDevice* device, juce::CvParamsManager& store, int aChannel1Index, int aChannel2Index,
                      int controlNumber, Conversions::ToParameter aToParameter, Conversions::ToDevice aToDevice,
                      int bChannel1Index, int bChannel2Index, Conversions::ToParameter bToParameter,
                      Conversions::ToDevice bToDevice);
};

/** The five switches of each channel and "A/B SELECTED" on control number 15. "A/B SELECTED" travels in every
    value of the unit's channel 2, and of channel 1 too, since the unit keeps one A/B state.
*/
class MidiBoolParams
    : public MidiPackedMirror
    , public juce::CvParamsManager::NonAutomatableParamListener
{
public:
    MidiBoolParams (juce::MidiDevice* device, juce::CvParamsManager& store, std::vector<Member> flags,
                    int controlNumber, int abIndex, Conversions::ToValue abToValue,
                    Conversions::ValueToDevice abToDevice);
    ~MidiBoolParams() override;

    void nonAutomatableParamValueChanged (int index, juce::var value) override;

private:
    int packedValue (SlotChannel slotChannel, int exceptMember) const override;
    void sendHeld (SlotChannel slotChannel, int heldValue) override;
    void receiveAlso (int deviceValue) override;

    const int abIndex;
    const Conversions::ToValue abToValue;
    const Conversions::ValueToDevice abToDevice;
    MidiParam abSlot;
};
