#include "Displays.h"

#include "ValueTexts.h"

#include <BinaryResources.h>

#include <algorithm>
#include <cstring>

namespace
{
constexpr int middleSegment = 6;

// Segments a..g of the digits 0..9.
constexpr int glyphs[10][7] { { 1, 1, 1, 1, 1, 1, 0 }, { 0, 1, 1, 0, 0, 0, 0 }, { 1, 1, 0, 1, 1, 0, 1 },
                              { 1, 1, 1, 1, 0, 0, 1 }, { 0, 1, 1, 0, 0, 1, 1 }, { 1, 0, 1, 1, 0, 1, 1 },
                              { 1, 0, 1, 1, 1, 1, 1 }, { 1, 1, 1, 0, 0, 0, 0 }, { 1, 1, 1, 1, 1, 1, 1 },
                              { 1, 1, 1, 1, 0, 1, 1 } };

// The Q positions from the widest band to the narrowest, in tenths.
constexpr int qTenths[] { 30, 25, 20, 16, 13, 10, 7, 4, 2 };

int qPosition (float value)
{
    return value > 0.0f ? juce::jmin (8, (int) (8.0f * juce::jmin (value, 1.0f) + 0.5f)) : 0; // NaN reads as 0
}

constexpr int stripSliceWidth = 17;
constexpr int digitSpacing = 20;

constexpr int glyphWidth = 29;
constexpr int glyphHeight = 34;
constexpr int cellSpacing = 22;

void drawGlyph (juce::Graphics& g, const juce::Image& strip, char character, int x)
{
    const auto c = (int) (unsigned char) character;

    // The strip starts at '!': blanks and control characters show nothing.
    if (c >= 33 && c <= 126)
        g.drawImage (strip, x, 0, glyphWidth, glyphHeight, (c - 33) * glyphWidth, 0, glyphWidth, glyphHeight);
}
} // namespace

CvDisplay_vuVE::CvDisplay_vuVE()
    : segmentStrip (
          juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_12, BinaryData::temp_binary_data_12Size))
{
}

CvDisplay_vuVE::~CvDisplay_vuVE() = default;

void CvDisplay_vuVE::mouseEnter (const juce::MouseEvent& event)
{
    if (event.eventComponent == this)
        return;

    stopTimer();
    showValueOf (event.eventComponent);
}

void CvDisplay_vuVE::mouseExit (const juce::MouseEvent& event)
{
    if (event.eventComponent != this)
        blankDeadline.startTimer (*this, 1500);
}

void CvDisplay_vuVE::paint (juce::Graphics& g)
{
    const auto height = segmentStrip.getHeight();

    for (int digit = 0; digit < 3; ++digit)
        for (int flag = 0; flag < 8; ++flag)
            if (segmentFlags[(size_t) digit][(size_t) flag] != 0)
                g.drawImage (segmentStrip, 2 + digitSpacing * digit, 0, stripSliceWidth, height, stripSliceWidth * flag,
                             0, stripSliceWidth, height);

    // The strip's point dot, moved to the top-left corner.
    if (midSide)
        g.drawImage (segmentStrip, 0, 0, 5, 4, 131, 22, 5, 4);
}

void CvDisplay_vuVE::sliderValueChanged (juce::Slider* slider)
{
    showValueOf (slider);
}

void CvDisplay_vuVE::buttonClicked (juce::Button* button)
{
    showValueOf (button);
}

void CvDisplay_vuVE::timerCallback()
{
    if (blankDeadline.rearmedBeforeDeadline (*this))
        return;

    stopTimer();

    for (auto& digit : segmentFlags)
        digit.fill (0);

    repaint();
}

void CvDisplay_vuVE::setDisplayForDisplayType (DisplayType type, float value)
{
    for (auto& digit : segmentFlags)
        digit.fill (0);

    int number = 0;
    bool inTenths = true, negative = false;

    switch (type)
    {
        case hpfFrequencyReading:
            number = ValueTexts::hpfFrequencyHertz (value);
            inTenths = false;
            break;
        case eq1FrequencyReading:
            number = ValueTexts::eq1FrequencyHertz (value);
            inTenths = false;
            break;
        case gainReading:
            number = ValueTexts::gainTenths (value);
            negative = number < 0;
            number = std::abs (number);
            break;
        case eq2FrequencyReading:
            number = ValueTexts::eq2FrequencyTenths (value);
            break;
        case qReading:
            number = qTenths[qPosition (value)];
            break;
        case scaleReading:
            number = ValueTexts::encoderTenths (value);
            break;
        case noReading:
        default:
            repaint();
            return;
    }

    const auto hundreds = number / 100 % 10, tens = number / 10 % 10, units = number % 10;

    if (hundreds != 0)
        showDigit (0, hundreds);

    if (hundreds != 0 || tens != 0 || inTenths)
        showDigit (1, tens);

    showDigit (2, units);

    if (inTenths)
        segmentFlags[1][pointFlag] = 1;

    // The minus bar shares the left digit, so -12.0 lights a 1 with a middle bar.
    if (negative)
        segmentFlags[0][middleSegment] = 1;

    repaint();
}

bool CvDisplay_vuVE::isSegmentLit (int digit, int flag) const
{
    jassert (juce::isPositiveAndBelow (digit, 3) && juce::isPositiveAndBelow (flag, 8));
    return segmentFlags[(size_t) digit][(size_t) flag] != 0;
}

void CvDisplay_vuVE::setMidSideIndicator (bool shouldBeLit)
{
    if (midSide == shouldBeLit)
        return;

    midSide = shouldBeLit;
    repaint();
}

void CvDisplay_vuVE::showValueOf (juce::Component* component)
{
    if (auto* widget = dynamic_cast<VuruvoduComponent*> (component))
        setDisplayForDisplayType (widget->displayType, widget->getFloatValue());
}

void CvDisplay_vuVE::showDigit (int digit, int number)
{
    for (size_t segment = 0; segment < 7; ++segment)
        segmentFlags[(size_t) digit][segment] = glyphs[number][segment];
}

CvDisplay_oldGUI::CvDisplay_oldGUI()
    : characterStrip (
          juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_0, BinaryData::temp_binary_data_0Size))
    , pointImage (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_1, BinaryData::temp_binary_data_1Size))
{
}

CvDisplay_oldGUI::~CvDisplay_oldGUI() = default;

void CvDisplay_oldGUI::paint (juce::Graphics& g)
{
    const auto reading = getReading();

    for (size_t k = 0; k < 3; ++k)
    {
        const auto x = -3 + cellSpacing * (int) k;

        if (reading.points[k])
            g.drawImageAt (pointImage, 20 + cellSpacing * (int) k, 29);

        if (k == 0 && reading.minusOne)
        {
            drawGlyph (g, characterStrip, '1', x);
            drawGlyph (g, characterStrip, '-', x + 2);
        }
        else
        {
            drawGlyph (g, characterStrip, reading.cells[k], x);
        }
    }
}

void CvDisplay_oldGUI::sliderValueChanged (juce::Slider* slider)
{
    if (dynamic_cast<VuruvoduComponent*> (slider) != nullptr)
        repaint();
}

void CvDisplay_oldGUI::buttonClicked (juce::Button* button)
{
    if (dynamic_cast<VuruvoduComponent*> (button) != nullptr)
        repaint();
}

void CvDisplay_oldGUI::setText (const char* newText)
{
    const auto* source = newText != nullptr ? newText : "";
    size_t length = 0;

    while (length < text.size() - 1 && source[length] != 0)
        ++length;

    std::copy_n (source, length, text.begin());
    text[length] = 0;
    repaint();
}

CvDisplay_oldGUI::Reading CvDisplay_oldGUI::getReading() const
{
    Reading reading;
    auto unread = std::strlen (text.data());
    int cell = 2;

    while (cell >= 0 && unread > 0)
    {
        const auto c = text[--unread];

        if (c == '.')
            reading.points[(size_t) cell] = true;
        else
            reading.cells[(size_t) cell--] = c;
    }

    reading.minusOne = cell < 0 && unread == 1 && reading.cells[0] == '1' && text[0] == '-';
    return reading;
}
