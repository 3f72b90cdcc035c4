namespace juce
{

CommandManager::CommandManager()
    : commandAsyncCallback (*this)
{
}

void CommandManager::sendCommand (std::unique_ptr<CvCommand> command)
{
    queue.add (std::move (command));
    commandAsyncCallback.triggerAsyncUpdate();
}

void CommandManager::CommandAsyncCallback::handleAsyncUpdate()
{
    manager.deliverOldestCommand();
}

void CommandManager::deliverOldestCommand()
{
    if (queue.isEmpty())
        return;

    std::unique_ptr<CvCommand> command (queue.removeAndReturn (0));
    auto handled = false;

    // Indexed access tolerates a listener that removes itself from inside its callback.
    for (int i = listeners.size(); --i >= 0 && ! handled;)
        if (auto* listener = listeners[i])
            handled = listener->commandListenerCallback (command.get());

    if (! handled)
        commandFallback (std::move (command));

    if (! queue.isEmpty())
        commandAsyncCallback.triggerAsyncUpdate();
}

} // namespace juce
