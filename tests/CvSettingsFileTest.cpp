#include <cv_core/cv_core.h>

#include <gtest/gtest.h>

#include "support/MessageLoop.h"

#include <thread>

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
// left alone until the first save. A folder in the file's place cannot be read or replaced: the settings still
// take writes, in memory.
TEST_F (CvSettingsFileTest, StartsEmptyWithoutAReadableFileAndSavesWritesTogetherOnTheMessageLoop)
{
    const char garbage[] = { 0, 0x7f, -1, 'j', 'u', 'n', 'k', 3, 0, 9 };

    for (const auto size : { -1, 0, (int) sizeof (garbage), -2 }) // none, empty, damaged, a folder
    {
        SCOPED_TRACE (size);
        reset();

        ASSERT_TRUE (size == -1 || (size == -2 && settingsFile().createDirectory()) ||
                     (settingsFile().create() && settingsFile().appendData (garbage, (size_t) size)));

        auto& settings = settingsObject();
        EXPECT_EQ (settings.getFile(), juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
                                           .getChildFile ("Vuruvodu/CV_CV_VU418D_VUVE.cvs"));
        EXPECT_TRUE (settings.getSettings().isEquivalentTo (juce::ValueTree ("CV_VU418D_VUVE")));
        EXPECT_EQ (readTree (settingsFile()).isValid(), size == -1);

        settings.setProperty (themeKey, 1);
        settings.setProperty (themeKey, 3);
        EXPECT_EQ (themeIn (settings.getSettings()), 3);

        if (size == -2)
            continue;

        EXPECT_EQ (themeIn (readTree (settingsFile())), -1);
        EXPECT_TRUE (testsupport::pumpUntil ([] { return themeIn (readTree (settingsFile())) == 3; }));
        EXPECT_EQ (settingsFile().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
    }
}

TEST_F (CvSettingsFileTest, LoadsTheFileAsItIsRereadsItOnRequestAndSavesOnceMoreOnDeletion)
{
    const auto stored = writeTheme (settingsFile(), 4, "SomethingElse");
    EXPECT_TRUE (settingsObject().getSettings().isEquivalentTo (stored));
    EXPECT_TRUE (readTree (settingsFile()).isEquivalentTo (stored));

    const auto changed = writeTheme (settingsFile(), 7, juce::CvSettingsFile::settingsType);
    EXPECT_EQ (juce::CvSettingsFile::loadProperty (themeKey), juce::var (7));
    EXPECT_TRUE (settingsObject().getSettings().isEquivalentTo (changed));

    // A write that is not saved yet is saved before the file is read again, not lost to the re-read.
    juce::CvSettingsFile::storeProperty (themeKey, 5);
    settingsObject().loadSettings();
    EXPECT_EQ (themeIn (readTree (settingsFile())), 5);
    EXPECT_EQ (themeIn (settingsObject().getSettings()), 5);
    settingsObject().setProperty (themeKey, 2);

    // Deleted directly, as the framework's shutdown does, so the object itself must clear the holder. Exchanged
    // rather than read, so a left-over dangling pointer cannot crash the tests that follow.
    delete &settingsObject();
    ASSERT_EQ (juce::CvSettingsFile::singletonHolder.instance.exchange (nullptr), nullptr);
    EXPECT_EQ (themeIn (readTree (settingsFile())), 2);
    EXPECT_EQ (themeIn (settingsObject().getSettings()), 2);

    // A file that cannot be read keeps the settings, and a removed one is not written again.
    ASSERT_TRUE (settingsFile().deleteFile());
    settingsObject().loadSettings();
    EXPECT_EQ (themeIn (settingsObject().getSettings()), 2);
    juce::CvSettingsFile::singletonHolder.deleteInstance();
    EXPECT_FALSE (settingsFile().exists());
}

TEST_F (CvSettingsFileTest, FailedSaveOrEmptyPathLeavesTheFilesUntouchedAndTheWriteInMemory)
{
    // The temporary sibling's name adds "_temp" and a hex number to this one, which takes it past the file
    // system's 255-byte limit, so the save fails before anything is written.
    const auto target = settingsFile().getSiblingFile (juce::String::repeatedString ("x", 246) + ".cvs");
    const auto before = writeTheme (target, 1, juce::CvSettingsFile::settingsType);

    {
        juce::CvSettingsFile settings (target);
        settings.setProperty (themeKey, 2);
        settings.handleAsyncUpdate();
        settings.loadSettings();
        EXPECT_EQ (themeIn (settings.getSettings()), 2) << "a failed save keeps the write from the re-read";

        juce::CvSettingsFile withoutFile { juce::File() };
        withoutFile.setProperty (themeKey, 4);
        withoutFile.handleAsyncUpdate();
        withoutFile.loadSettings();
        EXPECT_EQ (themeIn (withoutFile.getSettings()), 4);
    }

    EXPECT_TRUE (readTree (target).isEquivalentTo (before));
    EXPECT_EQ (settingsFile().getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
}

// Hosts make instances on threads of their own while the message thread saves what another instance wrote.
TEST_F (CvSettingsFileTest, ReadsWritesAndSavesFromSeveralThreadsKeepTheLastWrite)
{
    std::vector<std::thread> threads;

    for (int t = 0; t < 4; ++t)
        threads.emplace_back (
            [t]
            {
                for (int i = 0; i < 10; ++i)
                {
                    juce::CvSettingsFile::storeProperty (themeKey, t);
                    juce::CvSettingsFile::loadProperty (themeKey);
                }
            });

    testsupport::pumpMessages (20);

    for (auto& thread : threads)
        thread.join();

    juce::CvSettingsFile::storeProperty (themeKey, 9);
    EXPECT_TRUE (testsupport::pumpUntil ([] { return themeIn (readTree (settingsFile())) == 9; }));
}
