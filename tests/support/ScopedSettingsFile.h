#pragma once

#include <cv_core/cv_core.h>

namespace testsupport
{
/** Starts a test from a settings file without a theme and a settings object freshly loaded from it, and puts
    the previous file back afterwards, so tests that change the theme do not depend on their order. Deleting the
    settings object saves it, which is why the file is written only after that.
*/
class ScopedSettingsFile
{
public:
    ScopedSettingsFile()
    {
        juce::CvSettingsFile::singletonHolder.deleteInstance();
        hadFile = file.loadFileAsData (previous);

        juce::MemoryOutputStream empty;
        juce::ValueTree (juce::CvSettingsFile::settingsType).writeToStream (empty);
        file.getParentDirectory().createDirectory();
        file.replaceWithData (empty.getData(), empty.getDataSize());
    }

    ~ScopedSettingsFile()
    {
        juce::CvSettingsFile::singletonHolder.deleteInstance();

        if (hadFile)
            file.replaceWithData (previous.getData(), previous.getSize());
        else
            file.deleteFile();
    }

private:
    const juce::File file = juce::CvSettingsFile::getDefaultLocation();
    juce::MemoryBlock previous;
    bool hadFile = false;
};
} // namespace testsupport
