#include "support/RecordingListener.h"

#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{
constexpr int channelIndex = 40;

// Answers the question about replacing a file as the test tells it, and notes what it was asked about.
class AnsweringInstance : public Vu418dPluginInstance
{
public:
    bool replace = false;
    juce::Array<juce::File> askedAbout;

protected:
    void askToReplace (const juce::File& target, std::function<void (bool)> answer) override
    {
        askedAbout.add (target);
        answer (replace);
    }
};

class PresetFileTest : public testing::Test
{
protected:
    PresetFileTest() { folder.createDirectory(); }
    ~PresetFileTest() override { folder.deleteRecursively(); }

    // Values a fresh instance does not have, in DUAL MONO so the linkers leave them alone.
    void changeValues()
    {
        manager.setParamValue (nullptr, channelIndex, 1.0f);

        for (int index = 0; index < 40; ++index)
            manager.setParamValue (nullptr, index, 0.01f + (float) index * 0.02f);
    }

    juce::MemoryBlock state()
    {
        juce::MemoryBlock blob;
        instance.getStateInformation (blob);
        return blob;
    }

    static std::vector<float> valuesOf (const Vu418dParamsManager& store)
    {
        std::vector<float> values;

        for (auto* record : store.automatableParams)
            values.push_back (record->value);

        return values;
    }

    juce::StringArray namesInFolder() const
    {
        juce::StringArray names;

        for (const auto& entry :
             juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFilesAndDirectories))
            names.add (entry.getFile().getFileName());

        names.sort (false);
        return names;
    }

    // Inside this process's own home folder, so tests running in parallel never share it.
    const juce::File folder { juce::File ("~").getChildFile ("presets") };
    AnsweringInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
};
} // namespace

// A chosen file that is itself the preset was asked about by the chooser already.
TEST_F (PresetFileTest, SaveWritesTheStateUnderThePresetExtensionBesideTheChosenFile)
{
    changeValues();
    folder.getChildFile ("take.cvrp").replaceWithText ("older and longer content than nothing");

    const std::pair<const char*, const char*> cases[] {
        { "take.cvrp", "take.cvrp" },
        { "plain", "plain.cvrp" },
        { "my.take.old", "my.take.cvrp" },
    };

    for (const auto& [chosen, written] : cases)
    {
        instance.savePresetTo (folder.getChildFile (chosen));

        juce::MemoryBlock content;
        ASSERT_TRUE (folder.getChildFile (written).loadFileAsData (content)) << chosen;
        EXPECT_EQ (content, state()) << chosen;
    }

    EXPECT_TRUE (instance.askedAbout.isEmpty());
    EXPECT_EQ (namesInFolder(), juce::StringArray ("my.take.cvrp", "plain.cvrp", "take.cvrp"));
}

// The chooser warned about the name typed, not about the preset that the extension makes of it.
TEST_F (PresetFileTest, AnotherExistingPresetIsReplacedOnlyWhenTheUserAgrees)
{
    changeValues();
    const auto existing = folder.getChildFile ("take.cvrp");
    existing.replaceWithText ("another take");

    for (const auto* chosen : { "take.old", "take" })
        instance.savePresetTo (folder.getChildFile (chosen));

    EXPECT_EQ (instance.askedAbout, juce::Array<juce::File> ({ existing, existing }));
    EXPECT_EQ (existing.loadFileAsString(), "another take");
    EXPECT_EQ (namesInFolder(), juce::StringArray ("take.cvrp"));

    instance.replace = true;
    instance.savePresetTo (folder.getChildFile ("take"));

    juce::MemoryBlock content;
    ASSERT_TRUE (existing.loadFileAsData (content));
    EXPECT_EQ (content, state());
}

TEST_F (PresetFileTest, FailedSaveLeavesTheTargetAsItWasAndNoStrayFile)
{
    // The temporary sibling's name adds "_temp" and hex digits, beyond what the file system allows.
    const auto target = folder.getChildFile (juce::String::repeatedString ("p", 245) + ".cvrp");
    ASSERT_TRUE (target.appendText ("kept")); // replaceWithText itself goes through a temporary sibling
    {
        const juce::TemporaryFile sibling (target);
        ASSERT_FALSE (juce::FileOutputStream (sibling.getFile()).openedOk());
    }

    changeValues();
    instance.savePresetTo (target);

    EXPECT_EQ (target.loadFileAsString(), "kept");
    EXPECT_EQ (namesInFolder(), juce::StringArray (target.getFileName()));
}

TEST_F (PresetFileTest, LoadAppliesSavedAndOlderFormsIntoAFreshInstance)
{
    changeValues();
    const auto file = folder.getChildFile ("take.cvrp");
    instance.savePresetTo (file);

    Vu418dPluginInstance fresh;
    fresh.loadPresetFrom (file);
    EXPECT_EQ (valuesOf (fresh.getParamsManager()), valuesOf (manager));

    const auto legacy = folder.getChildFile ("old.cvrb");
    legacy.replaceWithText ("<preset state=\"dual\"><parameters><4 value=\"0.125\"/></parameters></preset>");
    fresh.loadPresetFrom (legacy);
    EXPECT_EQ (fresh.getParamsManager().automatableParams[4]->value, 0.125f);
}

TEST_F (PresetFileTest, DirectoryMissingOrEmptyFileChangesNothing)
{
    const auto empty = folder.getChildFile ("empty.cvrp");
    ASSERT_TRUE (empty.create());
    const auto directory = folder.getChildFile ("folder.cvrp");
    ASSERT_TRUE (directory.createDirectory());

    testsupport::RecordingListener recorder;

    for (int index = 0; index < 42; ++index)
        manager.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);

    for (const auto& file : { directory, folder.getChildFile ("missing.cvrp"), empty, juce::File() })
        instance.loadPresetFrom (file);

    for (auto* record : manager.automatableParams)
        record->listeners.removeAllInstancesOf (&recorder);

    EXPECT_TRUE (recorder.events.empty());
}
