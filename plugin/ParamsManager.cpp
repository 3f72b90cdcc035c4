#include "ParamsManager.h"

#include "ParamTools.h"
#include "ValueTexts.h"

#include <array>
#include <cmath>
#include <optional>
#include <vector>

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

// Hosts create instances by the dozen while scanning: every instance shares these strings instead of building
// its own 42 IDs and names.
struct HostStrings
{
    juce::String ids[ParamData::numAutomatable], names[ParamData::numAutomatable];
};

const HostStrings& hostStrings()
{
    static const HostStrings strings = []
    {
        HostStrings built;

        for (int index = 0; index < ParamData::numAutomatable; ++index)
        {
            built.ids[index] = juce::String (rowOf (index).idPrefix) + juce::String (index);
            built.names[index] = ParamData::paramName[index];
        }

        return built;
    }();

    return strings;
}

const juce::Identifier guiThemeKey ("GUI_THEME_CHOOSER");

namespace StateIds
{
const juce::Identifier root ("CV_VU418D_3_0_0");
const juce::Identifier preset ("PRESET");
const juce::Identifier presetNumber ("PRESET_NO");
const juce::Identifier param ("PARAM");
const juce::Identifier settings ("SETTINGS");
const juce::Identifier naParam ("NA_PARAM");
const juce::Identifier name ("NAME");
const juce::Identifier paramId ("PARAM_ID");
const juce::Identifier value ("VALUE");
} // namespace StateIds

const juce::XmlElement* firstChildNamedIgnoringCase (const juce::XmlElement& parent, juce::StringRef tagName)
{
    for (auto* child : parent.getChildIterator())
        if (child->getTagName().equalsIgnoreCase (tagName))
            return child;

    return nullptr;
}

// The store holds the types the plug-in writes itself: text, a huge number or an array from a damaged blob must not
// reach the code that reads these values as ints and flags.
std::optional<juce::var> storeValueOf (int index, const juce::var& stored)
{
    const auto number = juce::CvStateReader::readInt (stored);

    if (! number.has_value())
        return {};

    if (index == ParamData::shouldBeConnected || index == ParamData::panelsOpened)
        return juce::var (*number != 0);

    return juce::var (*number);
}

// Out-of-range values from a damaged blob would reach the host and the unit; the store holds only 0..1.
float restoredValue (const juce::var& stored, float fallback)
{
    const auto value = juce::CvStateReader::readDouble (stored);
    return std::isfinite (value) ? (float) juce::jlimit (0.0, 1.0, value) : fallback;
}

// A legacy value is taken as the float it was stored as and then checked: "1.00000001" is the float 1. Beyond
// the float range a double has no float, and every such value lies outside 0..1 anyway.
std::optional<float> legacyValue (const juce::String& text)
{
    const auto value = (float) juce::jlimit (-2.0, 2.0, juce::CvStateReader::readDouble (text));

    if (! (value >= 0.0f && value <= 1.0f))
        return {};

    return value == 0.0f ? 0.0f : value; // a tiny negative number is the float -0, applied as 0
}

// The value each channel control of a legacy preset ends with, in the order the controls first appear. A file
// may name a control many times, and in STEREO every write posts the stereo linkers' copies: writing each once
// keeps a long file from flooding the message thread.
std::vector<std::pair<int, float>> lastLegacyValues (const juce::XmlElement& parameters, bool stereo)
{
    std::vector<std::pair<int, float>> values;
    std::array<int, ParamData::channel> positionOf;
    positionOf.fill (-1);

    for (auto* parameter : parameters.getChildIterator())
    {
        if (parameter->isTextElement())
            continue;

        const auto index = juce::CvStateReader::readInt (parameter->getTagName()).value_or (-1);
        const auto value = legacyValue (parameter->getStringAttribute ("value"));

        if (! juce::isPositiveAndBelow (index, ParamData::channel) || ! value.has_value() ||
            (stereo && index >= ParamData::numChannelControls))
            continue;

        if (positionOf[(size_t) index] < 0)
        {
            positionOf[(size_t) index] = (int) values.size();
            values.emplace_back (index, *value);
        }

        values[(size_t) positionOf[(size_t) index]].second = *value;
    }

    return values;
}
} // namespace

Vu418dParamsManager::Vu418dParamsManager (Vu418dPluginInstance&)
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
        options.parameterID = juce::ParameterID (hostStrings().ids[index], 1);
        options.name = hostStrings().names[index];
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
        keepInState (index, initialValues[index]);
        barriers.add (new juce::ThreadBarierNonAutomatableParameter (*this, index));
    }
}

// Read anew for every instance, so a theme chosen in another process since is taken.
juce::var Vu418dParamsManager::readStoredGuiTheme()
{
    return juce::CvStateReader::readInt (juce::CvSettingsFile::loadProperty (guiThemeKey, 0)).value_or (0);
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
        writeAsGesture (k + toOffset, automatableParams.getUnchecked (k + fromOffset)->value);
}

void Vu418dParamsManager::setNonAutomatableParamValue (NonAutomatableParamListener* source, int index, juce::var value)
{
    if (index == ParamData::guiThemeChooser)
        juce::CvSettingsFile::storeProperty (guiThemeKey, value);

    if (juce::isPositiveAndBelow (index, nonAutomatableParams.size()))
        keepInState (index, value);

    CvParamsManager::setNonAutomatableParamValue (source, index, std::move (value));
}

void Vu418dParamsManager::keepInState (int index, const juce::var& value)
{
    const juce::ScopedLock lock (stateLock);
    nonAutomatableCopy.set (index, value);
}

// The tree is built on the first save and keeps its shape; later saves only refresh its values, which costs
// far less than building it anew.
void Vu418dParamsManager::writeState (juce::OutputStream& stream)
{
    const juce::ScopedLock lock (stateLock);

    if (! state.isValid())
        state = createStateTree();

    auto preset = state.getChild (0);
    auto settingsNode = state.getChild (1);

    for (int index = 0; index < ParamData::numAutomatable; ++index)
        preset.getChild (index).setProperty (
            StateIds::value, (double) automatableParams.getUnchecked (index)->hostParameter->getValue(), nullptr);

    for (int index = 0; index < ParamData::numNonAutomatable; ++index)
        settingsNode.getChild (index).setProperty (StateIds::value, nonAutomatableCopy[index], nullptr);

    state.writeToStream (stream);
}

juce::ValueTree Vu418dParamsManager::createStateTree()
{
    juce::ValueTree preset (StateIds::preset);
    preset.setProperty (StateIds::presetNumber, 0, nullptr);

    for (int index = 0; index < ParamData::numAutomatable; ++index)
        preset.appendChild (juce::ValueTree (StateIds::param)
                                .setProperty (StateIds::name, ParamData::paramName[index], nullptr)
                                .setProperty (StateIds::paramId, index, nullptr)
                                .setProperty (StateIds::value, 0.0, nullptr),
                            nullptr);

    juce::ValueTree settingsNode (StateIds::settings);

    for (int index = 0; index < ParamData::numNonAutomatable; ++index)
        settingsNode.appendChild (juce::ValueTree (StateIds::naParam)
                                      .setProperty (StateIds::name, ParamData::naParamName[index], nullptr)
                                      .setProperty (StateIds::paramId, index, nullptr)
                                      .setProperty (StateIds::value, -1, nullptr),
                                  nullptr);

    juce::ValueTree root (StateIds::root);
    root.appendChild (preset, nullptr);
    root.appendChild (settingsNode, nullptr);
    return root;
}

void Vu418dParamsManager::setStateInformation (const void* data, int size)
{
    if (data == nullptr || size <= 0)
        return;

    if (const auto xml = juce::CvStateReader::readXml (data, (size_t) size))
        applyXml (*xml);
    else
        applyStateTree (juce::CvStateReader::readValueTree (data, (size_t) size));

    juce::CvStateReader::releaseUnusedNames();

    // This runs on the message thread or with it held, so what the hand-overs took is applied at once: a host
    // that saves right after restoring gets the settings it restored.
    for (auto* barrier : barriers)
        barrier->handleUpdateNowIfNeeded();
}

void Vu418dParamsManager::writeAsGesture (int index, float value)
{
    beginParamGesture (nullptr, index);
    setParamValue (nullptr, index, value);
    endParamGesture (nullptr, index);
}

// A bank applies the last of its presets whose tag number equals the active one. Text between the elements has
// no tag, which would read as the number 0.
void Vu418dParamsManager::applyXml (const juce::XmlElement& root)
{
    if (root.getTagName() == "preset")
    {
        applyXmlPreset (root);
        return;
    }

    if (root.getTagName() != "bank")
        return;

    const auto* presets = firstChildNamedIgnoringCase (root, "presets");

    if (presets == nullptr)
        return;

    const auto active = juce::CvStateReader::readInt (root.getStringAttribute ("active"));

    if (! active.has_value())
        return;

    const juce::XmlElement* chosen = nullptr;

    for (auto* preset : presets->getChildIterator())
        if (! preset->isTextElement() && juce::CvStateReader::readInt (preset->getTagName()) == active)
            chosen = preset;

    if (chosen != nullptr)
        applyXmlPreset (*chosen);
}

// Going to STEREO first lets the stereo linkers copy each channel-1 value written afterwards to channel 2.
void Vu418dParamsManager::applyXmlPreset (const juce::XmlElement& preset)
{
    const auto stereo = preset.getStringAttribute ("state") == "stereo";
    writeAsGesture (ParamData::channel, stereo ? 0.0f : 1.0f);
    writeAsGesture (ParamData::msMatrix, preset.getStringAttribute ("msState") == "ms" ? 1.0f : 0.0f);

    if (const auto* parameters = firstChildNamedIgnoringCase (preset, "parameters"))
        for (const auto& [index, value] : lastLegacyValues (*parameters, stereo))
            writeAsGesture (index, value);
}

void Vu418dParamsManager::applyStateTree (const juce::ValueTree& root)
{
    if (! root.hasType (StateIds::root))
        return;

    for (const auto& child : root)
    {
        if (child.hasType (StateIds::preset))
            applyPreset (child);
        else if (child.hasType (StateIds::settings))
            applySettings (child);
    }
}

// Values are applied by position. DUAL MONO unlinks the channels while they are written; CHANNEL comes last,
// so going back to STEREO copies the selected channel onto the other.
void Vu418dParamsManager::applyPreset (const juce::ValueTree& preset)
{
    // Absent, void or no number at all reads 0; a number that no int holds is no number of ours either.
    if (juce::CvStateReader::readInt (preset.getProperty (StateIds::presetNumber, 0)) != 0)
        return;

    writeAsGesture (ParamData::channel, 1.0f);
    std::optional<float> channelValue;

    for (int position = 0; position < preset.getNumChildren(); ++position)
    {
        const auto param = preset.getChild (position);

        if (! param.hasType (StateIds::param))
            continue;

        const auto fallback = getDefaultValue (position);
        const auto value = param.hasProperty (StateIds::value)
                               ? restoredValue (param.getProperty (StateIds::value), fallback)
                               : fallback;

        if (position == ParamData::channel)
            channelValue = value;
        else
            writeAsGesture (position, value);
    }

    if (channelValue.has_value())
        writeAsGesture (ParamData::channel, *channelValue);
}

// Only what the user chose is restored; the state of the connection and of the editor's selection is not.
// A stored serial number is taken only while the current one is 0, so the initial -1 keeps it out. Every stored
// value is carried into the saved state all the same, so a host that saves right after a restore loses none.
void Vu418dParamsManager::applySettings (const juce::ValueTree& settingsNode)
{
    for (const auto& param : settingsNode)
    {
        if (! param.hasProperty (StateIds::paramId))
            continue;

        const auto index = juce::CvStateReader::readInt (param.getProperty (StateIds::paramId)).value_or (-1);

        if (! juce::isPositiveAndBelow (index, ParamData::numNonAutomatable))
            continue;

        const auto* stored = param.getPropertyPointer (StateIds::value);

        if (stored != nullptr)
            keepInState (index, *stored);

        const auto restorable =
            index == ParamData::shouldBeConnected || index == ParamData::panelsOpened ||
            index == ParamData::guiThemeChooser ||
            (index == ParamData::connectedDevSn && nonAutomatableParams[index]->value == juce::var (0));

        if (! restorable)
            continue;

        if (stored == nullptr)
            barriers[index]->setValue (nonAutomatableParams[index]->value);
        else if (const auto value = storeValueOf (index, *stored))
            barriers[index]->setValue (*value);
    }
}
