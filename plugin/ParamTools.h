#pragma once

#include <cv_core/cv_core.h>

/** Keeps one control of the two channels together while CHANNEL is STEREO.

    Value changes and gestures of one member are copied onto the other on a later turn of the message loop,
    through action messages the linker posts to itself, with the linker as source so nothing is copied back.
    Host automation is not copied: the host writes each channel's parameter itself.
*/
class StereoParameterLinker
    : public juce::ActionListener
    , public juce::ActionBroadcaster
    , public juce::CvParamsManager::AutomatableParamListener
{
public:
    StereoParameterLinker (juce::CvParamsManager& manager, int index1, int index2);
    ~StereoParameterLinker() override;

    void actionListenerCallback (const juce::String& message) override;

    using juce::CvParamsManager::AutomatableParamListener::paramGestureChanged;
    using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (AutomatableParamListener* source, int index, float value) override;
    void paramGestureChanged (AutomatableParamListener* source, int index, bool starting) override;

private:
    enum Command
    {
        setValue = 1,
        beginGesture = 2,
        endGesture = 3
    };

    int partnerOf (int index) const;
    void post (Command command, int index, float value);

    juce::CvParamsManager& manager;
    const int index1;
    const int index2;
    std::atomic<bool> linked { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StereoParameterLinker)
};
