// Draws the editor's pictures and writes each as a PNG file named after what it shows, so the drawings stay
// reviewable code and the embedded pictures are made by the build.

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <iostream>

namespace
{
const juce::Colour litRed (0xffff2a1a);
const juce::Colour litWhite (0xfff4f1ea);
const juce::Colour labelRed (0xffff3b2b);

struct Fonts
{
    juce::Font label, console;
};

using Drawing = std::function<void (juce::Graphics&, const Fonts&)>;

struct Picture
{
    const char* name;
    int width, height;
    Drawing draw;
};

// A lamp: a soft halo around a bright core, so it reads as light over the panel's unlit artwork.
void drawLamp (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour, float corner)
{
    g.setColour (colour.withAlpha (0.35f));
    g.fillRoundedRectangle (area, corner + 1.0f);
    g.setColour (colour);
    g.fillRoundedRectangle (area.reduced (1.5f), corner);
    g.setColour (juce::Colours::white.withAlpha (0.45f));
    g.fillRoundedRectangle (area.reduced (area.getWidth() * 0.3f, area.getHeight() * 0.3f), corner * 0.5f);
}

void drawDot (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour)
{
    g.setColour (colour.withAlpha (0.3f));
    g.fillEllipse (area);
    g.setColour (colour);
    g.fillEllipse (area.reduced (area.getWidth() * 0.22f));
}

// The pointer mark of a knob, at 12 o'clock of a 96 x 96 square: the knob rotates the whole image.
Drawing pointer (juce::Colour colour)
{
    return [colour] (juce::Graphics& g, const Fonts&) { drawLamp (g, { 43.5f, 4.0f, 9.0f, 10.0f }, colour, 2.0f); };
}

Drawing dot (juce::Colour colour)
{
    return [colour] (juce::Graphics& g, const Fonts&) { drawDot (g, { 3.0f, 3.0f, 15.0f, 15.0f }, colour); };
}

Drawing led (juce::Colour colour)
{
    return [colour] (juce::Graphics& g, const Fonts&) { drawLamp (g, { 0.5f, 0.5f, 13.0f, 9.0f }, colour, 2.5f); };
}

void drawRing (juce::Graphics& g, const Fonts&)
{
    g.setColour (litRed.withAlpha (0.35f));
    g.drawEllipse ({ 1.0f, 0.5f, 14.0f, 14.0f }, 3.0f);
    g.setColour (litRed);
    g.drawEllipse ({ 2.0f, 1.5f, 12.0f, 12.0f }, 1.6f);
}

void drawLabel (juce::Graphics& g, const juce::Font& font, const juce::String& text, juce::Rectangle<int> area)
{
    g.setFont (font);
    g.setColour (labelRed);
    g.drawText (text, area, juce::Justification::centred, false);
}

// Bands stacked from the top, the highest position first: a selector shows the band of its position in place.
Drawing bands (juce::StringArray labels, int bandHeight)
{
    return [labels, bandHeight] (juce::Graphics& g, const Fonts& fonts)
    {
        for (int k = 0; k < labels.size(); ++k)
            drawLabel (g, fonts.label.withHeight (10.0f), labels[k], { 0, k * bandHeight, 20, bandHeight });
    };
}

// Frames side by side; frame 0 is never shown, frame k + 1 shows position k.
Drawing frames (juce::StringArray labels, float textHeight)
{
    return [labels, textHeight] (juce::Graphics& g, const Fonts& fonts)
    {
        const auto width = g.getClipBounds().getWidth() / (labels.size() + 1);
        const auto height = g.getClipBounds().getHeight();

        for (int k = 0; k < labels.size(); ++k)
            drawLabel (g, fonts.label.withHeight (textHeight), labels[k], { (k + 1) * width, 0, width, height });
    };
}

// Three labels of 25 px: linked, channel 1, channel 2.
void drawChannelLabels (juce::Graphics& g, const Fonts& fonts)
{
    const char* labels[] { "LINK", "1", "2" };

    for (int k = 0; k < 3; ++k)
        drawLabel (g, fonts.label.withHeight (11.0f), labels[k], { 25 * k, 0, 25, 20 });
}

// Slice k of a 17 x 26 digit cell lights segment k: a, b, c, d, e, f, g, then the point at the lower right.
void drawSegments (juce::Graphics& g, const Fonts&)
{
    const juce::Rectangle<float> segments[] { { 3.0f, 1.0f, 8.0f, 2.0f },   { 11.0f, 3.0f, 2.0f, 9.0f },
                                              { 11.0f, 14.0f, 2.0f, 9.0f }, { 3.0f, 23.0f, 8.0f, 2.0f },
                                              { 1.0f, 14.0f, 2.0f, 9.0f },  { 1.0f, 3.0f, 2.0f, 9.0f },
                                              { 3.0f, 12.0f, 8.0f, 2.0f } };
    g.setColour (litRed);

    for (int k = 0; k < 7; ++k)
        g.fillRoundedRectangle (segments[k].translated (17.0f * (float) k, 0.0f), 0.8f);

    g.fillEllipse (17.0f * 7 + 13.0f, 22.0f, 3.0f, 3.0f);
}

// The characters 33 to 126, 29 px apart, each used 29 x 34.
void drawCharacters (juce::Graphics& g, const Fonts& fonts)
{
    g.setFont (fonts.console.withHeight (30.0f));
    g.setColour (litRed);

    for (juce::juce_wchar c = 33; c <= 126; ++c)
        g.drawText (juce::String::charToString (c), juce::Rectangle<int> ((int) (c - 33) * 29, 0, 29, 34),
                    juce::Justification::centred, false);
}

void drawPoint (juce::Graphics& g, const Fonts&)
{
    g.setColour (litRed);
    g.fillEllipse (0.0f, 0.0f, 4.0f, 4.0f);
}

const Picture pictures[] {
    { "classic_display_characters", 2726, 38, drawCharacters },
    { "classic_display_point", 4, 4, drawPoint },
    { "classic_kcs_atten_frames", 104, 47, frames ({ "5", "10", "20" }, 14.0f) },
    { "classic_channel_frames", 320, 20, frames ({ "LINK", "CH 1", "CH 2" }, 13.0f) },
    { "classic_lo_cps_frames", 165, 64, frames ({ "20", "30", "60", "100" }, 14.0f) },
    { "classic_kcs_boost_frames", 184, 97, frames ({ "3", "4", "5", "8", "10", "12", "16" }, 14.0f) },
    { "dot_red", 21, 21, dot (litRed) },
    { "dot_white", 21, 21, dot (litWhite) },
    { "display_segments", 136, 26, drawSegments },
    { "channel_labels", 75, 20, drawChannelLabels },
    { "lo_cps_bands", 20, 52, bands ({ "100", "60", "30", "20" }, 13) },
    { "kcs_atten_bands", 20, 36, bands ({ "20", "10", "5" }, 12) },
    { "kcs_boost_bands", 20, 91, bands ({ "16", "12", "10", "8", "5", "4", "3" }, 13) },
    { "switch_ring", 16, 15, drawRing },
    { "pointer_red", 96, 96, pointer (litRed) },
    { "led_red", 14, 10, led (litRed) },
    { "pointer_white", 96, 96, pointer (litWhite) },
    { "led_white", 14, 10, led (litWhite) },
};

juce::Typeface::Ptr loadTypeface (const juce::File& file)
{
    juce::MemoryBlock data;

    if (! file.loadFileAsData (data))
        return {};

    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

bool writePicture (const Picture& picture, const Fonts& fonts, const juce::File& folder)
{
    juce::Image image (juce::Image::ARGB, picture.width, picture.height, true);

    {
        juce::Graphics g (image);
        picture.draw (g, fonts);
    }

    const auto file = folder.getChildFile (juce::String (picture.name) + ".png");
    file.deleteFile();
    juce::FileOutputStream output (file);
    return output.openedOk() && juce::PNGImageFormat().writeImageToStream (image, output);
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 4)
    {
        std::cerr << "usage: vu418d_artwork <output folder> <label font file> <console font file>\n";
        return 2;
    }

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const auto label = loadTypeface (juce::File (argv[2])), console = loadTypeface (juce::File (argv[3]));

    if (label == nullptr || console == nullptr)
    {
        std::cerr << "vu418d_artwork: cannot load the fonts " << argv[2] << " and " << argv[3] << "\n";
        return 1;
    }

    if (! folder.createDirectory())
        return 1;

    const Fonts fonts { juce::Font (label), juce::Font (console) };

    for (const auto& picture : pictures)
    {
        if (! writePicture (picture, fonts, folder))
        {
            std::cerr << "vu418d_artwork: cannot write " << picture.name << ".png\n";
            return 1;
        }
    }

    return 0;
}
