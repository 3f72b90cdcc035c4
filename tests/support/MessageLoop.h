#pragma once

#include <functional>

namespace testsupport
{
/** Runs the message loop for the given time. */
void pumpMessages (int milliseconds);

/** Runs the message loop until the condition holds or the timeout passes; returns the condition's last value. */
bool pumpUntil (const std::function<bool()>& condition, int timeoutMilliseconds = 2000);
} // namespace testsupport
