#include "VuruvoduLookAndFeel.h"

#include <BinaryResources.h>

namespace
{
const juce::Colour buttonGrey (0xff404040);
const juce::Colour textGrey (0xffa0a0a0);

// Each factor applies to the named colour, never to an earlier result.
juce::Colour brighter (juce::Colour colour)
{
    return colour.withMultipliedBrightness (1.4f);
}

void strokeInFrame (juce::Graphics& g, const juce::Path& path, float thickness, float dy)
{
    const juce::PathStrokeType stroke (thickness, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
    g.strokePath (path, stroke, juce::AffineTransform::translation (0.0f, dy));
}

juce::Path toggleBox (bool on)
{
    juce::Path box;

    if (on)
    {
        // Open where the tick passes, at the top right and at the bottom.
        box.startNewSubPath (13.0f, 3.0f);
        box.lineTo (3.0f, 3.0f);
        box.lineTo (3.0f, 17.0f);
        box.lineTo (9.0f, 17.0f);
        box.startNewSubPath (12.0f, 17.0f);
        box.lineTo (17.0f, 17.0f);
        box.lineTo (17.0f, 7.0f);
        return box;
    }

    box.startNewSubPath (3.0f, 3.0f);
    box.lineTo (3.0f, 17.0f);
    box.lineTo (17.0f, 17.0f);
    box.lineTo (17.0f, 3.0f);
    box.closeSubPath();
    return box;
}

juce::Path tick()
{
    juce::Path path;
    path.startNewSubPath (1.5f, 3.0f);
    path.lineTo (3.0f, 6.0f);
    path.lineTo (6.0f, 0.0f);
    return path;
}
} // namespace

VuruvoduLookAndFeel::VuruvoduLookAndFeel()
    : typeface (juce::Typeface::createSystemTypefaceFor (BinaryData::temp_binary_data_24,
                                                         (size_t) BinaryData::temp_binary_data_24Size))
{
    const std::pair<int, juce::Colour> scheme[] {
        { juce::TextButton::buttonColourId, buttonGrey },
        { juce::TextButton::buttonOnColourId, buttonGrey },
        { juce::TextButton::textColourOffId, textGrey },
        { juce::TextButton::textColourOnId, textGrey },
        { juce::Label::backgroundColourId, juce::Colours::transparentBlack },
        { juce::Label::textColourId, textGrey },
        { juce::Label::outlineColourId, juce::Colours::transparentBlack },
        { juce::Label::backgroundWhenEditingColourId, buttonGrey.withMultipliedBrightness (0.6f) },
        { juce::Label::textWhenEditingColourId, brighter (textGrey) },
        { juce::Label::outlineWhenEditingColourId, juce::Colours::transparentBlack },
        { juce::TextEditor::highlightColourId, buttonGrey },
        { juce::TextEditor::highlightedTextColourId, brighter (textGrey) },
        { juce::CaretComponent::caretColourId, brighter (textGrey) },
        { juce::PopupMenu::backgroundColourId, textGrey },
        { juce::PopupMenu::textColourId, buttonGrey },
        { juce::PopupMenu::highlightedBackgroundColourId, textGrey.withMultipliedBrightness (0.8f) },
        { juce::PopupMenu::highlightedTextColourId, brighter (juce::Colours::white) },
        { juce::AlertWindow::backgroundColourId, buttonGrey },
        { juce::AlertWindow::textColourId, juce::Colours::black },
        { juce::AlertWindow::outlineColourId, textGrey },
        { juce::ToggleButton::textColourId, juce::Colours::white },
        { juce::ToggleButton::tickColourId, juce::Colours::white },
    };

    for (const auto& [id, colour] : scheme)
        setColour (id, colour);

    setDefaultSansSerifTypefaceName ("Lato");
}

VuruvoduLookAndFeel::~VuruvoduLookAndFeel()
{
    typeface = nullptr;
}

juce::Typeface::Ptr VuruvoduLookAndFeel::getTypefaceForFont (const juce::Font&)
{
    return typeface;
}

void VuruvoduLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                                const juce::Colour& backgroundColour,
                                                bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    auto colour = backgroundColour.withMultipliedBrightness (0.8f);

    if (button.getToggleState())
        colour = backgroundColour.withMultipliedBrightness (0.6f);

    if (shouldDrawButtonAsHighlighted)
        colour = brighter (backgroundColour);

    if (shouldDrawButtonAsDown)
        colour = backgroundColour.withMultipliedBrightness (0.6f);

    g.setColour (colour);
    g.fillRect (button.getLocalBounds());
}

void VuruvoduLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button,
                                          bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    const auto width = button.getWidth(), height = button.getHeight();
    g.setFont (withOwnTypeface (g.getCurrentFont().withHeight (0.8f * (float) height)));

    auto colour = button.findColour (juce::TextButton::textColourOffId);

    if (shouldDrawButtonAsDown)
        colour = brighter (button.findColour (juce::TextButton::textColourOnId));

    if (shouldDrawButtonAsHighlighted)
        colour = brighter (button.findColour (juce::TextButton::textColourOffId));

    if (button.getToggleState())
        colour = brighter (button.findColour (juce::TextButton::textColourOnId));

    g.setColour (colour);

    const auto cornerSize = juce::jmin (width, height) / 2;
    const auto fontHeight = juce::roundToInt (0.8 * height);
    const auto indent = [&] (bool connected) { return juce::jmin (fontHeight, 2 + cornerSize / (connected ? 4 : 2)); };
    const auto leftIndent = indent (button.isConnectedOnLeft());
    const auto rightIndent = indent (button.isConnectedOnRight());
    const auto textWidth = width - leftIndent - rightIndent;

    if (textWidth < 1)
        return;

    const auto yIndent = juce::jmin (4, juce::roundToInt (0.3 * height));
    g.drawFittedText (button.getButtonText(), leftIndent, yIndent, textWidth, height - 2 * yIndent,
                      juce::Justification::centred, 2, 0.0f);
}

void VuruvoduLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    // Box and tick are laid out in a 22-pixel frame centred vertically.
    const auto dy = (float) (button.getHeight() - 22) / 2.0f;
    const auto on = button.getToggleState();
    g.setColour (button.findColour (juce::ToggleButton::tickColourId));
    strokeInFrame (g, toggleBox (on), 2.0f, dy);

    if (on)
    {
        const juce::PathStrokeType stroke (2.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
        g.strokePath (tick(), stroke, juce::AffineTransform::scale (22.0f / 9.0f).translated (3.0f, dy));
    }

    g.setColour (button.findColour (juce::ToggleButton::textColourId));
    g.setFont (withOwnTypeface (juce::Font (20.0f)));
    g.drawFittedText (button.getButtonText(), 27, 0, button.getWidth() - 29, button.getHeight(),
                      juce::Justification::centredLeft, 10, 0.0f);
}

int VuruvoduLookAndFeel::getAlertWindowButtonHeight()
{
    return 22;
}
