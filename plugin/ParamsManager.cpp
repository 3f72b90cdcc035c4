#include "ParamsManager.h"

#include "ParamTools.h"
#include "ValueTexts.h"

namespace
{
using TextFunction = juce::String (*) (float);

struct ControlRow
{
    const char* idPrefix;
    float defaultValue;
    TextFunction text;
};

// One row per channel control k; channel 2's index k + 20 shares it. The ID prefixes are what hosts have
// stored automation under, repeated prefixes included.
constexpr ControlRow channelControls[ParamData::numChannelControls] {
    { "ENGAGE ", 1.0f, ValueTexts::switchText },
    { "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "HPF FREQ ", 0.0f, ValueTexts::hpfFrequencyText },
    { "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "EQ GAIN ", 0.5f, ValueTexts::gainText },
    { "EQ Q ", 0.5f, ValueTexts::qText },
    { "EQ1 FREQ ", 0.5f, ValueTexts::eq1FrequencyText },
    { "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "EQ GAIN ", 0.5f, ValueTexts::gainText },
    { "EQ Q ", 0.5f, ValueTexts::qText },
    { "EQ2 FREQ ", 0.5f, ValueTexts::eq2FrequencyText },
    { "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "LO CPS", 0.5f, ValueTexts::loCpsText },
    { "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "PULTEC ENCODER ", 0.5f, ValueTexts::encoderText },
    { "KCS BOOST ", 0.5f, ValueTexts::kcsBoostText },
    { "KCS ATTEN ", 0.5f, ValueTexts::kcsAttenText },
};

constexpr ControlRow channelRow { "CHANNEL ", 0.0f, ValueTexts::channelText };
constexpr ControlRow msMatrixRow { "MS MATRIX ", 0.0f, ValueTexts::switchText };

const ControlRow& rowOf (int index)
{
    if (index == ParamData::channel)
        return channelRow;

    if (index == ParamData::msMatrix)
        return msMatrixRow;

    return channelControls[index % ParamData::numChannelControls];
}

const juce::Identifier guiThemeKey ("GUI_THEME_CHOOSER");
} // namespace

Vu418dParamsManager::Vu418dParamsManager (Vu418dPluginInstance& ownerInstance)
    : owner (ownerInstance)
    , settings (juce::CvSettingsFile::singletonHolder.get())
{
    addAutomatableParams();
    addNonAutomatableParams();

    for (int k = 0; k < ParamData::numChannelControls; ++k)
        linkers.add (new StereoParameterLinker (*this, k, k + ParamData::numChannelControls));
}

Vu418dParamsManager::~Vu418dParamsManager() = default;

std::function<juce::String (float)> Vu418dParamsManager::getValueToTextFunction (int index)
{
    if (! juce::isPositiveAndBelow (index, ParamData::numAutomatable))
        return {};

    return rowOf (index).text;
}

float Vu418dParamsManager::getDefaultValue (int index)
{
    return juce::isPositiveAndBelow (index, ParamData::numAutomatable) ? rowOf (index).defaultValue : 0.0f;
}

// The host-facing parameters are handed over to the processor, which owns them from then on.
void Vu418dParamsManager::addAutomatableParams()
{
    for (int index = 0; index < ParamData::numAutomatable; ++index)
    {
        const auto& row = rowOf (index);

        juce::CvDawParameter::Options options;
        options.parameterID = juce::ParameterID (juce::String (row.idPrefix) + juce::String (index), 1);
        options.name = ParamData::paramName[index];
        options.defaultValue = row.defaultValue;
        options.valueToText = row.text;

        addAutomatableParam (*new juce::CvDawParameter (*this, index, std::move (options)));
    }
}

void Vu418dParamsManager::addNonAutomatableParams()
{
    const juce::var initialValues[ParamData::numNonAutomatable] { false, -1,    true,  0,     false,
                                                                  false, false, false, false, readStoredGuiTheme() };

    for (int index = 0; index < ParamData::numNonAutomatable; ++index)
    {
        addNonAutomatableParam (initialValues[index]);
        barriers.add (new juce::ThreadBarierNonAutomatableParameter (*this, index));
    }
}

juce::var Vu418dParamsManager::readStoredGuiTheme() const
{
    if (settings == nullptr)
        return 0;

    settings->loadSettings();
    return settings->settings.getProperty (guiThemeKey, 0);
}

void Vu418dParamsManager::setParamValue (AutomatableParamListener* source, int index, float value)
{
    if (index == ParamData::channel && automatableParams.size() > ParamData::channel && value <= 0.5f &&
        automatableParams.getUnchecked (ParamData::channel)->value > 0.5f &&
        dynamic_cast<juce::CvDawParameter*> (source) == nullptr)
        copySelectedChannel();

    CvParamsManager::setParamValue (source, index, value);
}

// Each copied value is a gesture of its own, so the host records it and every listener of the index follows.
void Vu418dParamsManager::copySelectedChannel()
{
    const auto selected = nonAutomatableParams.size() > ParamData::selectedChannel
                              ? (int) nonAutomatableParams.getUnchecked (ParamData::selectedChannel)->value
                              : -1;

    if (selected != ParamData::channel1 && selected != ParamData::channel2)
        return;

    const auto fromOffset = selected == ParamData::channel1 ? 0 : ParamData::numChannelControls;
    const auto toOffset = ParamData::numChannelControls - fromOffset;

    for (int k = 0; k < ParamData::numChannelControls; ++k)
    {
        beginParamGesture (nullptr, k + toOffset);
        setParamValue (nullptr, k + toOffset, automatableParams.getUnchecked (k + fromOffset)->value);
        endParamGesture (nullptr, k + toOffset);
    }
}

void Vu418dParamsManager::setNonAutomatableParamValue (NonAutomatableParamListener* source, int index, juce::var value)
{
    if (index == ParamData::guiThemeChooser && settings != nullptr && settings->file != juce::File())
    {
        settings->settings.setProperty (guiThemeKey, value, nullptr);
        settings->triggerAsyncUpdate();
    }

    CvParamsManager::setNonAutomatableParamValue (source, index, std::move (value));
}
