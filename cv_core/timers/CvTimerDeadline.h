#pragma once

namespace juce
{
/** Makes a timer last at least the time it was started for.

    The framework's timer thread counts a newly started timer down from its own last wake-up, so the callback can
    come up to that sleep (100 ms, more on a loaded machine) early. A timer started through this object keeps its
    deadline, and its callback re-arms it for the time left when it comes too soon.
*/
class CvTimerDeadline
{
public:
    /** Starts (or restarts) the timer, with the deadline that many milliseconds from now. */
    void startTimer (Timer& timer, int milliseconds) noexcept
    {
        setDeadline (milliseconds);
        timer.startTimer (milliseconds);
    }

    void startTimer (MultiTimer& timers, int timerID, int milliseconds) noexcept
    {
        setDeadline (milliseconds);
        timers.startTimer (timerID, milliseconds);
    }

    /** For the timer's callback: true when it came before the deadline, after re-arming the timer for the rest. */
    bool rearmedBeforeDeadline (Timer& timer) const noexcept
    {
        const auto remaining = getRemainingMilliseconds();

        if (remaining <= 0)
            return false;

        timer.startTimer (remaining);
        return true;
    }

    bool rearmedBeforeDeadline (MultiTimer& timers, int timerID) const noexcept
    {
        const auto remaining = getRemainingMilliseconds();

        if (remaining <= 0)
            return false;

        timers.startTimer (timerID, remaining);
        return true;
    }

private:
    void setDeadline (int milliseconds) noexcept
    {
        deadline = Time::getMillisecondCounter() + (uint32) jmax (0, milliseconds);
    }

    // The unsigned difference stays right across the counter's wrap-around.
    int32 getRemainingMilliseconds() const noexcept { return (int32) (deadline - Time::getMillisecondCounter()); }

    uint32 deadline = 0;
};
} // namespace juce
