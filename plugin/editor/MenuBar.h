#pragma once

#include "ParamsManager.h"

#include <cv_gui/cv_gui.h>
#include <cv_midi/cv_midi.h>

class Vu418dPluginInstance;

/** The strip across the top of the editor: the main menu, the M/S, channel and link buttons, and the USB
    indicator that opens the device selector. Its buttons only mirror the store; a click writes the store with
    the menu bar as source, so its own writes never come back to it.
*/
class MenuBar
    : public juce::Component
    , public juce::CvParamsManager::AutomatableParamListener
    , public juce::CvParamsManager::NonAutomatableParamListener
    , public juce::MidiManager::ConnectionListListener
    , public juce::CommandListener
{
public:
    enum PathId
    {
        msIcon = 1,
        linkIcon = 2,
        leftRightA = 3,
        leftRightB = 4,
        midSideA = 5,
        midSideB = 6
    };

    enum MainMenuItem
    {
        versionItem = 1,
        savePresetItem = 100,
        loadPresetItem = 101,
        zuzoThemeItem = 200,
        classicThemeItem = 201
    };

    MenuBar (Vu418dParamsManager& paramsManager, Vu418dPluginInstance& pluginInstance);
    ~MenuBar() override;

    void lookAndFeelChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;

    using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int index, float value) override;
    void nonAutomatableParamValueChanged (int index, juce::var value) override;
    void connectionListChanged() override;
    bool commandListenerCallback (juce::CvCommand* command) override;

    /** Any id but the six icons gives an empty path. */
    static juce::Path getShapePath (PathId pathId);

    void openMenu();

    /** Lists every unit the MIDI manager holds, each with a CONNECT button when free or a DISCONNECT button when
        bound to this plug-in instance; units bound to other instances are listed without a button.
    */
    void openDeviceSelector();

    /** The main menu's entries, reflecting the current GUI theme. */
    juce::PopupMenu createMainMenu() const;

    /** Acts on an item of the main menu; 0 (dismissed) and unknown ids do nothing. */
    void mainMenuItemChosen (int itemId);

    /** Null until the device selector is first opened; its rows are the units listed at the last opening. */
    const juce::PopupMenu* getDeviceMenu() const noexcept { return deviceMenu.get(); }

private:
    void msClicked();
    void linkClicked();
    void channelButtonClicked (ParamData::SelectedChannel selected);
    void writeAsGesture (int index, float value);
    void showChannels (bool stereo, int selected);
    void showMsIcons (bool midSide);
    juce::CommandManager& commandManager() const;
    int getSelectedChannel() const;
    int getGuiTheme() const;

    void connectUnit (int serialNumber);
    void disconnectUnit();
    void closeDeviceMenu();

    Vu418dParamsManager& paramsManager;
    Vu418dPluginInstance& pluginInstance;
    std::unique_ptr<juce::PopupMenu> mainMenu;
    juce::PopupMenu_LAF mainMenuLookAndFeel;
    juce::Component::SafePointer<MenuBar> safeThis;
    std::unique_ptr<juce::PopupMenu> deviceMenu;
    juce::LookAndFeel_V4 deviceMenuLookAndFeel;
    juce::MenuBarShapeButton menuButton, msButton, linkButton, aButton, bButton;
    juce::MenuBarUsbButton usbButton;
    juce::Colour gradientTop { 0 }, gradientBottom { 0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBar)
};
