#include "support/EmulatedUnit.h"
#include "support/HostValues.h"
#include "support/MessageLoop.h"
#include "support/ScopedSettingsFile.h"

#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <thread>

namespace
{
using testsupport::hostValuesOf;
using testsupport::runOnHostThread;

// What hosts do with instances as projects load and close, from threads of their own while the plug-in's message
// thread runs: make one, restore it, write to it and destroy it straight away.
class HostThreadsTest : public testing::Test
{
protected:
    HostThreadsTest()
    {
        Vu418dPluginInstance source;
        auto& manager = source.getParamsManager();
        manager.setParamValue (nullptr, ParamData::channel, 1.0f);

        for (int index = 0; index < ParamData::channel; ++index)
            manager.setParamValue (nullptr, index, 0.01f * (float) index);

        manager.setNonAutomatableParamValue (nullptr, ParamData::guiThemeChooser, 1);
        manager.setNonAutomatableParamValue (nullptr, ParamData::panelsOpened, true);
        source.getStateInformation (blob);
        values = hostValuesOf (source);
    }

    void makeRestoreWriteAndDestroy() const
    {
        Vu418dPluginInstance instance;
        instance.setStateInformation (blob.getData(), (int) blob.getSize());
        EXPECT_EQ (hostValuesOf (instance), values);

        for (auto* parameter : instance.getParameters())
            parameter->setValue (0.5f);
    }

    testsupport::ScopedSettingsFile settingsFile;
    juce::MemoryBlock blob;
    std::vector<float> values;
};
} // namespace

// Two at a time, so the first instance's start of the MIDI manager and the last one's deletion of it meet other
// instances on other threads; host writes and the settings file's save are still pending at destruction.
TEST_F (HostThreadsTest, InstancesMadeRestoredAndDestroyedOnHostThreadsLeaveNothingRunning)
{
    for (int round = 0; round < 20; ++round)
        runOnHostThread (
            [this]
            {
                std::thread other ([this] { makeRestoreWriteAndDestroy(); });
                makeRestoreWriteAndDestroy();
                other.join();
            });

    EXPECT_EQ (juce::MidiManager::singletonHolder.instance.load(), nullptr);
    testsupport::pumpMessages (20);
}

TEST_F (HostThreadsTest, InstancesMadeAtOnceShareOneStartedManager)
{
    std::unique_ptr<Vu418dPluginInstance> first, second;

    runOnHostThread (
        [&]
        {
            std::thread other ([&] { second = std::make_unique<Vu418dPluginInstance>(); });
            first = std::make_unique<Vu418dPluginInstance>();
            other.join();
        });

    auto* manager = first->getMidiManager();
    ASSERT_EQ (second->getMidiManager(), manager);
    EXPECT_EQ (manager->usersCount.load(), 2);

    runOnHostThread (
        [&]
        {
            std::thread other ([&] { second.reset(); });
            first.reset();
            other.join();
        });

    EXPECT_EQ (juce::MidiManager::singletonHolder.instance.load(), nullptr);
}

// A bound unit that keeps sending front-panel changes keeps the mirrors' gestures, timers and hand-overs busy
// while the host destroys the last instance on its own thread, which deletes the manager as well.
TEST_F (HostThreadsTest, DestroyingABoundInstanceOnAHostThreadStopsItsUnitsWork)
{
    platform::MidiDriver::removeAllDevices();
    testsupport::EmulatedUnit unit ({ "Vuruvodu RX 418T" }, 9);
    auto instance = std::make_unique<Vu418dPluginInstance>();
    auto& manager = *instance->getMidiManager();

    ASSERT_TRUE (testsupport::pumpUntil ([&] { return manager.devices.size() == 1; }));
    instance->timerCallback();
    ASSERT_NE (instance->getBridge(), nullptr);

    std::atomic<bool> flooding { true };
    std::thread frontPanel (
        [&]
        {
            for (int value = 0; flooding; value = (value + 1) % 256)
                unit.sendParameter (1 + value % 12, value);
        });

    testsupport::pumpMessages (50);
    runOnHostThread ([&] { instance.reset(); });
    flooding = false;
    frontPanel.join();

    EXPECT_EQ (juce::MidiManager::singletonHolder.instance.load(), nullptr);
    testsupport::pumpMessages (20);
}
