#pragma once

namespace juce
{

/** The per-user settings file that outlives projects, shared by every plug-in instance in the process.

    Users read and set properties of `settings` directly on the message thread, then call
    triggerAsyncUpdate() to have the file saved; several writes before the save collapse into one.
*/
class CvSettingsFile
    : public AsyncUpdater
    , public DeletedAtShutdown
{
public:
    CvSettingsFile();
    ~CvSettingsFile() override;

    /** Replaces the settings by the file's content when the file can be read. */
    void loadSettings();

    void handleAsyncUpdate() override;

    static File getDefaultLocation();

    static const Identifier settingsType;
    static SingletonHolder<CvSettingsFile, CriticalSection, false> singletonHolder;

    File file;
    ValueTree settings;

private:
    void save();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvSettingsFile)
};

} // namespace juce
