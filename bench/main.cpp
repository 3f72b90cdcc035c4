#include "MessageThread.h"

#include <support/TemporaryHome.h>

#include <benchmark/benchmark.h>

#include <future>
#include <thread>

namespace
{
juce::MessageManager* messageManager = nullptr;
}

namespace bench
{
void onMessageThread (const std::function<void()>& function)
{
    messageManager->callFunctionOnMessageThread (
        [] (void* f) -> void*
        {
            (*static_cast<const std::function<void()>*> (f))();
            return nullptr;
        },
        const_cast<std::function<void()>*> (&function));
}
} // namespace bench

// The message thread runs beside the benchmarks, as in a host, so host writes are measured from another thread
// while deliveries happen concurrently.
int main (int argc, char** argv)
{
    benchmark::Initialize (&argc, argv);
    const testsupport::TemporaryHome home;

    std::promise<void> started;
    std::thread messageThread (
        [&started]
        {
            const juce::ScopedJuceInitialiser_GUI juce;
            messageManager = juce::MessageManager::getInstance();
            started.set_value();
            messageManager->runDispatchLoop();
        });
    started.get_future().wait();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    messageManager->stopDispatchLoop();
    messageThread.join();
    return 0;
}
