#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/** The converter pairs between a unit's device values (0..255 on the wire) and parameter values (0..1).

    Device-to-parameter converters always return a value within 0..1, whatever they are given: a damaged
    message can carry a device value above 255.
*/
namespace Conversions
{
using ToParameter = std::function<float (int)>;
using ToDevice = std::function<int (float)>;
using ToValue = std::function<juce::var (int)>;
using ValueToDevice = std::function<int (juce::var)>;

/** Which pair a control uses. */
enum class Pair
{
    hpfFrequency,
    gain,
    frequency,
    shelfAndBandwidth,
    qSteps,
    kcsBoostSteps,
    loCpsSteps,
    kcsAttenSteps,
    hpfInFlag,
    eq1InFlag,
    eq2InFlag,
    peqInFlag,
    engageFlag,
    direct
};

ToParameter toParameter (Pair pair);
ToDevice toDevice (Pair pair);

/** The A/B flag of the non-automatable "A/B SELECTED". */
ToValue abFlagToValue();
ValueToDevice abFlagToDevice();

/** The product in single precision, widened and rounded to the nearest integer, halves to even. */
int nearest (float product);
} // namespace Conversions
