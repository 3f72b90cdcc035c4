#pragma once

#include <juce_core/juce_core.h>

/** The texts hosts show and automate by, one function per kind of control, each given a parameter value 0..1.
    Values outside 0..1 are read as the nearest end.
*/
namespace ValueTexts
{
/** The unit's step 0..255 for a parameter value: trunc (255 v + 0.5) with a single rounding. */
int deviceStep (float value);

juce::String switchText (float value);
juce::String channelText (float value);
juce::String hpfFrequencyText (float value);
juce::String eq1FrequencyText (float value);
juce::String eq2FrequencyText (float value);
juce::String gainText (float value);
juce::String qText (float value);
juce::String encoderText (float value);
juce::String loCpsText (float value);
juce::String kcsBoostText (float value);
juce::String kcsAttenText (float value);

/** A non-negative number of tenths with one decimal, "14.0", whatever the process's locale. */
juce::String oneDecimal (int tenths);

// The numbers behind the texts, for read-outs that draw their own digits.
int hpfFrequencyHertz (float value);
int eq1FrequencyHertz (float value);
/** In tenths of a kilohertz. */
int eq2FrequencyTenths (float value);
/** In tenths of a decibel, negative in the lower half of the range; zero at and next to the centre. */
int gainTenths (float value);
/** The 0.0 to 14.0 scale, in tenths. */
int encoderTenths (float value);
} // namespace ValueTexts
