#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

namespace testsupport
{
/** The values a host reads from a processor's listed parameters, in their order. */
inline std::vector<float> hostValuesOf (const juce::AudioProcessor& processor)
{
    std::vector<float> values;

    for (const auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());

    return values;
}
} // namespace testsupport
