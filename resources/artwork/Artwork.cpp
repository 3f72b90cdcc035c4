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

// The front plate, 1272 x 232. Every part is drawn where the panel places the widget that lights it: the
// positions below are the widgets' top-left corners in panel coordinates, and the sizes those of their pictures.
namespace plate
{
const juce::Colour engraving (0xffd9d4c7);
const juce::Colour dimEngraving = engraving.withAlpha (0.22f);
const juce::Colour socketRim (0xff121213);

constexpr int knobSize = 96;
constexpr float scaleRadius = 39.0f; // where the pointer mark of the knob pictures sits
constexpr float knobRadius = 30.0f;

struct Knob
{
    int x, y;
    const char* label;
    bool centreMark;
};

// The upper row is labelled above, the lower row below.
const Knob knobs[] { { 153, 115, "HPF FREQ", false }, { 297, 22, "EQ1 GAIN", true },   { 297, 115, "EQ2 GAIN", true },
                     { 530, 22, "EQ1 FREQ", false },  { 530, 115, "EQ2 FREQ", false }, { 674, 22, "LO BOOST", false },
                     { 674, 115, "LO ATTEN", false }, { 937, 22, "HI BOOST", false },  { 937, 115, "HI ATTEN", false },
                     { 1080, 22, "HI BW", false } };

struct Lamp
{
    int x, y;
    const char* label;
};

const Lamp switches[] { { 69, 33, "HPF" },  { 69, 62, "EQ1" },  { 69, 90, "EQ2" },
                        { 69, 118, "PEQ" }, { 69, 158, "A/B" }, { 69, 187, "ENGAGE" } };
const Lamp clipLeds[] { { 250, 56, "CLIP L" }, { 250, 74, "CLIP R" } };
const Lamp connectionLed { 1067, 190, "CONNECTED" };
const juce::Point<int> switchSize { 16, 15 }, ledSize { 14, 10 };

const Lamp qSelectors[] { { 427, 31, "EQ1 Q" }, { 427, 126, "EQ2 Q" } };

struct Stepper
{
    int x, y;
    const char* label;
    juce::StringArray bands;            // top band first, as on the selector's strip
    int bandHeight, upZoneY, downZoneY; // zone rows within the selector; a down zone at 0 means none
};

const Stepper steppers[] { { 803, 53, "LO CPS", { "100", "60", "30", "20" }, 13, 89, 122 },
                           { 846, 61, "KCS ATT", { "20", "10", "5" }, 12, 97, 0 },
                           { 890, 33, "KCS BST", { "16", "12", "10", "8", "5", "4", "3" }, 13, 109, 142 } };
constexpr int stepperWidth = 20, zoneSize = 20;

const juce::Point<int> channelSelector { 1062, 117 }, readOut { 1074, 153 };
const juce::Rectangle<int> resetArea { 1142, 145, 47, 47 };

juce::Rectangle<float> areaAt (juce::Point<int> topLeft, juce::Point<int> size)
{
    return juce::Rectangle<int> (topLeft.x, topLeft.y, size.x, size.y).toFloat();
}

void engrave (juce::Graphics& g, const Fonts& fonts, const juce::String& text, juce::Rectangle<int> area,
              juce::Justification justification = juce::Justification::centred, float height = 10.0f)
{
    g.setFont (fonts.label.withHeight (height).withExtraKerningFactor (0.08f));
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawText (text, area.translated (0, 1), justification, false);
    g.setColour (engraving);
    g.drawText (text, area, justification, false);
}

// Brushed dark metal with a bevelled edge.
void drawPlate (juce::Graphics& g, juce::Rectangle<float> bounds)
{
    g.setGradientFill (juce::ColourGradient::vertical (juce::Colour (0xff3c3c3f), 0.0f, juce::Colour (0xff232325),
                                                       bounds.getBottom()));
    g.fillRect (bounds);

    juce::Random random (418);

    for (int line = 0; line < 900; ++line)
    {
        const auto y = random.nextFloat() * bounds.getHeight();
        const auto x = random.nextFloat() * bounds.getWidth();
        g.setColour (juce::Colours::white.withAlpha (0.012f + 0.02f * random.nextFloat()));
        g.drawHorizontalLine ((int) y, x, x + 40.0f + 260.0f * random.nextFloat());
    }

    g.setColour (juce::Colours::white.withAlpha (0.12f));
    g.drawRect (bounds, 1.0f);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawRect (bounds.reduced (1.0f), 1.0f);
}

void drawScrew (juce::Graphics& g, juce::Point<float> centre)
{
    const auto head = juce::Rectangle<float> (14.0f, 14.0f).withCentre (centre);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff9a9a9e), head.getTopLeft(), juce::Colour (0xff3a3a3c),
                                             head.getBottomRight(), false));
    g.fillEllipse (head);
    g.setColour (socketRim);
    g.drawEllipse (head, 1.0f);
    g.drawLine ({ centre.translated (-4.0f, -4.0f), centre.translated (4.0f, 4.0f) }, 2.0f);
}

// An unlit lamp or socket: a dark glass in a rim, with a faint tint of the colour it lights in.
void drawSocket (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour tint, float corner)
{
    g.setColour (socketRim);
    g.fillRoundedRectangle (area.expanded (1.0f), corner + 1.0f);
    g.setColour (tint.withMultipliedBrightness (0.22f));
    g.fillRoundedRectangle (area.reduced (1.0f), corner);
    g.setColour (juce::Colours::white.withAlpha (0.12f));
    g.fillRoundedRectangle (area.reduced (area.getWidth() * 0.3f, area.getHeight() * 0.3f).translated (0.0f, -1.0f),
                            corner * 0.5f);
}

void drawPushButton (juce::Graphics& g, juce::Rectangle<float> area)
{
    const auto cap = area.reduced (2.0f);
    g.setColour (socketRim);
    g.fillEllipse (cap.expanded (1.5f));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff6a6a6e), cap.getTopLeft(), juce::Colour (0xff2a2a2c),
                                             cap.getBottomRight(), false));
    g.fillEllipse (cap);
}

void drawTriangle (juce::Graphics& g, juce::Rectangle<float> area, bool pointsUp)
{
    const auto c = area.getCentre();
    juce::Path triangle;
    triangle.addTriangle (c.x - 4.0f, c.y + (pointsUp ? 2.5f : -2.5f), c.x + 4.0f, c.y + (pointsUp ? 2.5f : -2.5f), c.x,
                          c.y + (pointsUp ? -3.5f : 3.5f));
    g.setColour (engraving);
    g.fillPath (triangle);
}

// The 15 sockets behind a knob, where its pointer mark lights; the centre one of a gain knob is red.
void drawScale (juce::Graphics& g, juce::Point<float> centre, bool centreMark)
{
    const auto mark = juce::Rectangle<float> (6.0f, 7.0f).withCentre (centre.translated (0.0f, -scaleRadius));

    for (int position = 0; position < 15; ++position)
    {
        juce::Graphics::ScopedSaveState state (g);
        g.addTransform (juce::AffineTransform::rotation ((float) (position - 7) * juce::MathConstants<float>::pi / 8.0f,
                                                         centre.x, centre.y));
        drawSocket (g, mark, centreMark && position == 7 ? litRed : litWhite, 1.5f);
    }
}

// A knob seen from the front: a shadowed skirt and a fluted cap. Its pointer is the widget's own.
void drawKnobBody (juce::Graphics& g, juce::Point<float> centre)
{
    const auto body = juce::Rectangle<float> (2.0f * knobRadius, 2.0f * knobRadius).withCentre (centre);
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.fillEllipse (body.expanded (3.0f).translated (0.0f, 2.0f));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff4a4a4e), body.getTopLeft(), juce::Colour (0xff101011),
                                             body.getBottomRight(), false));
    g.fillEllipse (body);

    const auto cap = body.reduced (7.0f);

    for (int flute = 0; flute < 24; ++flute)
    {
        const auto angle = (float) flute * juce::MathConstants<float>::twoPi / 24.0f;
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        g.drawLine (juce::Line<float>::fromStartAndAngle (centre, knobRadius - 1.0f, angle)
                        .withShortenedStart (cap.getWidth() / 2.0f),
                    1.5f);
    }

    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff8c8c91), cap.getCentre().translated (-6.0f, -8.0f),
                                             juce::Colour (0xff2c2c2f), cap.getBottomRight(), true));
    g.fillEllipse (cap);
    g.setColour (juce::Colours::white.withAlpha (0.15f));
    g.drawEllipse (cap, 1.0f);
}

void drawKnob (juce::Graphics& g, const Fonts& fonts, const Knob& knob)
{
    const auto centre = juce::Point<int> (knob.x, knob.y).toFloat() + juce::Point<float> (knobSize, knobSize) / 2.0f;
    drawScale (g, centre, knob.centreMark);
    drawKnobBody (g, centre);

    const auto upperRow = knob.y < knobSize;
    const juce::Rectangle<int> labelArea (knob.x, upperRow ? knob.y - 18 : knob.y + knobSize + 2, knobSize, 14);
    engrave (g, fonts, knob.label, labelArea);
}

// Five sockets where the selector's LEDs light (row centre (36, 7), 13 px apart) and its two buttons.
void drawQSelector (juce::Graphics& g, const Fonts& fonts, const Lamp& selector)
{
    const juce::Point<int> origin (selector.x, selector.y);

    for (int step = -2; step <= 2; ++step)
    {
        const auto centre = origin + juce::Point<int> (36 + 13 * step, 7);
        drawSocket (g, areaAt (centre - ledSize / 2, ledSize), step == 0 ? litRed : litWhite, 2.5f);
    }

    for (auto zoneX : { 14, 40 })
        drawPushButton (g, areaAt (origin + juce::Point<int> (zoneX, 27), { zoneSize, zoneSize }));

    engrave (g, fonts, selector.label, { selector.x, selector.y + 50, 72, 14 });
}

// The band labels dimly engraved where the selector lights one of them, above its up and down buttons.
void drawStepper (juce::Graphics& g, const Fonts& fonts, const Stepper& stepper)
{
    g.setFont (fonts.label.withHeight (10.0f));
    g.setColour (dimEngraving);

    for (int band = 0; band < stepper.bands.size(); ++band)
        g.drawText (stepper.bands[band], stepper.x, stepper.y + band * stepper.bandHeight, stepperWidth,
                    stepper.bandHeight, juce::Justification::centred, false);

    for (auto [zoneY, up] : { std::pair { stepper.upZoneY, true }, { stepper.downZoneY, false } })
    {
        if (zoneY == 0)
            continue;

        const auto zone = areaAt ({ stepper.x, stepper.y + zoneY }, { stepperWidth, zoneSize });
        drawPushButton (g, zone);
        drawTriangle (g, zone, up);
    }

    engrave (g, fonts, stepper.label, { stepper.x - 14, stepper.y - 15, stepperWidth + 28, 12 },
             juce::Justification::centred, 9.0f);
}

// The LINK, 1 and 2 labels of the selector's strip, dim, and its button (hot zone (95, 0, 20, 20)).
void drawChannelSelector (juce::Graphics& g, const Fonts& fonts)
{
    const char* labels[] { "LINK", "1", "2" };
    g.setFont (fonts.label.withHeight (11.0f));
    g.setColour (dimEngraving);

    for (int k = 0; k < 3; ++k)
        g.drawText (labels[k], channelSelector.x + 25 * k, channelSelector.y, 25, 20, juce::Justification::centred);

    drawPushButton (g, areaAt (channelSelector + juce::Point<int> (95, 0), { zoneSize, zoneSize }));
    engrave (g, fonts, "CHANNEL", { channelSelector.x, channelSelector.y + 20, 75, 12 }, juce::Justification::centred,
             9.0f);
}

// A dark window with the three digits' segments faintly visible through the glass.
void drawReadOut (juce::Graphics& g, const Fonts& fonts)
{
    const auto window = areaAt (readOut, { 60, 26 }).expanded (4.0f, 2.0f);
    g.setColour (socketRim);
    g.fillRoundedRectangle (window.expanded (1.5f), 4.0f);
    g.setColour (juce::Colour (0xff1c0807));
    g.fillRoundedRectangle (window, 3.0f);

    juce::Image segments (juce::Image::ARGB, 136, 26, true);
    {
        juce::Graphics strip (segments);
        drawSegments (strip, fonts);
    }

    g.setOpacity (0.1f);

    for (int digit = 0; digit < 3; ++digit)
        for (int slice = 0; slice < 8; ++slice)
            g.drawImage (segments, readOut.x + 2 + 20 * digit, readOut.y, 17, 26, 17 * slice, 0, 17, 26);

    g.drawImage (segments, readOut.x, readOut.y, 5, 4, 131, 22, 5, 4);
    g.setOpacity (1.0f);
}

void drawResetBadge (juce::Graphics& g, const Fonts& fonts)
{
    const auto badge = resetArea.toFloat().reduced (4.0f);
    g.setColour (engraving.withAlpha (0.5f));
    g.drawEllipse (badge, 1.2f);
    engrave (g, fonts, "RESET", resetArea, juce::Justification::centred, 8.5f);
}

void drawChannelMarking (juce::Graphics& g, const Fonts& fonts, int channel)
{
    const juce::Rectangle<float> disc (1206.0f, 84.0f, 48.0f, 48.0f);
    g.setColour (engraving);
    g.drawEllipse (disc, 2.0f);
    g.setFont (fonts.label.withHeight (32.0f));
    g.drawText (juce::String (channel), disc, juce::Justification::centred, false);
    engrave (g, fonts, "ZUZO", { 1196, 40, 68, 20 }, juce::Justification::centred, 16.0f);
    engrave (g, fonts, "CH", { 1196, 136, 68, 14 });
}

Drawing frontPlate (int channel)
{
    return [channel] (juce::Graphics& g, const Fonts& fonts)
    {
        const auto bounds = g.getClipBounds().toFloat();
        drawPlate (g, bounds);

        for (auto x : { 24.0f, bounds.getRight() - 24.0f })
            for (auto y : { 24.0f, bounds.getBottom() - 24.0f })
                drawScrew (g, { x, y });

        for (const auto& knob : knobs)
            drawKnob (g, fonts, knob);

        for (const auto& lamp : switches)
        {
            drawSocket (g, areaAt ({ lamp.x, lamp.y }, switchSize).reduced (2.0f, 1.5f), litRed, 6.0f);
            engrave (g, fonts, lamp.label, { lamp.x + switchSize.x + 6, lamp.y, 60, switchSize.y },
                     juce::Justification::centredLeft);
        }

        engrave (g, fonts, "IN", { switches[0].x - 4, switches[0].y - 16, 24, 14 });

        for (const auto& lamp : clipLeds)
        {
            drawSocket (g, areaAt ({ lamp.x, lamp.y }, ledSize), litRed, 2.5f);
            engrave (g, fonts, lamp.label, { lamp.x - 52, lamp.y - 2, 48, ledSize.y + 4 },
                     juce::Justification::centredRight, 9.0f);
        }

        drawSocket (g, areaAt ({ connectionLed.x, connectionLed.y }, ledSize), litWhite, 2.5f);
        engrave (g, fonts, connectionLed.label,
                 { connectionLed.x + ledSize.x + 4, connectionLed.y - 2, 56, ledSize.y + 4 },
                 juce::Justification::centredLeft, 8.0f);

        for (const auto& selector : qSelectors)
            drawQSelector (g, fonts, selector);

        for (const auto& stepper : steppers)
            drawStepper (g, fonts, stepper);

        drawChannelSelector (g, fonts);
        drawReadOut (g, fonts);
        drawResetBadge (g, fonts);
        drawChannelMarking (g, fonts, channel);
    };
}
} // namespace plate

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
    { "front_plate", 1272, 232, plate::frontPlate (1) },
    { "front_plate_second_channel", 1272, 232, plate::frontPlate (2) },
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
