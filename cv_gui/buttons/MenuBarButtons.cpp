namespace juce
{
MenuBarButton::MenuBarButton (const String& buttonName)
    : Button (buttonName)
{
}

MenuBarButton::~MenuBarButton() = default;

void MenuBarButton::mouseEnter (const MouseEvent& event)
{
    Button::mouseEnter (event);
    onMouseEnterFunc();
}

void MenuBarButton::mouseExit (const MouseEvent& event)
{
    Button::mouseExit (event);
    onMouseExitFunc();
}

void MenuBarButton::mouseDown (const MouseEvent& event)
{
    rightButton = event.mods.isRightButtonDown();
    onMouseDownFunc();
    Button::mouseDown (event);
    rightButton = false;
}

void MenuBarButton::mouseUp (const MouseEvent& event)
{
    rightButton = event.mods.isRightButtonDown();
    Button::mouseUp (event);
    onMouseUpFunc();
    rightButton = false;
}

void MenuBarButton::setColours (const MainMenuColours& colours)
{
    onColour = colours.buttonOn;
    offColour = colours.buttonOff;
    disabledColour = colours.buttonDisabled;
}

MenuBarShapeButton::MenuBarShapeButton()
    : MenuBarButton ("MenuBarButton")
{
}

MenuBarShapeButton::~MenuBarShapeButton() = default;

void MenuBarShapeButton::resized()
{
    if (shape.isEmpty())
        return;

    const auto bounds = shape.getBounds();

    if (! bounds.isEmpty())
        shape.applyTransform (
            AffineTransform::translation (((float) getWidth() - bounds.getWidth()) / 2.0f - bounds.getX(),
                                          ((float) getHeight() - bounds.getHeight()) / 2.0f - bounds.getY()));

    repaint();
}

void MenuBarShapeButton::paintButton (Graphics& g, bool, bool shouldDrawButtonAsDown)
{
    if (! isEnabled())
        g.setColour (disabledColour);
    else
        g.setColour (getToggleState() ? onColour : offColour);

    auto box = shape.getBounds();

    if (shouldDrawButtonAsDown)
    {
        const auto w = box.getWidth(), h = box.getHeight();
        box = { box.getX() + w * pressShrink, box.getY() + h * pressShrink, jmax (w - 2.0f * w * pressShrink, 0.0f),
                jmax (h - 2.0f * h * pressShrink, 0.0f) };
    }

    g.fillPath (shape, shape.getTransformToScaleToFit (box, true));
}

void MenuBarShapeButton::setContentHeight (float height)
{
    if (shape.isEmpty())
        return;

    const auto margin = ((float) getHeight() - height) / 2.0f;
    const auto availableWidth = (float) getWidth() - 2.0f * margin;

    // Identity when the box or the shape has no area, so such a shape stays as it is.
    shape.applyTransform (shape.getTransformToScaleToFit (margin, margin, availableWidth, height, true));
    repaint();
}

int MenuBarShapeButton::getContentWidthForHeight (float height)
{
    if (shape.isEmpty())
        return 0;

    const auto bounds = shape.getBounds();
    return (int) (bounds.getWidth() * height / bounds.getHeight());
}

void MenuBarShapeButton::setShape (const Path& newShape)
{
    const auto wasFitted = ! shape.isEmpty();
    const auto fittedHeight = shape.getBounds().getHeight();

    shape = newShape;

    if (wasFitted)
        setContentHeight (fittedHeight);
}

MenuBarUsbButton::~MenuBarUsbButton() = default;

void MenuBarUsbButton::setColours (const MainMenuColours& colours)
{
    idleColour = colours.buttonOff;
    connectedColour = colours.usbConnected;
    MenuBarShapeButton::setColours (colours);
    offColour = getBlinkColour();
    repaint();
}

void MenuBarUsbButton::setConnected (bool shouldBeConnected)
{
    connected = shouldBeConnected;
    updateIndicator();
}

void MenuBarUsbButton::setAvailable (bool shouldBeAvailable)
{
    available = shouldBeAvailable;
    updateIndicator();
}

void MenuBarUsbButton::updateIndicator()
{
    stopTimer();
    blinkPhase = connected;

    if (! connected && available)
        startTimer (jmax (blinkIntervalMs, 1));

    offColour = getBlinkColour();
    repaint();
}

void MenuBarUsbButton::timerCallback()
{
    blinkPhase = ! blinkPhase;
    offColour = getBlinkColour();
    repaint();
}

Colour MenuBarUsbButton::getBlinkColour() const noexcept
{
    return blinkPhase ? connectedColour : idleColour;
}
} // namespace juce
