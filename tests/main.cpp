#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
// The plug-in writes its settings under the user's home folder; tests get a home folder of their own so they
// never touch the real user's files.
class TemporaryHome
{
public:
    TemporaryHome()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getNonexistentChildFile ("vu418d-tests-home", {}, false))
    {
        folder.createDirectory();
        setenv ("HOME", folder.getFullPathName().toRawUTF8(), 1);
        unsetenv ("XDG_CONFIG_HOME");
    }

    ~TemporaryHome() { folder.deleteRecursively(); }

private:
    juce::File folder;
};
} // namespace

// The test thread is the message thread, so timers and asynchronous updates run while a test pumps the loop.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    const TemporaryHome home;
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
