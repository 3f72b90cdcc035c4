#pragma once

#include <juce_core/juce_core.h>

/** The product's parameter vocabulary: names and indices of the 42 automatable and 10 non-automatable
    parameters.
*/
namespace ParamData
{
constexpr int numChannelControls = 20;
constexpr int numAutomatable = 42;
constexpr int numNonAutomatable = 10;

/** Automatable indices: 0..19 are channel 1, k + 20 the same control of channel 2. */
enum AutomatableIndex
{
    engage = 0,
    hpfIn,
    hpfFreq,
    eq1In,
    eq1Gain,
    eq1Q,
    eq1Freq,
    eq2In,
    eq2Gain,
    eq2Q,
    eq2Freq,
    peqIn,
    loBoost,
    loAtten,
    loCps,
    hiBoost,
    hiAtten,
    hiBw,
    kcsBoost,
    kcsAtten,
    channel = 40,
    msMatrix = 41
};

enum NonAutomatableIndex
{
    isConnected = 0,
    connectedDevSn,
    shouldBeConnected,
    selectedChannel,
    panelsOpened,
    abSelected,
    canBeMs,
    clipL,
    clipR,
    guiThemeChooser
};

/** The channel a front panel is built for. */
enum SelectedChannel
{
    channel1 = 0,
    channel2 = 1
};

extern const char* const paramName[numAutomatable];
extern const char* const naParamName[numNonAutomatable];
} // namespace ParamData
