#include "MessageLoop.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <thread>

namespace testsupport
{
void pumpMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

bool pumpUntil (const std::function<bool()>& condition, int timeoutMilliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMilliseconds;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;

        pumpMessages (1);
    }

    return true;
}
void runOnHostThread (const std::function<void()>& work)
{
    std::atomic<bool> done { false };
    std::thread host (
        [&]
        {
            work();
            done = true;
        });

    while (! done)
        pumpMessages (1);

    host.join();
}
} // namespace testsupport
