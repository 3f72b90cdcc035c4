#pragma once

#include <functional>

namespace testsupport
{
/** Runs the message loop for the given time. */
void pumpMessages (int milliseconds);

/** Runs the message loop until the condition holds or the timeout passes; returns the condition's last value. */
bool pumpUntil (const std::function<bool()>& condition, int timeoutMilliseconds = 2000);

/** Runs the work on a thread of its own, as a host's thread beside the plug-in's message thread, while this
    thread runs the message loop; returns when the work is done.
*/
void runOnHostThread (const std::function<void()>& work);
} // namespace testsupport
