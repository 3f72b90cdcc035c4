namespace juce
{

const Identifier CvSettingsFile::settingsType ("CV_VU418D_VUVE");
SingletonHolder<CvSettingsFile, CriticalSection, false> CvSettingsFile::singletonHolder;

File CvSettingsFile::getDefaultLocation()
{
#if JUCE_MAC
    const auto folder =
        File::getSpecialLocation (File::userApplicationDataDirectory).getChildFile ("Application Support/Vuruvodu");
#else
    const auto folder = File::getSpecialLocation (File::userApplicationDataDirectory).getChildFile ("Vuruvodu");
#endif
    return folder.getChildFile ("CV_" + settingsType.toString() + ".cvs");
}

// One lock for every settings object, so that it outlives the object it guards: a destructor waits for a user
// that is still inside.
CriticalSection& CvSettingsFile::getLock()
{
    static CriticalSection lock;
    return lock;
}

CvSettingsFile::CvSettingsFile()
    : CvSettingsFile (getDefaultLocation())
{
}

// An unreadable file leaves an empty tree rather than an invalid one, whose property writes would be lost.
CvSettingsFile::CvSettingsFile (const File& location)
    : file (location)
    , settings (settingsType)
{
    const ScopedLock lock (getLock());

    if (file.exists())
    {
        loadSettings();
        return;
    }

    file.create();
    save();
}

CvSettingsFile::~CvSettingsFile()
{
    const ScopedLock lock (getLock());

    if (file.exists())
        save();

    singletonHolder.clear (this);
}

// Read whole and parsed with the checked reader: a damaged file must not hang every plug-in that starts, and
// the framework's reader would fetch it from disk a byte at a time.
void CvSettingsFile::loadSettings()
{
    const ScopedLock lock (getLock());

    if (file == File() || (unsaved && ! save()))
        return;

    MemoryBlock content;

    if (! file.loadFileAsData (content))
        return;

    // A damaged file must not leave an invalid tree behind: property writes to it would be lost for good.
    auto loaded = CvStateReader::readValueTree (content.getData(), content.getSize());
    settings = loaded.isValid() ? loaded : ValueTree (settingsType);
}

var CvSettingsFile::getProperty (const Identifier& key, const var& defaultValue) const
{
    const ScopedLock lock (getLock());
    return settings.getProperty (key, defaultValue);
}

void CvSettingsFile::setProperty (const Identifier& key, const var& value)
{
    {
        const ScopedLock lock (getLock());
        settings.setProperty (key, value, nullptr);
        unsaved = true;
    }

    triggerAsyncUpdate();
}

void CvSettingsFile::handleAsyncUpdate()
{
    const ScopedLock lock (getLock());
    save();
}

File CvSettingsFile::getFile() const
{
    const ScopedLock lock (getLock());
    return file;
}

ValueTree CvSettingsFile::getSettings() const
{
    const ScopedLock lock (getLock());
    return settings.createCopy();
}

// The new content goes to a temporary sibling that is then moved over the file, so a save that fails at any
// step leaves the previous file as it was.
bool CvSettingsFile::save()
{
    if (file == File())
        return false;

    TemporaryFile temporary (file);

    {
        FileOutputStream output (temporary.getFile(), 32768);

        if (! output.openedOk())
            return false;

        settings.writeToStream (output);
        output.flush();

        if (output.getStatus().failed())
            return false;
    }

    if (! temporary.overwriteTargetFileWithTemporary())
        return false;

    unsaved = false;
    return true;
}

// The object is fetched before the lock is taken, because creating it takes the holder's own lock, which its
// deletion holds while the destructor waits for this one. It is used only if it is still the process-wide
// object once the lock is held, so a deletion in between is never used after it.
template <typename Function>
auto CvSettingsFile::withProcessWideObject (Function&& function)
{
    for (;;)
    {
        auto* object = singletonHolder.get();
        const ScopedLock lock (getLock());

        if (object == nullptr || singletonHolder.instance.load() == object)
            return function (object);
    }
}

var CvSettingsFile::loadProperty (const Identifier& key, const var& defaultValue)
{
    return withProcessWideObject (
        [&] (CvSettingsFile* object)
        {
            if (object == nullptr)
                return defaultValue;

            object->loadSettings();
            return object->getProperty (key, defaultValue);
        });
}

void CvSettingsFile::storeProperty (const Identifier& key, const var& value)
{
    withProcessWideObject (
        [&] (CvSettingsFile* object)
        {
            if (object != nullptr)
                object->setProperty (key, value);
        });
}

} // namespace juce
