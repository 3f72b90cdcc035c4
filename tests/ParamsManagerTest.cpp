#include "PluginInstance.h"
#include "ValueTexts.h"
#include "support/MessageLoop.h"
#include "support/RecordingListener.h"
#include "support/ScopedSettingsFile.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using testsupport::RecordingListener;
using Kind = RecordingListener::Kind;

namespace
{
using namespace ValueTexts;

// One entry per control k of a channel (index k of channel 1, named "<name> 1/LINK", and index k + 20 of channel 2,
// named "<name> 2"), then CHANNEL and MS MATRIX (indices 40 and 41).
const char* const names[] { "ENGAGE",   "HPF IN", "HPF FREQ", "EQ1 IN",  "EQ1 GAIN", "EQ1 Q",    "EQ1 FREQ", "EQ2 IN",
                            "EQ2 GAIN", "EQ2 Q",  "EQ2 FREQ", "PEQ IN",  "LO BOOST", "LO ATTEN", "LO CPS",   "HI BOOST",
                            "HI ATTEN", "HI BW",  "KCS BST",  "KCS ATT", "CHANNEL",  "MS MATRIX" };
const char* const idPrefixes[] { "ENGAGE ",         "ENGAGE ",         "HPF FREQ ",  "ENGAGE ",
                                 "EQ GAIN ",        "EQ Q ",           "EQ1 FREQ ",  "ENGAGE ",
                                 "EQ GAIN ",        "EQ Q ",           "EQ2 FREQ ",  "ENGAGE ",
                                 "PULTEC ENCODER ", "PULTEC ENCODER ", "LO CPS",     "PULTEC ENCODER ",
                                 "PULTEC ENCODER ", "PULTEC ENCODER ", "KCS BOOST ", "KCS ATTEN ",
                                 "CHANNEL ",        "MS MATRIX " };
const float defaults[] {
    1, 0, 0, 0, 0.5f, 0.5f, 0.5f, 0, 0.5f, 0.5f, 0.5f, 0, 0, 0, 0.5f, 0, 0, 0.5f, 0.5f, 0.5f, 0, 0
};
juce::String (*const texts[]) (float) {
    switchText,  switchText,  hpfFrequencyText, switchText,   gainText,    qText,       eq1FrequencyText, switchText,
    gainText,    qText,       eq2FrequencyText, switchText,   encoderText, encoderText, loCpsText,        encoderText,
    encoderText, encoderText, kcsBoostText,     kcsAttenText, channelText, switchText
};

const juce::Identifier themeKey ("GUI_THEME_CHOOSER");
constexpr int channel = 40, selectedChannel = 3, guiTheme = 9;

class ParamsManagerTest : public testing::Test
{
protected:
    testsupport::ScopedSettingsFile settingsFile;
    RecordingListener recorder; // outlives the instance whose store holds it
    Vu418dPluginInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
};
} // namespace

TEST_F (ParamsManagerTest, StartsWithTheHostParametersAndTheInitialValuesOfTheRunningInstance)
{
    ASSERT_EQ (instance.getParameters().size(), 42);

    for (int index = 0; index < 42; ++index)
    {
        SCOPED_TRACE (index);
        const auto row = index < 40 ? index % 20 : index - 20;
        auto* parameter = dynamic_cast<juce::CvDawParameter*> (instance.getParameters()[index]);
        ASSERT_NE (parameter, nullptr);

        const juce::String suffix = index >= 40 ? "" : index < 20 ? " 1/LINK" : " 2";
        EXPECT_EQ (parameter->getName (1024), names[row] + suffix);
        EXPECT_EQ (parameter->getParameterID(), idPrefixes[row] + juce::String (index));
        EXPECT_EQ (parameter->getVersionHint(), 1);
        EXPECT_EQ (parameter->getDefaultValue(), defaults[row]);
        EXPECT_EQ (manager.automatableParams[index]->value, defaults[row]);
        EXPECT_EQ (Vu418dParamsManager::getValueToTextFunction (index) (0.3f), texts[row](0.3f));

        for (auto v : { 0.0f, 0.3f, 0.5f, 1.0f })
            EXPECT_EQ (parameter->getText (v, 1024), texts[row](v)) << v;
    }

    EXPECT_FALSE (Vu418dParamsManager::getValueToTextFunction (-1) || Vu418dParamsManager::getValueToTextFunction (42));

    const std::pair<const char*, juce::var> expected[] {
        { "IS CONNECTED", false }, { "CONNECTED DEV SN", -1 }, { "SHOULD BE CONNECTED", true },
        { "SELECTED CHANNEL", 0 }, { "PANELS OPENED", false }, { "A/B SELECTED", false },
        { "CAN BE MS", false },    { "CLIP L", false },        { "CLIP R", false },
        { "GUI THEME CHOOSER", 0 }
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

// Going from DUAL MONO (> 0.5) to STEREO (<= 0.5) by any writer but the host copies the selected channel onto
// the other, one gesture per control, before CHANNEL itself is stored.
TEST_F (ParamsManagerTest, GoingToStereoCopiesTheSelectedChannelFirst)
{
    // From, to, selected channel, written by the host, copies.
    const std::tuple<float, float, int, bool, bool> cases[] {
        { 1.0f, 0.0f, 1, false, true },  { 1.0f, 0.0f, 0, false, true },  { 1.0f, 0.5f, 1, false, true },
        { 1.0f, 0.0f, 1, true, false },  { 0.0f, 0.0f, 1, false, false }, { 0.4f, 0.0f, 1, false, false },
        { 0.5f, 0.0f, 1, false, false }, { 1.0f, 0.6f, 1, false, false }, { 1.0f, 0.0f, 5, false, false }
    };

    juce::CvParamsManager::AutomatableParamListener* host =
        dynamic_cast<juce::CvDawParameter*> (instance.getParameters()[channel]);

    for (int index = 0; index < 42; ++index)
        manager.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);

    for (const auto& [from, to, selected, fromHost, copies] : cases)
    {
        SCOPED_TRACE (testing::Message() << from << " -> " << to << ", selected " << selected << ", host " << fromHost);
        manager.setParamValue (nullptr, channel, from);
        manager.setNonAutomatableParamValue (nullptr, selectedChannel, selected);

        for (int index = 0; index < 40; ++index)
            manager.automatableParams[index]->value = (float) index / 64.0f;

        recorder.events.clear();
        auto* writer = fromHost ? host : nullptr;
        manager.setParamValue (writer, channel, to);

        std::vector<std::tuple<Kind, int, float, const void*>> expected, actual;

        for (int k = 0; copies && k < 20; ++k)
        {
            const auto copy = selected == 0 ? k + 20 : k;
            expected.insert (expected.end(), { { Kind::gestureBegin, copy, 0.0f, nullptr },
                                               { Kind::value, copy, (float) ((copy + 20) % 40) / 64.0f, nullptr },
                                               { Kind::gestureEnd, copy, 0.0f, nullptr } });
        }

        expected.emplace_back (Kind::value, channel, to, writer);

        for (const auto& event : recorder.events)
            actual.emplace_back (event.kind, event.index, event.value, event.source);

        EXPECT_EQ (actual, expected);
    }
}

TEST_F (ParamsManagerTest, KeepsTheGuiThemeInTheSettingsFileAndStartsWithTheStoredOne)
{
    const auto readFile = []
    {
        juce::FileInputStream input (juce::CvSettingsFile::getDefaultLocation());
        return juce::ValueTree::readFromStream (input);
    };

    manager.setNonAutomatableParamValue (nullptr, 8, true);
    EXPECT_FALSE (juce::CvSettingsFile::singletonHolder.get()->getSettings().hasProperty (themeKey));

    manager.setNonAutomatableParamValue (nullptr, guiTheme, 1);
    EXPECT_EQ (manager.nonAutomatableParams[guiTheme]->value, juce::var (1));
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return readFile()[themeKey] == juce::var (1); }, 1000));

    // Another process may have changed the file since: a new instance reads it again.
    juce::MemoryOutputStream data;
    juce::ValueTree (juce::CvSettingsFile::settingsType).setProperty (themeKey, 2, nullptr).writeToStream (data);
    ASSERT_TRUE (juce::CvSettingsFile::getDefaultLocation().replaceWithData (data.getData(), data.getDataSize()));

    const Vu418dPluginInstance another;
    EXPECT_EQ (another.getParamsManager().nonAutomatableParams[guiTheme]->value, juce::var (2));

    // A theme chosen just before another instance is made is neither lost to that instance's re-read nor to the
    // save that follows.
    manager.setNonAutomatableParamValue (nullptr, guiTheme, 3);
    const Vu418dPluginInstance third;
    EXPECT_EQ (third.getParamsManager().nonAutomatableParams[guiTheme]->value, juce::var (3));
    testsupport::pumpMessages (5);
    EXPECT_EQ (readFile()[themeKey], juce::var (3));

    // A stored theme that is no int is not taken.
    data.reset();
    juce::ValueTree (juce::CvSettingsFile::settingsType).setProperty (themeKey, 1.0e300, nullptr).writeToStream (data);
    ASSERT_TRUE (juce::CvSettingsFile::getDefaultLocation().replaceWithData (data.getData(), data.getDataSize()));
    EXPECT_EQ (Vu418dPluginInstance().getParamsManager().nonAutomatableParams[guiTheme]->value, juce::var (0));
}
