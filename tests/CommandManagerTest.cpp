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

std::unique_ptr<juce::CvCommand> makeCommand (const char* id)
{
    return std::make_unique<juce::CvCommand> (id);
}

std::string nameOf (const juce::CvCommand& command)
{
    return command.id.toString().toStdString();
}

class CountedCommand : public juce::CvCommand
{
public:
    CountedCommand (const char* commandId, int& destructionCount)
        : CvCommand (commandId)
        , destructions (destructionCount)
    {
    }

    ~CountedCommand() override { ++destructions; }

private:
    int& destructions;
};

class TestListener : public juce::CommandListener
{
public:
    explicit TestListener (std::function<bool (juce::CvCommand&)> answer)
        : callback (std::move (answer))
    {
    }

    bool commandListenerCallback (juce::CvCommand* command) override { return callback (*command); }

private:
    std::function<bool (juce::CvCommand&)> callback;
};

TestListener logger (Log& log, const std::string& name, bool answer)
{
    return TestListener (
        [&log, name, answer] (juce::CvCommand& command)
        {
            log.push_back (name + ":" + nameOf (command));
            return answer;
        });
}

// Keeps what reaches the fallback, so a test can also see that ownership really passed.
class RecordingManager : public juce::CommandManager
{
public:
    void commandFallback (std::unique_ptr<juce::CvCommand> command) override
    {
        received.push_back (std::move (command));
    }

    std::vector<std::unique_ptr<juce::CvCommand>> received;
};
} // namespace

TEST (CommandManager, CommandsAreDeliveredInOrderOnePerMessageLoopTurn)
{
    // Shared with a posted message that may outlive the test if delivery never happens.
    auto delivered = std::make_shared<Log>();
    auto deliveredWhenPostedMessageRan = std::make_shared<size_t> (0);

    TestListener listener (
        [=] (juce::CvCommand& command)
        {
            delivered->push_back (nameOf (command));

            // Messages run in the order posted, so this one runs before the next delivery only if that delivery
            // was posted as a message of its own.
            if (delivered->size() == 1)
                juce::MessageManager::callAsync ([=] { *deliveredWhenPostedMessageRan = delivered->size(); });

            return true;
        });

    RecordingManager manager;
    manager.listeners.add (&listener);
    manager.sendCommand (makeCommand ("first"));
    manager.sendCommand (makeCommand ("second"));

    EXPECT_TRUE (delivered->empty());
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return delivered->size() == 2 && *deliveredWhenPostedMessageRan > 0; }));
    EXPECT_EQ (*delivered, (Log { "first", "second" }));
    EXPECT_EQ (*deliveredWhenPostedMessageRan, 1u);
    EXPECT_TRUE (manager.received.empty());
}

TEST (CommandManager, UnhandledCommandReachesFallbackWhichTakesOwnership)
{
    int destructions = 0;
    juce::CvCommand* offered = nullptr;
    TestListener decliner (
        [&] (juce::CvCommand& command)
        {
            offered = &command;
            return false;
        });

    RecordingManager manager;
    manager.sendCommand (std::make_unique<CountedCommand> ("unheard", destructions));
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return manager.received.size() == 1; }));
    EXPECT_EQ (nameOf (*manager.received[0]), "unheard");

    manager.listeners.add (&decliner);
    manager.sendCommand (std::make_unique<CountedCommand> ("declined", destructions));
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return manager.received.size() == 2; }));
    EXPECT_EQ (offered, manager.received[1].get());
    EXPECT_EQ (destructions, 0);
}

TEST (CommandManager, LastRegisteredListenerIsAskedFirstAndHandlingEndsTheOffer)
{
    Log log;
    auto first = logger (log, "first", true);
    TestListener last (
        [&] (juce::CvCommand& command)
        {
            log.push_back ("last:" + nameOf (command));
            return nameOf (command) == "takenByLast";
        });

    RecordingManager manager;
    manager.listeners.add (&first);
    manager.listeners.add (&last);
    manager.sendCommand (makeCommand ("passedOn"));
    manager.sendCommand (makeCommand ("takenByLast"));

    ASSERT_TRUE (testsupport::pumpUntil ([&] { return log.size() >= 3; }));
    EXPECT_EQ (log, (Log { "last:passedOn", "first:passedOn", "last:takenByLast" }));
    EXPECT_TRUE (manager.received.empty());
}

TEST (CommandManager, DeliveredCommandsAreDeletedAfterTheirOffer)
{
    int destructions = 0;
    int destructionsSeenByListener = -1;
    TestListener listener (
        [&] (juce::CvCommand& command)
        {
            destructionsSeenByListener = destructions;
            return nameOf (command) == "handled";
        });

    juce::CommandManager manager;
    manager.listeners.add (&listener);
    manager.sendCommand (std::make_unique<CountedCommand> ("handled", destructions));
    manager.sendCommand (std::make_unique<CountedCommand> ("unhandled", destructions));

    EXPECT_TRUE (testsupport::pumpUntil ([&] { return destructions == 2; }));
    EXPECT_EQ (destructionsSeenByListener, 1);
}

TEST (CommandManager, DestroyingManagerDeletesQueuedCommandsWithoutOfferingThem)
{
    int destructions = 0;
    Log offers;
    auto listener = logger (offers, "listener", false);

    {
        juce::CommandManager manager;
        manager.listeners.add (&listener);
        manager.sendCommand (std::make_unique<CountedCommand> ("a", destructions));
        manager.sendCommand (std::make_unique<CountedCommand> ("b", destructions));
    }

    EXPECT_EQ (destructions, 2);
    testsupport::pumpMessages (20);
    EXPECT_TRUE (offers.empty());
}

TEST (CommandManager, ListenerRemovingItselfDuringCallbackLeavesTheOfferIntact)
{
    RecordingManager manager;
    Log log;
    auto first = logger (log, "first", false);
    auto last = logger (log, "last", false);
    TestListener middle (
        [&] (juce::CvCommand& command)
        {
            log.push_back ("middle:" + nameOf (command));
            manager.listeners.removeFirstMatchingValue (&middle);
            return false;
        });

    manager.listeners.addArray ({ &first, &middle, &last });
    manager.sendCommand (makeCommand ("x"));

    ASSERT_TRUE (testsupport::pumpUntil ([&] { return manager.received.size() == 1; }));
    EXPECT_EQ (log, (Log { "last:x", "middle:x", "first:x" }));
    EXPECT_EQ (manager.listeners, (juce::Array<juce::CommandListener*> { &first, &last }));
}
