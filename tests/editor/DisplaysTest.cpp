#include <editor/Displays.h>
#include <ValueTexts.h>

#include <BinaryResources.h>

#include "EarlyTimerCallback.h"
#include "support/MessageLoop.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{
// Reads the lit segments a..g of each digit back as text; "-1" is the minus bar over a 1, '?' an unknown shape.
std::string reading (const CvDisplay_vuVE& display)
{
    static const std::map<std::string, std::string> shapes { { "", " " },       { "g", "-" },    { "bcg", "-1" },
                                                             { "abcdef", "0" }, { "bc", "1" },   { "abdeg", "2" },
                                                             { "abcdg", "3" },  { "bcfg", "4" }, { "acdfg", "5" },
                                                             { "acdefg", "6" }, { "abc", "7" },  { "abcdefg", "8" },
                                                             { "abcdfg", "9" } };
    std::string text;

    for (int digit = 0; digit < 3; ++digit)
    {
        std::string lit;

        for (int segment = 0; segment < 7; ++segment)
            if (display.isSegmentLit (digit, segment))
                lit += (char) ('a' + segment);

        text += shapes.count (lit) != 0 ? shapes.at (lit) : "?";
        text += display.isSegmentLit (digit, CvDisplay_vuVE::pointFlag) ? "." : "";
    }

    return text;
}

std::string readingFor (DisplayType type, float value)
{
    CvDisplay_vuVE display;
    display.setDisplayForDisplayType (type, value);
    return reading (display);
}

struct Knob
    : juce::Slider
    , VuruvoduComponent
{
    Knob (DisplayType type, float value)
    {
        displayType = type;
        setRange (0.0, 1.0);
        setValue (value);
    }

    void setFloatValue (float value, juce::NotificationType notification) override { setValue (value, notification); }
    float getFloatValue() override { return (float) getValue(); }
};

juce::MouseEvent mouseEventOn (juce::Component& component)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                             &component, &component, now, {}, now, 0, false);
}

bool isLit (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getAlpha() > 128;
}

// The classic cells as text: '_' for a blank cell, '.' after a cell whose point is lit.
std::string classicReading (const char* text)
{
    CvDisplay_oldGUI display;
    display.setText (text);
    const auto r = display.getReading();
    std::string cells = r.minusOne ? "-" : "";

    for (size_t k = 0; k < 3; ++k)
        cells += std::string (1, r.cells[k] != 0 ? r.cells[k] : '_') + (r.points[k] ? "." : "");

    return cells;
}

// Whether the image's area equals the source's area at the given offset; a null source stands for transparency.
bool sameArea (const juce::Image& image, juce::Rectangle<int> area, const juce::Image& source, int dx, int dy)
{
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (image.getPixelAt (x, y) != (source.isValid() ? source.getPixelAt (x + dx, y + dy) : juce::Colour()))
                return false;

    return true;
}
} // namespace

TEST (Displays, ReadsEachTypeAtTheUnitsKnownValues)
{
    // The other values and types are checked against the parameter texts below; these add the padding.
    const std::tuple<DisplayType, float, std::string> cases[] { { hpfFrequencyReading, 0.0f, " 18" },
                                                                { gainReading, 0.0f, "-15.0" },
                                                                { gainReading, 126 / 255.0f, " 0.0" },
                                                                { qReading, 0.0f, " 3.0" },
                                                                { qReading, 0.5f, " 1.3" },
                                                                { qReading, 1.0f, " 0.2" },
                                                                { static_cast<DisplayType> (7), 1.0f, "   " } };

    for (const auto& [type, value, expected] : cases)
        EXPECT_EQ (readingFor (type, value), expected) << "type " << type << " at " << value;

    CvDisplay_vuVE display;
    display.setDisplayForDisplayType (scaleReading, 0.0f);
    display.setDisplayForDisplayType (noReading, 1.0f);
    EXPECT_EQ (reading (display), "   "); // the point too
}

// The parameter texts carry the same numbers; only a lower-half zero gain is written with a sign there.
TEST (Displays, EveryStepReadsAsTheParameterText)
{
    const std::pair<DisplayType, juce::String (*) (float)> types[] {
        { hpfFrequencyReading, ValueTexts::hpfFrequencyText },
        { eq1FrequencyReading, ValueTexts::eq1FrequencyText },
        { eq2FrequencyReading, ValueTexts::eq2FrequencyText },
        { gainReading, ValueTexts::gainText },
        { scaleReading, ValueTexts::encoderText }
    };

    for (const auto& [type, text] : types)
        for (int step = 0; step < 256; ++step)
        {
            const auto expected =
                text ((float) step / 255.0f).upToFirstOccurrenceOf (" ", false, false).replace ("-0.0", "0.0");
            ASSERT_EQ (juce::String (readingFor (type, (float) step / 255.0f)).trimStart(), expected)
                << type << ", " << step;
        }
}

TEST (Displays, ShowsTheValueWidgetThatReports)
{
    CvDisplay_vuVE display;
    Knob hpf (hpfFrequencyReading, 0.0f), untyped (noReading, 1.0f);
    juce::Slider plain;
    hpf.addListener (&display);
    plain.addListener (&display);

    hpf.setFloatValue (1.0f, juce::sendNotificationSync);
    plain.setValue (5.0, juce::sendNotificationSync);
    EXPECT_EQ (reading (display), "200");

    display.sliderValueChanged (&untyped);
    EXPECT_EQ (reading (display), "   ");
}

TEST (Displays, StaysLitWhileTheMouseMovesBetweenWidgetsAndBlanksAfterLeaving)
{
    CvDisplay_vuVE display;
    Knob hpf (hpfFrequencyReading, 0.0f), scale (scaleReading, 1.0f);

    display.mouseEnter (mouseEventOn (hpf));
    EXPECT_EQ (reading (display), " 18");
    display.mouseExit (mouseEventOn (hpf));
    EXPECT_TRUE (display.isTimerRunning());
    display.mouseEnter (mouseEventOn (scale));
    EXPECT_FALSE (display.isTimerRunning());
    EXPECT_EQ (reading (display), "14.0");

    // Its own hover changes nothing.
    display.mouseExit (mouseEventOn (display));
    EXPECT_FALSE (display.isTimerRunning());
    testsupport::provokeEarlyTimerCallback();
    const auto left = juce::Time::getMillisecondCounter();
    display.mouseExit (mouseEventOn (scale));
    display.mouseEnter (mouseEventOn (display));
    EXPECT_TRUE (display.isTimerRunning());

    EXPECT_TRUE (testsupport::pumpUntil ([&] { return reading (display) == "   "; }, 2500));
    EXPECT_GE ((int) (juce::Time::getMillisecondCounter() - left), 1500);
    EXPECT_TRUE (display.isMidSideIndicatorLit());
}

TEST (Displays, PaintsSegmentSlicesAndTheMidSideDot)
{
    CvDisplay_vuVE display;
    display.setSize (60, 26);
    display.setDisplayForDisplayType (scaleReading, 1.0f); // 14.0
    auto image = display.createComponentSnapshot (display.getLocalBounds());

    // The dot; b and no a of the 1; f and the point of the 4; a and no g of the 0.
    const std::pair<int, int> lit[] { { 2, 1 }, { 14, 7 }, { 24, 7 }, { 36, 23 }, { 49, 2 } };

    for (auto [x, y] : lit)
        EXPECT_TRUE (isLit (image, x, y)) << x << ", " << y;

    EXPECT_FALSE (isLit (image, 9, 2) || isLit (image, 49, 13));

    display.setMidSideIndicator (false);
    display.setDisplayForDisplayType (noReading, 0.0f);
    EXPECT_TRUE (sameArea (display.createComponentSnapshot (display.getLocalBounds()), { 60, 26 }, {}, 0, 0));
}

TEST (Displays, ClassicReadsItsFirstSevenCharactersFromTheEnd)
{
    CvDisplay_oldGUI display;
    EXPECT_STREQ (display.getText(), "-12.3");
    display.setText ("123456789");
    EXPECT_STREQ (display.getText(), "1234567");
    display.setText (nullptr);
    EXPECT_STREQ (display.getText(), "");

    const std::pair<const char*, const char*> cases[] {
        { "-12.3", "-12.3" },   { "123456789", "567" }, { "A 5", "A 5" },    { "5", "__5" },       { ".5", "__.5" },
        { "1.2.3.", "1.2.3." }, { "-5.5", "-5.5" },     { "+12.3", "12.3" }, { "--12.3", "12.3" }, { "", "___" }
    };

    for (auto [text, expected] : cases)
        EXPECT_EQ (classicReading (text), expected) << text;
}

TEST (Displays, ClassicPaintDrawsGlyphsFromTheStrip)
{
    const auto strip =
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_0, BinaryData::temp_binary_data_0Size);
    const auto point =
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_1, BinaryData::temp_binary_data_1Size);
    const auto glyphX = [] (char c) { return (c - 33) * 29; };
    CvDisplay_oldGUI display;
    display.setBounds (1068, 148, 67, 40);

    display.setText ("A 8.");
    auto image = display.createComponentSnapshot (display.getLocalBounds());
    EXPECT_TRUE (sameArea (image, { 0, 0, 26, 34 }, strip, glyphX ('A') + 3, 0));
    EXPECT_TRUE (sameArea (image, { 26, 0, 15, 40 }, {}, 0, 0));
    EXPECT_TRUE (sameArea (image, { 41, 0, 23, 29 }, strip, glyphX ('8') - 41, 0));
    EXPECT_TRUE (sameArea (image, { 64, 29, 3, 4 }, point, -64, -29));

    // The combined minus-one differs from a plain 1 only in the first cell.
    display.setText ("-12.3");
    image = display.createComponentSnapshot (display.getLocalBounds());
    display.setText (" 12.3");
    const auto plain = display.createComponentSnapshot (display.getLocalBounds());
    EXPECT_FALSE (sameArea (image, { 0, 0, 19, 34 }, plain, 0, 0));
    EXPECT_TRUE (sameArea (image, { 19, 0, 48, 40 }, plain, 0, 0));
}
