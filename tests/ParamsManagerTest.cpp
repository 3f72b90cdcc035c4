#include "PluginInstance.h"
#include "ValueTexts.h"
#include "support/MessageLoop.h"
#include "support/ScopedSettingsFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using TextFunction = juce::String (*) (float);

struct Row
{
    const char* channel1Name;
    const char* channel2Name;
    const char* idPrefix;
    float defaultValue;
    TextFunction text;
};

// Control k of channel 1 is index k, of channel 2 index k + 20; the last two rows are indices 40 and 41.
const Row rows[] {
    { "ENGAGE 1/LINK", "ENGAGE 2", "ENGAGE ", 1.0f, ValueTexts::switchText },
    { "HPF IN 1/LINK", "HPF IN 2", "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "HPF FREQ 1/LINK", "HPF FREQ 2", "HPF FREQ ", 0.0f, ValueTexts::hpfFrequencyText },
    { "EQ1 IN 1/LINK", "EQ1 IN 2", "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "EQ1 GAIN 1/LINK", "EQ1 GAIN 2", "EQ GAIN ", 0.5f, ValueTexts::gainText },
    { "EQ1 Q 1/LINK", "EQ1 Q 2", "EQ Q ", 0.5f, ValueTexts::qText },
    { "EQ1 FREQ 1/LINK", "EQ1 FREQ 2", "EQ1 FREQ ", 0.5f, ValueTexts::eq1FrequencyText },
    { "EQ2 IN 1/LINK", "EQ2 IN 2", "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "EQ2 GAIN 1/LINK", "EQ2 GAIN 2", "EQ GAIN ", 0.5f, ValueTexts::gainText },
    { "EQ2 Q 1/LINK", "EQ2 Q 2", "EQ Q ", 0.5f, ValueTexts::qText },
    { "EQ2 FREQ 1/LINK", "EQ2 FREQ 2", "EQ2 FREQ ", 0.5f, ValueTexts::eq2FrequencyText },
    { "PEQ IN 1/LINK", "PEQ IN 2", "ENGAGE ", 0.0f, ValueTexts::switchText },
    { "LO BOOST 1/LINK", "LO BOOST 2", "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "LO ATTEN 1/LINK", "LO ATTEN 2", "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "LO CPS 1/LINK", "LO CPS 2", "LO CPS", 0.5f, ValueTexts::loCpsText },
    { "HI BOOST 1/LINK", "HI BOOST 2", "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "HI ATTEN 1/LINK", "HI ATTEN 2", "PULTEC ENCODER ", 0.0f, ValueTexts::encoderText },
    { "HI BW 1/LINK", "HI BW 2", "PULTEC ENCODER ", 0.5f, ValueTexts::encoderText },
    { "KCS BST 1/LINK", "KCS BST 2", "KCS BOOST ", 0.5f, ValueTexts::kcsBoostText },
    { "KCS ATT 1/LINK", "KCS ATT 2", "KCS ATTEN ", 0.5f, ValueTexts::kcsAttenText },
    { "CHANNEL", nullptr, "CHANNEL ", 0.0f, ValueTexts::channelText },
    { "MS MATRIX", nullptr, "MS MATRIX ", 0.0f, ValueTexts::switchText },
};

const juce::Identifier guiThemeKey ("GUI_THEME_CHOOSER");
constexpr int channelIndex = 40;
constexpr int selectedChannelIndex = 3;
constexpr int guiThemeIndex = 9;

juce::ValueTree readSettingsFile()
{
    juce::FileInputStream input (juce::CvSettingsFile::getDefaultLocation());
    return input.openedOk() ? juce::ValueTree::readFromStream (input) : juce::ValueTree();
}

void writeSettingsFile (const juce::ValueTree& content)
{
    juce::MemoryOutputStream data;
    content.writeToStream (data);
    const auto file = juce::CvSettingsFile::getDefaultLocation();
    file.getParentDirectory().createDirectory();
    file.replaceWithData (data.getData(), data.getDataSize());
}

// Writes down every value change and gesture of the automatable parameters, in the order they arrive.
class Recorder : public juce::CvParamsManager::AutomatableParamListener
{
public:
    explicit Recorder (juce::CvParamsManager& managerToWatch)
        : manager (managerToWatch)
    {
        for (int index = 0; index < manager.automatableParams.size(); ++index)
            manager.addParamListener (this, index, juce::CvParamsManager::registerOnly);
    }

    ~Recorder() override
    {
        for (auto* record : manager.automatableParams)
            record->listeners.removeAllInstancesOf (this);
    }

    using AutomatableParamListener::paramGestureChanged;
    using AutomatableParamListener::paramValueChanged;

    void paramValueChanged (AutomatableParamListener* source, int index, float value) override
    {
        events.push_back ("set " + std::to_string (index) + " " + std::to_string (value) + by (source));
    }

    void paramGestureChanged (AutomatableParamListener* source, int index, bool starting) override
    {
        events.push_back ((starting ? "begin " : "end ") + std::to_string (index) + by (source));
    }

    std::vector<std::string> events;

private:
    static std::string by (AutomatableParamListener* source) { return source == nullptr ? "" : " by a listener"; }

    juce::CvParamsManager& manager;
};

float seed (int index)
{
    return (float) index / 64.0f;
}

// Gives every control of both channels its own value without notifying anyone, so the linkers copy nothing.
void seedChannels (juce::CvParamsManager& manager)
{
    for (int index = 0; index < 40; ++index)
        manager.automatableParams[index]->value = seed (index);
}

class ParamsManagerTest : public testing::Test
{
protected:
    testsupport::ScopedSettingsFile settingsFile;
    Vu418dPluginInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
};
} // namespace

TEST_F (ParamsManagerTest, OffersTheHostNamedParametersWithTheirIdsDefaultsAndTexts)
{
    const auto& parameters = instance.getParameters();
    ASSERT_EQ (parameters.size(), 42);

    for (int index = 0; index < parameters.size(); ++index)
    {
        SCOPED_TRACE (index);
        const auto& row = rows[index < 40 ? index % 20 : index - 20];
        const auto id = row.idPrefix + juce::String (index);
        auto* parameter = dynamic_cast<juce::CvDawParameter*> (parameters[index]);
        ASSERT_NE (parameter, nullptr);
        const auto& withId = static_cast<const juce::AudioProcessorParameterWithID&> (*parameter);

        EXPECT_EQ (parameter->getName (1024), index >= 20 && index < 40 ? row.channel2Name : row.channel1Name);
        EXPECT_EQ (parameter->getParameterID(), id);
        EXPECT_EQ (withId.paramID, id);
        EXPECT_EQ (parameter->getVersionHint(), 1);
        EXPECT_EQ (parameter->getDefaultValue(), row.defaultValue);
        EXPECT_EQ (parameter->getValue(), row.defaultValue);
        EXPECT_EQ (manager.automatableParams[index]->value, row.defaultValue);
        EXPECT_EQ (parameter->getLabel(), "");
        EXPECT_EQ (parameter->getCategory(), juce::AudioProcessorParameter::genericParameter);
        EXPECT_TRUE (parameter->isAutomatable());
        EXPECT_FALSE (parameter->isOrientationInverted());

        const auto& range = parameter->getRange();
        EXPECT_TRUE (range.start == 0.0 && range.end == 1.0 && range.interval == 0.0 && range.skew == 1.0 &&
                     ! range.symmetricSkew);

        const auto textFunction = Vu418dParamsManager::getValueToTextFunction (index);
        ASSERT_TRUE (textFunction);

        for (auto v : { 0.0f, 0.3f, 0.5f, 0.8f, 1.0f })
        {
            EXPECT_EQ (parameter->getText (v, 1024), row.text (v)) << v;
            EXPECT_EQ (textFunction (v), row.text (v)) << v;
        }
    }

    EXPECT_FALSE (Vu418dParamsManager::getValueToTextFunction (-1));
    EXPECT_FALSE (Vu418dParamsManager::getValueToTextFunction (42));
}

TEST_F (ParamsManagerTest, StartsWithTheInitialValuesOfTheRunningInstance)
{
    const std::pair<const char*, juce::var> expected[] {
        { "IS CONNECTED", false },  { "CONNECTED DEV SN", -1 }, { "SHOULD BE CONNECTED", true },
        { "SELECTED CHANNEL", 0 },  { "PANELS OPENED", false }, { "A/B SELECTED", false },
        { "CAN BE MS", false },     { "CLIP L", false },        { "CLIP R", false },
        { "GUI THEME CHOOSER", 0 },
    };

    ASSERT_EQ (manager.nonAutomatableParams.size(), 10);

    for (int index = 0; index < 10; ++index)
    {
        const auto& [name, value] = expected[index];
        const auto& actual = manager.nonAutomatableParams[index]->value;
        EXPECT_STREQ (ParamData::naParamName[index], name);
        EXPECT_TRUE (actual.hasSameTypeAs (value) && actual == value) << name << " is " << actual.toString();
    }
}

TEST_F (ParamsManagerTest, StartsWithTheChannelsLinked)
{
    manager.setParamValue (nullptr, 4, 0.25f);
    EXPECT_TRUE (testsupport::pumpUntil ([this] { return manager.automatableParams[24]->value == 0.25f; }, 1000));
}

TEST_F (ParamsManagerTest, CopiesSelectedChannelWhenGoingToStereo)
{
    manager.setParamValue (nullptr, channelIndex, 1.0f);
    manager.setNonAutomatableParamValue (nullptr, selectedChannelIndex, 1);
    seedChannels (manager);
    const Recorder recorder (manager);

    manager.setParamValue (nullptr, channelIndex, 0.0f);

    std::vector<std::string> expected;

    for (int k = 0; k < 20; ++k)
    {
        expected.push_back ("begin " + std::to_string (k));
        expected.push_back ("set " + std::to_string (k) + " " + std::to_string (seed (k + 20)));
        expected.push_back ("end " + std::to_string (k));
    }

    expected.push_back ("set 40 " + std::to_string (0.0f));
    EXPECT_EQ (recorder.events, expected);
}

TEST_F (ParamsManagerTest, CopiesOnlyFromDualMonoToStereoByOtherWritersThanTheHost)
{
    struct Case
    {
        float from, to;
        int selected;
        bool fromHost, copies;
    };

    const Case cases[] {
        { 1.0f, 0.0f, 0, false, true },  { 1.0f, 0.5f, 1, false, true },  { 1.0f, 0.0f, 1, true, false },
        { 0.0f, 0.0f, 1, false, false }, { 0.4f, 0.0f, 1, false, false }, { 0.5f, 0.0f, 1, false, false },
        { 1.0f, 0.6f, 1, false, false }, { 1.0f, 0.0f, 5, false, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.from << " -> " << c.to << ", selected " << c.selected << ", host "
                                         << c.fromHost);
        Vu418dPluginInstance fresh;
        auto& freshManager = fresh.getParamsManager();
        freshManager.setParamValue (nullptr, channelIndex, c.from);
        freshManager.setNonAutomatableParamValue (nullptr, selectedChannelIndex, c.selected);
        seedChannels (freshManager);

        auto* host = c.fromHost ? dynamic_cast<juce::CvDawParameter*> (fresh.getParameters()[channelIndex]) : nullptr;
        freshManager.setParamValue (host, channelIndex, c.to);

        EXPECT_EQ (freshManager.automatableParams[channelIndex]->value, c.to);

        // A copy lands on the channel that is not selected.
        for (int index = 0; index < 40; ++index)
            EXPECT_EQ (freshManager.automatableParams[index]->value,
                       seed (c.copies && index / 20 != c.selected ? (index + 20) % 40 : index))
                << index;
    }
}

TEST_F (ParamsManagerTest, RemembersTheGuiThemeInTheSettingsFile)
{
    auto& settings = juce::CvSettingsFile::singletonHolder.get()->settings;

    manager.setNonAutomatableParamValue (nullptr, 8, true);
    EXPECT_FALSE (settings.hasProperty (guiThemeKey));

    manager.setNonAutomatableParamValue (nullptr, guiThemeIndex, 1);
    EXPECT_EQ (settings[guiThemeKey], juce::var (1));
    EXPECT_EQ (manager.nonAutomatableParams[guiThemeIndex]->value, juce::var (1));
    EXPECT_TRUE (testsupport::pumpUntil ([] { return readSettingsFile()[guiThemeKey] == juce::var (1); }, 1000));
}

TEST_F (ParamsManagerTest, StartsWithTheGuiThemeStoredInTheSettingsFile)
{
    juce::ValueTree stored (juce::CvSettingsFile::settingsType);
    stored.setProperty (guiThemeKey, 1, nullptr);
    writeSettingsFile (stored);

    // The settings object is already loaded without a theme: the new instance must read the file again.
    const Vu418dPluginInstance another;
    EXPECT_EQ (another.getParamsManager().nonAutomatableParams[guiThemeIndex]->value, juce::var (1));
}
