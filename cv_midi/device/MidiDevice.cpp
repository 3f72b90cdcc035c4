namespace juce
{

MidiDevice::MidiDevice (MidiManager& manager, platform::MIDIDeviceRef deviceRef, const String& acceptedName)
    : owner (&manager)
    , name (acceptedName)
{
    pimpl = std::make_unique<Pimpl> (*this, manager, deviceRef);
}

// The port goes first: closing it waits for a read in progress, which still uses the listener lock and the number.
MidiDevice::~MidiDevice()
{
    pimpl.reset();
}

bool MidiDevice::hasDestination() const noexcept
{
    return pimpl->destination != 0;
}

// The request and the bytes share one block, which the completion procedure frees; a send that fails at once
// is freed here.
void MidiDevice::sendSysex (const uint8* bytes, int numBytes)
{
    if (pimpl->destination == 0 || bytes == nullptr || numBytes <= 0)
        return;

    auto* block = static_cast<uint8*> (std::malloc (sizeof (platform::MIDISysexSendRequest) + (size_t) numBytes));

    if (block == nullptr)
        return;

    auto* data = block + sizeof (platform::MIDISysexSendRequest);
    std::memcpy (data, bytes, (size_t) numBytes);

    auto* request =
        new (block) platform::MIDISysexSendRequest { pimpl->destination,          data, (uint32) numBytes, false,
                                                     &Pimpl::MIDISendingComplete, block };

    if (platform::MIDISendSysex (request) != platform::noErr)
        std::free (block);
}

void MidiDevice::setListener (Listener* newListener)
{
    const std::lock_guard<std::mutex> lock (listenerLock);
    listener = newListener;
}

void MidiDevice::handlePacket (const uint8* bytes, size_t length)
{
    const auto message = SysExProtocol::decode (bytes, length);

    if (message.kind == SysExProtocol::Received::Kind::notOurs)
        return;

    // The first valid message, of whatever kind, tells the unit's number for good.
    auto unknown = -1;
    serialNumber.compare_exchange_strong (unknown, message.deviceByte);

    const std::lock_guard<std::mutex> lock (listenerLock);

    if (listener == nullptr)
        return;

    if (message.kind == SysExProtocol::Received::Kind::parameterValue)
        listener->paramReceived (message.controlNumber, message.deviceValue);
    else if (message.kind == SysExProtocol::Received::Kind::textReply)
        listener->extendedResponse (message.text);
}

MidiDevice::Pimpl::Pimpl (MidiDevice& device, MidiManager& midiManager, platform::MIDIDeviceRef ref)
    : deviceRef (ref)
    , manager (&midiManager)
    , owner (&device)
{
    openPorts();
}

MidiDevice::Pimpl::~Pimpl()
{
    if (inputPort == 0)
        return;

    platform::MIDIPortDisconnectSource (inputPort, source);
    platform::MIDIPortDispose (inputPort);
}

// A device without a port cannot answer and is given up by the handshake; one without a destination is never
// sent anything.
void MidiDevice::Pimpl::openPorts()
{
    if (platform::MIDIInputPortCreate (manager->getClient(), "Vuruvodu Remote MIDI Input", &MIDIReceiveCallback, this,
                                       &inputPort) != platform::noErr)
    {
        inputPort = 0;
        return;
    }

    if (platform::MIDIDeviceGetNumberOfEntities (deviceRef) < 1)
        return;

    const auto entity = platform::MIDIDeviceGetEntity (deviceRef, 0);

    if (entity == 0)
        return;

    if (platform::MIDIEntityGetNumberOfSources (entity) > 0)
    {
        source = platform::MIDIEntityGetSource (entity, 0);
        platform::MIDIPortConnectSource (inputPort, source, nullptr);
    }

    if (platform::MIDIEntityGetNumberOfDestinations (entity) > 0)
        destination = platform::MIDIEntityGetDestination (entity, 0);
}

void MidiDevice::Pimpl::MIDIReceiveCallback (const platform::MIDIPacketList* packets, void* readProcRefCon, void*)
{
    if (packets == nullptr || readProcRefCon == nullptr)
        return;

    auto& device = *static_cast<Pimpl*> (readProcRefCon)->owner;
    const auto* packet = packets->packet;

    for (uint32 i = 0; i < packets->numPackets; ++i, packet = platform::MIDIPacketNext (packet))
        if (packet->length > 0)
            device.handlePacket (packet->data, packet->length);
}

void MidiDevice::Pimpl::MIDISendingComplete (platform::MIDISysexSendRequest* request)
{
    std::free (request->completionRefCon);
}

} // namespace juce
