#pragma once

namespace juce
{

/** A named request for whatever part of the plug-in can answer it. */
class CvCommand
{
public:
    explicit CvCommand (const Identifier& commandId)
        : id (commandId)
    {
    }
    virtual ~CvCommand() = default;

    Identifier id;
};

class CommandListener
{
public:
    virtual ~CommandListener() = default;

    /** Returns true when the command was handled, which ends its offer. The pointer is valid only during the
        call.
    */
    virtual bool commandListenerCallback (CvCommand* command) = 0;
};

/** Queues commands and, one per message-loop turn, offers each to the listeners from the last registered to
    the first, then to the owner's fallback.
*/
class CommandManager
{
public:
    CommandManager();
    virtual ~CommandManager() = default;

    void sendCommand (std::unique_ptr<CvCommand> command);

    /** Receives each command that no listener handled. */
    virtual void commandFallback (std::unique_ptr<CvCommand>) {}

    class CommandAsyncCallback : public AsyncUpdater
    {
    public:
        explicit CommandAsyncCallback (CommandManager& owner)
            : manager (owner)
        {
        }
        void handleAsyncUpdate() override;

    private:
        CommandManager& manager;
    };

    CommandAsyncCallback commandAsyncCallback;
    Array<CommandListener*> listeners;

private:
    void deliverOldestCommand();

    OwnedArray<CvCommand> queue;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CommandManager)
};

} // namespace juce
