#include "support/EmulatedUnit.h"
#include "support/MessageLoop.h"
#include "support/RecordingListener.h"
#include "support/ScopedSettingsFile.h"

#include <Identifiers.h>
#include <editor/MenuBar.h>
#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <map>

namespace
{
using namespace ParamData;
using testsupport::EmulatedUnit;
using testsupport::pumpMessages;
using testsupport::pumpUntil;
using Kind = testsupport::RecordingListener::Kind;

// The bar's child order.
enum Child
{
    menuButton,
    msButton,
    aButton,
    linkButton,
    bButton,
    usbButton
};

// Takes the preset commands so no file chooser opens, and passes on the rest.
struct CommandRecorder : public juce::CommandListener
{
    bool commandListenerCallback (juce::CvCommand* command) override
    {
        ids.add (command->id);
        return command->id != Ids::cvVu418d::showDeviceSelector;
    }

    juce::Array<juce::Identifier> ids;
};

} // namespace

// The fixture is named after the suite, so within this namespace the class under test is ::MenuBar.
namespace menubar
{
namespace
{
class MenuBar : public testing::Test
{
protected:
    MenuBar()
    {
        instance.stopTimer();

        for (auto index : { channel, msMatrix })
            store.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);

        for (auto index : { selectedChannel, guiThemeChooser })
            store.addNonAutomatableParamListener (&recorder, index, juce::CvParamsManager::registerOnly);

        static_cast<juce::CommandManager&> (instance).listeners.add (&commands);
        listenersBefore = numListeners();
        bar = std::make_unique<::MenuBar> (store, instance);
        bar->setSize (640, 25);
    }

    // The last instance deletes the manager, before the units go.
    ~MenuBar() override
    {
        bar.reset();
        keptRows.clear();
        other.reset();
        ownInstance.reset();
        units.clear();
        platform::MidiDriver::waitUntilIdle();
    }

    int numListeners()
    {
        int count = static_cast<juce::CommandManager&> (instance).listeners.size() +
                    instance.getMidiManager()->listeners.size();

        for (auto* record : store.automatableParams)
            count += record->listeners.size();

        for (auto* record : store.nonAutomatableParams)
            count += record->listeners.size();

        return count;
    }

    juce::Button& button (Child child) { return *dynamic_cast<juce::Button*> (bar->getChildComponent (child)); }
    bool lit (Child child) { return button (child).getToggleState(); }

    void click (Child child)
    {
        button (child).triggerClick();
        pumpMessages (5);
    }

    juce::Image snapshot (Child child) { return button (child).createComponentSnapshot ({ 25, 25 }); }

    // The colour of the icon's most opaque pixel.
    juce::Colour iconColour (Child child)
    {
        const auto image = snapshot (child);
        juce::Colour strongest;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() > strongest.getAlpha())
                    strongest = image.getPixelAt (x, y);

        return strongest.withAlpha (1.0f);
    }

    EmulatedUnit& addUnit (int number)
    {
        return *units.emplace_back (
            std::make_unique<EmulatedUnit> (platform::MidiDriver::DeviceShape { "Vuruvodu RX 418T" }, number));
    }

    // The device selector's row buttons by serial number, null for a row without one.
    std::map<int, juce::Button*> rows()
    {
        std::map<int, juce::Button*> result;
        juce::PopupMenu::MenuItemIterator item (*bar->getDeviceMenu());

        while (item.next())
        {
            auto* row = item.getItem().customComponent.get();
            keptRows.add (row);
            result[item.getItem().itemID - 1] = dynamic_cast<juce::Button*> (row->getChildComponent (0));
        }

        return result;
    }

    juce::var naValue (int index) const { return store.nonAutomatableParams[index]->value; }

    const bool noOtherDevices = (platform::MidiDriver::removeAllDevices(), platform::MidiDriver::waitUntilIdle(), true);
    std::vector<std::unique_ptr<EmulatedUnit>> units;
    testsupport::ScopedSettingsFile settingsFile;
    testsupport::RecordingListener recorder;
    CommandRecorder commands;
    std::unique_ptr<Vu418dPluginInstance> ownInstance = std::make_unique<Vu418dPluginInstance>();
    Vu418dPluginInstance& instance = *ownInstance;
    std::unique_ptr<Vu418dPluginInstance> other;
    Vu418dParamsManager& store = instance.getParamsManager();
    int listenersBefore = 0;
    std::unique_ptr<::MenuBar> bar;
    // Rows outlive the menu they are cleared from while their button is clicked.
    juce::Array<juce::ReferenceCountedObjectPtr<juce::PopupMenu::CustomComponent>> keptRows;
};
} // namespace

TEST_F (MenuBar, ButtonsFollowChannelSelectionAndMsMatrixButNotCanBeMs)
{
    // Stereo by default, whatever channel is selected.
    store.setNonAutomatableParamValue (nullptr, selectedChannel, 1);
    EXPECT_TRUE (lit (linkButton) && lit (aButton) && lit (bButton) && ! lit (msButton));

    store.setParamValue (nullptr, channel, 1.0f);
    EXPECT_TRUE (lit (bButton) && ! lit (linkButton) && ! lit (aButton));
    store.setNonAutomatableParamValue (nullptr, selectedChannel, 0);
    EXPECT_TRUE (lit (aButton) && ! lit (bButton));

    // Mid/side mode swaps the channel letters' icons.
    const auto letterA = [this]
    {
        juce::MemoryOutputStream png;
        juce::PNGImageFormat().writeImageToStream (snapshot (aButton), png);
        return png.getMemoryBlock();
    };
    const auto leftRightA = letterA();
    store.setParamValue (nullptr, msMatrix, 0.5f);
    EXPECT_TRUE (! lit (msButton) && letterA() == leftRightA);
    store.setParamValue (nullptr, msMatrix, 0.6f);
    EXPECT_TRUE (lit (msButton) && letterA() != leftRightA);

    store.setNonAutomatableParamValue (nullptr, canBeMs, false);
    EXPECT_TRUE (button (msButton).isEnabled());
}

TEST_F (MenuBar, ClicksWriteTheStoreAsGesturesOfTheMenuBar)
{
    const void* const source = static_cast<juce::CvParamsManager::AutomatableParamListener*> (bar.get());
    const auto gesture = [&] (int index, float value)
    {
        const auto events = recorder.eventsFor (index);
        recorder.events.clear();
        ASSERT_EQ (events.size(), 3u);
        EXPECT_EQ (events[0].kind, Kind::gestureBegin);
        EXPECT_EQ (events[1].kind, Kind::value);
        EXPECT_EQ (events[1].value, value);
        EXPECT_EQ (events[2].kind, Kind::gestureEnd);

        for (const auto& event : events)
            EXPECT_EQ (event.source, source);
    };

    // From stereo a click on B selects channel 2 in dual mono; a second click sends the same values again.
    for (int round = 0; round < 2; ++round)
    {
        click (bButton);
        gesture (channel, 1.0f);
        EXPECT_EQ (naValue (selectedChannel), juce::var (1));
        EXPECT_TRUE (lit (bButton) && ! lit (aButton));
    }

    click (linkButton);
    gesture (channel, 0.0f);
    click (linkButton);
    gesture (channel, 1.0f);
    EXPECT_TRUE (lit (bButton) && ! lit (aButton));

    click (msButton);
    gesture (msMatrix, 1.0f);
}

TEST_F (MenuBar, MainMenuTicksTheThemeWritesOnlyAChangeAndSendsThePresetCommands)
{
    const auto entries = [this]
    {
        juce::StringArray result;
        const auto menu = bar->createMainMenu();
        juce::PopupMenu::MenuItemIterator item (menu);

        while (item.next())
        {
            const auto& entry = item.getItem();
            result.add (juce::String (entry.itemID) + " " + entry.text + (entry.isEnabled ? "" : " disabled") +
                        (entry.isTicked ? " ticked" : "") + (entry.isSectionHeader ? " header" : "") +
                        (entry.isSeparator ? "separator" : ""));
        }

        return result;
    };

    EXPECT_EQ (entries(), juce::StringArray ({ "100 Save preset", "101 Load preset", "0 separator",
                                               "0 GUI Theme header", "200 ZUZO theme ticked", "201 Classic theme",
                                               "0 separator", "1 Plugin version: 2.0.2 disabled" }));

    bar->mainMenuItemChosen (200);
    bar->mainMenuItemChosen (201);
    bar->mainMenuItemChosen (201);
    ASSERT_EQ (recorder.eventsFor (guiThemeChooser).size(), 1u);
    EXPECT_EQ (naValue (guiThemeChooser), juce::var (1));
    EXPECT_EQ (entries()[4] + ", " + entries()[5], "200 ZUZO theme, 201 Classic theme ticked");

    bar->mainMenuItemChosen (1);
    bar->mainMenuItemChosen (100);
    bar->mainMenuItemChosen (101);
    pumpMessages (10);
    EXPECT_EQ (commands.ids, juce::Array<juce::Identifier> ({ Ids::cvVu418d::savePreset, Ids::cvVu418d::loadPreset }));
}

TEST_F (MenuBar, UsbIndicatorShowsListedAndBoundUnits)
{
    const juce::Colour idle (0xffb3b6bd), blue (0xff0092ff);
    EXPECT_EQ (iconColour (usbButton), idle);

    addUnit (5);
    ASSERT_TRUE (pumpUntil ([&] { return instance.getMidiManager()->devices.size() == 1; }));
    EXPECT_TRUE (pumpUntil ([&] { return iconColour (usbButton) == blue; }, 1500)); // blinking, as nothing is bound

    instance.timerCallback(); // binds the only unit, which makes the indicator steady
    pumpMessages (550);
    EXPECT_EQ (iconColour (usbButton), blue);
}

TEST_F (MenuBar, DeviceSelectorConnectsAFreeUnitDisconnectsItsOwnAndCannotTakeAnothers)
{
    addUnit (5);
    addUnit (6);
    other = std::make_unique<Vu418dPluginInstance>();
    other->stopTimer();
    ASSERT_TRUE (pumpUntil ([&] { return instance.getMidiManager()->devices.size() == 2; }));
    other->getParamsManager().setNonAutomatableParamValue (nullptr, connectedDevSn, 6);
    other->timerCallback();

    // The binding timer asks for the selector while several units are free.
    instance.sendCommand (std::make_unique<juce::CvCommand> (Ids::cvVu418d::showDeviceSelector));
    pumpMessages (10);
    ASSERT_NE (bar->getDeviceMenu(), nullptr);
    EXPECT_EQ (instance.getParkedCommand(), nullptr);

    auto listed = rows();
    ASSERT_TRUE (listed.size() == 2u && listed[5] != nullptr);
    EXPECT_EQ (listed[5]->getButtonText(), "CONNECT");
    EXPECT_EQ (listed[6], nullptr);

    listed[5]->triggerClick();
    pumpMessages (5);
    EXPECT_EQ (bar->getDeviceMenu()->getNumItems(), 0);
    EXPECT_TRUE (naValue (shouldBeConnected) && naValue (isConnected) && instance.getBridge() != nullptr);
    EXPECT_EQ (naValue (connectedDevSn), juce::var (5));

    bar->openDeviceSelector();
    listed = rows();
    ASSERT_TRUE (listed.size() == 2u && listed[5] != nullptr);
    EXPECT_EQ (listed[5]->getButtonText(), "DISCONNECT");

    listed[5]->triggerClick();
    pumpMessages (5);
    EXPECT_EQ (naValue (shouldBeConnected), juce::var (false));
    EXPECT_TRUE (naValue (connectedDevSn) == juce::var (5) && instance.getBridge() == nullptr);
    const auto& devices = instance.getMidiManager()->devices;
    EXPECT_EQ (std::count_if (devices.begin(), devices.end(), [] (auto& d) { return d->getListener() == nullptr; }), 1);
    EXPECT_TRUE (instance.isTimerRunning());
}

TEST_F (MenuBar, DestructionUnregistersFromStoreCommandsAndMidiManager)
{
    bar.reset();
    EXPECT_EQ (numListeners(), listenersBefore);
}
} // namespace menubar
