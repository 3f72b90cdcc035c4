#include "support/EmulatedUnit.h"
#include "support/MessageLoop.h"

#include <PluginInstance.h>

// The pending units and each device's reference are only seen through the private halves.
#include <cv_midi/device/MidiDevicePimpl.h>
#include <cv_midi/manager/MidiManagerPimpl.h>

#include <gtest/gtest.h>

namespace
{
using testsupport::EmulatedUnit;
using testsupport::pumpUntil;

const juce::String rx416 = "Vuruvodu RX 416T";
const juce::String rx418 = "Vuruvodu RX 418T";

// Records what a bound unit hears from the manager, and lets the test look around at that moment.
class UnitListener : public juce::MidiDevice::Listener
{
public:
    void setConnectedMidiDevice (juce::MidiDevice*) override {}

    void hidConnectionCallback (bool available) override
    {
        calls.push_back (available);

        if (onCall != nullptr)
            onCall();
    }

    std::vector<bool> calls;
    std::function<void()> onCall;
};

class NoticeCounter : public juce::MidiManager::ConnectionListListener
{
public:
    void connectionListChanged() override { ++count; }

    int count = 0;
};

class MidiManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::MidiDriver::removeAllDevices();
        platform::MidiDriver::waitUntilIdle();
        manager->start ({ rx416, rx418 });
    }

    void TearDown() override
    {
        manager.reset();
        platform::MidiDriver::removeAllDevices();
        platform::MidiDriver::waitUntilIdle();
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

    juce::MidiDevice* firstListed() const
    {
        return manager->devices.empty() ? nullptr : manager->devices.front().get();
    }

    // Binds the first listed unit as a plug-in instance does: set the listener, then tell the list listeners.
    juce::MidiDevice* bindFirstListed()
    {
        auto* device = firstListed();
        device->setListener (&listener);
        manager->triggerAsyncUpdate();
        return device;
    }

    UnitListener listener; // declared first: the manager still talks to it while being deleted
    std::unique_ptr<juce::MidiManager> manager = std::make_unique<juce::MidiManager>();
};

TEST_F (MidiManagerTest, SendsTheIdentifyRequestOnceToEachNewUnitWithADestination)
{
    EmulatedUnit withDestination ({ rx418.toStdString() }, 1);
    EmulatedUnit withoutDestination ({ rx416.toStdString(), 1, 0 }, 2);
    ASSERT_TRUE (pumpUntil ([&] { return pending().size() == 2; }));

    EmulatedUnit::waitForDeliveries();
    EXPECT_EQ (withDestination.countOf (EmulatedUnit::identifyRequest), 1);

    // A unit that cannot be asked is still listed if it speaks before its turn to be given up.
    withoutDestination.sendParameter (5, 100);

    // A rescan while both are still pending sends nothing again, nor to a device of another name.
    EmulatedUnit other ({ "Other Synth" }, 3);
    flushSetupChanges();
    EXPECT_EQ (withDestination.receivedMessages().size(), 1u);
    EXPECT_TRUE (other.receivedMessages().empty());

    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 2; }));
    EXPECT_TRUE (withoutDestination.receivedMessages().empty());
}

TEST_F (MidiManagerTest, ListsAnsweringUnitsOfBothNamesAtTheNextTick)
{
    NoticeCounter first, second;
    manager->listeners.add (&first);
    manager->listeners.add (&second);

    EmulatedUnit rx418Unit ({ rx418.toStdString() }, 4);
    EmulatedUnit rx416Unit ({ rx416.toStdString() }, 3);
    const auto start = juce::Time::getMillisecondCounter();
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 2; }, 900));
    EXPECT_GE (juce::Time::getMillisecondCounter() - start, 400u) << "promoted before the handshake tick";

    // Scanned, hence promoted, in the order of the accepted names.
    const auto rows = manager->getConnectionList();
    ASSERT_EQ (rows->size(), 2);
    EXPECT_EQ (rows->getUnchecked (0)->serialNumber, 3);
    EXPECT_EQ (rows->getUnchecked (0)->name, rx416);
    EXPECT_EQ (rows->getUnchecked (1)->serialNumber, 4);
    EXPECT_EQ (rows->getUnchecked (1)->name, rx418);

    for (auto* row : *rows)
    {
        EXPECT_EQ (row->state, juce::MidiManager::ConnectionStatus::free);
        EXPECT_EQ (row->listener, nullptr);
    }

    EXPECT_TRUE (pumpUntil ([&] { return first.count > 0 && second.count > 0; }));
}

TEST_F (MidiManagerTest, AcceptsOnlineUnitsWithExactNamesOnly)
{
    EmulatedUnit lowerCase ({ "vuruvodu rx 418t" }, 1);
    EmulatedUnit offline ({ rx416.toStdString() }, 2);
    offline.setOffline (true);
    EmulatedUnit accepted ({ rx418.toStdString() }, 3);

    ASSERT_TRUE (pumpUntil ([&] { return ! manager->devices.empty(); }));
    const auto rows = manager->getConnectionList();
    ASSERT_EQ (rows->size(), 1);
    EXPECT_EQ (rows->getFirst()->serialNumber, 3);
    EXPECT_TRUE (pending().empty());
    EXPECT_TRUE (lowerCase.receivedMessages().empty());

    // A listed unit going offline is dropped; one coming online is found as new.
    accepted.setOffline (true);
    offline.setOffline (false);
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.empty() && isPending (offline); }));
    EXPECT_EQ (pending().size(), 1u);
}

TEST_F (MidiManagerTest, GivesUpSilentUnitsOneATickOldestFirst)
{
    std::vector<std::unique_ptr<EmulatedUnit>> units;

    for (int number = 0; number < 3; ++number)
    {
        units.push_back (
            std::make_unique<EmulatedUnit> (platform::MidiDriver::DeviceShape { rx418.toStdString() }, number));
        units.back()->setSilent (true);
    }

    ASSERT_TRUE (pumpUntil ([&] { return pending().size() == 3; }));

    for (size_t givenUp = 1; givenUp <= units.size(); ++givenUp)
    {
        ASSERT_TRUE (pumpUntil ([&] { return pending().size() == units.size() - givenUp; }, 1000));

        for (size_t i = 0; i < units.size(); ++i)
            EXPECT_EQ (isPending (*units[i]), i >= givenUp) << "unit " << i << " after " << givenUp << " ticks";
    }

    EXPECT_TRUE (manager->devices.empty());
}

TEST_F (MidiManagerTest, KeepsABoundUnitAcrossAnotherDevicesSetupChanges)
{
    EmulatedUnit unit ({ rx418.toStdString() }, 7);
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 1; }));
    auto* device = bindFirstListed();

    auto other = std::make_unique<EmulatedUnit> (platform::MidiDriver::DeviceShape { "Other Synth" }, 1);
    flushSetupChanges();
    other.reset();
    flushSetupChanges();

    ASSERT_EQ (manager->devices.size(), 1u);
    EXPECT_EQ (firstListed(), device);
    EXPECT_TRUE (listener.calls.empty());
    EXPECT_EQ (unit.countOf (EmulatedUnit::identifyRequest), 1);

    const auto rows = manager->getConnectionList();
    EXPECT_EQ (rows->getFirst()->state, juce::MidiManager::ConnectionStatus::bound);
    EXPECT_EQ (rows->getFirst()->listener, &listener);
}

TEST_F (MidiManagerTest, TellsTheBoundListenerBeforeDroppingAnUnpluggedUnit)
{
    EmulatedUnit unit ({ rx416.toStdString() }, 9);
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 1; }));
    auto* device = bindFirstListed();

    auto stillListed = false;
    listener.onCall = [&] { stillListed = firstListed() == device && device->serialNumber == 9; };

    unit.unplug();
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.empty(); }));
    EXPECT_EQ (listener.calls, std::vector<bool> { false });
    EXPECT_TRUE (stillListed);

    // Plugged back, it is a new device: asked again and listed free.
    unit.plugIn();
    ASSERT_TRUE (pumpUntil ([&] { return manager->devices.size() == 1; }));
    EXPECT_EQ (unit.countOf (EmulatedUnit::identifyRequest), 2);
    EXPECT_EQ (manager->getConnectionList()->getFirst()->state, juce::MidiManager::ConnectionStatus::free);
    EXPECT_EQ (listener.calls.size(), 1u);
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
        EXPECT_EQ (manager->usersCount.load(), 2);
        EXPECT_EQ (manager->getClient(), client) << "the second instance restarted the manager";
        EXPECT_EQ (manager->deviceNames, juce::StringArray (rx416, rx418));

        first.reset();
        ASSERT_EQ (holder.instance.load(), manager);
        EXPECT_EQ (manager->usersCount.load(), 1);
    }

    EXPECT_EQ (holder.instance.load(), nullptr);

    const Vu418dPluginInstance later;
    ASSERT_NE (later.getMidiManager(), nullptr);
    EXPECT_TRUE (later.getMidiManager()->started);
    EXPECT_NE (later.getMidiManager()->getClient(), 0u);
    EXPECT_EQ (later.getMidiManager()->usersCount.load(), 1);
}
} // namespace
