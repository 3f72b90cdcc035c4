#pragma once

namespace juce
{

/** The host's view of one automatable parameter.

    Host writes arrive on any thread: they are kept in an atomic and handed to the store on the message thread,
    several writes collapsing into one delivery. Changes made inside the plug-in reach this parameter as a store
    listener and are passed on to the host with their gestures. The parameter counts the host's writes, so that a
    restore the host called for earlier, and the message thread runs later, does not undo a later one.
*/
class CvDawParameter
    : public AudioProcessorParameterWithID
    , public AsyncUpdater
    , public CvParamsManager::AutomatableParamListener
{
public:
    using ValueToText = std::function<String (float)>;

    struct Options
    {
        ParameterID parameterID;
        String name;
        NormalisableRange<double> range { 0.0, 1.0 };
        float defaultValue = 0.0f;
        String label;
        Category category = genericParameter;
        int decimalPlaces = 2;
        ValueToText valueToText;
    };

    CvDawParameter (CvParamsManager& manager, int index, Options options);
    ~CvDawParameter() override;

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    String getName (int maximumStringLength) const override;
    String getText (float normalisedValue, int maximumStringLength) const override;
    float getValueForText (const String& text) const override;

    const NormalisableRange<double>& getRange() const noexcept { return range; }
    int getIndex() const noexcept { return index; }

    /** How many times the host has written the value; the count wraps around. */
    uint32 getHostWriteCount() const noexcept { return value.load().hostWrites; }

    /** Hands the host's value to the store if the host has written it since it had written it as often as given. */
    void deliverIfWrittenSince (uint32 hostWrites);

    using CvParamsManager::AutomatableParamListener::paramGestureChanged;
    using CvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int index, float value) override;
    void paramGestureChanged (int index, bool starting) override;

private:
    void handleAsyncUpdate() override;
    void deliver (float normalised);

    const ValueToText valueToText;
    CvParamsManager& manager;
    const int index;
    const NormalisableRange<double> range;
    struct HostValue
    {
        float normalised;
        uint32 hostWrites;
    };

    std::atomic<HostValue> value;
    static_assert (std::atomic<HostValue>::is_always_lock_free);
    const float defaultValue;
    const int decimalPlaces;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvDawParameter)
};

} // namespace juce
