#pragma once

#include <juce_events/juce_events.h>

#include <functional>

namespace bench
{
/** Runs a function on the message thread, which the benchmark's main runs apart from the benchmark threads,
    and waits for it.
*/
void onMessageThread (const std::function<void()>& function);
} // namespace bench
