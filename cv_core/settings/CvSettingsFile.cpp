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

CvSettingsFile::CvSettingsFile()
    : file (getDefaultLocation())
{
    if (file.exists())
    {
        loadSettings();
        return;
    }

    file.create();
    settings = ValueTree (settingsType);
    save();
}

CvSettingsFile::~CvSettingsFile()
{
    if (file.exists())
        save();

    singletonHolder.clear (this);
}

// Read whole and parsed with the checked reader: a damaged file must not hang every plug-in that starts, and
// the framework's reader would fetch it from disk a byte at a time.
void CvSettingsFile::loadSettings()
{
    if (file == File())
        return;

    MemoryBlock content;

    if (! file.loadFileAsData (content))
        return;

    // A damaged file must not leave an invalid tree behind: property writes to it would be lost for good.
    auto loaded = CvStateReader::readValueTree (content.getData(), content.getSize());
    settings = loaded.isValid() ? loaded : ValueTree (settingsType);
}

void CvSettingsFile::handleAsyncUpdate()
{
    save();
}

// The new content goes to a temporary sibling that is then moved over the file, so a save that fails at any
// step leaves the previous file as it was.
void CvSettingsFile::save()
{
    if (file == File())
        return;

    TemporaryFile temporary (file);

    {
        FileOutputStream output (temporary.getFile(), 32768);

        if (! output.openedOk())
            return;

        settings.writeToStream (output);
        output.flush();

        if (output.getStatus().failed())
            return;
    }

    temporary.overwriteTargetFileWithTemporary();
}

} // namespace juce
