#include "ParamTools.h"

#include "ParamData.h"

#include <sstream>

StereoParameterLinker::StereoParameterLinker (juce::CvParamsManager& paramsManager, int firstIndex, int secondIndex)
    : manager (paramsManager)
    , index1 (firstIndex)
    , index2 (secondIndex)
{
    for (auto index : { index1, index2 })
        if (auto* record = manager.automatableParams[index])
            record->listeners.addIfNotAlreadyThere (this);

    manager.addParamListener (this, ParamData::channel, juce::CvParamsManager::sendCurrentValue);
    addActionListener (this);
}

StereoParameterLinker::~StereoParameterLinker()
{
    for (auto index : { index1, index2, (int) ParamData::channel })
        if (auto* record = manager.automatableParams[index])
            record->listeners.removeAllInstancesOf (this);
}

void StereoParameterLinker::paramValueChanged (AutomatableParamListener* source, int index, float value)
{
    if (index == ParamData::channel)
    {
        linked.store (value < 0.5f, std::memory_order_release);
        return;
    }

    const auto fromHost = dynamic_cast<juce::CvDawParameter*> (source) != nullptr;

    if (linked.load (std::memory_order_acquire) && source != this && ! fromHost)
        if (const auto partner = partnerOf (index); partner >= 0)
            post (setValue, partner, value);
}

// Host gestures are copied too: they bracket values that the host writes to both channels itself.
void StereoParameterLinker::paramGestureChanged (AutomatableParamListener* source, int index, bool starting)
{
    if (linked.load (std::memory_order_acquire) && source != this)
        if (const auto partner = partnerOf (index); partner >= 0)
            post (starting ? beginGesture : endGesture, partner, 0.0f);
}

int StereoParameterLinker::partnerOf (int index) const
{
    if (index == index1)
        return index2;

    if (index == index2)
        return index1;

    return -1;
}

// The value travels as text with six significant digits, printed independently of the host's locale.
void StereoParameterLinker::post (Command command, int index, float value)
{
    std::ostringstream text;
    text.imbue (std::locale::classic());
    text << (int) command << '|' << index << '|' << (double) value;
    sendActionMessage (text.str());
}

// A message posted while linked is applied even if CHANNEL has changed since.
void StereoParameterLinker::actionListenerCallback (const juce::String& message)
{
    juce::StringArray tokens;
    tokens.addTokens (message, "|", "\"");

    if (tokens.size() < 3)
        return;

    const auto index = tokens[1].getIntValue();

    switch (tokens[0].getIntValue())
    {
        case setValue:
            manager.setParamValue (this, index, (float) tokens[2].getDoubleValue());
            break;
        case beginGesture:
            manager.beginParamGesture (this, index);
            break;
        case endGesture:
            manager.endParamGesture (this, index);
            break;
        default:
            break;
    }
}
