#pragma once

#include <juce_core/juce_core.h>

// Defined here so every translation unit holds its own copy; identifiers compare by their pooled string.
namespace Ids::cvVu418d
{
static const juce::Identifier showDeviceSelector ("showDeviceSelector");
static const juce::Identifier loadPreset ("loadPreset");
static const juce::Identifier savePreset ("savePreset");
} // namespace Ids::cvVu418d
