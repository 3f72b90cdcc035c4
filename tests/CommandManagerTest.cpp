#include <cv_core/cv_core.h>

#include <gtest/gtest.h>

#include "support/MessageLoop.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;

struct CountedCommand : juce::CvCommand
{
    using CvCommand::CvCommand;
    ~CountedCommand() override { ++destructions; }
    static inline int destructions = 0;
};

// Logs "name:command" for every offer and handles the commands the answer function accepts.
struct Listener : juce::CommandListener
{
    Listener (std::shared_ptr<Log> logToUse, std::string listenerName, std::function<bool (juce::CvCommand&)> accept)
        : log (std::move (logToUse))
        , name (std::move (listenerName))
        , answer (std::move (accept))
    {
    }

    bool commandListenerCallback (juce::CvCommand* command) override
    {
        log->push_back (name + ":" + command->id.toString().toStdString());
        return answer (*command);
    }

    std::shared_ptr<Log> log;
    std::string name;
    std::function<bool (juce::CvCommand&)> answer;
};

struct RecordingManager : juce::CommandManager
{
    void commandFallback (std::unique_ptr<juce::CvCommand> command) override
    {
        received.push_back (std::move (command));
    }

    std::vector<std::unique_ptr<juce::CvCommand>> received;
};
} // namespace

TEST (CommandManager, OffersOneCommandPerLoopTurnFromTheLastListenerToTheFallback)
{
    auto log = std::make_shared<Log>();
    CountedCommand::destructions = 0;
    RecordingManager manager;
    Listener first (log, "first", [] (juce::CvCommand& c) { return c.id.toString() == "0"; });
    Listener middle (log, "middle",
                     [&] (juce::CvCommand&)
                     {
                         manager.listeners.removeAllInstancesOf (&middle);
                         return false;
                     });
    Listener last (log, "last",
                   [log] (juce::CvCommand& c)
                   {
                       // Each command is deleted after its own offer, so command n sees the n before it gone.
                       EXPECT_EQ (CountedCommand::destructions, c.id.toString().getIntValue());

                       // Runs before the next offer only if that offer waits for a loop turn of its own.
                       if (log->size() == 1)
                           juce::MessageManager::callAsync ([log] { log->push_back ("turn"); });

                       return c.id.toString() == "1";
                   });

    manager.listeners.addArray ({ &first, &middle, &last });

    for (auto* id : { "0", "1", "2" })
        manager.sendCommand (std::make_unique<CountedCommand> (id));

    EXPECT_TRUE (log->empty());
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return manager.received.size() == 1; }));
    EXPECT_EQ (*log, (Log { "last:0", "middle:0", "first:0", "turn", "last:1", "last:2", "first:2" }));
    EXPECT_EQ (CountedCommand::destructions, 2);
}

TEST (CommandManager, DestroyingTheManagerDeletesQueuedCommandsWithoutOfferingThem)
{
    auto log = std::make_shared<Log>();
    CountedCommand::destructions = 0;
    Listener listener (log, "listener", [] (juce::CvCommand&) { return false; });

    {
        juce::CommandManager manager;
        manager.listeners.add (&listener);
        manager.sendCommand (std::make_unique<CountedCommand> ("a"));
        manager.sendCommand (std::make_unique<CountedCommand> ("b"));
    }

    EXPECT_EQ (CountedCommand::destructions, 2);
    testsupport::pumpMessages (20);
    EXPECT_TRUE (log->empty());
}
