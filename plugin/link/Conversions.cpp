#include "Conversions.h"

#include <cmath>
#include <utility>

namespace Conversions
{
namespace
{
float unitRange (float value)
{
    return juce::jlimit (0.0f, 1.0f, value);
}

int flagBit (Pair pair)
{
    constexpr std::pair<Pair, int> inFlags[] {
        { Pair::hpfInFlag, 2 }, { Pair::eq1InFlag, 4 }, { Pair::eq2InFlag, 8 }, { Pair::peqInFlag, 16 }
    };

    for (const auto& [flag, bit] : inFlags)
        if (flag == pair)
            return bit;

    return 64; // ENGAGE
}

float linearToParameter (int value)
{
    return unitRange ((float) value / 255.0f);
}

int linearToDevice (float value)
{
    return nearest (value * 255.0f);
}

float qToParameter (int value)
{
    if (value == 255)
        return 0.0f;

    if (value == 127)
        return 0.5f;

    return unitRange ((float) (8 - (value >> 5)) * 0.125f);
}

int qToDevice (float value)
{
    const auto step = nearest (value * 8.0f);
    return step == 0 ? 255 : 256 - 32 * step;
}

// The first set bit of the unit's one-hot steps, from the lowest setting up.
float kcsBoostToParameter (int value)
{
    constexpr int bits[] { 64, 32, 16, 8, 4, 2 };

    for (int step = 0; step < 6; ++step)
        if ((value & bits[step]) != 0)
            return (float) step / 6.0f;

    return 1.0f;
}

int kcsBoostToDevice (float value)
{
    constexpr int bits[] { 64, 32, 16, 8, 4, 2 };
    const auto step = nearest (value * 6.0f);
    return juce::isPositiveAndBelow (step, 6) ? bits[step] : 1;
}

float loCpsToParameter (int value)
{
    if ((value & 8) != 0)
        return 0.0f;

    if ((value & 4) != 0)
        return 1.0f / 3.0f;

    return (value & 2) != 0 ? 2.0f / 3.0f : 1.0f;
}

int loCpsToDevice (float value)
{
    constexpr int bits[] { 8, 4, 2 };
    const auto step = nearest (value * 3.0f);
    return juce::isPositiveAndBelow (step, 3) ? bits[step] : 1;
}

float kcsAttenToParameter (int value)
{
    if ((value & 16) != 0)
        return 1.0f;

    return (value & 32) != 0 ? 0.5f : 0.0f;
}

int kcsAttenToDevice (float value)
{
    const auto step = nearest (value + value);
    return step == 0 ? 64 : (step == 1 ? 32 : 16);
}
} // namespace

int nearest (float product)
{
    return (int) std::nearbyint ((double) product);
}

ToParameter toParameter (Pair pair)
{
    switch (pair)
    {
        case Pair::hpfFrequency:
        case Pair::gain:
        case Pair::frequency:
        case Pair::shelfAndBandwidth:
            return linearToParameter;
        case Pair::qSteps:
            return qToParameter;
        case Pair::kcsBoostSteps:
            return kcsBoostToParameter;
        case Pair::loCpsSteps:
            return loCpsToParameter;
        case Pair::kcsAttenSteps:
            return kcsAttenToParameter;
        case Pair::direct:
            return [] (int value) { return unitRange ((float) value); };
        case Pair::hpfInFlag:
        case Pair::eq1InFlag:
        case Pair::eq2InFlag:
        case Pair::peqInFlag:
        case Pair::engageFlag:
            break;
    }

    return [bit = flagBit (pair)] (int value) { return (value & 0xff & bit) != 0 ? 1.0f : 0.0f; };
}

ToDevice toDevice (Pair pair)
{
    switch (pair)
    {
        case Pair::hpfFrequency:
        case Pair::gain:
        case Pair::frequency:
        case Pair::shelfAndBandwidth:
            return linearToDevice;
        case Pair::qSteps:
            return qToDevice;
        case Pair::kcsBoostSteps:
            return kcsBoostToDevice;
        case Pair::loCpsSteps:
            return loCpsToDevice;
        case Pair::kcsAttenSteps:
            return kcsAttenToDevice;
        case Pair::direct:
            return [] (float value) { return nearest (value); };
        case Pair::hpfInFlag:
        case Pair::eq1InFlag:
        case Pair::eq2InFlag:
        case Pair::peqInFlag:
        case Pair::engageFlag:
            break;
    }

    return [bit = flagBit (pair)] (float value) { return value > 0.5f ? bit : 0; };
}

ToValue abFlagToValue()
{
    return [] (int value) { return juce::var ((value & 0xff & 32) != 0); };
}

ValueToDevice abFlagToDevice()
{
    return [] (juce::var value) { return (bool) value ? 32 : 0; };
}
} // namespace Conversions
