#include "ValueTexts.h"

#include <cmath>

namespace ValueTexts
{
namespace
{
using Table = std::array<int, 16>;

// Tables of the unit's scales; the last entry repeats the one before so interpolation never reads past them.
constexpr Table hpfHertz { 18, 21, 24, 28, 36, 44, 52, 60, 80, 100, 120, 140, 160, 180, 200, 200 };
constexpr Table eq1Hertz { 45, 100, 150, 180, 230, 270, 300, 360, 400, 460, 520, 620, 700, 840, 999, 999 };
constexpr Table eq2TenthsOfKilohertz { 6, 15, 22, 28, 35, 41, 47, 50, 61, 69, 79, 90, 106, 125, 150, 150 };
constexpr Table gainTenthsOfDecibel { 0, 5, 10, 15, 20, 25, 35, 40, 50, 60, 75, 90, 100, 120, 150, 150 };

float clampToUnit (float value)
{
    return value >= 0.0f ? std::min (value, 1.0f) : 0.0f; // NaN reads as 0
}

bool isLowerHalf (float value)
{
    return clampToUnit (value) < 0.5f;
}

// trunc (scale * v + 0.5) with the product and sum rounded once, as the unit's firmware steps are defined.
int roundedPosition (float scale, float value)
{
    return (int) std::fma (scale, clampToUnit (value), 0.5f);
}

int interpolatedFrequency (const Table& table, float value)
{
    const auto position = 256 * deviceStep (value);
    const auto segment = position / 4630;
    const auto fraction = (position - 4630 * segment) / 16;
    return table[(size_t) segment] + fraction * (table[(size_t) segment + 1] - table[(size_t) segment]) / 290;
}

template <size_t size>
juce::String listEntry (const char* const (&texts)[size], float scale, float value)
{
    return texts[(size_t) roundedPosition (scale, value)];
}
} // namespace

// Built from whole numbers: the framework's decimal formatting follows the process's locale, which a host may
// have set to one with a decimal comma.
juce::String oneDecimal (int tenths)
{
    return juce::String (tenths / 10) + "." + juce::String (tenths % 10);
}

int deviceStep (float value)
{
    return roundedPosition (255.0f, value);
}

juce::String switchText (float value)
{
    return value > 0.5f ? "ON" : "OFF";
}

juce::String channelText (float value)
{
    return value > 0.5f ? "DUAL MONO" : "STEREO";
}

int hpfFrequencyHertz (float value)
{
    return interpolatedFrequency (hpfHertz, value);
}

int eq1FrequencyHertz (float value)
{
    return interpolatedFrequency (eq1Hertz, value);
}

int eq2FrequencyTenths (float value)
{
    return interpolatedFrequency (eq2TenthsOfKilohertz, value);
}

juce::String hpfFrequencyText (float value)
{
    return juce::String (hpfFrequencyHertz (value)) + " Hz";
}

juce::String eq1FrequencyText (float value)
{
    return juce::String (eq1FrequencyHertz (value)) + " Hz";
}

juce::String eq2FrequencyText (float value)
{
    return oneDecimal (eq2FrequencyTenths (value)) + " kHz";
}

// The gain scale is mirrored about the centre step.
int gainTenths (float value)
{
    const auto step = deviceStep (value);
    const auto lowerHalf = isLowerHalf (value);
    const auto fromCentre = lowerHalf ? std::max (0, 127 - step) : step - 128;
    const auto position = 512 * fromCentre + (lowerHalf ? 31 : 480);
    const auto segment = position / 4620;
    const auto fraction = position / 462 - 10 * segment;
    const auto& t = gainTenthsOfDecibel;
    const auto tenths = t[(size_t) segment] + fraction * (t[(size_t) segment + 1] - t[(size_t) segment]) / 10;

    return lowerHalf ? -tenths : tenths;
}

int encoderTenths (float value)
{
    return (int) (((juce::int64) deviceStep (value) * 4628224) >> 23);
}

// Every text of the lower half carries a minus sign, even where the value is zero, as the unit's own read-out does.
juce::String gainText (float value)
{
    return (isLowerHalf (value) ? "-" : "") + oneDecimal (std::abs (gainTenths (value)));
}

juce::String qText (float value)
{
    static const char* const texts[] { "0.2", "0.4", "0.7", "1.0", "1.3", "1.6", "2.0", "2.5", "3.0" };
    const auto fromTop = std::fma (-8.0f, clampToUnit (value), 8.0f);
    return texts[(size_t) (fromTop + 0.5f)];
}

juce::String encoderText (float value)
{
    return oneDecimal (encoderTenths (value));
}

juce::String loCpsText (float value)
{
    static const char* const texts[] { "20", "30", "60", "100" };
    return listEntry (texts, 3.0f, value);
}

juce::String kcsBoostText (float value)
{
    static const char* const texts[] { "3", "4", "5", "8", "10", "12", "16" };
    return listEntry (texts, 6.0f, value);
}

juce::String kcsAttenText (float value)
{
    static const char* const texts[] { "5", "10", "20" };
    return listEntry (texts, 2.0f, value);
}
} // namespace ValueTexts
