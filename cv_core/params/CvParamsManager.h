#pragma once

namespace juce
{

class CvDawParameter;

/** The one place where the plug-in's parameter values live.

    Everything that shows or changes a value registers as a listener on the indices it cares about and writes
    through the store, naming itself as the source of the change; the store then tells every other listener.
    The store takes no lock: every operation runs on the message thread.
*/
class CvParamsManager
{
public:
    /** Listener of automatable values and gestures. The default three-argument bodies skip changes whose source
        is the listener itself, so implementers that only override the two-argument forms never hear their own
        changes.
    */
    class AutomatableParamListener
    {
    public:
        virtual ~AutomatableParamListener() = default;

        virtual void paramValueChanged (AutomatableParamListener* source, int index, float value)
        {
            if (source != this)
                paramValueChanged (index, value);
        }

        virtual void paramValueChanged (int /*index*/, float /*value*/) {}

        virtual void paramGestureChanged (AutomatableParamListener* source, int index, bool starting)
        {
            if (source != this)
                paramGestureChanged (index, starting);
        }

        virtual void paramGestureChanged (int /*index*/, bool /*starting*/) {}
    };

    /** Listener of non-automatable values; the store itself skips the source of a change. */
    class NonAutomatableParamListener
    {
    public:
        virtual ~NonAutomatableParamListener() = default;
        virtual void nonAutomatableParamValueChanged (int index, var value) = 0;
    };

    enum ListenerInitState
    {
        sendCurrentValue = 0,
        registerOnly = 1
    };

    struct AutomatableParameter
    {
        AutomatableParameter (CvParamsManager& owner, int indexInStore, CvDawParameter& hostFacingParameter);

        AudioProcessorParameter* hostParameter;
        Array<AutomatableParamListener*> listeners;
        CvParamsManager* manager;
        int index;
        float value;
        int gestureCount = 0;

        JUCE_DECLARE_NON_COPYABLE (AutomatableParameter)
    };

    struct NonAutomatableParamData
    {
        explicit NonAutomatableParamData (const var& initialValue)
            : value (initialValue)
        {
        }

        var value;
        Array<NonAutomatableParamListener*> listeners;

        JUCE_DECLARE_NON_COPYABLE (NonAutomatableParamData)
    };

    CvParamsManager() = default;
    virtual ~CvParamsManager() = default;

    virtual void setParamValue (AutomatableParamListener* source, int index, float value);
    virtual void beginParamGesture (AutomatableParamListener* source, int index);
    virtual void endParamGesture (AutomatableParamListener* source, int index);
    virtual void setNonAutomatableParamValue (NonAutomatableParamListener* source, int index, var value);

    void addParamListener (AutomatableParamListener* listener, int index, ListenerInitState state);
    void addNonAutomatableParamListener (NonAutomatableParamListener* listener, int index, ListenerInitState state);
    void addNonAutomatableParam (var initialValue);

    /** Creates the record of the next automatable index from its host-facing parameter, which becomes the
        record's first listener.
    */
    void addAutomatableParam (CvDawParameter& hostParameter);

    /** Applies now the host writes that still wait for the message loop, so that a change made afterwards comes
        after them. Runs on the message thread or with it held.
    */
    void deliverPendingHostWrites();

    /** Drops the host writes that still wait for the message loop: they must not reach a store that is going. */
    void cancelPendingHostWrites();

    /** How many times the host has written each automatable value; callable on any thread. Taken when the host
        calls for a restore, it tells later which values the host wrote after that call.
    */
    std::vector<uint32> countHostWrites() const;

    /** Runs a restore the host called for when it had written its values as often as given, however late the
        message thread gets to it: host writes still waiting go first, and what the host wrote after the call is
        left standing. Runs on the message thread or with it held.
    */
    void restoreAsHostCall (const std::vector<uint32>& hostWritesBefore, const std::function<void()>& restore);

    /** Whether the host has written the value of an index since the call of the restore being run. */
    bool isWrittenSinceRunningRestore (int index, uint32 hostWrites) const noexcept;

    OwnedArray<AutomatableParameter> automatableParams;
    OwnedArray<NonAutomatableParamData> nonAutomatableParams;

private:
    void notifyGesture (AutomatableParameter& record, AutomatableParamListener* source, bool starting);

    const std::vector<uint32>* hostWritesBeforeRunningRestore = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvParamsManager)
};

} // namespace juce
