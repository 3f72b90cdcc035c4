#pragma once

namespace juce
{

/** The per-user settings file that outlives projects, shared by every plug-in instance in the process.

    Instances are made on whatever threads hosts choose, so every read, write and save of the settings takes the
    object's lock; a write is saved on the message thread, several writes before the save collapsing into one.
    The framework deletes the object when it shuts down, once no message loop runs any more.
*/
class CvSettingsFile
    : public AsyncUpdater
    , public DeletedAtShutdown
{
public:
    CvSettingsFile();

    /** A settings file of its own at the given place; the process-wide one lives at getDefaultLocation(). */
    explicit CvSettingsFile (const File& location);
    ~CvSettingsFile() override;

    /** Replaces the settings by the file's content when the file can be read. A write not saved yet is saved
        first, so that a re-read never loses it; if that save fails, the settings in memory are kept.
    */
    void loadSettings();

    var getProperty (const Identifier& key, const var& defaultValue = {}) const;

    /** Sets a key and has the file saved on the message thread. */
    void setProperty (const Identifier& key, const var& value);

    void handleAsyncUpdate() override;

    File getFile() const;
    ValueTree getSettings() const;

    /** Re-reads the process-wide file and returns one of its keys; callable on any thread. */
    static var loadProperty (const Identifier& key, const var& defaultValue = {});

    /** Sets a key of the process-wide settings and has them saved; callable on any thread. */
    static void storeProperty (const Identifier& key, const var& value);

    static File getDefaultLocation();

    static const Identifier settingsType;
    static SingletonHolder<CvSettingsFile, CriticalSection, false> singletonHolder;

private:
    template <typename Function>
    static auto withProcessWideObject (Function&& function);

    static CriticalSection& getLock();
    bool save();

    File file;
    ValueTree settings;
    bool unsaved = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CvSettingsFile)
};

} // namespace juce
