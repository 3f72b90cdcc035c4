#include "Buttons.h"

namespace
{
const juce::Colour lightGrey { 0xFFD3D3D3 };
const juce::Colour cornerColour { 0xFF303030 };

void drawWhenOn (juce::Graphics& g, const juce::Button& button, const juce::Image& litImage)
{
    if (button.getToggleState())
        g.drawImageAt (litImage, 0, 0);
}

float tabOpacity (bool highlighted, bool down)
{
    return down ? 1.0f : (highlighted ? 0.75f : 0.5f);
}

// Both corner shapes share the diagonal curve from the top-left to the bottom-right corner of the 40 x 40 box.
juce::Path curveFromTopLeft()
{
    juce::Path path;
    path.setUsingNonZeroWinding (false);
    path.startNewSubPath (0.0f, 0.0f);
    path.cubicTo (16.0f, 2.0f, 42.0f, 24.0f, 40.0f, 40.0f);
    return path;
}

// A lens below and left of the diagonal curve.
juce::Path makeTabPath()
{
    auto path = curveFromTopLeft();
    path.cubicTo (36.8f, 30.4f, 29.1f, 24.0f, 17.6f, 24.0f);
    path.cubicTo (16.0f, 11.2f, 10.8f, 2.8f, 0.0f, 0.0f);
    path.closeSubPath();
    return path;
}

// Everything above the diagonal curve up to the top-right corner.
juce::Path makeCornerPath()
{
    auto path = curveFromTopLeft();
    path.lineTo (40.0f, 0.0f);
    path.lineTo (0.0f, 0.0f);
    path.closeSubPath();
    return path;
}

// A disc with a cross inside, so the even-odd fill cuts the cross out; fitted into the top-right corner.
juce::Path makeCloseIconPath()
{
    juce::Path path;
    path.setUsingNonZeroWinding (false);
    path.addEllipse (0.0f, 0.0f, 40.0f, 40.0f);

    const float cross[][2] { { 20, 14 }, { 26, 8 },  { 32, 14 }, { 26, 20 }, { 32, 26 }, { 26, 32 },
                             { 20, 26 }, { 14, 32 }, { 8, 26 },  { 14, 20 }, { 8, 14 },  { 14, 8 } };
    path.startNewSubPath (cross[0][0], cross[0][1]);

    for (size_t i = 1; i < std::size (cross); ++i)
        path.lineTo (cross[i][0], cross[i][1]);

    path.closeSubPath();
    path.applyTransform (path.getTransformToScaleToFit ({ 23.0f, 2.0f, 13.0f, 13.0f }, true));
    return path;
}
} // namespace

CvSimpleButton_vuVE::CvSimpleButton_vuVE (const char* imageData, int dataSize, bool clickingTogglesState)
    : juce::Button ({})
    , litImage (juce::ImageCache::getFromMemory (imageData, dataSize))
{
    setClickingTogglesState (clickingTogglesState);
    setSize (litImage.getWidth(), litImage.getHeight());
}

CvSimpleButton_vuVE::~CvSimpleButton_vuVE() = default;

void CvSimpleButton_vuVE::paintButton (juce::Graphics& g, bool, bool)
{
    drawWhenOn (g, *this, litImage);
}

void CvSimpleButton_vuVE::setFloatValue (float value, juce::NotificationType notification)
{
    setToggleState (value > 0.5f, juce::dontSendNotification);
    repaint();

    if (notification == juce::dontSendNotification)
        return;

    // Not the framework's triggerClick: on a toggling button its click would flip the state just set. This
    // asynchronous click reports the state as it stands then, with the notifications of a user's click.
    juce::MessageManager::callAsync (
        [safeThis = juce::Component::SafePointer<CvSimpleButton_vuVE> (this)]
        {
            if (safeThis == nullptr || ! safeThis->isEnabled())
                return;

            const auto on = safeThis->getToggleState();
            safeThis->setToggleState (! on, juce::dontSendNotification);
            safeThis->setToggleState (on, juce::sendNotification);
        });
}

float CvSimpleButton_vuVE::getFloatValue()
{
    return getToggleState() ? 1.0f : 0.0f;
}

CvClip_vuVE::CvClip_vuVE (const char* imageData, int dataSize)
    : CvSimpleButton_vuVE (imageData, dataSize, false)
{
}

CvClip_vuVE::~CvClip_vuVE() = default;

void CvClip_vuVE::lightFor (int milliseconds)
{
    holdDeadline.startTimer (*this, milliseconds);
    setToggleState (true, juce::dontSendNotification);
}

void CvClip_vuVE::timerCallback()
{
    if (holdDeadline.rearmedBeforeDeadline (*this))
        return;

    stopTimer();
    setToggleState (false, juce::dontSendNotification);
}

CvSimpleButton_classicGUI::CvSimpleButton_classicGUI (const char* imageData, int dataSize)
    : juce::Button ({})
    , litImage (juce::ImageCache::getFromMemory (imageData, dataSize))
{
    setClickingTogglesState (true);
}

CvSimpleButton_classicGUI::~CvSimpleButton_classicGUI() = default;

void CvSimpleButton_classicGUI::paintButton (juce::Graphics& g, bool, bool)
{
    drawWhenOn (g, *this, litImage);
}

CvPresetEncoder_oldGUI::CvPresetEncoder_oldGUI() = default;

CvPresetEncoder_oldGUI::~CvPresetEncoder_oldGUI() = default;

void CvPresetEncoder_oldGUI::mouseDoubleClick (const juce::MouseEvent&)
{
    if (onDoubleClick != nullptr)
        onDoubleClick();
}

OpenPanelsButton::OpenPanelsButton()
    : juce::Button ("OpenPanesButton")
    , tabPath (makeTabPath())
    , cornerPath (makeCornerPath())
{
}

OpenPanelsButton::~OpenPanelsButton() = default;

void OpenPanelsButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    g.setColour (lightGrey.withAlpha (tabOpacity (shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown)));
    g.fillPath (tabPath);
    g.setColour (cornerColour);
    g.fillPath (cornerPath);
}

ClosePanelsButton::ClosePanelsButton()
    : juce::Button ("ClosePanelsButton")
    , iconPath (makeCloseIconPath())
    , tabPath (makeTabPath())
    , cornerPath (makeCornerPath())
{
}

ClosePanelsButton::~ClosePanelsButton() = default;

void ClosePanelsButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    g.setColour (lightGrey.withAlpha (0.5f));
    g.fillPath (tabPath);
    g.setColour (cornerColour);
    g.fillPath (cornerPath);
    g.setColour (lightGrey.withAlpha (tabOpacity (shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown)));
    g.fillPath (iconPath);
}
