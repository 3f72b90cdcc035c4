namespace juce
{

namespace
{
std::atomic<bool> messageThreadStalled { false };
} // namespace

CvMessageThreadHold::~CvMessageThreadHold()
{
    if (locked)
        lock.exit();
}

void CvMessageThreadHold::hold()
{
    acquire (-1);
}

bool CvMessageThreadHold::tryHold (int timeoutMilliseconds)
{
    return acquire (jmax (0, timeoutMilliseconds));
}

// A negative timeout waits for good. The framework's lock gives up only when told to, so a watchdog tells it
// once the time is up.
bool CvMessageThreadHold::acquire (int timeoutMilliseconds)
{
    auto* messageManager = MessageManager::getInstanceWithoutCreating();

    // Without a message manager no message loop runs anything of the plug-in.
    if (locked || messageManager == nullptr || messageManager->currentThreadHasLockedMessageManager())
        return true;

    const auto bounded = timeoutMilliseconds >= 0;

    if (bounded && messageThreadStalled.load())
        return false;

    WaitableEvent settled;
    std::atomic<bool> timedOut { false };
    std::thread watchdog;

    if (bounded)
        watchdog = std::thread (
            [&]
            {
                if (! settled.wait (timeoutMilliseconds))
                {
                    timedOut = true;
                    lock.abort();
                }
            });

    locked = lock.tryEnter();
    settled.signal();

    if (watchdog.joinable())
        watchdog.join();

    // Refused without a timeout, the lock tells that the loop has quit: none of its messages runs any more.
    if (locked || ! timedOut)
        return true;

    messageThreadStalled = true;
    MessageManager::callAsync ([] { messageThreadStalled = false; });
    return false;
}

} // namespace juce
