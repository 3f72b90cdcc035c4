#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <functional>

namespace testsupport
{
/** The typefaces of the glyphs a drawing puts on screen, as the software renderer is given them. */
inline juce::Array<juce::Typeface::Ptr> typefacesDrawnBy (const std::function<void (juce::Graphics&)>& draw)
{
    struct Recorder : public juce::LowLevelGraphicsSoftwareRenderer
    {
        using juce::LowLevelGraphicsSoftwareRenderer::LowLevelGraphicsSoftwareRenderer;

        void drawGlyph (int glyphNumber, const juce::AffineTransform& transform) override
        {
            typefaces.addIfNotAlreadyThere (getFont().getTypefacePtr());
            juce::LowLevelGraphicsSoftwareRenderer::drawGlyph (glyphNumber, transform);
        }

        juce::Array<juce::Typeface::Ptr> typefaces;
    };

    Recorder recorder (juce::Image (juce::Image::ARGB, 1024, 512, true));
    juce::Graphics g (recorder);
    draw (g);
    return recorder.typefaces;
}

/** Succeeds when text was drawn and all of it in the expected typeface object; a face of the same name loaded
    elsewhere, such as an installed copy of the font, does not count.
*/
inline testing::AssertionResult drawnOnlyIn (const juce::Array<juce::Typeface::Ptr>& drawn,
                                             const juce::Typeface::Ptr& expected)
{
    if (drawn.size() == 1 && drawn.getFirst() == expected)
        return testing::AssertionSuccess();

    auto failure = testing::AssertionFailure()
                   << "expected only " << expected->getName() << " " << expected->getStyle() << ", drawn in:";

    for (const auto& typeface : drawn)
        failure << " " << (typeface == expected ? "that one" : typeface->getName() + " " + typeface->getStyle());

    return failure;
}
} // namespace testsupport
