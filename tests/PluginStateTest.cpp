#include "support/HostValues.h"
#include "support/MessageLoop.h"
#include "support/RecordingListener.h"
#include "support/ScopedSettingsFile.h"

#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

namespace
{
using testsupport::hostValuesOf;
constexpr int channelIndex = 40, snIndex = 1, selectedIndex = 3, panelsIndex = 4;

// Distinct from its partner, from its default and from every other control.
float distinct (int index)
{
    return 0.013f + (float) index * 0.0234f;
}

juce::MemoryBlock blobOf (const juce::ValueTree& tree)
{
    juce::MemoryOutputStream stream;
    tree.writeToStream (stream);
    return stream.getMemoryBlock();
}

juce::MemoryBlock textBlob (const juce::String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}

// The bytes of a literal, embedded zeros included, in a block of exactly their size.
template <size_t size>
juce::MemoryBlock bytes (const char (&literal)[size])
{
    return { literal, size - 1 };
}

juce::MemoryBlock stateOf (Vu418dPluginInstance& instance)
{
    juce::MemoryBlock blob;
    instance.getStateInformation (blob);
    return blob;
}

juce::ValueTree treeOf (const juce::MemoryBlock& blob)
{
    return juce::CvStateReader::readValueTree (blob.getData(), blob.getSize());
}

std::vector<float> valuesOf (const Vu418dParamsManager& store)
{
    std::vector<float> values;

    for (auto* record : store.automatableParams)
        values.push_back (record->value);

    return values;
}

class PluginStateTest : public testing::Test
{
protected:
    // DUAL MONO keeps the linkers quiet while the channels get unequal values.
    void giveDistinctValues()
    {
        sourceManager.setParamValue (nullptr, channelIndex, 1.0f);

        for (int index = 0; index < 42; ++index)
            if (index != channelIndex)
                sourceManager.setParamValue (nullptr, index, distinct (index));
    }

    void restore (const juce::MemoryBlock& b) { restored.setStateInformation (b.getData(), (int) b.getSize()); }

    void listen()
    {
        for (auto index : { 4, 24, channelIndex })
            manager.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);
    }

    float value (int index) const { return manager.automatableParams[index]->value; }
    const juce::var& naValue (int index) const { return manager.nonAutomatableParams[index]->value; }

    testsupport::ScopedSettingsFile settingsFile;
    testsupport::RecordingListener recorder; // outlives the instances that hold it
    Vu418dPluginInstance source, restored;
    Vu418dParamsManager& sourceManager = source.getParamsManager();
    Vu418dParamsManager& manager = restored.getParamsManager();
};

class PluginStateRoundTrip
    : public PluginStateTest
    , public testing::WithParamInterface<bool>
{
};
} // namespace

TEST_F (PluginStateTest, DefaultBlobStartsWithTheRootPresetAndFirstParamInStreamFormat)
{
    const char expected[] = "CV_VU418D_3_0_0\0\0\x01\x02"
                            "PRESET\0\x01\x01PRESET_NO\0\x01\x05\x01\0\0\0\0\x01\x2a"
                            "PARAM\0\x01\x03NAME\0\x01\x0f\x05"
                            "ENGAGE 1/LINK\0PARAM_ID\0\x01\x05\x01\0\0\0\0"
                            "VALUE\0\x01\x09\x04\0\0\0\0\0\0\xf0\x3f\0PARAM";
    const auto length = (int) sizeof (expected) - 1;

    juce::MemoryBlock blob (100000, true), program;
    restored.getStateInformation (blob);
    restored.getCurrentProgramStateInformation (program);
    ASSERT_GT ((int) blob.getSize(), length);
    EXPECT_EQ (juce::String::toHexString (blob.getData(), length), juce::String::toHexString (expected, length));
    EXPECT_EQ (blob, stateOf (restored)) << "replaced, not appended to";
    EXPECT_EQ (program, blob);
}

// The host restores the default state and then the saved one from a thread of its own: each is in effect when
// the call returns, in the host's values and in the state it saves next, byte for byte. Every write is a gesture
// without source, CHANNEL's the first and the last; going to STEREO copies the selected channel within CHANNEL's
// gesture.
TEST_P (PluginStateRoundTrip, RestoresEveryValueExactlyAndOnlyTheUsersChoices)
{
    giveDistinctValues();

    if (GetParam()) // STEREO, channel 1 copied onto channel 2
        sourceManager.setParamValue (nullptr, channelIndex, 0.0f);

    // Only SHOULD BE CONNECTED, PANELS OPENED and GUI THEME CHOOSER are the user's; SN 7 is not taken over -1.
    const juce::var stored[] { true, 7, false, 1, true, true, true, true, true, 1 };

    for (int index = 0; index < 10; ++index)
        sourceManager.setNonAutomatableParamValue (nullptr, index, stored[index]);

    listen();
    const auto defaults = stateOf (restored), blob = stateOf (source);
    std::vector<float> hostValues;
    juce::MemoryBlock savedAtOnce;

    testsupport::runOnHostThread (
        [&]
        {
            restore (defaults);
            restore (blob);
            hostValues = hostValuesOf (restored);
            savedAtOnce = stateOf (restored);
        });

    EXPECT_EQ (hostValues, valuesOf (sourceManager));
    EXPECT_EQ (valuesOf (manager), valuesOf (sourceManager));
    EXPECT_TRUE (savedAtOnce == blob) << "the unit's serial number and the editor's state included";

    juce::String naValues, events;

    for (auto* record : manager.nonAutomatableParams)
        naValues << record->value.toString() << " ";

    for (const auto& event : recorder.events)
        events << "vbe"[(int) event.kind] << event.index << (event.source == nullptr ? " " : "! ");

    EXPECT_EQ (naValues, "0 -1 0 0 1 0 0 0 0 1 ");
    const juce::String stereo ("b40 v40 e40 b4 v4 e4 b24 v24 e24 b40 b24 v24 e24 v40 e40 ");
    EXPECT_EQ (events, stereo + (GetParam() ? stereo : "b40 v40 e40 b4 v4 e4 b24 v24 e24 b40 v40 e40 "));

    manager.setNonAutomatableParamValue (nullptr, snIndex, 0);
    restore (blob);
    EXPECT_EQ (naValue (snIndex), juce::var (7)) << "a stored serial number is taken while the current one is 0";
}

INSTANTIATE_TEST_SUITE_P (PluginState, PluginStateRoundTrip, testing::Bool());

TEST_F (PluginStateTest, PresetsApplyByPositionWithinTheRangeAndCopyTheSelectedChannelForStereo)
{
    giveDistinctValues();
    auto stereo = treeOf (stateOf (source)), withoutChannel = stereo.createCopy(), damaged = stereo.createCopy();
    stereo.getChild (0).getChild (channelIndex).setProperty ("VALUE", 0.0, nullptr);
    manager.setNonAutomatableParamValue (nullptr, selectedIndex, 1);
    restore (blobOf (stereo));

    for (int k = 0; k < 20; ++k)
        EXPECT_TRUE (value (k) == distinct (k + 20) && value (k + 20) == distinct (k + 20)) << k;

    manager.setNonAutomatableParamValue (nullptr, selectedIndex, 0);
    withoutChannel.getChild (0).removeChild (41, nullptr);
    withoutChannel.getChild (0).removeChild (40, nullptr);
    restore (blobOf (withoutChannel));
    EXPECT_TRUE (value (channelIndex) == 1.0f && value (7) == distinct (7));

    auto preset = damaged.getChild (0);
    preset.getChild (channelIndex).removeProperty ("VALUE", nullptr);
    preset.getChild (5).removeProperty ("VALUE", nullptr);
    preset.getChild (4).setProperty ("PARAM_ID", 24, nullptr);
    preset.removeChild (2, nullptr);
    preset.addChild (juce::ValueTree ("OTHER", { { "VALUE", 0.9 } }), 2, nullptr);
    const auto nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();

    for (const auto& [index, stored] : { std::pair { 7, 1.5 }, { 8, -2.0 }, { 6, nan }, { 0, inf }, { 1, -inf } })
        preset.getChild (index).setProperty ("VALUE", stored, nullptr);

    for (int index = 0; index < 40; ++index)
        manager.setParamValue (nullptr, index, 0.3f);

    restore (blobOf (damaged));

    // A missing VALUE and a non-finite one give the default; CHANNEL goes to STEREO and copies channel 1.
    EXPECT_EQ (std::vector<float> ({ value (40), value (2), value (4), value (24), value (5), value (6), value (7),
                                     value (8), value (0), value (1) }),
               std::vector<float> ({ 0.0f, 0.3f, distinct (4), distinct (4), 0.5f, 0.5f, 1.0f, 0.0f, 1.0f, 0.0f }));
}

// Going to STEREO copies the selected channel 2 onto channel 1 before the values are written; the linkers copy
// them to channel 2 later. The second form comes in the binary "VC2!" wrapper, its length short of the bytes;
// a bank applies the last of its presets with the active number.
TEST_F (PluginStateTest, LegacyPresetSetsTheChannelsBeforeItsValues)
{
    const auto preset = [] (const char* attributes)
    {
        return juce::String ("<preset ") + attributes + "><PARAMETERS><5 value=\"0.25\"/><25 value=\"0.75\"/>" +
               "<6 value=\"1.5\"/><7 value=\"-0.1\"/><40 value=\"0\"/><x value=\"0.9\"/></PARAMETERS></preset>";
    };
    const auto upper = preset ("state=\"STEREO\" msState=\"MS\"");
    juce::MemoryOutputStream binary;
    binary.writeInt (0x21324356);
    binary.writeInt ((int) upper.getNumBytesAsUTF8());
    binary << upper << "<trailing bytes beyond the length";

    // CHANNEL, MS MATRIX, then 0 (a tag without digits), 5, 6 (out of range), 7 (negative) and 25.
    const std::pair<juce::MemoryBlock, std::vector<float>> cases[] {
        { textBlob (preset ("state=\"stereo\" msState=\"ms\"")), { 0.0f, 1.0f, 0.9f, 0.25f, 0.5f, 0.0f, 0.25f } },
        { binary.getMemoryBlock(), { 1.0f, 0.0f, 0.9f, 0.25f, 0.5f, 0.3f, 0.75f } },
        { textBlob ("<bank active=\"2\"><Presets><1><parameters><5 value=\"0.1\"/></parameters></1>"
                    "<2><parameters><5 value=\"0.2\"/></parameters></2>"
                    "<2><parameters><5 value=\"0.3\"/></parameters></2>"
                    "<3><parameters><5 value=\"0.4\"/></parameters></3></Presets></bank>"),
          { 1.0f, 0.0f, 0.9f, 0.3f, 0.5f, 0.3f, 0.5f } },
    };

    manager.setNonAutomatableParamValue (nullptr, selectedIndex, 1);

    for (const auto& [blob, expected] : cases)
    {
        manager.setParamValue (nullptr, channelIndex, 1.0f);
        manager.setParamValue (nullptr, 7, 0.3f);
        manager.setParamValue (nullptr, 25, 0.5f);
        restore (blob);
        testsupport::pumpMessages (20);

        EXPECT_EQ (
            std::vector<float> ({ value (40), value (41), value (0), value (5), value (6), value (7), value (25) }),
            expected);
    }
}

// A preset file may name a control many times: each is written once, with its last usable value, in the order
// the controls first appear, and the linkers copy that value to channel 2.
TEST_F (PluginStateTest, LegacyPresetThatRepeatsItsElementsWritesEachControlOnceWithItsLastValue)
{
    const auto repeated = textBlob ("<preset state=\"stereo\"><parameters><6 value=\"0.1\"/><5 value=\"0.2\"/>"
                                    "<6 value=\"0.3\"/><25 value=\"0.9\"/><5 value=\"2\"/><6 value=\"0.4\"/>"
                                    "<5 value=\"0.6\"/><6 value=\"-1\"/></parameters></preset>");

    for (auto index : { 5, 6 })
        manager.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);

    restore (repeated);

    using Kind = testsupport::RecordingListener::Kind;
    std::vector<std::pair<Kind, int>> written;

    for (const auto& event : recorder.events)
        written.emplace_back (event.kind, event.index);

    const std::vector<std::pair<Kind, int>> onceEach { { Kind::gestureBegin, 6 }, { Kind::value, 6 },
                                                       { Kind::gestureEnd, 6 },   { Kind::gestureBegin, 5 },
                                                       { Kind::value, 5 },        { Kind::gestureEnd, 5 } };
    EXPECT_EQ (written, onceEach);

    testsupport::pumpMessages (20);
    EXPECT_EQ (std::vector<float> ({ value (5), value (6), value (25), value (26) }),
               std::vector<float> ({ 0.6f, 0.4f, 0.6f, 0.4f }));
}

// Stored text is read as the numbers it stands for, however long; a legacy value counts as the float it was
// stored as, and text between the parameters is none of them. A void preset number is 0, so that preset is ours.
TEST_F (PluginStateTest, StoredNumbersCountAsWhatTheyStandFor)
{
    const auto legacy = textBlob ("<preset><parameters><0 value=\"1.00000001\"/><1 value=\"-1e-50\"/>"
                                  "<2 value=\"1.0000001\"/><3 value=\"1e8888888888\"/><4 value=\"-1e8888888888\"/>"
                                  "<5 value=\"5e-8888888888\"/>text, no element</parameters></preset>");
    auto tree = treeOf (stateOf (source));
    auto preset = tree.getChild (0);
    preset.setProperty ("PRESET_NO", juce::var(), nullptr);
    preset.getChild (6).setProperty ("VALUE", "1e8888888888", nullptr);
    preset.getChild (7).setProperty ("VALUE", "0.25", nullptr);

    for (int index = 0; index < 8; ++index)
        manager.setParamValue (nullptr, index, 0.3f);

    restore (legacy);
    EXPECT_EQ (std::vector<float> ({ value (0), value (1), value (2), value (3), value (4), value (5) }),
               std::vector<float> ({ 1.0f, 0.0f, 0.3f, 0.3f, 0.3f, 0.0f }));
    EXPECT_FALSE (std::signbit (value (1))) << "-0 is applied as 0";

    restore (blobOf (tree));
    EXPECT_EQ (value (6), Vu418dParamsManager::getDefaultValue (6)) << "a number no float holds";
    EXPECT_EQ (value (7), 0.25f);
}

TEST_F (PluginStateTest, UnusableBlobsAndOtherPresetNumbersChangeNoValue)
{
    giveDistinctValues();
    sourceManager.setNonAutomatableParamValue (nullptr, panelsIndex, true);
    const auto whole = stateOf (source);
    auto otherNumber = treeOf (whole), hugeNumber = otherNumber.createCopy(), noNumber = otherNumber.createCopy();
    otherNumber.getChild (0).setProperty ("PRESET_NO", 1, nullptr);
    hugeNumber.getChild (0).setProperty ("PRESET_NO", 1.0e300, nullptr);
    noNumber.getChild (0).setProperty ("PRESET_NO", std::numeric_limits<double>::quiet_NaN(), nullptr);

    // Settings values that are no ints are skipped; an int flag is taken as a flag.
    auto settings = noNumber.getChild (1);
    settings.getChild (9).setProperty ("VALUE", 1.0e300, nullptr);
    settings.getChild (2).setProperty ("VALUE", "99999999999999999999", nullptr);
    settings.getChild (4).setProperty ("VALUE", 1, nullptr);
    settings.appendChild (juce::ValueTree ("NA_PARAM", { { "PARAM_ID", 9.0e20 }, { "VALUE", 1 } }), nullptr);

    const juce::MemoryBlock blobs[] {
        {},
        textBlob ("<bank active=\"2\"><presets><1><parameters><4 value=\"0.9\"/></parameters></1>"
                  "<3 /><20 /></presets></bank>"),
        textBlob ("<bank active=\"99999999999\"><presets><99999999999><parameters><4 value=\"0.9\"/></parameters>"
                  "</99999999999></presets></bank>"),
        textBlob ("<settings state=\"dual\"><parameters><4 value=\"0.9\"/></parameters></settings>"),
        textBlob ("<!DOCTYPE preset [<!ENTITY a \"b\">]><preset state=\"dual\"/>"),
        blobOf (juce::ValueTree ("CV_OTHER", {}, { treeOf (whole).getChild (0).createCopy() })),
        { whole.getData(), whole.getSize() / 2 },
        blobOf (otherNumber),
        blobOf (hugeNumber),
        blobOf (noNumber),
    };

    listen();
    const auto before = valuesOf (manager);

    for (const auto& blob : blobs)
        restore (blob);

    EXPECT_TRUE (naValue (panelsIndex).isBool() && naValue (panelsIndex) == juce::var (true))
        << "the settings beside a preset of another number still apply";
    EXPECT_EQ (naValue (9), juce::var (0));
    EXPECT_EQ (naValue (2), juce::var (true));
    EXPECT_EQ (valuesOf (manager), before);
    EXPECT_TRUE (recorder.events.empty());
}

// A text editor saves an empty file as its byte-order mark alone; the bytes around each blob are never read.
TEST_F (PluginStateTest, EmptyAndMarkerOnlyBlobsChangeNothing)
{
    giveDistinctValues();
    restore (stateOf (source));
    listen();
    const auto before = valuesOf (manager);

    const juce::MemoryBlock blobs[] {
        bytes (""),
        bytes ("\xef\xbb\xbf"),
        bytes ("\xfe\xff"),
        bytes ("\xff\xfe"),
        bytes ("\xff\xfe\xef"),
        bytes ("\xef\xbb\xbf\xef\xbb\xbf"),
        bytes ("\xef\xbb\xbf "),
        bytes ("\xef\xbb\xbf\x00"),
        bytes ("\x00"),
        bytes ("VC2!"),
        bytes ("VC2!\x03\x00\x00\x00"),
        bytes ("VC2!\x03\x00\x00\x00\xef\xbb\xbf"),
        bytes ("VC2!\x00\x00\x00\x00\xef\xbb\xbf"),
    };

    for (const auto& blob : blobs)
        restore (blob);

    EXPECT_EQ (valuesOf (manager), before);
    EXPECT_TRUE (recorder.events.empty());
}

// A host reads every parameter back right after restoring, and may have written it just before: the restored
// value is there when the call returns, and the earlier write never lands after it.
TEST_F (PluginStateTest, EachParameterShowsTheRestoredValueWhenTheRestoreReturns)
{
    giveDistinctValues();
    const auto blob = stateOf (source);
    const auto expected = valuesOf (sourceManager);
    std::vector<int> stale;

    testsupport::runOnHostThread (
        [&]
        {
            juce::Random random (7);
            const auto& parameters = restored.getParameters();

            for (int index = 0; index < parameters.size(); ++index)
            {
                parameters[index]->setValue (random.nextFloat());
                restore (blob);

                if (parameters[index]->getValue() != expected[(size_t) index])
                    stale.push_back (index);
            }
        });

    EXPECT_TRUE (stale.empty()) << stale.size() << " parameters, the first " << stale.front();
    testsupport::pumpMessages (20);
    EXPECT_EQ (valuesOf (manager), expected);
}

// A host may restore while its own loop, which runs the plug-in's messages, waits for the restoring thread. The
// call gives up waiting for the message thread and returns; what it restores is applied once the loop runs, in
// order, and before a restore that comes later on the message thread.
TEST_F (PluginStateTest, RestoreWhileTheMessageLoopWaitsForItReturnsAndAppliesInOrderLater)
{
    giveDistinctValues();
    auto presetOnly = treeOf (stateOf (restored));
    presetOnly.removeChild (1, nullptr);
    const auto older = stateOf (source), newer = blobOf (presetOnly);
    sourceManager.setNonAutomatableParamValue (nullptr, panelsIndex, true);
    const auto withPanels = stateOf (source);

    std::thread (
        [&]
        {
            restore (older);
            restore (withPanels);
        })
        .join();

    EXPECT_NE (valuesOf (manager), valuesOf (sourceManager));
    restore (newer);

    EXPECT_EQ (valuesOf (manager), valuesOf (Vu418dPluginInstance().getParamsManager()));
    EXPECT_EQ (naValue (panelsIndex), juce::var (true));
}

// The same, with host writes around the two restores: each call lands in the host's order once the loop runs,
// a write posted before the first restore and repeated after the second included, and so does a write of the
// value the host sees.
TEST_F (PluginStateTest, HostWritesAroundRestoresThatWaitForTheLoopLandInTheHostsOrder)
{
    giveDistinctValues();
    const auto saved = stateOf (source);
    const auto savedValues = valuesOf (sourceManager);
    const auto& parameters = restored.getParameters();

    std::thread (
        [&]
        {
            parameters[4]->setValueNotifyingHost (0.2f);
            parameters[5]->setValueNotifyingHost (0.2f);
            restore (saved);
            parameters[6]->setValueNotifyingHost (0.9f);
            restore (saved);
            parameters[5]->setValueNotifyingHost (0.9f);
            parameters[7]->setValueNotifyingHost (parameters[7]->getValue());
        })
        .join();

    testsupport::pumpMessages (20);
    const std::vector<float> expected { savedValues[4], 0.9f, savedValues[6], 0.0f };
    EXPECT_EQ (std::vector<float> ({ value (4), value (5), value (6), value (7) }), expected);
    EXPECT_EQ (std::vector<float> ({ parameters[4]->getValue(), parameters[5]->getValue(), parameters[6]->getValue(),
                                     parameters[7]->getValue() }),
               expected);
}

TEST_F (PluginStateTest, StateReadOnAnotherThreadWhileTheMessageThreadChangesValuesIsWhole)
{
    std::atomic<bool> done { false };
    juce::MemoryBlock last;

    std::thread reader (
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

    reader.join();
    const auto tree = treeOf (last);
    EXPECT_TRUE (tree.getChild (0).getNumChildren() == 42 && tree.getChild (1).getNumChildren() == 10);
}
