#pragma once

namespace juce
{

/** Holds the message thread for work that a host asks for on a thread of its own, so that the work cannot
    overlap anything the message thread runs: hosts restore and destroy instances on their own threads, while
    the plug-in's model, timers and messages belong to the message thread.

    On the message thread, or on a thread that holds it already, nothing needs holding. Elsewhere the message
    manager's lock is taken, which the message thread grants between two of its messages. The hold lasts as long
    as the object.
*/
class CvMessageThreadHold
{
public:
    CvMessageThreadHold() = default;
    ~CvMessageThreadHold();

    /** Waits as long as it takes: for work that must not be left undone, such as tearing an instance down. */
    void hold();

    /** Waits at most the given time; returns whether the message thread is held. A host may call while its own
        loop, which runs the plug-in's messages, waits for that very call: then no wait can succeed until the
        loop runs again, so once one has timed out, later ones give up at once until it has.
    */
    bool tryHold (int timeoutMilliseconds);

private:
    bool acquire (int timeoutMilliseconds);

    MessageManager::Lock lock;
    bool locked = false;

    JUCE_DECLARE_NON_COPYABLE (CvMessageThreadHold)
};

} // namespace juce
