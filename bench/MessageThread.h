#pragma once

#include <juce_events/juce_events.h>

#include <chrono>
#include <functional>

namespace bench
{
/** Runs a function on the message thread, which the benchmark's main runs apart from the benchmark threads,
    and waits for it.
*/
void onMessageThread (const std::function<void()>& function);

/** The seconds from the given start until every message posted to the message thread before now has run. */
inline double secondsUntilMessagesRan (std::chrono::steady_clock::time_point start)
{
    onMessageThread ([] {});
    return std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();
}
} // namespace bench
