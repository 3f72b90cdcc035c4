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

// What both front plates place: a knob of 96 x 96 from its top-left corner, and a labelled switch or lamp.
constexpr int knobSize = 96;

struct Knob
{
    int x, y;
    const char* label;
    bool centreMark;
};

struct Lamp
{
    int x, y;
    const char* label;
};

// The front plate, 1272 x 232. Every part is drawn where the panel places the widget that lights it: the
// positions below are the widgets' top-left corners in panel coordinates, and the sizes those of their pictures.
namespace plate
{
const juce::Colour engraving (0xffd9d4c7);
const juce::Colour dimEngraving = engraving.withAlpha (0.22f);
const juce::Colour socketRim (0xff121213);

constexpr float scaleRadius = 39.0f; // where the pointer mark of the knob pictures sits
constexpr float knobRadius = 30.0f;

// The upper row is labelled above, the lower row below.
const Knob knobs[] { { 153, 115, "HPF FREQ", false }, { 297, 22, "EQ1 GAIN", true },   { 297, 115, "EQ2 GAIN", true },
                     { 530, 22, "EQ1 FREQ", false },  { 530, 115, "EQ2 FREQ", false }, { 674, 22, "LO BOOST", false },
                     { 674, 115, "LO ATTEN", false }, { 937, 22, "HI BOOST", false },  { 937, 115, "HI ATTEN", false },
                     { 1080, 22, "HI BW", false } };

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

void drawChannelMarking (juce::Graphics& g, const Fonts& fonts)
{
    const juce::Rectangle<float> disc (1206.0f, 84.0f, 48.0f, 48.0f);
    g.setColour (engraving);
    g.drawEllipse (disc, 2.0f);
    g.setFont (fonts.label.withHeight (32.0f));
    g.drawText ("2", disc, juce::Justification::centred, false);
    engrave (g, fonts, "CH", { 1196, 136, 68, 14 });
}

// The editor's open/close button covers the top right 40 x 40 pixels of a panel, so no screw sits there.
void drawScrews (juce::Graphics& g, juce::Rectangle<float> bounds, float inset)
{
    for (auto x : { inset, bounds.getRight() - inset })
        drawScrew (g, { x, bounds.getBottom() - inset });

    drawScrew (g, { inset, inset });
    drawScrew (g, { bounds.getRight() - 56.0f, inset });
}

// The first picture stands for whichever channel is shown alone, so only the second one names its channel.
Drawing frontPlate (bool secondChannel)
{
    return [secondChannel] (juce::Graphics& g, const Fonts& fonts)
    {
        const auto bounds = g.getClipBounds().toFloat();
        drawPlate (g, bounds);
        drawScrews (g, bounds, 24.0f);

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
        engrave (g, fonts, "ZUZO", { 1196, 40, 68, 20 }, juce::Justification::centred, 16.0f);

        if (secondChannel)
            drawChannelMarking (g, fonts);
    };
}
} // namespace plate

// A classic switch, lit: a glowing cap over the plate's dark one.
void drawClassicSwitch (juce::Graphics& g, const Fonts&)
{
    const juce::Rectangle<float> cap (4.0f, 4.0f, 18.0f, 18.0f);
    g.setColour (litRed.withAlpha (0.35f));
    g.fillEllipse (cap.expanded (2.5f));
    g.setColour (litRed);
    g.fillEllipse (cap);
    g.setColour (juce::Colours::white.withAlpha (0.45f));
    g.fillEllipse (cap.reduced (5.0f).translated (-1.5f, -1.5f));
}

// The classic front plate, 1272 x 231: grey enamel with light lettering. Every ring, socket and button lies where
// the classic panel places the widget that lights or works it; positions are the widgets' top-left corners in panel
// coordinates and points are relative to them.
namespace classicPlate
{
const juce::Colour enamel (0xff59646e);
const juce::Colour windowGlass (0xff140605);

constexpr float ringRadius = 41.0f; // where the knob widgets centre their 15 dots
constexpr float knobRadius = 27.0f;

// The upper row is labelled above, the lower row below.
const Knob knobs[] { { 152, 115, "HPF FREQ", false }, { 295, 22, "EQ1 GAIN", true },   { 295, 115, "EQ2 GAIN", true },
                     { 528, 22, "EQ1 FREQ", false },  { 528, 115, "EQ2 FREQ", false }, { 673, 22, "LO BOOST", false },
                     { 936, 22, "HI BOOST", false },  { 1080, 22, "HI BW", false },    { 673, 115, "LO ATTEN", false },
                     { 936, 115, "HI ATTEN", false } };

const Lamp switches[] { { 63, 30, "HPF IN" },  { 63, 57, "EQ1 IN" }, { 63, 85, "EQ2 IN" },
                        { 63, 112, "PEQ IN" }, { 63, 150, "A / B" }, { 63, 178, "ENGAGE" } };
const Lamp clipLamps[] { { 246, 51, "L" }, { 246, 69, "R" } };
const Lamp connectionLamp { 1062, 186, "CONNECTED" };
constexpr float switchSize = 26.0f, lampSize = 21.0f;

// Five dot sockets 13 px apart around (36, 7), and the two buttons.
const Lamp qSelectors[] { { 427, 31, "EQ1 Q" }, { 427, 126, "EQ2 Q" } };
const juce::Point<int> qDotRow { 36, 7 }, qButtons[] { { 22, 38 }, { 52, 38 } };

struct Stepper
{
    int x, y;
    const char* label;
    juce::Point<int> windowSize; // where the lit label of the position shows
    juce::Point<int> up, down;
    bool wrapsAround; // no down button
};

const Stepper steppers[] { { 795, 48, "LO CPS", { 33, 64 }, { 17, 103 }, { 17, 135 }, false },
                           { 843, 54, "KCS ATT", { 26, 47 }, { 13, 111 }, {}, true },
                           { 888, 30, "KCS BST", { 23, 97 }, { 12, 121 }, { 12, 154 }, false } };

const juce::Rectangle<int> channelWindow { 1057, 118, 80, 19 }, readOut { 1068, 148, 67, 40 },
    presetKnob { 1147, 145, 40, 40 };
const juce::Point<int> channelButton { 1167, 127 };

// Thin grooves between the sections.
constexpr float dividers[] { 147.0f, 283.0f, 650.0f, 924.0f };

juce::Point<float> centreOf (int x, int y, float size)
{
    return { (float) x + size / 2.0f, (float) y + size / 2.0f };
}

void drawEnamel (juce::Graphics& g, juce::Rectangle<float> bounds)
{
    g.setGradientFill (
        juce::ColourGradient::vertical (enamel.brighter (0.12f), 0.0f, enamel.darker (0.25f), bounds.getBottom()));
    g.fillRect (bounds);

    juce::Random random (1960);

    for (int speck = 0; speck < 6000; ++speck)
    {
        g.setColour ((random.nextBool() ? juce::Colours::white : juce::Colours::black).withAlpha (0.04f));
        g.fillRect (random.nextFloat() * bounds.getWidth(), random.nextFloat() * bounds.getHeight(), 1.0f, 1.0f);
    }

    g.setColour (juce::Colours::white.withAlpha (0.2f));
    g.drawRect (bounds, 1.0f);
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.drawRect (bounds.reduced (1.0f), 1.0f);
}

void drawDivider (juce::Graphics& g, float x, float bottom)
{
    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.drawVerticalLine ((int) x, 12.0f, bottom - 12.0f);
    g.setColour (juce::Colours::white.withAlpha (0.15f));
    g.drawVerticalLine ((int) x + 1, 12.0f, bottom - 12.0f);
}

void drawButton (juce::Graphics& g, juce::Point<int> centre)
{
    plate::drawPushButton (g, juce::Rectangle<float> (20.0f, 20.0f).withCentre (centre.toFloat()));
}

// The sockets where the knob's dots light, on the knob widget's ring: the centre one of a gain knob is red.
void drawRing (juce::Graphics& g, juce::Point<float> centre, bool centreMark)
{
    for (int position = 0; position < 15; ++position)
    {
        const auto angle = ((float) position / 14.0f - 0.5f) * 2.0f * juce::MathConstants<float>::pi * 322.0f / 360.0f;
        const auto dot = centre + juce::Point<float> (ringRadius * std::sin (angle), -ringRadius * std::cos (angle));
        plate::drawSocket (g, juce::Rectangle<float> (9.0f, 9.0f).withCentre (dot),
                           centreMark && position == 7 ? litRed : litWhite, 4.5f);
    }
}

// A black knob with a bright metal cap; the knob has no pointer, its dots show the value.
void drawKnob (juce::Graphics& g, const Fonts& fonts, const Knob& knob)
{
    const auto centre = centreOf (knob.x, knob.y, knobSize);
    drawRing (g, centre, knob.centreMark);

    const auto body = juce::Rectangle<float> (2.0f * knobRadius, 2.0f * knobRadius).withCentre (centre);
    g.setColour (juce::Colours::black.withAlpha (0.4f));
    g.fillEllipse (body.expanded (2.0f).translated (1.0f, 3.0f));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff3a3a3c), body.getTopLeft(), juce::Colour (0xff050505),
                                             body.getBottomRight(), false));
    g.fillEllipse (body);

    const auto cap = body.reduced (9.0f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffe8e8ea), cap.getTopLeft(), juce::Colour (0xff707276),
                                             cap.getBottomRight(), false));
    g.fillEllipse (cap);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawEllipse (cap, 1.0f);

    const auto upperRow = knob.y < knobSize;
    plate::engrave (g, fonts, knob.label, { knob.x, upperRow ? knob.y - 18 : knob.y + knobSize + 2, knobSize, 14 });
}

// A dark cap in a metal bezel, where the switch's lit cap shows.
void drawSwitch (juce::Graphics& g, const Fonts& fonts, const Lamp& lamp)
{
    const juce::Rectangle<float> area ((float) lamp.x, (float) lamp.y, switchSize, switchSize);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffc9c9cc), area.getTopLeft(), juce::Colour (0xff4a4a4d),
                                             area.getBottomRight(), false));
    g.fillEllipse (area.reduced (1.0f));
    plate::drawSocket (g, area.reduced (4.0f), litRed, 9.0f);
    plate::engrave (g, fonts, lamp.label, { lamp.x + (int) switchSize + 5, lamp.y, 56, (int) switchSize },
                    juce::Justification::centredLeft);
}

void drawLampSocket (juce::Graphics& g, const Lamp& lamp, juce::Colour tint)
{
    const auto centre = centreOf (lamp.x, lamp.y, lampSize);
    plate::drawSocket (g, juce::Rectangle<float> (10.0f, 10.0f).withCentre (centre), tint, 5.0f);
}

void drawQSelector (juce::Graphics& g, const Fonts& fonts, const Lamp& selector)
{
    const juce::Point<int> origin (selector.x, selector.y);

    for (int step = -2; step <= 2; ++step)
    {
        const auto centre = (origin + qDotRow).toFloat() + juce::Point<float> (13.0f * (float) step + 0.5f, 0.5f);
        plate::drawSocket (g, juce::Rectangle<float> (9.0f, 9.0f).withCentre (centre), step == 0 ? litRed : litWhite,
                           4.5f);
    }

    for (auto button : qButtons)
        drawButton (g, origin + button);

    plate::engrave (g, fonts, selector.label, { selector.x, selector.y + 50, 72, 14 });
}

void drawWindow (juce::Graphics& g, juce::Rectangle<float> area)
{
    g.setColour (plate::socketRim);
    g.fillRoundedRectangle (area.expanded (1.5f), 3.5f);
    g.setColour (windowGlass);
    g.fillRoundedRectangle (area, 3.0f);
    g.setColour (juce::Colours::white.withAlpha (0.06f));
    g.fillRoundedRectangle (area.withHeight (area.getHeight() * 0.4f).reduced (2.0f, 1.0f), 2.0f);
}

void drawStepper (juce::Graphics& g, const Fonts& fonts, const Stepper& stepper)
{
    const juce::Point<int> origin (stepper.x, stepper.y);
    drawWindow (g, juce::Rectangle<int> (stepper.x, stepper.y, stepper.windowSize.x, stepper.windowSize.y).toFloat());

    drawButton (g, origin + stepper.up);
    plate::drawTriangle (g, juce::Rectangle<float> (20.0f, 20.0f).withCentre ((origin + stepper.up).toFloat()), true);

    if (! stepper.wrapsAround)
    {
        drawButton (g, origin + stepper.down);
        plate::drawTriangle (g, juce::Rectangle<float> (20.0f, 20.0f).withCentre ((origin + stepper.down).toFloat()),
                             false);
    }

    plate::engrave (g, fonts, stepper.label, { stepper.x - 12, stepper.y - 14, stepper.windowSize.x + 24, 12 },
                    juce::Justification::centred, 8.5f);
}

void drawChannelSelector (juce::Graphics& g, const Fonts& fonts)
{
    drawWindow (g, channelWindow.toFloat());
    drawButton (g, channelButton);
    plate::engrave (g, fonts, "CHANNEL", channelWindow.withY (channelWindow.getBottom()).withHeight (11),
                    juce::Justification::centred, 8.0f);
}

void drawPresetKnob (juce::Graphics& g, const Fonts& fonts)
{
    const auto knob = presetKnob.toFloat().reduced (6.0f);
    g.setColour (juce::Colours::black.withAlpha (0.4f));
    g.fillEllipse (knob.translated (1.0f, 2.0f));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff3a3a3c), knob.getTopLeft(), juce::Colour (0xff050505),
                                             knob.getBottomRight(), false));
    g.fillEllipse (knob);
    g.setColour (juce::Colours::white.withAlpha (0.25f));
    g.drawEllipse (knob.reduced (4.0f), 1.0f);
    plate::engrave (g, fonts, "PRESET", presetKnob.withY (presetKnob.getBottom()).withHeight (12),
                    juce::Justification::centred, 8.0f);
}

void drawBrand (juce::Graphics& g, const Fonts& fonts, juce::Rectangle<float> bounds)
{
    const auto right = (int) bounds.getRight();
    plate::engrave (g, fonts, "ZUZO", { right - 78, 88, 70, 22 }, juce::Justification::centred, 18.0f);
    plate::engrave (g, fonts, "418 EQUALIZER", { right - 82, 112, 78, 12 }, juce::Justification::centred, 8.0f);
}

void drawClassicPlate (juce::Graphics& g, const Fonts& fonts)
{
    const auto bounds = g.getClipBounds().toFloat();
    drawEnamel (g, bounds);

    plate::drawScrews (g, bounds, 22.0f);

    for (auto x : dividers)
        drawDivider (g, x, bounds.getBottom());

    for (const auto& knob : knobs)
        drawKnob (g, fonts, knob);

    for (const auto& lamp : switches)
        drawSwitch (g, fonts, lamp);

    for (const auto& lamp : clipLamps)
    {
        drawLampSocket (g, lamp, litRed);
        plate::engrave (g, fonts, lamp.label, { lamp.x - 12, lamp.y, 12, (int) lampSize }, juce::Justification::centred,
                        9.0f);
    }

    plate::engrave (g, fonts, "CLIP", { clipLamps[0].x - 8, clipLamps[0].y - 13, (int) lampSize + 16, 12 },
                    juce::Justification::centred, 8.5f);

    drawLampSocket (g, connectionLamp, litWhite);
    plate::engrave (g, fonts, connectionLamp.label,
                    { connectionLamp.x + (int) lampSize + 2, connectionLamp.y, 60, (int) lampSize },
                    juce::Justification::centredLeft, 8.0f);

    for (const auto& selector : qSelectors)
        drawQSelector (g, fonts, selector);

    for (const auto& stepper : steppers)
        drawStepper (g, fonts, stepper);

    drawChannelSelector (g, fonts);
    drawWindow (g, readOut.toFloat());
    drawPresetKnob (g, fonts);
    drawBrand (g, fonts, bounds);
}
} // namespace classicPlate

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
    { "classic_switch_lit", 26, 26, drawClassicSwitch },
    { "display_segments", 136, 26, drawSegments },
    { "channel_labels", 75, 20, drawChannelLabels },
    { "lo_cps_bands", 20, 52, bands ({ "100", "60", "30", "20" }, 13) },
    { "kcs_atten_bands", 20, 36, bands ({ "20", "10", "5" }, 12) },
    { "kcs_boost_bands", 20, 91, bands ({ "16", "12", "10", "8", "5", "4", "3" }, 13) },
    { "front_plate", 1272, 232, plate::frontPlate (false) },
    { "front_plate_second_channel", 1272, 232, plate::frontPlate (true) },
    { "classic_plate", 1272, 231, classicPlate::drawClassicPlate },
    { "switch_ring", 16, 15, drawRing },
    { "pointer_red", 96, 96, pointer (litRed) },
    { "led_red", 14, 10, led (litRed) },
    { "pointer_white", 96, 96, pointer (litWhite) },
    { "led_white", 14, 10, led (litWhite) },
};

// The menu bar's icons, in design units: the buttons scale and centre them.
struct Icon
{
    const char* name;
    std::function<juce::Path()> draw;
};

// Scales a drawing to its icon's design extent, top-left at the origin.
juce::Path toExtent (juce::Path path, float width, float height)
{
    path.applyTransform (path.getTransformToScaleToFit (0.0f, 0.0f, width, height, false));
    return path;
}

// Stroke outlines all wind the same way, so overlapping strokes add up under the non-zero rule.
juce::Path stroked (const juce::Path& centreLine, float thickness,
                    juce::PathStrokeType::JointStyle joint = juce::PathStrokeType::curved,
                    juce::PathStrokeType::EndCapStyle cap = juce::PathStrokeType::rounded)
{
    juce::Path outline;
    juce::PathStrokeType (thickness, joint, cap).createStrokedPath (outline, centreLine);
    return outline;
}

// A filled disc as a stroke of its own centre circle, so it winds like the other strokes.
juce::Path filledDisc (float centreX, float centreY, float radius)
{
    juce::Path circle;
    circle.addEllipse (centreX - radius * 0.5f, centreY - radius * 0.5f, radius, radius);
    return stroked (circle, radius);
}

juce::Path menuIcon()
{
    juce::Path path;

    for (int bar = 0; bar < 3; ++bar)
        path.addRoundedRectangle (0.0f, 11.8f * (float) bar, 28.7f, 4.7f, 2.35f);

    return path;
}

// The USB trident lying on its side: a round tail, an arrowhead, a round and a square branch end.
juce::Path usbIcon()
{
    juce::Path lines;
    lines.startNewSubPath (40.0f, 100.0f);
    lines.lineTo (390.0f, 100.0f);
    lines.startNewSubPath (120.0f, 100.0f);
    lines.lineTo (165.0f, 38.0f);
    lines.lineTo (250.0f, 38.0f);
    lines.startNewSubPath (190.0f, 100.0f);
    lines.lineTo (235.0f, 162.0f);
    lines.lineTo (300.0f, 162.0f);

    auto path = stroked (lines, 14.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
    path.addPath (filledDisc (38.0f, 100.0f, 38.0f));
    path.addPath (filledDisc (268.0f, 38.0f, 22.0f));

    juce::Path square;
    square.startNewSubPath (290.0f, 162.0f);
    square.lineTo (326.0f, 162.0f);
    path.addPath (stroked (square, 36.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

    juce::Path head;
    head.addTriangle (375.0f, 60.0f, 450.0f, 100.0f, 375.0f, 140.0f);
    path.addPath (head);
    return toExtent (path, 450.4f, 200.2f);
}

// The mid microphone's heart-shaped pick-up pattern, pointing up.
juce::Path msBaseIcon()
{
    juce::Path cardioid;

    for (int step = 0; step < 96; ++step)
    {
        const auto angle = juce::MathConstants<float>::twoPi * (float) step / 96.0f;
        const auto radius = 1.0f + std::cos (angle);
        const juce::Point<float> point (radius * std::sin (angle), -radius * std::cos (angle));

        if (step == 0)
            cardioid.startNewSubPath (point);
        else
            cardioid.lineTo (point);
    }

    cardioid.closeSubPath();
    return toExtent (stroked (cardioid, 0.2f), 113.4f, 90.8f);
}

// One lobe of the side microphone's figure-eight pattern; the menu bar places two of them.
juce::Path msOverlayIcon()
{
    juce::Path lobe;
    lobe.addEllipse (0.0f, 0.0f, 72.0f, 65.2f);
    return toExtent (stroked (lobe, 8.0f), 80.0f, 73.2f);
}

// Two chain links joined by a bar.
juce::Path linkIcon()
{
    juce::Path links;
    links.startNewSubPath (48.0f, 6.0f);
    links.lineTo (26.0f, 6.0f);
    links.addCentredArc (26.0f, 26.0f, 20.0f, 20.0f, 0.0f, juce::MathConstants<float>::twoPi,
                         juce::MathConstants<float>::pi, false);
    links.lineTo (48.0f, 46.0f);
    links.startNewSubPath (68.7f, 6.0f);
    links.lineTo (90.7f, 6.0f);
    links.addCentredArc (90.7f, 26.0f, 20.0f, 20.0f, 0.0f, 0.0f, juce::MathConstants<float>::pi, false);
    links.lineTo (68.7f, 46.0f);
    links.startNewSubPath (38.0f, 26.0f);
    links.lineTo (78.7f, 26.0f);
    return toExtent (stroked (links, 12.0f), 116.7f, 52.0f);
}

juce::Path letterA()
{
    juce::Path strokes;
    strokes.startNewSubPath (44.0f, 106.0f);
    strokes.lineTo (69.0f, 32.0f);
    strokes.lineTo (94.0f, 106.0f);
    strokes.startNewSubPath (53.0f, 82.0f);
    strokes.lineTo (85.0f, 82.0f);
    return stroked (strokes, 12.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
}

juce::Path letterB()
{
    juce::Path bowls;
    bowls.startNewSubPath (50.0f, 34.0f);
    bowls.lineTo (72.0f, 34.0f);
    bowls.cubicTo (90.0f, 34.0f, 90.0f, 67.0f, 72.0f, 67.0f);
    bowls.lineTo (50.0f, 67.0f);
    bowls.closeSubPath();
    bowls.startNewSubPath (50.0f, 67.0f);
    bowls.lineTo (76.0f, 67.0f);
    bowls.cubicTo (96.0f, 67.0f, 96.0f, 104.0f, 76.0f, 104.0f);
    bowls.lineTo (50.0f, 104.0f);
    bowls.closeSubPath();
    return stroked (bowls, 12.0f, juce::PathStrokeType::mitered);
}

// Left/right mode: the channel letter in a rounded square.
juce::Path leftRightLetter (const juce::Path& letter)
{
    juce::Path frame;
    frame.addRoundedRectangle (6.0f, 6.0f, 126.0f, 127.3f, 24.0f);
    auto path = stroked (frame, 12.0f);
    path.addPath (letter);
    return toExtent (path, 138.0f, 139.3f);
}

// Mid/side mode: the channel letter in a circle.
juce::Path midSideLetter (const juce::Path& letter)
{
    juce::Path frame;
    frame.addEllipse (6.0f, 6.0f, 126.0f, 127.3f);
    auto path = stroked (frame, 12.0f);
    path.addPath (letter);
    return toExtent (path, 138.0f, 139.3f);
}

const Icon icons[] {
    { "icon_menu", menuIcon },
    { "icon_usb", usbIcon },
    { "icon_ms_base", msBaseIcon },
    { "icon_ms_overlay", msOverlayIcon },
    { "icon_link", linkIcon },
    { "icon_a_lr", [] { return leftRightLetter (letterA()); } },
    { "icon_b_lr", [] { return leftRightLetter (letterB()); } },
    { "icon_a_ms", [] { return midSideLetter (letterA()); } },
    { "icon_b_ms", [] { return midSideLetter (letterB()); } },
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

// In the framework's binary path-data format, which juce::Path::loadPathFromData reads.
bool writeIcon (const Icon& icon, const juce::File& folder)
{
    const auto file = folder.getChildFile (juce::String (icon.name) + ".path");
    file.deleteFile();
    juce::FileOutputStream output (file);

    if (! output.openedOk())
        return false;

    icon.draw().writePathToStream (output);
    return output.getStatus().wasOk();
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

    for (const auto& icon : icons)
    {
        if (! writeIcon (icon, folder))
        {
            std::cerr << "vu418d_artwork: cannot write " << icon.name << ".path\n";
            return 1;
        }
    }

    return 0;
}
