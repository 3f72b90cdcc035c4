#include "Knobs.h"

#include <BinaryResources.h>

namespace
{
/** The two positions nearest to a value and how far the value lies from the first towards the second. */
struct Neighbours
{
    Neighbours (double value, int positions)
    {
        const auto scaled = value * (positions - 1);
        first = juce::jlimit (0, positions - 1, (int) std::floor (scaled));
        second = first < positions - 1 ? first + 1 : first;
        fraction = (float) (scaled - first);
    }

    bool isLast() const { return first == second; }

    // Each neighbour stays fully opaque over the half of the gap nearer to it, so the pointer never looks dimmed
    // between positions.
    float firstOpacity() const { return juce::jmin (2.0f * (1.0f - fraction), 1.0f); }
    float secondOpacity() const { return juce::jmin (2.0f * fraction, 1.0f); }

    int first, second;
    float fraction;
};

void setUpKnob (juce::Slider& slider)
{
    slider.setRange (0.0, 1.0);
    slider.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    slider.setMouseDragSensitivity (512);
}

/** Returns false when the press was a reset, which ends the press. */
template <typename Knob>
bool handlePress (Knob& knob, const juce::MouseEvent& event, bool& fineDragActive)
{
    if (VuruvoduComponent::isResetPress (event.mods))
    {
        knob.setFloatValue (knob.defaultValue, juce::sendNotificationSync);
        return false;
    }

    fineDragActive = VuruvoduComponent::isFineDrag (event.mods);
    knob.setVelocityBasedMode (fineDragActive);
    return true;
}

// A host can send NaN, which reads as 0 as on every other widget: held by the slider, it would make the position
// conversions undefined and every later drag NaN too. The slider's range limits other values.
double sliderValueFor (float value)
{
    return value > 0.0f ? (double) value : 0.0;
}

void followShift (juce::Slider& slider, const juce::ModifierKeys& modifiers, bool& fineDragActive)
{
    if (VuruvoduComponent::isFineDrag (modifiers) != fineDragActive)
    {
        fineDragActive = ! fineDragActive;
        slider.setVelocityBasedMode (fineDragActive);
    }
}
} // namespace

CvEncoder_vuVE::CvEncoder_vuVE (bool hasCentreMark)
    : juce::DropShadow (juce::Colour (0x90000000), 4, {})
    , redPointer (
          juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_20, BinaryData::temp_binary_data_20Size))
    , whitePointer (
          juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_22, BinaryData::temp_binary_data_22Size))
    , positions (15)
    , centreMark (hasCentreMark)
{
    setSize (96, 96);
    setUpKnob (*this);
    setVelocityModeParameters (1.0, 1, 0.0, false, juce::ModifierKeys::ctrlAltCommandModifiers);
}

CvEncoder_vuVE::~CvEncoder_vuVE() = default;

void CvEncoder_vuVE::mouseDown (const juce::MouseEvent& event)
{
    if (handlePress (*this, event, fineDragActive))
        juce::Slider::mouseDown (event);
}

const juce::Image& CvEncoder_vuVE::imageOf (int position) const
{
    return centreMark && position == 7 ? redPointer : whitePointer;
}

void CvEncoder_vuVE::paint (juce::Graphics& g)
{
    const Neighbours neighbours (getValue(), positions);
    const auto centre = getLocalBounds().toFloat().getCentre();

    const auto drawPointer = [&] (int position)
    {
        const auto angle = (float) (position - 7) * 0.3926991f;
        g.drawImageTransformed (imageOf (position), juce::AffineTransform::rotation (angle, centre.x, centre.y));
    };

    if (neighbours.isLast())
    {
        drawPointer (neighbours.first);
        return;
    }

    g.setOpacity (neighbours.firstOpacity());
    drawPointer (neighbours.first);
    g.setOpacity (neighbours.secondOpacity());
    drawPointer (neighbours.second);
    g.setOpacity (1.0f);
}

void CvEncoder_vuVE::modifierKeysChanged (const juce::ModifierKeys& modifiers)
{
    followShift (*this, modifiers, fineDragActive);
    juce::Slider::modifierKeysChanged (modifiers);
}

void CvEncoder_vuVE::setFloatValue (float value, juce::NotificationType notification)
{
    setValue (sliderValueFor (value), notification);
}

float CvEncoder_vuVE::getFloatValue()
{
    return (float) getValue();
}

CvEncoder_classicGUI::CvEncoder_classicGUI (bool hasCentreMark)
    : ringCentreX (48)
    , ringCentreFromBottom (48)
    , ringRadius (41.0f)
    , positions (15)
    , centreMark (hasCentreMark)
    , whiteDot (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_9, BinaryData::temp_binary_data_9Size))
    , redDot (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_8, BinaryData::temp_binary_data_8Size))
{
    setUpKnob (*this);
    setVelocityBasedMode (false);
}

CvEncoder_classicGUI::~CvEncoder_classicGUI() = default;

void CvEncoder_classicGUI::addExtListener (ExtendedListener* listener)
{
    extListener = listener;

    // The framework's listener list ignores a listener it already holds.
    if (listener != nullptr)
        addListener (listener);
}

void CvEncoder_classicGUI::mouseEnter (const juce::MouseEvent& event)
{
    juce::Slider::mouseEnter (event);

    if (extListener != nullptr)
        extListener->sliderMouseEnter (this);
}

void CvEncoder_classicGUI::mouseExit (const juce::MouseEvent& event)
{
    juce::Slider::mouseExit (event);

    if (extListener != nullptr)
        extListener->sliderMouseExit (this);
}

void CvEncoder_classicGUI::mouseDown (const juce::MouseEvent& event)
{
    if (handlePress (*this, event, fineDragActive))
        juce::Slider::mouseDown (event);
}

void CvEncoder_classicGUI::drawDot (juce::Graphics& g, int position)
{
    const auto& image = centreMark && position == (positions - 1) / 2 ? redDot : whiteDot;

    // Single precision and this order of operations, with this constant rather than pi, place the dots on the
    // pixels the panel artwork was drawn for.
    const auto t = (float) (juce::uint8) position / (float) (positions - 1);
    const auto angle = ((t - 0.5f) + (t - 0.5f)) * 3.1415136f * 322.0f / 360.0f;
    const auto x = (float) ringCentreX + ringRadius * std::sin (angle);
    const auto y = (float) (getHeight() - ringCentreFromBottom) - ringRadius * std::cos (angle);

    g.drawImageAt (image, (int) (x - (float) (image.getWidth() / 2)), (int) (y - (float) (image.getHeight() / 2)));
}

void CvEncoder_classicGUI::paint (juce::Graphics& g)
{
    const Neighbours neighbours (getValue(), positions);

    if (neighbours.isLast())
    {
        drawDot (g, neighbours.first);
        return;
    }

    g.setOpacity (neighbours.firstOpacity());
    drawDot (g, neighbours.first);
    g.setOpacity (neighbours.secondOpacity());
    drawDot (g, neighbours.second);
    g.setOpacity (1.0f);
}

void CvEncoder_classicGUI::modifierKeysChanged (const juce::ModifierKeys& modifiers)
{
    followShift (*this, modifiers, fineDragActive);
    juce::Slider::modifierKeysChanged (modifiers);
}

void CvEncoder_classicGUI::setFloatValue (float value, juce::NotificationType notification)
{
    setValue (sliderValueFor (value), notification);
}

float CvEncoder_classicGUI::getFloatValue()
{
    return (float) getValue();
}
