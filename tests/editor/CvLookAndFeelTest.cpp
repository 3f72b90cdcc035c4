#include <cv_gui/cv_gui.h>

#include "DrawnTypefaces.h"

#include <gtest/gtest.h>

namespace
{
juce::Image drawItem (juce::Rectangle<int> area, bool isSeparator, bool isActive, bool isHighlighted)
{
    juce::PopupMenu_LAF lookAndFeel;
    juce::Image image (juce::Image::ARGB, area.getRight(), area.getBottom(), true);
    juce::Graphics g (image);
    lookAndFeel.drawPopupMenuItem (g, area, isSeparator, isActive, isHighlighted, false, false, "MENU", {}, nullptr,
                                   nullptr);
    return image;
}

// The bounds of the drawn pixels and the highest alpha among them.
std::pair<juce::Rectangle<int>, int> ink (const juce::Image& image)
{
    std::pair<juce::Rectangle<int>, int> result;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (const auto alpha = image.getPixelAt (x, y).getAlpha(); alpha > 0)
                result = { result.first.getUnion ({ x, y, 1, 1 }), juce::jmax (result.second, (int) alpha) };

    return result;
}

juce::MemoryBlock pixels (const juce::Image& image)
{
    const juce::Image::BitmapData data (image, juce::Image::BitmapData::readOnly);
    return { data.data, data.size };
}
} // namespace

TEST (CvLookAndFeel, TypefaceFollowsBoldAndItalicOnly)
{
    juce::CvLookAndFeel lookAndFeel;
    const auto styleFor = [&lookAndFeel] (int flags)
    {
        const auto typeface = lookAndFeel.getTypefaceForFont (juce::Font ("Classic Console", 30.0f, flags));
        return typeface->getName() + " " + typeface->getStyle();
    };

    EXPECT_EQ (styleFor (juce::Font::underlined), "Lato Regular");
    EXPECT_EQ (styleFor (juce::Font::bold | juce::Font::underlined), "Lato Bold");
    EXPECT_EQ (styleFor (juce::Font::italic), "Lato Italic");
    EXPECT_EQ (styleFor (juce::Font::bold | juce::Font::italic), "Lato Bold Italic");
}

// The framework asks only the process-wide default look-and-feel for a font's typeface, so what counts is the
// typeface the drawing hands the renderer.
TEST (CvLookAndFeel, MenuEntriesAndButtonsDrawInTheEmbeddedLato)
{
    juce::PopupMenu_LAF lookAndFeel;
    juce::PopupMenu menu;
    menu.addSectionHeader ("GUI Theme");
    menu.addItem (1, "ZUZO theme", true, true);
    menu.addItem (2, "Plugin version: 2.0.2", false);
    juce::PopupMenu::Item withShortcut ("Save preset");
    withShortcut.shortcutKeyDescription = "Ctrl+S";
    menu.addItem (withShortcut.setID (3));

    juce::Component parent;
    juce::TextButton button ("CONNECT");
    parent.setLookAndFeel (&lookAndFeel);
    parent.addAndMakeVisible (button);
    button.setBounds (0, 0, 78, 21);

    const auto drawn = testsupport::typefacesDrawnBy (
        [&] (juce::Graphics& g)
        {
            const juce::Rectangle<int> row (0, 0, 300, 24);
            const juce::PopupMenu::Options options;

            for (juce::PopupMenu::MenuItemIterator entry (menu); entry.next();)
            {
                const auto& item = entry.getItem();

                if (item.isSectionHeader)
                    lookAndFeel.drawPopupMenuSectionHeaderWithOptions (g, row, item.text, options);
                else
                    lookAndFeel.drawPopupMenuItemWithOptions (g, row, true, item, options);
            }

            button.paintEntireComponent (g, false);
        });

    EXPECT_TRUE (testsupport::drawnOnlyIn (drawn, lookAndFeel.getTypefaceForFont (juce::Font())));
    parent.setLookAndFeel (nullptr);
}

TEST (CvLookAndFeel, EmbeddedFontsDrawTheSameAfterEarlierInstancesAreGone)
{
    std::vector<juce::MemoryBlock> drawings;

    for (int round = 0; round < 3; ++round)
    {
        juce::CvLookAndFeel lookAndFeel;
        juce::Image image (juce::Image::ARGB, 80, 30, true);
        juce::Graphics g (image);
        g.setFont (juce::Font (lookAndFeel.getTypefaceForFont (juce::Font (juce::Font::bold))).withHeight (20.0f));
        g.setColour (juce::Colours::white);
        g.drawText ("Lato", image.getBounds(), juce::Justification::centred);
        drawings.push_back (pixels (image));
        EXPECT_EQ (ink (image).second, 0xff);
    }

    EXPECT_TRUE (drawings[1] == drawings[0] && drawings[2] == drawings[0]);
}

TEST (CvLookAndFeel, InactiveItemsAreHalfAlphaAndNeverHighlighted)
{
    const juce::Rectangle<int> area (0, 0, 120, 24);
    const auto highlighted = drawItem (area, false, true, true);

    for (const auto& [y, grey] : { std::pair (1, 0x41), std::pair (11, 0x28), std::pair (22, 0x1e) })
        EXPECT_NEAR (highlighted.getPixelAt (1, y).getRed(), grey, 4) << y;

    const auto inactive = drawItem (area, false, false, false);
    EXPECT_EQ (pixels (drawItem (area, false, false, true)), pixels (inactive));
    EXPECT_EQ (ink (inactive), std::pair (ink (drawItem (area, false, true, false)).first, 0x80));
    EXPECT_TRUE (highlighted.getPixelAt (1, 1).isOpaque());

    // A separator is one row in the middle.
    EXPECT_EQ (ink (drawItem ({ 0, 0, 100, 8 }, true, true, true)),
               std::pair (juce::Rectangle<int> (5, 4, 90, 1), 0x4c));
}

TEST (CvLookAndFeel, SectionHeaderSitsAtTheBottomLeftOfTheUpperPartOfItsRow)
{
    juce::PopupMenu_LAF lookAndFeel;
    juce::Image image (juce::Image::ARGB, 200, 60, true);
    juce::Graphics g (image);
    lookAndFeel.drawPopupMenuSectionHeader (g, { 10, 30, 150, 24 }, "Hg");

    // The 19-pixel box ends at y = 49, and the descender reaches close to it.
    const auto bounds = ink (image).first;
    EXPECT_TRUE (bounds.getX() >= 22 && bounds.getX() <= 24) << bounds.toString();
    EXPECT_TRUE (bounds.getBottom() >= 47 && bounds.getBottom() <= 49) << bounds.toString();
}
