#pragma once

namespace juce
{
/** An icon button of the menu bar: one flat colour for off, on and disabled, with hooks for the mouse events. */
class MenuBarButton : public Button
{
public:
    ~MenuBarButton() override;

    void mouseEnter (const MouseEvent& event) override;
    void mouseExit (const MouseEvent& event) override;
    void mouseDown (const MouseEvent& event) override;
    void mouseUp (const MouseEvent& event) override;

    virtual void setColours (const MainMenuColours& colours);
    /** Fits the icon to the given height, centred with the same margin on every side. */
    virtual void setContentHeight (float height) = 0;
    virtual int getContentWidthForHeight (float height) = 0;

    /** True only while a right-button press or release is being handled, so a click handler can tell them apart. */
    bool isRightButtonEvent() const noexcept { return rightButton; }

    std::function<void()> onMouseEnterFunc = [] {};
    std::function<void()> onMouseDownFunc = [] {};
    std::function<void()> onMouseUpFunc = [] {};
    std::function<void()> onMouseExitFunc = [] {};

protected:
    explicit MenuBarButton (const String& buttonName);

    Colour offColour, onColour, disabledColour;
    float pressShrink = 0.04f;

private:
    bool rightButton = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBarButton)
};

/** A menu-bar button that draws one path, a little smaller while pressed. */
class MenuBarShapeButton : public MenuBarButton
{
public:
    MenuBarShapeButton();
    ~MenuBarShapeButton() override;

    void resized() override;
    void paintButton (Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void setContentHeight (float height) override;
    int getContentWidthForHeight (float height) override;

    /** Replaces the icon; a previously fitted icon's height carries over to the new one. */
    void setShape (const Path& newShape);

private:
    Path shape;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBarShapeButton)
};

/** The connection indicator: steady when connected, blinking while a unit is available but not bound. */
class MenuBarUsbButton
    : public MenuBarShapeButton
    , private Timer
{
public:
    MenuBarUsbButton() = default;
    ~MenuBarUsbButton() override;

    void setColours (const MainMenuColours& colours) override;

    void setConnected (bool shouldBeConnected);
    void setAvailable (bool shouldBeAvailable);
    bool isConnected() const noexcept { return connected; }
    bool isAvailable() const noexcept { return available; }

private:
    void timerCallback() override;
    void updateIndicator();
    Colour getBlinkColour() const noexcept;

    bool connected = false, available = false;
    Colour idleColour, connectedColour;
    bool blinkPhase = false;
    int blinkIntervalMs = 500;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBarUsbButton)
};
} // namespace juce
