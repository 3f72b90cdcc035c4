#include <cv_gui/cv_gui.h>

#include "support/MessageLoop.h"

#include <gtest/gtest.h>

namespace
{
juce::Path rectangle (float x, float y, float w, float h)
{
    juce::Path path;
    path.addRectangle (x, y, w, h);
    return path;
}

juce::Image render (juce::MenuBarShapeButton& button, bool down = false)
{
    juce::Image image (juce::Image::ARGB, button.getWidth(), button.getHeight(), true);
    juce::Graphics g (image);
    button.paintButton (g, false, down);
    return image;
}

// Measures the drawn rectangle to a fraction of a pixel along the row and the column through (x, y).
void expectDrawn (const juce::Image& image, int x, int y, juce::Rectangle<float> expected)
{
    const auto span = [] (int count, auto pixelAt)
    {
        float length = 0.0f, moment = 0.0f;

        for (int i = 0; i < count; ++i)
        {
            length += pixelAt (i).getFloatAlpha();
            moment += pixelAt (i).getFloatAlpha() * ((float) i + 0.5f);
        }

        return juce::Range<float> (moment / length - length / 2.0f, moment / length + length / 2.0f);
    };
    const auto across = span (image.getWidth(), [&] (int i) { return image.getPixelAt (i, y); });
    const auto down = span (image.getHeight(), [&] (int i) { return image.getPixelAt (x, i); });

    for (const auto& [actual, wanted] :
         { std::pair (across.getStart(), expected.getX()), std::pair (across.getEnd(), expected.getRight()),
           std::pair (down.getStart(), expected.getY()), std::pair (down.getEnd(), expected.getBottom()) })
        EXPECT_NEAR (actual, wanted, 0.02f);
}
} // namespace

TEST (MenuBarButtons, FittingKeepsProportionsAndEqualMarginsButSkipsAnEmptyShape)
{
    juce::MenuBarShapeButton tall, wide;
    tall.setBounds (0, 0, 25, 25);
    wide.setBounds (0, 0, 60, 25);
    tall.setColours ({});
    wide.setColours ({});
    EXPECT_EQ (tall.getContentWidthForHeight (10.0f), 0);

    // A height set while the shape is empty fits nothing, so the next shape is drawn as it is.
    tall.setContentHeight (17.5f);
    tall.setShape (rectangle (2.0f, 3.0f, 10.0f, 20.0f));
    expectDrawn (render (tall), 5, 5, { 2.0f, 3.0f, 10.0f, 20.0f });
    EXPECT_EQ (tall.getContentWidthForHeight (15.0f), 7);

    tall.setShape (rectangle (0.0f, 0.0f, 10.0f, 20.0f));
    wide.setShape (rectangle (100.0f, 100.0f, 80.0f, 10.0f));
    tall.setContentHeight (17.5f);
    wide.setContentHeight (17.5f);
    expectDrawn (render (tall), 12, 12, { 8.125f, 3.75f, 8.75f, 17.5f });
    expectDrawn (render (wide), 30, 12, { 3.75f, 9.21875f, 52.5f, 6.5625f });
    // A pressed icon shrinks about its centre.
    expectDrawn (render (tall, true), 12, 12, { 8.475f, 4.45f, 8.05f, 16.1f });

    // The fitted height carries over to the next icon.
    tall.setShape (rectangle (0.0f, 0.0f, 100.0f, 100.0f));
    expectDrawn (render (tall), 12, 12, { 3.75f, 3.75f, 17.5f, 17.5f });

    wide.setBounds (0, 0, 80, 30);
    expectDrawn (render (wide), 40, 15, { 13.75f, 11.71875f, 52.5f, 6.5625f });
}

TEST (MenuBarButtons, ColourFollowsToggleUnlessDisabled)
{
    juce::Component parent;
    juce::MenuBarShapeButton button;
    parent.addAndMakeVisible (button);
    button.setBounds (0, 0, 25, 25);
    button.setShape (rectangle (5.0f, 5.0f, 15.0f, 15.0f));
    button.setColours ({});

    const auto colour = [&button] { return render (button).getPixelAt (12, 12); };
    EXPECT_EQ (colour(), juce::Colour (0xffb3b6bd));
    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_EQ (colour(), juce::Colour (0xffd63232));

    parent.setEnabled (false);
    EXPECT_EQ (colour(), juce::Colour (0xff51565f));
    button.setToggleState (false, juce::dontSendNotification);
    EXPECT_EQ (colour(), juce::Colour (0xff51565f));
}

TEST (MenuBarButtons, RightClickRunsTheClickHandlerWithTheFlagSet)
{
    juce::MenuBarShapeButton button;
    button.setBounds (0, 0, 25, 25);
    button.setVisible (true);

    juce::StringArray calls;
    button.onMouseDownFunc = [&] { calls.add ("down"); };
    button.onMouseUpFunc = [&] { calls.add (button.isRightButtonEvent() ? "up right" : "up"); };
    button.onClick = [&] { calls.add (button.isRightButtonEvent() ? "click right" : "click"); };

    for (const auto mouseButton : { juce::ModifierKeys::rightButtonModifier, juce::ModifierKeys::leftButtonModifier })
    {
        const auto now = juce::Time::getCurrentTime();
        const juce::MouseEvent click (juce::Desktop::getInstance().getMainMouseSource(), { 5.0f, 5.0f },
                                      juce::ModifierKeys (mouseButton), 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, &button, &button,
                                      now, { 5.0f, 5.0f }, now, 1, false);
        button.mouseDown (click);
        button.mouseUp (click);
        EXPECT_FALSE (button.isRightButtonEvent());
    }

    EXPECT_EQ (calls.joinIntoString (", "), "down, click right, up right, down, click, up");
}

TEST (MenuBarButtons, UsbIndicatorIsSteadyWhenConnectedAndBlinksWhenOnlyAvailable)
{
    juce::MenuBarUsbButton usb;
    usb.setBounds (0, 0, 25, 25);
    usb.setShape (rectangle (5.0f, 5.0f, 15.0f, 15.0f));
    juce::MainMenuColours colours;
    colours.buttonOff = juce::Colours::red;
    colours.usbConnected = juce::Colours::lime;
    usb.setColours (colours);

    const auto colour = [&usb] { return render (usb).getPixelAt (12, 12); };
    const auto startsBlinkingWithIdle = [&]
    {
        EXPECT_EQ (colour(), juce::Colours::red);
        const auto start = juce::Time::getMillisecondCounter();
        EXPECT_TRUE (testsupport::pumpUntil ([&] { return colour() == colours.usbConnected; }));
        // Half the period: the framework's timers fire early by up to their thread's last sleep.
        EXPECT_GE (juce::Time::getMillisecondCounter() - start, 250u);
    };

    EXPECT_EQ (colour(), juce::Colours::red);
    usb.setAvailable (true);
    startsBlinkingWithIdle();
    EXPECT_TRUE (testsupport::pumpUntil ([&] { return colour() == juce::Colours::red; }));

    usb.setConnected (true);
    testsupport::pumpMessages (600);
    colours.usbConnected = juce::Colours::blue;
    usb.setColours (colours);
    EXPECT_EQ (colour(), juce::Colours::blue);

    usb.setConnected (false);
    startsBlinkingWithIdle();

    usb.setAvailable (false);
    testsupport::pumpMessages (600);
    EXPECT_EQ (colour(), juce::Colours::red);
}
