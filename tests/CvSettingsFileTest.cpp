#include <cv_core/cv_core.h>

#include <gtest/gtest.h>

#include "support/MessageLoop.h"

namespace
{
const juce::Identifier settingsType ("CV_VU418D_VUVE");
const juce::Identifier themeKey ("GUI_THEME_CHOOSER");

juce::File settingsFile()
{
    return juce::CvSettingsFile::getDefaultLocation();
}

juce::File settingsFolder()
{
    return settingsFile().getParentDirectory();
}

int numberOfEntriesInFolder()
{
    return settingsFolder().getNumberOfChildFiles (juce::File::findFilesAndDirectories);
}

juce::CvSettingsFile& settingsObject()
{
    return *juce::CvSettingsFile::singletonHolder.get();
}

juce::ValueTree readTree (const juce::File& file)
{
    juce::FileInputStream input (file);
    return input.openedOk() ? juce::ValueTree::readFromStream (input) : juce::ValueTree();
}

// Written in place: a file whose name is close to the length limit cannot be replaced through a temporary sibling.
void writeTree (const juce::File& file, const juce::ValueTree& tree)
{
    ASSERT_TRUE (file.deleteFile() && file.create());
    juce::FileOutputStream output (file);
    ASSERT_TRUE (output.openedOk());
    tree.writeToStream (output);
}

// -1 when the tree has no theme, so a missing property and a wrong value read apart in failures.
int themeIn (const juce::ValueTree& tree)
{
    return tree.hasProperty (themeKey) ? (int) tree[themeKey] : -1;
}

juce::ValueTree themeTree (const juce::Identifier& type, int theme)
{
    juce::ValueTree tree (type);
    tree.setProperty (themeKey, theme, nullptr);
    return tree;
}

// The object is process-wide, so every test starts and ends without it and without its folder.
class CvSettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset()
    {
        juce::CvSettingsFile::singletonHolder.deleteInstance();
        settingsFolder().deleteRecursively();
    }
};
} // namespace

TEST_F (CvSettingsFileTest, FirstAccessCreatesFolderAndFileHoldingEmptyTree)
{
    ASSERT_FALSE (settingsFolder().exists());

    auto& settings = settingsObject();

    const auto expectedLocation = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
                                      .getChildFile ("Vuruvodu/CV_CV_VU418D_VUVE.cvs");
    EXPECT_EQ (settings.file.getFullPathName(), expectedLocation.getFullPathName());
    const auto stored = readTree (settingsFile());
    EXPECT_TRUE (stored.hasType (settingsType));
    EXPECT_EQ (stored.getNumProperties(), 0);
    EXPECT_EQ (stored.getNumChildren(), 0);
    EXPECT_TRUE (settings.settings.isEquivalentTo (stored));
}

TEST_F (CvSettingsFileTest, PropertyWritesReachFileOnceMessageLoopRuns)
{
    auto& settings = settingsObject();
    settings.settings.setProperty (themeKey, 1, nullptr);
    settings.triggerAsyncUpdate();
    settings.settings.setProperty (themeKey, 3, nullptr);
    settings.triggerAsyncUpdate();

    EXPECT_FALSE (readTree (settingsFile()).hasProperty (themeKey));
    EXPECT_TRUE (testsupport::pumpUntil ([] { return themeIn (readTree (settingsFile())) == 3; }));
    EXPECT_TRUE (readTree (settingsFile()).hasType (settingsType));
    EXPECT_EQ (numberOfEntriesInFolder(), 1);
}

TEST_F (CvSettingsFileTest, ExistingFileIsLoadedAndKeptOnFirstAccess)
{
    const auto stored = themeTree (settingsType, 4);
    writeTree (settingsFile(), stored);

    EXPECT_TRUE (settingsObject().settings.isEquivalentTo (stored));
    EXPECT_TRUE (readTree (settingsFile()).isEquivalentTo (stored));
}

TEST_F (CvSettingsFileTest, ValidTreeOfAnotherTypeIsTakenAsItIs)
{
    auto stored = themeTree ("SomethingElse", 2);
    stored.appendChild (juce::ValueTree ("Child"), nullptr);
    writeTree (settingsFile(), stored);

    EXPECT_TRUE (settingsObject().settings.isEquivalentTo (stored));
}

TEST_F (CvSettingsFileTest, DeletionSavesOnceMoreAndLetsLaterAccessCreateNewObject)
{
    settingsObject().settings.setProperty (themeKey, 2, nullptr);

    // Deleted directly, as the framework's shutdown does, so the object itself must clear the holder.
    delete juce::CvSettingsFile::singletonHolder.get();

    // Exchanged rather than read, so a left-over dangling pointer cannot crash the tests that follow.
    ASSERT_EQ (juce::CvSettingsFile::singletonHolder.instance.exchange (nullptr), nullptr);
    EXPECT_EQ (themeIn (readTree (settingsFile())), 2);
    EXPECT_EQ (themeIn (settingsObject().settings), 2);
}

TEST_F (CvSettingsFileTest, DeletionDoesNotRecreateRemovedFile)
{
    settingsObject();
    ASSERT_TRUE (settingsFile().deleteFile());

    juce::CvSettingsFile::singletonHolder.deleteInstance();

    EXPECT_FALSE (settingsFile().exists());
}

// The stream format has no signature: only content that cannot begin a tree (nothing at all, or a leading zero
// byte) is recognisably not one. Such a file must still leave a tree that the theme can be written into.
TEST_F (CvSettingsFileTest, UnreadableContentGivesEmptyTreeThatCanBeSaved)
{
    const char garbage[] = { 0, 0x7f, -1, 'j', 'u', 'n', 'k', 3, 0, 9 };

    for (const auto& content : { juce::MemoryBlock(), juce::MemoryBlock (garbage, sizeof (garbage)) })
    {
        SCOPED_TRACE ("content of " + std::to_string (content.getSize()) + " bytes");
        reset();
        ASSERT_TRUE (settingsFile().create());
        settingsFile().appendData (content.getData(), content.getSize());

        auto& settings = settingsObject();
        EXPECT_TRUE (settings.settings.hasType (settingsType));
        EXPECT_EQ (settings.settings.getNumProperties(), 0);

        settings.settings.setProperty (themeKey, 5, nullptr);
        settings.triggerAsyncUpdate();

        EXPECT_TRUE (testsupport::pumpUntil ([] { return themeIn (readTree (settingsFile())) == 5; }));
        EXPECT_TRUE (readTree (settingsFile()).hasType (settingsType));
    }
}

TEST_F (CvSettingsFileTest, LoadSettingsRereadsFileAndKeepsSettingsWhenItCannotBeOpened)
{
    auto& settings = settingsObject();
    const auto changed = themeTree (settingsType, 7);
    writeTree (settingsFile(), changed);

    settings.loadSettings();
    EXPECT_TRUE (settings.settings.isEquivalentTo (changed));

    ASSERT_TRUE (settingsFile().deleteFile());
    settings.loadSettings();
    EXPECT_TRUE (settings.settings.isEquivalentTo (changed));
}

TEST_F (CvSettingsFileTest, FailedSaveLeavesOldFileUntouched)
{
    auto& settings = settingsObject();

    // The temporary sibling's name adds "_temp" and a hex number to this one, which takes it past the file
    // system's 255-byte limit, so the save fails before anything is written.
    const auto target = settingsFolder().getChildFile (juce::String::repeatedString ("x", 246) + ".cvs");
    writeTree (target, themeTree (settingsType, 1));
    juce::MemoryBlock before;
    ASSERT_TRUE (target.loadFileAsData (before));
    ASSERT_FALSE (juce::FileOutputStream (target.getSiblingFile (target.getFileNameWithoutExtension() + "_temp0.cvs"))
                      .openedOk());

    settings.file = target;
    settings.settings.setProperty (themeKey, 2, nullptr);
    settings.handleAsyncUpdate();

    juce::MemoryBlock after;
    ASSERT_TRUE (target.loadFileAsData (after));
    EXPECT_EQ (after, before);
    EXPECT_EQ (numberOfEntriesInFolder(), 2);
    EXPECT_EQ (themeIn (settings.settings), 2);
}

TEST_F (CvSettingsFileTest, EmptyFilePathMakesSaveAndLoadDoNothing)
{
    auto& settings = settingsObject();
    const auto stored = readTree (settingsFile());

    settings.file = juce::File();
    settings.settings.setProperty (themeKey, 3, nullptr);
    settings.handleAsyncUpdate();
    settings.loadSettings();

    EXPECT_EQ (themeIn (settings.settings), 3);
    EXPECT_TRUE (readTree (settingsFile()).isEquivalentTo (stored));
}
