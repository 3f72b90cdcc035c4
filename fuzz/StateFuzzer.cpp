#include <PluginInstance.h>
#include <support/TemporaryHome.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size);

namespace
{
// Made on the first input and never destroyed: libFuzzer ends the process from inside its loop.
struct Environment
{
    testsupport::TemporaryHome home;
    juce::ScopedJuceInitialiser_GUI juce;
};

// A message posted behind everything already queued: runDispatchLoopUntil (0) then delivers the whole queue
// instead of sleeping a millisecond on an empty one.
void deliverPendingMessages()
{
    juce::MessageManager::callAsync ([] {});
    juce::MessageManager::getInstance()->runDispatchLoopUntil (0);
}
} // namespace

// Every input gets a new instance, as a host loading a project makes one, so a crash reproduces from its input
// alone.
extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    static const auto* environment = new Environment();
    juce::ignoreUnused (environment);

    Vu418dPluginInstance instance;
    instance.setStateInformation (data, (int) size);
    deliverPendingMessages();
    return 0;
}
