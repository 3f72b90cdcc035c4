#include "MidiBridge.h"

#include "PluginInstance.h"

#include <optional>

namespace
{
using Conversions::Pair;

/** A control of both channels on a control number of its own, in the order the mirrors are built. */
struct PairRow
{
    int controlNumber;
    int channel1Index;
    Pair pair;
};

constexpr PairRow pairsBeforeFlags[] {
    { 1, ParamData::eq1Gain, Pair::gain },          { 2, ParamData::eq1Q, Pair::qSteps },
    { 3, ParamData::eq1Freq, Pair::frequency },     { 6, ParamData::eq2Gain, Pair::gain },
    { 7, ParamData::eq2Q, Pair::qSteps },           { 8, ParamData::eq2Freq, Pair::frequency },
    { 11, ParamData::hpfFreq, Pair::hpfFrequency },
};

constexpr PairRow pairsAfterFlags[] {
    { 4, ParamData::loBoost, Pair::shelfAndBandwidth }, { 9, ParamData::loAtten, Pair::shelfAndBandwidth },
    { 5, ParamData::hiBoost, Pair::shelfAndBandwidth }, { 10, ParamData::hiAtten, Pair::shelfAndBandwidth },
    { 16, ParamData::hiBw, Pair::shelfAndBandwidth },   { 12, ParamData::kcsBoost, Pair::kcsBoostSteps },
};

constexpr int switchControl = 13;
constexpr int flagControl = 15;
constexpr int monoControl = 17;
constexpr int hiBwControl = 16;

int partnerOf (int channel1Index)
{
    return channel1Index + ParamData::numChannelControls;
}

MidiPackedMirror::Member memberOf (int channel1Index, Pair pair)
{
    return { { channel1Index, partnerOf (channel1Index) },
             Vu418dMidiBridge::getLambdaMidiIntToFloat ((int) pair),
             Vu418dMidiBridge::getLambdaMidiFloatToInt ((int) pair) };
}

// A unit whose firmware is 2.28 or later can switch to mid/side. Only the firmware text says so: the unit
// answers the information request with its uptime and front-panel counts too, whose digits mean nothing here.
std::optional<bool> canDoMidSide (const juce::String& text)
{
    if (! text.startsWith ("Firmware version"))
        return {};

    return text.substring (18, 22).getDoubleValue() >= 2.28;
}
} // namespace

Vu418dMidiBridge::Vu418dMidiBridge (Vu418dPluginInstance& instance, Vu418dParamsManager& manager)
    : pluginInstance (&instance)
    , paramsManager (&manager)
    , canBeMsBarrier (manager, ParamData::canBeMs)
{
}

Vu418dMidiBridge::~Vu418dMidiBridge()
{
    deleteMirrors();
}

Conversions::ToParameter Vu418dMidiBridge::getLambdaMidiIntToFloat (int pair)
{
    return Conversions::toParameter ((Pair) pair);
}

Conversions::ToDevice Vu418dMidiBridge::getLambdaMidiFloatToInt (int pair)
{
    return Conversions::toDevice ((Pair) pair);
}

Conversions::ToValue Vu418dMidiBridge::getLambdaMidiIntToVar (int)
{
    return Conversions::abFlagToValue();
}

Conversions::ValueToDevice Vu418dMidiBridge::getLambdaMidiVarToInt (int)
{
    return Conversions::abFlagToDevice();
}

// Binding pushes the whole state to the unit: the channel code locks the other mirrors, and 500 ms later (or
// once the unit reports control 16) every mirror sends its values.
void Vu418dMidiBridge::setConnectedMidiDevice (juce::MidiDevice* newDevice)
{
    {
        const std::lock_guard<std::mutex> lock (mirrorsLock);
        device = newDevice;
        deleteMirrors();
        buildMirrors();
    }

    channelMirror->sendCode (channelMirror->computeCode());

    if (device != nullptr && device->hasDestination())
    {
        const auto& request = juce::SysExProtocol::informationRequest;
        device->sendSysex (request.data(), (int) request.size());
    }
}

void Vu418dMidiBridge::buildMirrors()
{
    auto& store = *paramsManager;
    channelMirror = std::make_unique<MidiChannelParam> (device, store, ParamData::channel, ParamData::selectedChannel);
    std::vector<MidiChannelParam::ChannelRecallingListener*> inTableOrder;

    const auto addPairs = [&] (const auto& rows)
    {
        for (const auto& row : rows)
        {
            auto& mirror = pairMirrors[row.controlNumber];
            mirror = std::make_unique<MidiLRParam> (device, store, row.channel1Index, partnerOf (row.channel1Index),
                                                    row.controlNumber, getLambdaMidiIntToFloat ((int) row.pair),
                                                    getLambdaMidiFloatToInt ((int) row.pair));
            inTableOrder.push_back (mirror.get());
        }
    };

    addPairs (pairsBeforeFlags);

    flagMirror = std::make_unique<MidiBoolParams> (
        device, store,
        std::vector<MidiPackedMirror::Member> {
            memberOf (ParamData::hpfIn, Pair::hpfInFlag), memberOf (ParamData::eq1In, Pair::eq1InFlag),
            memberOf (ParamData::eq2In, Pair::eq2InFlag), memberOf (ParamData::peqIn, Pair::peqInFlag),
            memberOf (ParamData::engage, Pair::engageFlag) },
        flagControl, ParamData::abSelected, getLambdaMidiIntToVar (0), getLambdaMidiVarToInt (0));
    inTableOrder.push_back (flagMirror.get());

    addPairs (pairsAfterFlags);

    switchMirror = std::make_unique<MidiSwitchParams> (
        device, store, ParamData::loCps, partnerOf (ParamData::loCps), switchControl,
        getLambdaMidiIntToFloat ((int) Pair::loCpsSteps), getLambdaMidiFloatToInt ((int) Pair::loCpsSteps),
        ParamData::kcsAtten, partnerOf (ParamData::kcsAtten), getLambdaMidiIntToFloat ((int) Pair::kcsAttenSteps),
        getLambdaMidiFloatToInt ((int) Pair::kcsAttenSteps));
    inTableOrder.push_back (switchMirror.get());

    monoMirror = std::make_unique<MidiMonoParam> (device, store, ParamData::msMatrix, monoControl,
                                                  getLambdaMidiIntToFloat ((int) Pair::direct),
                                                  getLambdaMidiFloatToInt ((int) Pair::direct));
    inTableOrder.push_back (monoMirror.get());

    channelMirror->recallingListeners.addArray (inTableOrder.data(), (int) inTableOrder.size());
}

void Vu418dMidiBridge::deleteMirrors()
{
    if (channelMirror != nullptr)
        channelMirror->recallingListeners.clear();

    channelMirror.reset();
    pairMirrors.clear();
    flagMirror.reset();
    switchMirror.reset();
    monoMirror.reset();
}

void Vu418dMidiBridge::hidConnectionCallback (bool available)
{
    if (available)
        return;

    pluginInstance->getConnectionHandOver().setValue (false);
    pluginInstance->startTimer (1000);

    const std::lock_guard<std::mutex> lock (mirrorsLock);
    deleteMirrors();
}

void Vu418dMidiBridge::paramReceived (int controlNumber, int deviceValue)
{
    const std::lock_guard<std::mutex> lock (mirrorsLock);

    if (channelMirror == nullptr)
        return;

    if (auto pair = pairMirrors.find (controlNumber); pair != pairMirrors.end())
    {
        pair->second->paramMidiChanged (deviceValue);

        if (controlNumber == hiBwControl)
            channelMirror->requestEarlyRecall();

        return;
    }

    switch (controlNumber)
    {
        case MidiChannelParam::controlNumber:
            channelMirror->receiveCode (deviceValue);
            break;
        case switchControl:
            switchMirror->paramMidiChanged (deviceValue);
            break;
        case flagControl:
            flagMirror->paramMidiChanged (deviceValue);
            break;
        case monoControl:
            monoMirror->paramMidiChanged (deviceValue);
            break;
        default:
            break;
    }
}

void Vu418dMidiBridge::extendedResponse (juce::String text)
{
    if (const auto ability = canDoMidSide (text))
        canBeMsBarrier.setValue (*ability);
}
