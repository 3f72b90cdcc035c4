#include <editor/VuruvoduLookAndFeel.h>

#include "DrawnTypefaces.h"

#include <gtest/gtest.h>

namespace
{
juce::Image render (juce::Component& component, const std::function<void (juce::Graphics&)>& draw)
{
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    juce::Graphics g (image);
    draw (g);
    return image;
}

// The rows that hold any visible pixel.
std::pair<int, int> paintedRows (const juce::Image& image)
{
    int first = -1, last = -1;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() > 0)
            {
                first = first < 0 ? y : first;
                last = y;
            }

    return { first, last };
}
} // namespace

TEST (VuruvoduLookAndFeel, DrawsEveryFontWithTheEmbeddedFace)
{
    VuruvoduLookAndFeel lookAndFeel;
    const auto face = lookAndFeel.getTypefaceForFont (juce::Font());
    ASSERT_NE (face, nullptr);
    EXPECT_EQ (face->getName(), "Lato");

    for (const auto& font : { juce::Font ("Courier", 30.0f, juce::Font::bold | juce::Font::italic),
                              juce::Font (12.0f, juce::Font::underlined) })
        EXPECT_EQ (lookAndFeel.getTypefaceForFont (font), face);

    EXPECT_EQ (lookAndFeel.getAlertWindowButtonHeight(), 22);

    // What is drawn counts: the framework asks only the process-wide default look-and-feel for a typeface.
    juce::Component window;
    juce::TextButton textButton ("OK");
    juce::ToggleButton toggle ("On");
    juce::Label label ({}, "Label");
    label.setFont (juce::Font ("Courier", 15.0f, juce::Font::bold));
    window.setLookAndFeel (&lookAndFeel);

    for (auto* child : std::initializer_list<juce::Component*> { &textButton, &toggle, &label })
    {
        window.addAndMakeVisible (child);
        child->setBounds (0, 0, 100, 24);
    }

    const auto drawn = testsupport::typefacesDrawnBy (
        [&] (juce::Graphics& g)
        {
            for (auto* child : window.getChildren())
                child->paintEntireComponent (g, false);

            lookAndFeel.drawPopupMenuItem (g, { 0, 0, 200, 24 }, false, true, false, true, false, "Item", "Ctrl+S",
                                           nullptr, nullptr);
        });

    EXPECT_TRUE (testsupport::drawnOnlyIn (drawn, face));
    window.setLookAndFeel (nullptr);
}

TEST (VuruvoduLookAndFeel, PaintsButtonsFlatWithThePressedRuleLast)
{
    VuruvoduLookAndFeel lookAndFeel;
    juce::TextButton button;
    button.setBounds (0, 0, 40, 20);
    const juce::Colour grey (0xff808080);
    const auto fillOf = [&] (bool highlighted, bool down)
    {
        return render (button, [&] (juce::Graphics& g)
                       { lookAndFeel.drawButtonBackground (g, button, grey, highlighted, down); })
            .getPixelAt (0, 0);
    };

    EXPECT_EQ (fillOf (false, false), grey.withMultipliedBrightness (0.8f));
    EXPECT_EQ (fillOf (true, false), grey.withMultipliedBrightness (1.4f));
    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_EQ (fillOf (true, true), grey.withMultipliedBrightness (0.6f));
}

TEST (VuruvoduLookAndFeel, ButtonTextKeepsItsIndentsAndIsLeftOutWhenNoWidthRemains)
{
    VuruvoduLookAndFeel lookAndFeel;
    juce::TextButton button ("WWWWWW");
    const auto textRows = [&] (int width, int height)
    {
        button.setBounds (0, 0, width, height);
        return paintedRows (
            render (button, [&] (juce::Graphics& g) { lookAndFeel.drawButtonText (g, button, false, false); }));
    };

    EXPECT_EQ (textRows (3, 20), std::make_pair (-1, -1));
    const auto [top, bottom] = textRows (200, 30);
    EXPECT_GE (top, 4);
    EXPECT_LE (bottom, 25);
}

TEST (VuruvoduLookAndFeel, ToggleBoxSitsInA22PixelFrameCentredWithoutRounding)
{
    VuruvoduLookAndFeel lookAndFeel;
    juce::ToggleButton toggle;
    const auto boxRows = [&] (int height)
    {
        toggle.setBounds (0, 0, 20, height);
        return paintedRows (
            render (toggle, [&] (juce::Graphics& g) { lookAndFeel.drawToggleButton (g, toggle, false, false); }));
    };

    EXPECT_EQ (boxRows (22), std::make_pair (2, 17)); // a 2-pixel stroke around y 3..17
    EXPECT_EQ (boxRows (32), std::make_pair (7, 22));
    EXPECT_EQ (boxRows (23), std::make_pair (2, 18)) << "half a pixel of offset is drawn, not rounded";
}
