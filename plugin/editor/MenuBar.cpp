#include "MenuBar.h"

#include "Identifiers.h"
#include "PluginInstance.h"

#include <BinaryResources.h>

namespace
{
constexpr int subscribedAutomatable[] { ParamData::msMatrix, ParamData::channel };
constexpr int subscribedNonAutomatable[] { ParamData::isConnected, ParamData::canBeMs, ParamData::selectedChannel };

juce::Path loadIcon (const char* data, int size)
{
    juce::Path path;
    path.loadPathFromData (data, (size_t) size);
    return path;
}

// Pop-up windows place themselves on a display; with none (a headless host) the framework would crash.
bool canShowMenus()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}

// Only while channel buttons are off does a click toggle them, so a click on a lit one keeps it lit.
void lockWhileLit (juce::Button& button)
{
    button.setClickingTogglesState (! button.getToggleState());
}
} // namespace

MenuBar::MenuBar (Vu418dParamsManager& manager, Vu418dPluginInstance& instance)
    : paramsManager (manager)
    , pluginInstance (instance)
{
    menuButton.setShape (loadIcon (BinaryData::icon_menu_path, BinaryData::icon_menu_pathSize));
    msButton.setShape (getShapePath (msIcon));
    msButton.setClickingTogglesState (true);
    aButton.setShape (getShapePath (leftRightA));
    linkButton.setShape (getShapePath (linkIcon));
    linkButton.setClickingTogglesState (true);
    bButton.setShape (getShapePath (leftRightB));
    usbButton.setShape (loadIcon (BinaryData::icon_usb_path, BinaryData::icon_usb_pathSize));

    for (auto* button : std::initializer_list<juce::Component*> { &menuButton, &msButton, &aButton, &linkButton,
                                                                  &bButton, &usbButton })
        addAndMakeVisible (button);

    menuButton.onClick = [this] { openMenu(); };
    usbButton.onClick = [this] { openDeviceSelector(); };
    msButton.onClick = [this] { msClicked(); };
    aButton.onClick = [this] { channelButtonClicked (ParamData::channel1); };
    linkButton.onClick = [this] { linkClicked(); };
    bButton.onClick = [this] { channelButtonClicked (ParamData::channel2); };

    lookAndFeelChanged();

    for (auto index : subscribedAutomatable)
        paramsManager.addParamListener (this, index, juce::CvParamsManager::sendCurrentValue);

    for (auto index : subscribedNonAutomatable)
        paramsManager.addNonAutomatableParamListener (this, index, juce::CvParamsManager::sendCurrentValue);

    commandManager().listeners.addIfNotAlreadyThere (this);

    if (auto* midiManager = pluginInstance.getMidiManager())
        midiManager->listeners.add (this);

    connectionListChanged();
}

MenuBar::~MenuBar()
{
    if (mainMenu != nullptr)
    {
        mainMenu->setLookAndFeel (nullptr);
        juce::PopupMenu::dismissAllActiveMenus();
    }

    if (deviceMenu != nullptr)
    {
        deviceMenu->setLookAndFeel (nullptr);
        juce::PopupMenu::dismissAllActiveMenus();
        deviceMenu->clear();
        deviceMenu.reset();
    }

    for (auto index : subscribedAutomatable)
        paramsManager.automatableParams[index]->listeners.removeAllInstancesOf (this);

    for (auto index : subscribedNonAutomatable)
        paramsManager.nonAutomatableParams[index]->listeners.removeAllInstancesOf (this);

    commandManager().listeners.removeAllInstancesOf (this);

    if (auto* midiManager = pluginInstance.getMidiManager())
        midiManager->listeners.removeAllInstancesOf (this);
}

void MenuBar::lookAndFeelChanged()
{
    juce::MainMenuColours colours;

    if (auto* cvLookAndFeel = dynamic_cast<juce::CvLookAndFeel*> (&getLookAndFeel()))
        colours = cvLookAndFeel->getMainMenuColours();

    gradientTop = colours.backgroundTop;
    gradientBottom = colours.backgroundBottom;

    for (auto* button : std::initializer_list<juce::MenuBarButton*> { &menuButton, &usbButton, &msButton, &linkButton,
                                                                      &aButton, &bButton })
        button->setColours (colours);

    repaint();
}

void MenuBar::paint (juce::Graphics& g)
{
    const auto width = (float) getWidth(), height = (float) getHeight();
    g.setGradientFill (juce::ColourGradient (gradientTop, 0.0f, 0.0f, gradientBottom, 0.0f, height, false));
    g.fillAll();
    g.setColour (juce::Colours::black);
    g.drawLine (0.0f, height, width, height);
}

void MenuBar::resized()
{
    const auto h = (float) getHeight();
    const auto side = (int) h;

    menuButton.setBounds (0, 0, side, side);
    menuButton.setContentHeight (0.7f * h);
    msButton.setBounds (getWidth() - 200, 0, juce::roundToInt (h * 0.85f), side);
    msButton.setContentHeight (0.75f * h);
    aButton.setBounds (msButton.getRight() + 1, 0, side, side);
    aButton.setContentHeight (0.65f * h);
    linkButton.setBounds (aButton.getRight() - 2, 0, (int) (0.8f * h), side);
    linkButton.setContentHeight (0.7f * h);
    bButton.setBounds (linkButton.getRight() - 2, 0, side, side);
    bButton.setContentHeight (0.65f * h);
    usbButton.setBounds ((int) std::fma (-1.2f, h, (float) getWidth()), 0, side, side);
    usbButton.setContentHeight (h);
}

void MenuBar::paramValueChanged (int index, float value)
{
    if (index == ParamData::channel)
    {
        const auto dual = value > 0.5f;
        linkButton.setToggleState (! dual, juce::dontSendNotification);
        showChannels (! dual, getSelectedChannel());
    }
    else if (index == ParamData::msMatrix)
    {
        // Rounding half to even leaves exactly 0.5 off.
        const auto midSide = value > 0.5f;
        msButton.setToggleState (midSide, juce::dontSendNotification);
        showMsIcons (midSide);
    }
}

void MenuBar::nonAutomatableParamValueChanged (int index, juce::var value)
{
    if (index == ParamData::selectedChannel)
    {
        showChannels (! (paramsManager.automatableParams[ParamData::channel]->value > 0.5f), (int) value);
    }
    else if (index == ParamData::isConnected)
    {
        const auto connected = (bool) value;

        if (connected != usbButton.isConnected())
            usbButton.setConnected (connected);
    }
}

void MenuBar::connectionListChanged()
{
    auto* midiManager = pluginInstance.getMidiManager();
    const auto available = midiManager != nullptr && ! midiManager->getConnectionList()->isEmpty();

    if (available != usbButton.isAvailable())
        usbButton.setAvailable (available);
}

bool MenuBar::commandListenerCallback (juce::CvCommand* command)
{
    if (command->id != Ids::cvVu418d::showDeviceSelector)
        return false;

    openDeviceSelector();
    return true;
}

juce::Path MenuBar::getShapePath (PathId pathId)
{
    switch (pathId)
    {
        case msIcon:
        {
            auto path = loadIcon (BinaryData::icon_ms_base_path, BinaryData::icon_ms_base_pathSize);
            auto overlay = loadIcon (BinaryData::icon_ms_overlay_path, BinaryData::icon_ms_overlay_pathSize);
            overlay.applyTransform (juce::AffineTransform::scale (0.9f));
            const auto d = (path.getBounds().getWidth() - overlay.getBounds().getWidth()) * 0.5f;
            path.addPath (overlay, juce::AffineTransform::translation (d + 35.0f, 40.0f));
            path.addPath (overlay, juce::AffineTransform::translation (d - 35.0f, 40.0f));
            return path;
        }
        case linkIcon:
            return loadIcon (BinaryData::icon_link_path, BinaryData::icon_link_pathSize);
        case leftRightA:
            return loadIcon (BinaryData::icon_a_lr_path, BinaryData::icon_a_lr_pathSize);
        case leftRightB:
            return loadIcon (BinaryData::icon_b_lr_path, BinaryData::icon_b_lr_pathSize);
        case midSideA:
            return loadIcon (BinaryData::icon_a_ms_path, BinaryData::icon_a_ms_pathSize);
        case midSideB:
            return loadIcon (BinaryData::icon_b_ms_path, BinaryData::icon_b_ms_pathSize);
    }

    return {};
}

void MenuBar::openMenu()
{
    mainMenu = std::make_unique<juce::PopupMenu> (createMainMenu());
    safeThis = this;
    mainMenu->setLookAndFeel (&mainMenuLookAndFeel);

    if (canShowMenus())
        mainMenu->showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&menuButton),
                                 [safe = safeThis] (int itemId)
                                 {
                                     if (auto* menuBar = safe.getComponent())
                                         menuBar->mainMenuItemChosen (itemId);
                                 });
}

juce::PopupMenu MenuBar::createMainMenu() const
{
    const auto classic = getGuiTheme() == 1;
    juce::PopupMenu menu;
    menu.addItem (savePresetItem, "Save preset");
    menu.addItem (loadPresetItem, "Load preset");
    menu.addSeparator();
    menu.addSectionHeader ("GUI Theme");
    menu.addItem (zuzoThemeItem, "ZUZO theme", true, ! classic);
    menu.addItem (classicThemeItem, "Classic theme", true, classic);
    menu.addSeparator();
    menu.addItem (versionItem, juce::String ("Plugin version: ") + "2.0.2", false, false);
    return menu;
}

void MenuBar::mainMenuItemChosen (int itemId)
{
    const auto chooseTheme = [this] (int theme)
    {
        if (getGuiTheme() != theme)
            paramsManager.setNonAutomatableParamValue (this, ParamData::guiThemeChooser, theme);
    };

    switch (itemId)
    {
        case savePresetItem:
            pluginInstance.sendCommand (std::make_unique<juce::CvCommand> (Ids::cvVu418d::savePreset));
            break;
        case loadPresetItem:
            pluginInstance.sendCommand (std::make_unique<juce::CvCommand> (Ids::cvVu418d::loadPreset));
            break;
        case zuzoThemeItem:
            chooseTheme (0);
            break;
        case classicThemeItem:
            chooseTheme (1);
            break;
        default:
            break;
    }
}

void MenuBar::openDeviceSelector()
{
    class DeviceComponent : public juce::PopupMenu::CustomComponent
    {
    public:
        DeviceComponent (MenuBar* menuBar, juce::String unitName, int unitSerialNumber, bool connected, bool enabled)
            : juce::PopupMenu::CustomComponent (false)
            , serialNumber (unitSerialNumber)
            , name (std::move (unitName))
            , button (connected ? "DISCONNECT" : "CONNECT")
        {
            if (enabled)
                addAndMakeVisible (button);

            button.setEnabled (enabled);

            if (connected)
                button.onClick = [menuBar] { menuBar->disconnectUnit(); };
            else
                button.onClick = [menuBar, serial = serialNumber] { menuBar->connectUnit (serial); };

            ownUnit = connected && enabled;
        }

        void paint (juce::Graphics& g) override
        {
            const auto width = getWidth(), height = getHeight();

            if (isItemHighlighted())
            {
                juce::ColourGradient gradient (juce::Colour (0xff414141), 0.0f, 0.0f, juce::Colour (0xff1e1e1e), 0.0f,
                                               (float) height, false);
                gradient.addColour (0.5, juce::Colour (0xff282828));
                g.setGradientFill (gradient);
                g.fillRect (0, 2, width, height - 4);
            }

            g.setFont (15.0f);
            g.setColour (juce::Colour (ownUnit ? 0xff0092ff : 0xffb3b6bd));
            g.drawText (name + ", serial No: " + juce::String (serialNumber), 10, 0, width - 10, height,
                        juce::Justification::centredLeft, true);
        }

        void resized() override { button.setBounds (getWidth() - 80, 2, 78, getHeight() - 4); }

        void getIdealSize (int& idealWidth, int& idealHeight) override
        {
            idealWidth = 350;
            idealHeight = 25;
        }

    private:
        int serialNumber;
        bool ownUnit = false;
        juce::String name;
        juce::TextButton button;
    };

    auto* midiManager = pluginInstance.getMidiManager();
    const auto units = midiManager != nullptr
                           ? midiManager->getConnectionList()
                           : std::make_unique<juce::OwnedArray<juce::MidiManager::ConnectionStatus>>();

    if (deviceMenu != nullptr)
    {
        juce::PopupMenu::dismissAllActiveMenus();
        deviceMenu->clear();
    }
    else
    {
        deviceMenu = std::make_unique<juce::PopupMenu>();
        deviceMenuLookAndFeel.setColour (juce::PopupMenu::backgroundColourId, juce::Colour (0xff303030));
        deviceMenuLookAndFeel.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff1e1e1e));
        deviceMenu->setLookAndFeel (&deviceMenuLookAndFeel);
    }

    for (const auto* unit : *units)
    {
        const auto connected = unit->state == juce::MidiManager::ConnectionStatus::bound;
        const auto enabled = ! connected || unit->listener == pluginInstance.getBridge();
        deviceMenu->addCustomItem (
            unit->serialNumber + 1,
            std::make_unique<DeviceComponent> (this, unit->name, unit->serialNumber, connected, enabled), nullptr, {});
    }

    if (canShowMenus())
        deviceMenu->showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&usbButton));
}

void MenuBar::msClicked()
{
    const auto midSide = msButton.getToggleState();
    showMsIcons (midSide);
    writeAsGesture (ParamData::msMatrix, midSide ? 1.0f : 0.0f);
}

void MenuBar::linkClicked()
{
    const auto stereo = linkButton.getToggleState();
    writeAsGesture (ParamData::channel, stereo ? 0.0f : 1.0f);
    const auto selected = getSelectedChannel();
    aButton.setToggleState (stereo || selected == ParamData::channel1, juce::dontSendNotification);
    bButton.setToggleState (stereo || selected == ParamData::channel2, juce::dontSendNotification);
}

void MenuBar::channelButtonClicked (ParamData::SelectedChannel selected)
{
    writeAsGesture (ParamData::channel, 1.0f);
    paramsManager.setNonAutomatableParamValue (this, ParamData::selectedChannel, (int) selected);
    aButton.setToggleState (selected == ParamData::channel1, juce::dontSendNotification);
    bButton.setToggleState (selected == ParamData::channel2, juce::dontSendNotification);
    linkButton.setToggleState (false, juce::dontSendNotification);
}

void MenuBar::writeAsGesture (int index, float value)
{
    paramsManager.beginParamGesture (this, index);
    paramsManager.setParamValue (this, index, value);
    paramsManager.endParamGesture (this, index);
}

void MenuBar::showChannels (bool stereo, int selected)
{
    aButton.setToggleState (stereo || selected == ParamData::channel1, juce::dontSendNotification);
    bButton.setToggleState (stereo || selected == ParamData::channel2, juce::dontSendNotification);
    lockWhileLit (aButton);
    lockWhileLit (bButton);
}

void MenuBar::showMsIcons (bool midSide)
{
    aButton.setShape (getShapePath (midSide ? midSideA : leftRightA));
    bButton.setShape (getShapePath (midSide ? midSideB : leftRightB));
}

juce::CommandManager& MenuBar::commandManager() const
{
    return pluginInstance;
}

int MenuBar::getSelectedChannel() const
{
    return (int) paramsManager.nonAutomatableParams[ParamData::selectedChannel]->value;
}

int MenuBar::getGuiTheme() const
{
    return (int) paramsManager.nonAutomatableParams[ParamData::guiThemeChooser]->value;
}

void MenuBar::connectUnit (int serialNumber)
{
    paramsManager.setNonAutomatableParamValue (nullptr, ParamData::shouldBeConnected, true);
    paramsManager.setNonAutomatableParamValue (nullptr, ParamData::connectedDevSn, serialNumber);

    if (paramsManager.nonAutomatableParams[ParamData::isConnected]->value.equals (true))
    {
        pluginInstance.unbindUnit();
        pluginInstance.startTimer (1000);
    }

    pluginInstance.timerCallback();
    closeDeviceMenu();
}

void MenuBar::disconnectUnit()
{
    paramsManager.setNonAutomatableParamValue (nullptr, ParamData::shouldBeConnected, false);
    pluginInstance.unbindUnit();
    pluginInstance.startTimer (1000);
    closeDeviceMenu();
}

void MenuBar::closeDeviceMenu()
{
    juce::PopupMenu::dismissAllActiveMenus();
    deviceMenu->clear();
}
