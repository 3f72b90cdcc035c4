#pragma once

#include <cv_core/cv_core.h>

#include <vector>

namespace testsupport
{
/** A store listener that records every call it receives, its own changes included. */
class RecordingListener
    : public juce::CvParamsManager::AutomatableParamListener
    , public juce::CvParamsManager::NonAutomatableParamListener
{
public:
    enum class Kind
    {
        value,
        gestureBegin,
        gestureEnd,
        nonAutomatable
    };

    struct Event
    {
        Kind kind;
        int index;
        float value;
        const void* source;
        juce::var naValue;
    };

    using juce::CvParamsManager::AutomatableParamListener::paramGestureChanged;
    using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;

    void paramValueChanged (AutomatableParamListener* source, int index, float value) override
    {
        events.push_back ({ Kind::value, index, value, source, {} });
    }

    void paramGestureChanged (AutomatableParamListener* source, int index, bool starting) override
    {
        events.push_back ({ starting ? Kind::gestureBegin : Kind::gestureEnd, index, 0.0f, source, {} });
    }

    void nonAutomatableParamValueChanged (int index, juce::var value) override
    {
        events.push_back ({ Kind::nonAutomatable, index, 0.0f, nullptr, value });
    }

    std::vector<Event> eventsFor (int index) const
    {
        std::vector<Event> result;

        for (const auto& event : events)
            if (event.index == index)
                result.push_back (event);

        return result;
    }

    std::vector<Event> events;
};

/** Counts what a host hears from one parameter. */
class HostRecorder : public juce::AudioProcessorParameter::Listener
{
public:
    void parameterValueChanged (int, float newValue) override { values.push_back (newValue); }

    void parameterGestureChanged (int, bool starting) override { gestures.push_back (starting); }

    std::vector<float> values;
    std::vector<bool> gestures;
};
} // namespace testsupport
