#pragma once

namespace juce
{

/** Marks the hardware side's parameter objects. */
class HwParameter
{
public:
    virtual ~HwParameter() = default;
};

} // namespace juce
