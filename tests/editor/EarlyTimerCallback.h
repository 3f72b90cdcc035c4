#pragma once

#include "support/MessageLoop.h"

#include <juce_events/juce_events.h>

namespace testsupport
{
/** Makes the callback of the next timer started come early. The framework's timer thread counts a new timer down
    from its own last wake-up: waking it, then waiting most of the sleep that follows (100 ms with no timer due),
    makes a timer started next lose nearly that sleep at once. A hold must still last its time. On a loaded
    machine the callback comes less early, which only makes the case milder.
*/
inline void provokeEarlyTimerCallback()
{
    struct Waker : public juce::Timer
    {
        void timerCallback() override
        {
            stopTimer();
            woken = true;
        }

        bool woken = false;
    } waker;

    waker.startTimer (1);
    pumpUntil ([&waker] { return waker.woken; });
    pumpMessages (90);
}
} // namespace testsupport
