namespace juce
{

SingletonHolder<MidiManager, CriticalSection, false> MidiManager::singletonHolder;

CriticalSection& MidiManager::getUsersLock()
{
    static CriticalSection lock;
    return lock;
}

MidiManager::MidiManager() = default;

// Bound units hear that they are gone before their devices close.
MidiManager::~MidiManager()
{
    for (auto& device : devices)
        if (auto* listener = device->getListener())
            listener->hidConnectionCallback (false);

    devices.clear();
    pimpl.reset();
    singletonHolder.clear (this);
}

// The first instance may start the manager on a host thread; the scan runs on the message thread and reads the
// services' side, so that is in place before the scan is posted.
void MidiManager::start (const StringArray& acceptedNames)
{
    pimpl.reset();
    deviceNames = acceptedNames;
    pimpl = std::make_unique<Pimpl> (*this);
    started = true;
    pimpl->triggerAsyncUpdate();
}

void MidiManager::handleAsyncUpdate()
{
    for (int i = 0; i < listeners.size(); ++i)
        listeners.getUnchecked (i)->connectionListChanged();
}

std::unique_ptr<OwnedArray<MidiManager::ConnectionStatus>> MidiManager::getConnectionList() const
{
    auto rows = std::make_unique<OwnedArray<ConnectionStatus>>();

    for (const auto& device : devices)
    {
        auto* listener = device->getListener();
        rows->add (new ConnectionStatus { device->serialNumber.load(), device->name,
                                          listener != nullptr ? ConnectionStatus::bound : ConnectionStatus::free,
                                          listener });
    }

    return rows;
}

platform::MIDIClientRef MidiManager::getClient() const noexcept
{
    return pimpl != nullptr ? pimpl->client : 0;
}

MidiManager::Pimpl::Pimpl (MidiManager& manager)
    : owner (manager)
{
    platform::MIDIClientCreate ("Vuruvodu Remote MIDI", &MIDISetupChangeCallback, this, &client);
}

// Disposing the client first guarantees the notify procedure no longer runs when the rest goes.
MidiManager::Pimpl::~Pimpl()
{
    platform::MIDIClientDispose (client);
    pendingDevices.clear();
    stopTimer();
}

void MidiManager::Pimpl::MIDISetupChangeCallback (const platform::MIDINotification* message, void* refCon)
{
    if (refCon != nullptr && message != nullptr && message->messageID == platform::kMIDIMsgSetupChanged)
        static_cast<Pimpl*> (refCon)->triggerAsyncUpdate();
}

void MidiManager::Pimpl::handleAsyncUpdate()
{
    const auto collections = collectOnlineDevices();
    dropVanishedDevices (collections);
    addNewDevices (collections);
}

std::vector<MidiManager::Pimpl::Collection> MidiManager::Pimpl::collectOnlineDevices() const
{
    const auto numDevices = platform::MIDIGetNumberOfDevices();
    std::vector<Collection> collections;

    for (const auto& acceptedName : owner.deviceNames)
    {
        Collection collection;

        for (int index = 0; index < numDevices; ++index)
        {
            const auto deviceRef = platform::MIDIGetDevice (index);
            std::string deviceName;
            std::int32_t offline = 1;

            if (platform::MIDIObjectGetStringProperty (deviceRef, platform::MIDIProperty::name, deviceName) ==
                    platform::noErr &&
                platform::MIDIObjectGetIntegerProperty (deviceRef, platform::MIDIProperty::offline, offline) ==
                    platform::noErr &&
                offline == 0 && acceptedName == String (deviceName))
                collection.push_back (deviceRef);
        }

        collections.push_back (std::move (collection));
    }

    return collections;
}

// A unit that went offline or away is dropped; its listener hears of it first.
void MidiManager::Pimpl::dropVanishedDevices (const std::vector<Collection>& collections)
{
    const auto isOnline = [&collections] (platform::MIDIDeviceRef deviceRef)
    {
        return std::any_of (collections.begin(), collections.end(),
                            [deviceRef] (const Collection& collection) {
                                return std::find (collection.begin(), collection.end(), deviceRef) != collection.end();
                            });
    };

    auto& ownedDevices = owner.devices;

    for (auto it = ownedDevices.begin(); it != ownedDevices.end();)
    {
        if (isOnline ((*it)->pimpl->deviceRef))
        {
            ++it;
            continue;
        }

        if (auto* listener = (*it)->getListener())
            listener->hidConnectionCallback (false);

        owner.triggerAsyncUpdate();
        it = ownedDevices.erase (it);
    }
}

void MidiManager::Pimpl::addNewDevices (const std::vector<Collection>& collections)
{
    for (int nameIndex = 0; nameIndex < (int) collections.size(); ++nameIndex)
    {
        for (auto deviceRef : collections[(size_t) nameIndex])
        {
            if (isKnown (deviceRef))
                continue;

            auto device = std::make_unique<MidiDevice> (owner, deviceRef, owner.deviceNames[nameIndex]);
            const auto& request = SysExProtocol::identifyRequest;
            device->sendSysex (request.data(), (int) request.size());
            pendingDevices.push_back (std::move (device));
            startTimer (handshakeIntervalMs);
        }
    }
}

bool MidiManager::Pimpl::isKnown (platform::MIDIDeviceRef deviceRef) const
{
    const auto matches = [deviceRef] (const std::unique_ptr<MidiDevice>& device)
    { return device->pimpl->deviceRef == deviceRef; };

    return std::any_of (owner.devices.begin(), owner.devices.end(), matches) ||
           std::any_of (pendingDevices.begin(), pendingDevices.end(), matches);
}

// Units that have answered are promoted; of those that have not, only the oldest is given up per tick.
void MidiManager::Pimpl::timerCallback()
{
    stopTimer();

    if (pendingDevices.empty())
        return;

    auto* oldest = pendingDevices.front().get();
    const auto oldestWasSilent = oldest->serialNumber.load() < 0;

    for (auto it = pendingDevices.begin(); it != pendingDevices.end();)
    {
        if ((*it)->serialNumber.load() < 0)
        {
            ++it;
            continue;
        }

        owner.devices.push_back (std::move (*it));
        it = pendingDevices.erase (it);

        if (auto* listener = owner.devices.back()->getListener())
            listener->hidConnectionCallback (true);

        owner.triggerAsyncUpdate();
    }

    if (oldestWasSilent && ! pendingDevices.empty() && pendingDevices.front().get() == oldest)
        pendingDevices.erase (pendingDevices.begin());

    if (! pendingDevices.empty())
        startTimer (handshakeIntervalMs);
}

} // namespace juce
