#include "support/MessageLoop.h"
#include "support/ScopedSettingsFile.h"
#include "support/RecordingListener.h"

#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <tuple>
#include <vector>

using testsupport::pumpMessages;
using testsupport::pumpUntil;
using testsupport::RecordingListener;
using Kind = RecordingListener::Kind;

namespace
{
constexpr int channelIndex = 40;
constexpr int snIndex = 1, shouldConnectIndex = 2, selectedIndex = 3, panelsIndex = 4, abIndex = 5, themeIndex = 9;

// Distinct from its partner, from its default and from every other control.
float distinct (int index)
{
    return 0.013f + (float) index * 0.0234f;
}

juce::MemoryBlock blobOf (const juce::ValueTree& tree)
{
    juce::MemoryBlock blob;
    {
        juce::MemoryOutputStream stream (blob, false);
        tree.writeToStream (stream);
    }
    return blob;
}

juce::MemoryBlock textBlob (const juce::String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}

juce::MemoryBlock stateOf (Vu418dPluginInstance& instance)
{
    juce::MemoryBlock blob;
    instance.getStateInformation (blob);
    return blob;
}

juce::ValueTree treeOf (const juce::MemoryBlock& blob)
{
    return juce::ValueTree::readFromData (blob.getData(), blob.getSize());
}

class PluginStateTest : public testing::Test
{
protected:
    ~PluginStateTest() override
    {
        for (auto* record : manager.automatableParams)
            record->listeners.removeAllInstancesOf (&recorder);
    }

    // DUAL MONO keeps the linkers quiet while the channels get unequal values.
    static void giveDistinctValues (Vu418dParamsManager& target)
    {
        target.setParamValue (nullptr, channelIndex, 1.0f);

        for (int index = 0; index < 42; ++index)
            if (index != channelIndex)
                target.setParamValue (nullptr, index, distinct (index));
    }

    void listenTo (std::initializer_list<int> indices)
    {
        for (auto index : indices)
            manager.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);
    }

    void restore (const juce::MemoryBlock& blob)
    {
        restored.setStateInformation (blob.getData(), (int) blob.getSize());
    }

    float value (int index) const { return manager.automatableParams[index]->value; }
    juce::var naValue (int index) const { return manager.nonAutomatableParams[index]->value; }

    std::vector<float> values() const
    {
        std::vector<float> result;

        for (auto* record : manager.automatableParams)
            result.push_back (record->value);

        return result;
    }

    testsupport::ScopedSettingsFile settingsFile;
    RecordingListener recorder;
    Vu418dPluginInstance source, restored;
    Vu418dParamsManager& sourceManager = source.getParamsManager();
    Vu418dParamsManager& manager = restored.getParamsManager();
};

} // namespace

TEST_F (PluginStateTest, BlobStartsWithTheRootPresetAndFirstParamInStreamFormat)
{
    const char expected[] = "CV_VU418D_3_0_0\0\0\x01\x02"
                            "PRESET\0\x01\x01PRESET_NO\0\x01\x05\x01\0\0\0\0\x01\x2a"
                            "PARAM\0\x01\x03NAME\0\x01\x0f\x05"
                            "ENGAGE 1/LINK\0PARAM_ID\0\x01\x05\x01\0\0\0\0"
                            "VALUE\0\x01\x09\x04\0\0\0\0\0\0\xf0\x3f\0PARAM";
    const auto length = (int) sizeof (expected) - 1;

    // The block is replaced, not appended to, and trimmed to the blob.
    juce::MemoryBlock blob (100000, true);
    restored.getStateInformation (blob);
    ASSERT_GT ((int) blob.getSize(), length);
    EXPECT_EQ (juce::String::toHexString (blob.getData(), length), juce::String::toHexString (expected, length));
    EXPECT_EQ (blob, stateOf (restored));

    juce::MemoryBlock program;
    restored.getCurrentProgramStateInformation (program);
    EXPECT_EQ (program, blob);
}

TEST_F (PluginStateTest, BlobHoldsEveryValueWithItsIdAndStoredType)
{
    const auto tree = treeOf (stateOf (restored));
    const auto preset = tree.getChild (0), settings = tree.getChild (1);
    ASSERT_EQ (tree.getNumChildren(), 2);
    ASSERT_EQ (preset.getNumChildren(), 42);
    ASSERT_TRUE (settings.hasType ("SETTINGS"));
    ASSERT_EQ (settings.getNumChildren(), 10);

    for (int index = 0; index < 42; ++index)
    {
        const auto param = preset.getChild (index);
        EXPECT_TRUE (param.hasType ("PARAM") && param["NAME"].isString() && param["PARAM_ID"].isInt()) << index;
        EXPECT_EQ ((int) param["PARAM_ID"], index);
        EXPECT_TRUE (param["VALUE"].isDouble());
        EXPECT_EQ ((double) param["VALUE"], (double) value (index));
    }

    for (int index = 0; index < 10; ++index)
    {
        const auto param = settings.getChild (index);
        const auto isInt = index == snIndex || index == selectedIndex || index == themeIndex;
        EXPECT_TRUE (param.hasType ("NA_PARAM") && param["NAME"].isString()) << index;
        EXPECT_EQ ((int) param["PARAM_ID"], index);
        EXPECT_EQ (param["VALUE"].isInt(), isInt) << index;
        EXPECT_EQ (param["VALUE"].isBool(), ! isInt) << index;
    }

    EXPECT_EQ (settings.getChild (themeIndex)["NAME"].toString(), "GUI THEME CHOOSER");
}

class PluginStateRoundTrip
    : public PluginStateTest
    , public testing::WithParamInterface<bool>
{
};

TEST_P (PluginStateRoundTrip, RestoresEveryValueExactlyAndOnlyTheUsersChoices)
{
    giveDistinctValues (sourceManager);

    if (GetParam()) // STEREO with equal channels
    {
        for (int k = 0; k < 20; ++k)
            sourceManager.setParamValue (nullptr, k + 20, distinct (k));

        sourceManager.setParamValue (nullptr, channelIndex, 0.0f);
    }

    const std::pair<int, juce::var> settingsToSave[] { { snIndex, 7 },       { shouldConnectIndex, false },
                                                       { selectedIndex, 1 }, { panelsIndex, true },
                                                       { abIndex, true },    { themeIndex, 1 } };

    for (const auto& [index, stored] : settingsToSave)
        sourceManager.setNonAutomatableParamValue (nullptr, index, stored);

    restore (stateOf (source));
    ASSERT_TRUE (pumpUntil ([this] { return (int) naValue (themeIndex) == 1; }));
    pumpMessages (20);

    for (int index = 0; index < 42; ++index)
        EXPECT_EQ (value (index), sourceManager.automatableParams[index]->value) << index;

    EXPECT_EQ (naValue (shouldConnectIndex), juce::var (false));
    EXPECT_EQ (naValue (panelsIndex), juce::var (true));
    EXPECT_EQ (naValue (snIndex), juce::var (-1));
    EXPECT_EQ (naValue (selectedIndex), juce::var (0));
    EXPECT_EQ (naValue (abIndex), juce::var (false));
}

INSTANTIATE_TEST_SUITE_P (PluginState, PluginStateRoundTrip, testing::Bool());

TEST_F (PluginStateTest, StereoBlobWithUnequalChannelsComesBackWithTheSelectedChannelOnBoth)
{
    giveDistinctValues (sourceManager);
    auto tree = treeOf (stateOf (source));
    tree.getChild (0).getChild (channelIndex).setProperty ("VALUE", 0.0, nullptr);

    for (auto selected : { 0, 1 })
    {
        SCOPED_TRACE (selected);
        manager.setNonAutomatableParamValue (nullptr, selectedIndex, selected);
        restore (blobOf (tree));
        pumpMessages (20);

        EXPECT_EQ (value (channelIndex), 0.0f);

        for (int k = 0; k < 20; ++k)
        {
            EXPECT_EQ (value (k), distinct (k + 20 * selected)) << k;
            EXPECT_EQ (value (k + 20), distinct (k + 20 * selected)) << k;
        }
    }
}

TEST_F (PluginStateTest, AppliesValuesByPositionWithChannelFromItsOwnPositionOnly)
{
    giveDistinctValues (sourceManager);
    const auto full = treeOf (stateOf (source));

    auto withoutChannel = full.createCopy();
    withoutChannel.getChild (0).removeChild (41, nullptr);
    withoutChannel.getChild (0).removeChild (40, nullptr);
    restore (blobOf (withoutChannel));
    EXPECT_EQ (value (channelIndex), 1.0f);
    EXPECT_EQ (value (7), distinct (7));

    auto shuffled = full.createCopy();
    auto preset = shuffled.getChild (0);
    preset.getChild (channelIndex).removeProperty ("VALUE", nullptr);
    preset.getChild (4).setProperty ("PARAM_ID", 24, nullptr);
    preset.getChild (5).removeProperty ("VALUE", nullptr);
    preset.removeChild (2, nullptr);
    preset.addChild (juce::ValueTree ("OTHER", { { "VALUE", 0.9 } }), 2, nullptr);
    manager.setParamValue (nullptr, 2, 0.3f);
    manager.setParamValue (nullptr, 5, 0.3f);
    restore (blobOf (shuffled));

    EXPECT_EQ (value (channelIndex), 0.0f);
    EXPECT_EQ (value (2), 0.3f);
    EXPECT_EQ (value (4), distinct (4));
    EXPECT_EQ (value (5), 0.5f);
    EXPECT_EQ (value (24), distinct (4)) << "channel copy on going back to STEREO";
}

TEST_F (PluginStateTest, PresetWithOtherNumberIsIgnoredWhileSettingsStillApply)
{
    giveDistinctValues (sourceManager);
    sourceManager.setNonAutomatableParamValue (nullptr, panelsIndex, true);
    auto tree = treeOf (stateOf (source));
    tree.getChild (0).setProperty ("PRESET_NO", 1, nullptr);
    listenTo ({ 4, channelIndex });
    const auto before = values();

    restore (blobOf (tree));

    EXPECT_TRUE (pumpUntil ([this] { return naValue (panelsIndex) == juce::var (true); }));
    EXPECT_EQ (values(), before);
    EXPECT_TRUE (recorder.events.empty());
}

TEST_F (PluginStateTest, RestoreWritesGesturesWithoutSourceAndChannelFirstAndLast)
{
    giveDistinctValues (sourceManager);
    listenTo ({ 4, 24, channelIndex });

    restore (stateOf (source));

    const std::vector<std::pair<int, float>> expected {
        { channelIndex, 1.0f }, { 4, distinct (4) }, { 24, distinct (24) }, { channelIndex, 1.0f }
    };
    ASSERT_EQ (recorder.events.size(), expected.size() * 3);

    for (size_t i = 0; i < recorder.events.size(); ++i)
    {
        const auto& event = recorder.events[i];
        const auto& [index, written] = expected[i / 3];
        const Kind kinds[] { Kind::gestureBegin, Kind::value, Kind::gestureEnd };
        EXPECT_EQ (event.kind, kinds[i % 3]) << i;
        EXPECT_EQ (event.index, index) << i;
        EXPECT_EQ (event.source, nullptr) << i;

        if (event.kind == Kind::value)
        {
            EXPECT_EQ (event.value, written) << i;
        }
    }
}

TEST_F (PluginStateTest, StoredValuesOutsideTheRangeAreClampedAndNonFiniteOnesTakeTheDefault)
{
    const auto nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::tuple<int, double, float> cases[] {
        { 4, 1.5, 1.0f }, { 5, -2.0, 0.0f }, { 6, nan, 0.5f }, { 0, inf, 1.0f }, { 2, -inf, 0.0f }
    };

    auto tree = treeOf (stateOf (source));
    manager.setParamValue (nullptr, channelIndex, 1.0f);

    for (const auto& [index, stored, expected] : cases)
    {
        tree.getChild (0).getChild (index).setProperty ("VALUE", stored, nullptr);
        manager.setParamValue (nullptr, index, 0.3f);
    }

    restore (blobOf (tree));

    for (const auto& [index, stored, expected] : cases)
        EXPECT_EQ (value (index), expected) << stored;
}

TEST_F (PluginStateTest, StoredSerialNumberIsTakenOnlyWhileTheCurrentOneIsZero)
{
    sourceManager.setNonAutomatableParamValue (nullptr, snIndex, 7);
    const auto blob = stateOf (source);

    for (const auto& [current, expected] : { std::pair { -1, -1 }, std::pair { 0, 7 } })
    {
        manager.setNonAutomatableParamValue (nullptr, snIndex, current);
        restore (blob);
        pumpMessages (20);
        EXPECT_EQ (naValue (snIndex), juce::var (expected)) << current;
    }
}

// Going to STEREO before the values are written lets the linkers copy each channel-1 value to channel 2 later.
TEST_F (PluginStateTest, LegacyPresetSetsTheChannelsBeforeItsValues)
{
    const std::tuple<const char*, const char*, float, float, float, float> cases[] {
        { "stereo", "ms", 0.0f, 1.0f, 0.5f, 0.25f },
        { "STEREO", "MS", 1.0f, 0.0f, 0.75f, 0.75f },
    };

    for (const auto& [state, msState, channel, matrix, index25Before, index25After] : cases)
    {
        SCOPED_TRACE (state);
        manager.setParamValue (nullptr, channelIndex, 1.0f);
        manager.setParamValue (nullptr, 7, 0.3f);
        manager.setParamValue (nullptr, 25, 0.5f);

        restore (textBlob (juce::String ("<preset state=\"") + state + "\" msState=\"" + msState + "\">" +
                           "<PARAMETERS><5 value=\"0.25\"/><25 value=\"0.75\"/><6 value=\"1.5\"/>" +
                           "<7 value=\"-0.1\"/><40 value=\"1\"/><x value=\"0.9\"/></PARAMETERS></preset>"));

        EXPECT_EQ (value (channelIndex), channel);
        EXPECT_EQ (value (41), matrix);
        EXPECT_EQ (value (5), 0.25f);
        EXPECT_EQ (value (6), 0.5f);
        EXPECT_EQ (value (7), 0.3f);
        EXPECT_EQ (value (0), 0.9f) << "a tag without digits reads as index 0";
        EXPECT_EQ (value (25), index25Before);
        pumpMessages (20);
        EXPECT_EQ (value (25), index25After);
    }
}

TEST_F (PluginStateTest, LegacyPresetWithAllFortyParametersAppliesThemAll)
{
    juce::String xml ("<preset state=\"dual\"><parameters>");

    for (int index = 0; index < 40; ++index)
        xml << "<" << index << " value=\"" << juce::String (index / 64.0, 6) << "\"/>";

    restore (textBlob (xml + "</parameters></preset>"));

    for (int index = 0; index < 40; ++index)
        EXPECT_EQ (value (index), (float) (index / 64.0)) << index;
}

TEST_F (PluginStateTest, OlderXmlFormsApplyTheChosenPreset)
{
    const juce::String preset ("<preset state=\"dual\"><parameters><4 value=\"0.125\"/></parameters></preset>");
    juce::MemoryOutputStream binary;
    binary.writeInt (0x21324356);
    binary.writeInt ((int) preset.getNumBytesAsUTF8());
    binary << preset << "trailing bytes beyond the length";

    const std::pair<juce::MemoryBlock, float> cases[] {
        { textBlob ("<bank active=\"2\"><Presets><1><parameters><4 value=\"0.1\"/></parameters></1>"
                    "<2><parameters><4 value=\"0.2\"/></parameters></2>"
                    "<2><parameters><4 value=\"0.3\"/></parameters></2>"
                    "<3><parameters><4 value=\"0.4\"/></parameters></3></Presets></bank>"),
          0.3f },
        { binary.getMemoryBlock(), 0.125f },
    };

    for (const auto& [blob, expected] : cases)
    {
        manager.setParamValue (nullptr, channelIndex, 0.0f);
        restore (blob);
        EXPECT_EQ (value (4), expected);
        EXPECT_EQ (value (channelIndex), 1.0f);
    }
}

TEST_F (PluginStateTest, UnusableBlobsChangeNothing)
{
    auto otherRoot = treeOf (stateOf (restored)).createCopy();
    otherRoot.getChild (0).getChild (4).setProperty ("VALUE", 0.9, nullptr);
    const auto truncated = stateOf (restored);
    juce::MemoryBlock garbage (777);
    juce::Random (7).fillBitsRandomly (garbage.getData(), garbage.getSize());

    const juce::MemoryBlock blobs[] {
        {},
        textBlob ("<bank active=\"2\"><presets><1><parameters><4 value=\"0.9\"/></parameters></1>"
                  "<3 /><20 /></presets></bank>"),
        textBlob ("<settings state=\"dual\"><parameters><4 value=\"0.9\"/></parameters></settings>"),
        textBlob ("<!DOCTYPE preset [<!ENTITY a \"b\">]><preset state=\"dual\"/>"),
        blobOf (juce::ValueTree ("CV_OTHER", {}, { otherRoot.getChild (0).createCopy() })),
        { truncated.getData(), truncated.getSize() / 2 },
        garbage,
    };

    listenTo ({ 4, channelIndex });
    const auto before = values();

    for (const auto& blob : blobs)
        restore (blob);

    pumpMessages (20);
    EXPECT_EQ (values(), before);
    EXPECT_TRUE (recorder.events.empty());
}

TEST_F (PluginStateTest, RestoreFromAnotherThreadWaitsForTheMessageLoopAndKeepsItsOrder)
{
    giveDistinctValues (sourceManager);
    const auto first = stateOf (source);
    sourceManager.setParamValue (nullptr, 4, 0.77f);
    const auto second = stateOf (source);

    std::thread host (
        [&]
        {
            restored.setStateInformation (first.getData(), (int) first.getSize());
            restored.setStateInformation (second.getData(), (int) second.getSize());
        });
    host.join();

    EXPECT_EQ (value (channelIndex), 0.0f);
    EXPECT_EQ (value (4), 0.5f);
    ASSERT_TRUE (pumpUntil ([this] { return value (channelIndex) == 1.0f; }));
    EXPECT_EQ (value (4), 0.77f);
    EXPECT_EQ (value (7), distinct (7));
}

TEST_F (PluginStateTest, StateReadOnAnotherThreadWhileValuesChangeRestoresCleanly)
{
    sourceManager.setParamValue (nullptr, channelIndex, 1.0f);
    std::atomic<bool> done { false };
    juce::MemoryBlock last;

    std::thread host (
        [&]
        {
            for (int i = 0; i < 200; ++i)
                source.getStateInformation (last);

            done = true;
        });

    for (int i = 0; ! done; ++i)
    {
        sourceManager.setParamValue (nullptr, 4, (float) (i % 100) / 100.0f);
        sourceManager.setNonAutomatableParamValue (nullptr, panelsIndex, i % 2 == 0);
    }

    host.join();
    const auto tree = juce::CvStateReader::readValueTree (last.getData(), last.getSize());
    ASSERT_TRUE (tree.isValid());
    ASSERT_EQ (tree.getChild (0).getNumChildren(), 42);

    restore (last);
    EXPECT_EQ (value (4), (float) (double) tree.getChild (0).getChild (4)["VALUE"]);
    EXPECT_EQ (value (channelIndex), 1.0f);
}
