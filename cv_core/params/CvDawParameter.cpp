namespace juce
{

CvDawParameter::CvDawParameter (CvParamsManager& owner, int indexInStore, Options options)
    : AudioProcessorParameterWithID (options.parameterID, options.name,
                                     AudioProcessorParameterWithIDAttributes()
                                         .withLabel (options.label)
                                         .withCategory (options.category)
                                         .withMeta (true))
    , valueToText (std::move (options.valueToText))
    , manager (owner)
    , index (indexInStore)
    , range (options.range)
    , value (HostValue { options.defaultValue, 0 })
    , defaultValue (options.defaultValue)
    , decimalPlaces (options.decimalPlaces)
{
}

CvDawParameter::~CvDawParameter()
{
    cancelPendingUpdate();
}

float CvDawParameter::getValue() const
{
    return value.load().normalised;
}

// Called by hosts on any thread, possibly at audio rate: one atomic step, which another thread writing at that
// moment can make repeat, and an allocation-free trigger only when the value really changed. Not every host keeps
// to 0..1; what lies outside is clamped, and what is no number at all is ignored, so that nothing inside the
// plug-in converts it. A write of the value already there still counts as one of the host's writes.
void CvDawParameter::setValue (float newValue)
{
    if (! std::isfinite (newValue))
        return;

    const auto limited = jlimit (0.0f, 1.0f, newValue);
    auto previous = value.load();

    while (! value.compare_exchange_weak (previous, { limited, previous.hostWrites + 1 }))
    {
    }

    if (previous.normalised != limited)
        triggerAsyncUpdate();
}

float CvDawParameter::getDefaultValue() const
{
    return defaultValue;
}

// Hosts pass short maximum lengths; the names that identify the unit's controls are given whole.
String CvDawParameter::getName (int) const
{
    return name;
}

String CvDawParameter::getText (float normalisedValue, int) const
{
    if (valueToText)
        return valueToText (normalisedValue);

    return String (range.snapToLegalValue (range.convertFrom0to1 (normalisedValue)), decimalPlaces);
}

float CvDawParameter::getValueForText (const String& text) const
{
    auto number = text.trimStart();

    if (number.endsWith (label))
        number = number.dropLastCharacters (label.length());

    while (number.startsWithChar ('+'))
        number = number.substring (1).trimStart();

    number = number.initialSectionContainingOnly ("0123456789.,-").replaceCharacter (',', '.');

    // Hosts offer texts of their own, beyond the range; and a run of digits can stand for a number no float holds.
    const auto limited = range.getRange().clipValue (CvStateReader::readDouble (number));
    return (float) jlimit (0.0, 1.0, range.convertTo0to1 (limited));
}

void CvDawParameter::handleAsyncUpdate()
{
    deliver (value.load().normalised);
}

void CvDawParameter::deliverIfWrittenSince (uint32 hostWrites)
{
    if (const auto current = value.load(); current.hostWrites != hostWrites)
        deliver (current.normalised);
}

void CvDawParameter::deliver (float normalised)
{
    manager.setParamValue (this, index, (float) range.convertFrom0to1 (normalised));
}

// A value the host wrote after calling for the restore being run stays; the check and the store are one atomic
// step, so a host write in between is never overwritten. The host is told directly: its own setValue would count
// as a write of the host's.
void CvDawParameter::paramValueChanged (int, float newValue)
{
    const auto normalised = (float) range.convertTo0to1 (range.snapToLegalValue (newValue));
    auto current = value.load();

    do
    {
        if (manager.isWrittenSinceRunningRestore (index, current.hostWrites))
            return;
    } while (! value.compare_exchange_weak (current, { normalised, current.hostWrites }));

    sendValueChangedMessageToListeners (normalised);
}

void CvDawParameter::paramGestureChanged (int, bool starting)
{
    if (starting)
        beginChangeGesture();
    else
        endChangeGesture();
}

} // namespace juce
