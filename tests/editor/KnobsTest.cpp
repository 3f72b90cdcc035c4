#include <editor/Knobs.h>

#include <BinaryResources.h>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
using Mods = juce::ModifierKeys;

// A left-button event at (48, 200), or that many pixels above it while dragging.
juce::MouseEvent mouseAt (juce::Component& target, int modifierFlags, float pixelsUp = 0.0f)
{
    const auto now = juce::Time::getCurrentTime();
    const juce::Point<float> down (48.0f, 200.0f);
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), down.translated (0.0f, -pixelsUp),
                             Mods (modifierFlags | Mods::leftButtonModifier), 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, &target,
                             &target, now, down, now, 1, pixelsUp != 0.0f);
}

void pressAndDrag (juce::Slider& knob, int modifierFlags, float pixelsUp)
{
    knob.mouseDown (mouseAt (knob, modifierFlags));
    knob.mouseDrag (mouseAt (knob, modifierFlags, pixelsUp));
    knob.mouseUp (mouseAt (knob, modifierFlags, pixelsUp));
}

struct CountingListener : public ExtendedListener
{
    void sliderValueChanged (juce::Slider*) override { ++changes; }
    void sliderDragStarted (juce::Slider*) override { ++dragStarts; }
    void sliderDragEnded (juce::Slider*) override {}
    void sliderMouseEnter (juce::Slider* slider) override { hovers.push_back ({ slider, true }); }
    void sliderMouseExit (juce::Slider* slider) override { hovers.push_back ({ slider, false }); }
    void buttonMouseEnter (juce::Button*) override {}
    void buttonMouseExit (juce::Button*) override {}
    void buttonClicked (juce::Button*) override {}

    int changes = 0, dragStarts = 0;
    std::vector<std::pair<juce::Slider*, bool>> hovers;
};

template <typename Knob>
juce::Image render (Knob& knob, float value)
{
    knob.setFloatValue (value, juce::dontSendNotification);
    juce::Image image (juce::Image::ARGB, knob.getWidth(), knob.getHeight(), true);
    juce::Graphics g (image);
    knob.paintEntireComponent (g, false);
    return image;
}

int alphaAt (const juce::Image& image, juce::Point<int> point)
{
    return image.getPixelAt (point.x, point.y).getAlpha();
}

bool isRedAt (const juce::Image& image, juce::Point<int> point)
{
    const auto colour = image.getPixelAt (point.x, point.y);
    return colour.getRed() - colour.getGreen() > 64;
}

// The vuVE pointer mark sits 39 px from the centre, turned clockwise from 12 o'clock by 22.5 degrees a position.
juce::Point<int> pointerMark (int position)
{
    const auto angle = juce::degreesToRadians (22.5f * (float) (position - 7));
    return juce::Point<float> (48.0f + 39.0f * std::sin (angle), 48.0f - 39.0f * std::cos (angle)).roundToInt();
}

bool showsDotAt (const juce::Image& rendered, const juce::Image& dot, juce::Point<int> topLeft)
{
    for (auto y = 0; y < dot.getHeight(); ++y)
        for (auto x = 0; x < dot.getWidth(); ++x)
            if (rendered.getPixelAt (topLeft.x + x, topLeft.y + y) != dot.getPixelAt (x, y))
                return false;

    return true;
}
} // namespace

TEST (Knobs, VuVEShowsOnePointerOnAPositionAndCrossFadesBetween)
{
    CvEncoder_vuVE knob (false);

    for (const auto position : { 0, 7, 14 })
    {
        const auto image = render (knob, (float) position / 14.0f);

        for (auto k = 0; k < 15; ++k)
            EXPECT_EQ (alphaAt (image, pointerMark (k)) > 128, k == position) << position << " " << k;
    }

    const auto opaque = alphaAt (render (knob, 0.0f), pointerMark (0));
    const auto halfway = render (knob, 3.5f / 14.0f), quarter = render (knob, 3.25f / 14.0f);
    EXPECT_EQ (alphaAt (halfway, pointerMark (3)), opaque);
    EXPECT_EQ (alphaAt (halfway, pointerMark (4)), opaque);
    EXPECT_EQ (alphaAt (quarter, pointerMark (3)), opaque);
    EXPECT_NEAR (alphaAt (quarter, pointerMark (4)), opaque / 2, 3);

    CvEncoder_vuVE gain (true);
    EXPECT_TRUE (isRedAt (render (gain, 0.5f), pointerMark (7))) << "only a centre-marked middle pointer is red";
    EXPECT_FALSE (isRedAt (render (knob, 0.5f), pointerMark (7)));
    EXPECT_FALSE (isRedAt (render (gain, 6.5f / 14.0f), pointerMark (6)));
}

TEST (Knobs, ClassicPlacesTruncatedDotsOnTheRing)
{
    CvEncoder_classicGUI knob (true);
    knob.setSize (96, 110);
    const auto white =
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_9, BinaryData::temp_binary_data_9Size);
    const auto red =
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_8, BinaryData::temp_binary_data_8Size);
    const juce::Point<int> first (24, 90), second (10, 82), middle (38, 11), last (51, 90), centre (10, 10);

    CvEncoder_classicGUI plain (false);
    plain.setSize (96, 110);
    const auto bottom = render (knob, 0.0f);
    EXPECT_TRUE (showsDotAt (bottom, white, first));
    EXPECT_EQ (alphaAt (bottom, second + centre), 0);
    EXPECT_TRUE (showsDotAt (render (knob, 0.5f), red, middle));
    EXPECT_TRUE (showsDotAt (render (plain, 0.5f), white, middle));
    EXPECT_TRUE (showsDotAt (render (knob, 1.0f), white, last));

    const auto halfway = render (knob, 0.5f / 14.0f);
    EXPECT_EQ (alphaAt (halfway, first + centre), alphaAt (white, centre));
    EXPECT_EQ (alphaAt (halfway, second + centre), alphaAt (white, centre));
}

template <typename Knob>
class KnobsPress : public testing::Test
{
protected:
    KnobsPress()
    {
        knob.defaultValue = 0.25f;
        knob.addListener (&listener);
    }

    Knob knob { false };
    CountingListener listener;
};

using KnobTypes = testing::Types<CvEncoder_vuVE, CvEncoder_classicGUI>;

struct KnobTypeNames
{
    template <typename Knob>
    static std::string GetName (int)
    {
        return std::is_same_v<Knob, CvEncoder_vuVE> ? "vuVE" : "classicGUI";
    }
};

TYPED_TEST_SUITE (KnobsPress, KnobTypes, KnobTypeNames);

TYPED_TEST (KnobsPress, CtrlClickResetsAtOnceAndStartsNoDragWhileOtherModifiersDrag)
{
    this->knob.setFloatValue (0.75f, juce::dontSendNotification);
    pressAndDrag (this->knob, Mods::ctrlModifier, 64.0f);
    EXPECT_FLOAT_EQ (this->knob.getFloatValue(), 0.25f);
    EXPECT_EQ (this->listener.changes, 1);
    EXPECT_EQ (this->listener.dragStarts, 0);

    this->knob.setFloatValue (0.0f, juce::dontSendNotification);
    pressAndDrag (this->knob, 0, 128.0f);
    EXPECT_FLOAT_EQ (this->knob.getFloatValue(), 0.25f); // 512 px cover the range

    for (const int mods : { Mods::ctrlModifier | Mods::shiftModifier, (int) Mods::altModifier })
    {
        this->knob.setFloatValue (0.0f, juce::dontSendNotification);
        pressAndDrag (this->knob, mods, 128.0f);
        EXPECT_GT (this->knob.getFloatValue(), 0.0f) << mods;
        EXPECT_FALSE (this->knob.getVelocityBasedMode());
    }

    EXPECT_EQ (this->listener.dragStarts, 3);
}

TYPED_TEST (KnobsPress, ShiftSwitchesFineDragWhileHeld)
{
    auto& pressed = this->knob;
    const auto setHeldKeys = [&] (int flags) { pressed.modifierKeysChanged (Mods (flags | Mods::leftButtonModifier)); };

    pressed.mouseDown (mouseAt (pressed, Mods::shiftModifier));
    EXPECT_TRUE (pressed.getVelocityBasedMode());
    setHeldKeys (0);
    EXPECT_FALSE (pressed.getVelocityBasedMode());
    setHeldKeys (Mods::shiftModifier);
    EXPECT_TRUE (pressed.getVelocityBasedMode());
    setHeldKeys (Mods::shiftModifier | Mods::altModifier);
    EXPECT_FALSE (pressed.getVelocityBasedMode());
    setHeldKeys (Mods::shiftModifier);
    pressed.mouseUp (mouseAt (pressed, 0));

    pressed.mouseDown (mouseAt (pressed, 0));
    EXPECT_FALSE (pressed.getVelocityBasedMode());
}

// A host can send NaN.
TYPED_TEST (KnobsPress, NanReadsAsZeroAndLeavesTheKnobDraggable)
{
    this->knob.setSize (96, 110);
    const auto atZero = render (this->knob, 0.0f);
    const auto atNan = render (this->knob, std::nanf (""));
    EXPECT_EQ (this->knob.getFloatValue(), 0.0f);

    const juce::Image::BitmapData zeroPixels (atZero, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData nanPixels (atNan, juce::Image::BitmapData::readOnly);
    EXPECT_EQ (std::memcmp (zeroPixels.data, nanPixels.data, zeroPixels.size), 0);

    pressAndDrag (this->knob, 0, 128.0f);
    EXPECT_FLOAT_EQ (this->knob.getFloatValue(), 0.25f);
}

TEST (Knobs, VuVEAltDragStaysCoarseAndClassicHoverReachesTheExtendedListenerRegisteredOnce)
{
    CvEncoder_vuVE vuVE (false);
    pressAndDrag (vuVE, Mods::altModifier, 128.0f);
    EXPECT_FLOAT_EQ (vuVE.getFloatValue(), 0.25f);

    CvEncoder_classicGUI knob (false);
    CountingListener listener;
    const auto event = mouseAt (knob, 0);
    knob.mouseEnter (event);

    knob.addExtListener (&listener);
    knob.addExtListener (&listener);
    knob.mouseEnter (event);
    knob.mouseExit (event);
    knob.setFloatValue (0.5f, juce::sendNotificationSync);

    knob.addExtListener (nullptr);
    knob.mouseEnter (event);

    const std::vector<std::pair<juce::Slider*, bool>> expected { { &knob, true }, { &knob, false } };
    EXPECT_EQ (listener.hovers, expected);
    EXPECT_EQ (listener.changes, 1);
}
