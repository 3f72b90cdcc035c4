#include "support/EmulatedUnit.h"
#include "support/MessageLoop.h"

#include <PluginInstance.h>

// The pending units and each device's reference are only seen through the private halves.
#include <cv_midi/device/MidiDevicePimpl.h>
#include <cv_midi/manager/MidiManagerPimpl.h>

#include <gtest/gtest.h>

#include <deque>

namespace
{
using testsupport::EmulatedUnit;
using testsupport::pumpUntil;

constexpr const char* rx416 = "Vuruvodu RX 416T";
constexpr const char* rx418 = "Vuruvodu RX 418T";

// Binds itself to units and listens to the unit list; it notes what a bound unit hears with the list at that moment.
class MidiManagerTest
    : public testing::Test
    , public juce::MidiDevice::Listener
    , public juce::MidiManager::ConnectionListListener
{
protected:
    void SetUp() override
    {
        platform::MidiDriver::removeAllDevices();
        platform::MidiDriver::waitUntilIdle();
        manager->start ({ rx416, rx418 });
    }

    // The notice of a set-up change reaches the message thread as a posted scan, which this runs.
    static void flushSetupChanges()
    {
        platform::MidiDriver::waitUntilIdle();
        testsupport::pumpMessages (20);
        platform::MidiDriver::waitUntilIdle();
    }

    const std::vector<std::unique_ptr<juce::MidiDevice>>& pending() const { return manager->pimpl->pendingDevices; }

    bool isPending (const EmulatedUnit& unit) const
    {
        return std::any_of (pending().begin(), pending().end(),
                            [&] (const auto& device) { return device->pimpl->deviceRef == unit.getDeviceRef(); });
    }

    juce::String listing() const
    {
        juce::StringArray rows;
        const auto list = listed->getConnectionList();

        for (const auto* row : *list)
            rows.add (juce::String (row->serialNumber) + " " + row->name.getLastCharacters (4) +
                      (row->state == juce::MidiManager::ConnectionStatus::bound ? " bound" : " free"));

        return rows.joinIntoString (", ");
    }

    void setConnectedMidiDevice (juce::MidiDevice*) override {}
    void connectionListChanged() override { ++notices; }
    void hidConnectionCallback (bool available) override
    {
        heard << (available ? "back" : "gone") << ": " << listing();
    }

    juce::String heard;
    int notices = 0;
    std::unique_ptr<juce::MidiManager> manager = std::make_unique<juce::MidiManager>();
    juce::MidiManager* const listed = manager.get(); // still there while the manager is being deleted
};

TEST_F (MidiManagerTest, ListsUnitsOfBothNamesThatAnswerAndKeepsABoundOneUntilItIsUnplugged)
{
    manager->listeners.add (this);
    const auto start = juce::Time::getMillisecondCounter();
    EmulatedUnit rx418Unit ({ rx418 }, 4);
    EmulatedUnit rx416Unit ({ rx416 }, 3);
    EmulatedUnit withoutDestination ({ rx416, 1, 0 }, 2);
    EmulatedUnit lowerCase ({ "vuruvodu rx 418t" }, 1);
    EmulatedUnit unreadableName ({ rx418, 1, 1, false }, 7);
    EmulatedUnit offline ({ rx416 }, 5);
    offline.setOffline (true);
    ASSERT_TRUE (pumpUntil ([&] { return pending().size() == 3; }));

    // A unit that cannot be asked is listed all the same if it speaks before its turn to be given up.
    withoutDestination.sendParameter (5, 100);

    // A rescan while they are still pending asks nobody again, nor a device of another name.
    EmulatedUnit other ({ "Other Synth" }, 6);
    flushSetupChanges();
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 3; }, 900));
    EXPECT_GE (juce::Time::getMillisecondCounter() - start, 400u) << "promoted before the handshake tick";
    EXPECT_EQ (listing(), "3 416T free, 2 416T free, 4 418T free") << "not in the order of the accepted names";
    EXPECT_TRUE (pumpUntil ([&] { return notices > 0; }));

    // A bound unit outlives the others' changes: a listed unit going offline is dropped, one coming online is new.
    manager->devices.front()->setListener (this);
    rx418Unit.setOffline (true);
    offline.setOffline (false);
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 2 && isPending (offline); }));
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 3; }));
    EXPECT_EQ (listing(), "3 416T bound, 2 416T free, 5 416T free");
    EmulatedUnit::waitForDeliveries();

    for (const auto& [unit, asked] :
         { std::pair { &rx418Unit, 1u }, std::pair { &rx416Unit, 1u }, std::pair { &withoutDestination, 0u },
           std::pair { &lowerCase, 0u }, std::pair { &unreadableName, 0u }, std::pair { &offline, 1u },
           std::pair { &other, 0u } })
        EXPECT_EQ (unit->numReceived(), asked);

    // Unplugged, it is heard of before its device goes; plugged back, it is a new device: asked again, free.
    rx416Unit.unplug();
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 2; }));
    EXPECT_EQ (heard, "gone: 3 416T bound, 2 416T free, 5 416T free");
    rx416Unit.plugIn();
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 3; }));
    EXPECT_EQ (listing(), "2 416T free, 5 416T free, 3 416T free");
    EXPECT_EQ (rx416Unit.numReceived(), 2u);

    // A manager going away tells its bound unit first, while the list still holds it.
    heard.clear();
    manager->devices.front()->setListener (this);
    manager.reset();
    EXPECT_EQ (heard, "gone: 2 416T bound, 5 416T free, 3 416T free");
}

TEST_F (MidiManagerTest, GivesUpSilentUnitsOneATickOldestFirst)
{
    std::deque<EmulatedUnit> units;

    for (int number = 0; number < 3; ++number)
        units.emplace_back (platform::MidiDriver::DeviceShape { rx418 }, number).setSilent (true);

    ASSERT_TRUE (pumpUntil ([&] { return pending().size() == 3; }));

    for (size_t givenUp = 1; givenUp <= 3; ++givenUp)
    {
        ASSERT_TRUE (pumpUntil ([&] { return pending().size() == 3 - givenUp; }, 1000));
        EXPECT_FALSE (isPending (units[givenUp - 1])) << "not the oldest given up at tick " << givenUp;
    }

    EXPECT_TRUE (manager->devices.empty());
}

TEST (MidiManagerSingleton, IsSharedByPluginInstancesAndDeletedWithTheLast)
{
    auto& holder = juce::MidiManager::singletonHolder;
    ASSERT_EQ (holder.instance.load(), nullptr);

    {
        auto first = std::make_unique<Vu418dPluginInstance>();
        auto* manager = first->getMidiManager();
        ASSERT_NE (manager, nullptr);
        const auto client = manager->getClient();

        const Vu418dPluginInstance second;
        EXPECT_EQ (second.getMidiManager(), manager);
        EXPECT_EQ (manager->getClient(), client) << "the second instance restarted the manager";
        EXPECT_EQ (manager->deviceNames, juce::StringArray (rx416, rx418));

        first.reset();
        ASSERT_EQ (holder.instance.load(), manager);
        EXPECT_EQ (manager->usersCount.load(), 1);
    }

    EXPECT_EQ (holder.instance.load(), nullptr);
    const Vu418dPluginInstance later;
    EXPECT_TRUE (later.getMidiManager()->started);
    EXPECT_EQ (later.getMidiManager()->usersCount.load(), 1);
}

// The first instance may be made on a host thread while a unit is plugged in; the first scan runs on the message
// thread and binds through the services' side the host thread made.
TEST (MidiManagerSingleton, StartedOnAHostThreadListsTheUnitPluggedIn)
{
    platform::MidiDriver::removeAllDevices();
    const EmulatedUnit unit ({ rx418 }, 9);
    std::unique_ptr<Vu418dPluginInstance> instance;
    testsupport::runOnHostThread ([&] { instance = std::make_unique<Vu418dPluginInstance>(); });

    EXPECT_TRUE (pumpUntil ([&] { return instance->getMidiManager()->devices.size() == 1; }));
}
} // namespace
