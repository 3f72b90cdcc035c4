#include <editor/Buttons.h>

#include <BinaryResources.h>

#include "EarlyTimerCallback.h"
#include "support/MessageLoop.h"

#include <gtest/gtest.h>

namespace
{
template <typename CornerButton>
juce::Image paintCorner (CornerButton& button, bool highlighted, bool down)
{
    juce::Image image (juce::Image::ARGB, 40, 40, true);
    juce::Graphics g (image);
    button.paintButton (g, highlighted, down);
    return image;
}

// Light grey at the given opacity over the dark corner colour.
int greyOverCorner (float opacity)
{
    return juce::roundToInt (0x30 + (0xD3 - 0x30) * opacity);
}
} // namespace

TEST (Buttons, ImageButtonsTakeTheirImageAndAreOnOnlyAboveHalf)
{
    CvSimpleButton_vuVE ring (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true);
    EXPECT_TRUE (ring.createComponentSnapshot (ring.getLocalBounds()).getPixelAt (8, 1).isTransparent());

    ring.setFloatValue (1.0f, juce::dontSendNotification);
    const auto lit =
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size);
    EXPECT_EQ (ring.createComponentSnapshot (ring.getLocalBounds()).getPixelAt (8, 1), lit.getPixelAt (8, 1));
    EXPECT_TRUE (lit.getPixelAt (8, 1).isOpaque());

    ring.setFloatValue (0.5f, juce::dontSendNotification);
    EXPECT_EQ (ring.getFloatValue(), 0.0f);
    ring.setFloatValue (std::nextafter (0.5f, 1.0f), juce::dontSendNotification);
    EXPECT_TRUE (ring.getToggleState());
}

TEST (Buttons, ValueNotificationsClickAsynchronouslyAndKeepTheValue)
{
    CvSimpleButton_vuVE ring (BinaryData::temp_binary_data_19, BinaryData::temp_binary_data_19Size, true);
    CvSimpleButton_vuVE led (BinaryData::temp_binary_data_23, BinaryData::temp_binary_data_23Size, false);
    int ringClicks = 0, ledClicks = 0;
    ring.onClick = [&] { ++ringClicks; };
    led.onClick = [&] { ++ledClicks; };

    ring.setFloatValue (1.0f, juce::dontSendNotification);
    led.setFloatValue (1.0f, juce::dontSendNotification);
    ring.setFloatValue (0.0f, juce::sendNotificationSync);
    led.setFloatValue (0.0f, juce::sendNotificationAsync);
    EXPECT_EQ (ringClicks + ledClicks, 0);
    EXPECT_TRUE (testsupport::pumpUntil ([&] { return ringClicks == 1 && ledClicks == 1; }));
    testsupport::pumpMessages (50);
    EXPECT_EQ (ringClicks + ledClicks, 2) << "a silent change clicks nothing";
    EXPECT_EQ (ring.getFloatValue() + led.getFloatValue(), 0.0f);

    ring.setFloatValue (1.0f, juce::sendNotification);
    EXPECT_TRUE (testsupport::pumpUntil ([&] { return ringClicks == 2; }));
    EXPECT_EQ (ring.getFloatValue(), 1.0f);
}

// Its timer callback comes early after the timer thread has slept long; the lamp stays lit its whole time anyway.
TEST (Buttons, ClipGoesDarkAfterTheLastReport)
{
    CvClip_vuVE clip (BinaryData::temp_binary_data_21, BinaryData::temp_binary_data_21Size);
    clip.lightFor (300);
    testsupport::provokeEarlyTimerCallback();
    ASSERT_TRUE (clip.getToggleState());

    const auto lastReport = juce::Time::getMillisecondCounter();
    clip.lightFor (300);
    EXPECT_TRUE (testsupport::pumpUntil ([&] { return ! clip.getToggleState(); }, 2000));
    EXPECT_GE ((int) (juce::Time::getMillisecondCounter() - lastReport), 300);
    EXPECT_FALSE (clip.isTimerRunning());
}

TEST (Buttons, PresetSpotRunsItsDoubleClickActionWhenSet)
{
    CvPresetEncoder_oldGUI spot;
    const auto now = juce::Time::getCurrentTime();
    const juce::MouseEvent doubleClick (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 1.0f, 0.0f, 0.0f,
                                        0.0f, 0.0f, &spot, &spot, now, {}, now, 2, false);
    spot.mouseDoubleClick (doubleClick);

    int resets = 0;
    spot.onDoubleClick = [&] { ++resets; };
    spot.mouseDoubleClick (doubleClick);
    EXPECT_EQ (resets, 1);
}

TEST (Buttons, OpenButtonLightsItsTabWhenHoveredAndPressed)
{
    OpenPanelsButton open;
    const auto tab = [&] (bool highlighted, bool down)
    { return paintCorner (open, highlighted, down).getPixelAt (25, 20); };
    EXPECT_NEAR (tab (false, false).getAlpha(), 128, 2);
    EXPECT_NEAR (tab (true, false).getAlpha(), 191, 2);
    EXPECT_EQ (tab (false, true).getAlpha(), 255);
    EXPECT_NEAR (tab (false, false).getRed(), 0xD3, 2);

    const auto image = paintCorner (open, false, false);
    EXPECT_EQ (image.getPixelAt (35, 5).getARGB(), 0xFF303030);
    EXPECT_TRUE (image.getPixelAt (5, 30).isTransparent());
    EXPECT_TRUE (image.getPixelAt (3, 12).isTransparent()); // left of the lens
}

TEST (Buttons, CloseButtonCutsTheCrossOutOfItsDisc)
{
    ClosePanelsButton close;
    const auto disc = [&] (bool highlighted, bool down)
    { return (int) paintCorner (close, highlighted, down).getPixelAt (29, 4).getRed(); };
    EXPECT_NEAR (disc (false, false), greyOverCorner (0.5f), 2);
    EXPECT_NEAR (disc (true, false), greyOverCorner (0.75f), 2);
    EXPECT_NEAR (disc (true, true), greyOverCorner (1.0f), 2);

    const auto image = paintCorner (close, true, true);
    EXPECT_NEAR (image.getPixelAt (24, 8).getRed(), 0xD3, 2); // the disc's left edge is at x 23

    const std::pair<int, int> dark[] { { 29, 8 }, { 27, 10 }, { 22, 8 }, { 37, 8 }, { 32, 16 } }; // cross, outside

    for (auto [x, y] : dark)
        EXPECT_EQ (image.getPixelAt (x, y).getARGB(), 0xFF303030) << x << ", " << y;

    EXPECT_NEAR (image.getPixelAt (25, 20).getAlpha(), 128, 2); // the tab stays at half opacity
}
