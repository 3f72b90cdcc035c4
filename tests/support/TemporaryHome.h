#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>

namespace testsupport
{
/** Points HOME at a temporary folder of this process for the life of the object: the plug-in writes its
    settings under the user's home folder, and tools must never touch the real user's files.
*/
class TemporaryHome
{
public:
    TemporaryHome()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile ("vu418d-home-" + juce::Uuid().toString()))
    {
        folder.createDirectory();
        setenv ("HOME", folder.getFullPathName().toRawUTF8(), 1);
    }

    ~TemporaryHome() { folder.deleteRecursively(); }

private:
    juce::File folder;
};
} // namespace testsupport
