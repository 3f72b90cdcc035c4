#include <cv_core/cv_core.h>

#include <gtest/gtest.h>

#include "support/MessageLoop.h"

namespace
{
const juce::Identifier themeKey ("GUI_THEME_CHOOSER");

// A function, not a constant: the home folder is a temporary one only once the tests run.
juce::File settingsFile()
{
    return juce::CvSettingsFile::getDefaultLocation();
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

// -1 when the tree has no theme, so a missing property and a wrong value read apart in failures.
int themeIn (const juce::ValueTree& tree)
{
    return tree.hasProperty (themeKey) ? (int) tree[themeKey] : -1;
}

// Written in place: a file whose name is close to the length limit cannot be replaced through a temporary sibling.
juce::ValueTree writeTheme (const juce::File& file, int theme, const juce::Identifier& type)
{
    juce::ValueTree tree (type);
    tree.setProperty (themeKey, theme, nullptr);
    file.deleteFile();
    file.create();
    juce::FileOutputStream output (file);
    tree.writeToStream (output);
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
        settingsFile().getParentDirectory().deleteRecursively();
    }
};
} // namespace

// Without a file, the first access writes an empty tree at once. The stream format has no signature: only
// content that cannot begin a tree (nothing at all, or a leading zero byte) is recognisably not one, and is then
// left alone until the first save.
TEST_F (CvSettingsFileTest, StartsEmptyWithoutAReadableFileAndSavesWritesTogetherOnTheMessageLoop)
{
    const char garbage[] = { 0, 0x7f, -1, 'j', 'u', 'n', 'k', 3, 0, 9 };

    for (const auto size : { -1, 0, (int) sizeof (garbage) }) // no file, an empty one, a damaged one
    {
        SCOPED_TRACE (size);
        reset();

        ASSERT_TRUE (size < 0 || (settingsFile().create() && settingsFile().appendData (garbage, (size_t) size)));

        auto& settings = settingsObject();
        EXPECT_EQ (settings.file, juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
                                      .getChildFile ("Vuruvodu/CV_CV_VU418D_VUVE.cvs"));
        EXPECT_TRUE (settings.settings.isEquivalentTo (juce::ValueTree ("CV_VU418D_VUVE")));
        EXPECT_EQ (readTree (settingsFile()).isValid(), size < 0);

        settings.settings.setProperty (themeKey, 1, nullptr);
        settings.triggerAsyncUpdate();
        settings.settings.setProperty (themeKey, 3, nullptr);
        settings.triggerAsyncUpdate();

        EXPECT_EQ (themeIn (readTree (settingsFile())), -1);
        EXPECT_TRUE (testsupport::pumpUntil ([] { return themeIn (readTree (settingsFile())) == 3; }));
        EXPECT_EQ (settingsFile().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
    }
}

TEST_F (CvSettingsFileTest, LoadsTheFileAsItIsRereadsItOnRequestAndSavesOnceMoreOnDeletion)
{
    const auto stored = writeTheme (settingsFile(), 4, "SomethingElse");
    EXPECT_TRUE (settingsObject().settings.isEquivalentTo (stored));
    EXPECT_TRUE (readTree (settingsFile()).isEquivalentTo (stored));

    const auto changed = writeTheme (settingsFile(), 7, juce::CvSettingsFile::settingsType);
    settingsObject().loadSettings();
    EXPECT_TRUE (settingsObject().settings.isEquivalentTo (changed));
    settingsObject().settings.setProperty (themeKey, 2, nullptr);

    // Deleted directly, as the framework's shutdown does, so the object itself must clear the holder. Exchanged
    // rather than read, so a left-over dangling pointer cannot crash the tests that follow.
    delete &settingsObject();
    ASSERT_EQ (juce::CvSettingsFile::singletonHolder.instance.exchange (nullptr), nullptr);
    EXPECT_EQ (themeIn (readTree (settingsFile())), 2);
    EXPECT_EQ (themeIn (settingsObject().settings), 2);

    // A file that cannot be read keeps the settings, and a removed one is not written again.
    ASSERT_TRUE (settingsFile().deleteFile());
    settingsObject().loadSettings();
    EXPECT_EQ (themeIn (settingsObject().settings), 2);
    juce::CvSettingsFile::singletonHolder.deleteInstance();
    EXPECT_FALSE (settingsFile().exists());
}

TEST_F (CvSettingsFileTest, FailedSaveOrEmptyPathLeavesTheFilesUntouched)
{
    auto& settings = settingsObject();

    // The temporary sibling's name adds "_temp" and a hex number to this one, which takes it past the file
    // system's 255-byte limit, so the save fails before anything is written.
    const auto target = settingsFile().getSiblingFile (juce::String::repeatedString ("x", 246) + ".cvs");
    const auto before = writeTheme (target, 1, juce::CvSettingsFile::settingsType);

    settings.file = target;
    settings.settings.setProperty (themeKey, 2, nullptr);
    settings.handleAsyncUpdate();

    settings.file = juce::File();
    settings.handleAsyncUpdate();
    settings.loadSettings();

    EXPECT_TRUE (readTree (target).isEquivalentTo (before));
    EXPECT_EQ (themeIn (readTree (settingsFile())), -1);
    EXPECT_EQ (settingsFile().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 2);
    EXPECT_EQ (themeIn (settings.settings), 2);
}
