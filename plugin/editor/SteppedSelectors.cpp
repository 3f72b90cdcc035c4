#include "SteppedSelectors.h"

#include <BinaryResources.h>

#include <cmath>

namespace
{
enum FreqAction
{
    freqNone = 0,
    freqUp = 1,
    freqDown = 2,
    freqUpWrapping = 3,
    freqWheelUp = 4,
    freqWheelDown = 5
};

enum QAction
{
    qNone = 0,
    qDown = 1,
    qUp = 2,
    qWheelDown = 3,
    qWheelUp = 4
};

constexpr int numQPositions = 9;
constexpr int channelLongPressMs = 800;
constexpr int classicChannelTickMs = 100;
constexpr int classicChannelLongPressTicks = 9;

int steppedFreqIndex (int index, int positions, int action)
{
    switch (action)
    {
        case freqUp:
        case freqWheelUp:
            return juce::jmin (index + 1, positions - 1);
        case freqUpWrapping:
            return index >= positions - 1 ? 0 : index + 1;
        case freqDown:
        case freqWheelDown:
            return juce::jmax (index - 1, 0);
        default:
            return index;
    }
}

int steppedQIndex (int index, int action)
{
    switch (action)
    {
        case qDown:
        case qWheelDown:
            return juce::jmax (index - 1, 0);
        case qUp:
        case qWheelUp:
            return juce::jmin (index + 1, numQPositions - 1);
        default:
            return index;
    }
}

// Values outside 0..1 (or NaN) would make the float-to-int conversions undefined or index past the artwork.
float limitedValue (float value)
{
    return value > 0.0f ? juce::jmin (value, 1.0f) : 0.0f;
}

// One fused single-precision rounding: a value a hair below a half step already counts as the next position.
int freqIndexFor (float value, int positions)
{
    return (int) std::fma (limitedValue (value), (float) (positions - 1), 0.5f);
}

int qIndexFor (float value)
{
    if (value >= 1.0f)
        return numQPositions - 1;

    return value > 0.0f ? (int) (9.0f * value) : 0;
}

int channelStateFor (float value)
{
    return (int) (2.0f * limitedValue (value));
}

// A click steps linked -> channel 1 -> channel 2 -> channel 1: linking needs the long press.
int nextChannelState (int state)
{
    return state == 1 ? 2 : 1;
}

// The classic widgets' toggle state means nothing: inverting it is how their panel hears of a change at once.
void invertToggle (juce::Button& button)
{
    button.setToggleState (! button.getToggleState(), juce::sendNotification);
}

bool isWithinTenPixels (juce::Point<int> position, juce::Point<int> point)
{
    return position.getDistanceSquaredFrom (point) <= 100;
}

// Five lamps around the centre: index 0 lights the outer pair, 4 the inner pair, 8 the red centre, and the
// steps between cross-fade. The factor is 0.333, not a third, so a neighbouring pair keeps a faint glow.
void paintQLeds (juce::Graphics& g, const juce::Image& white, const juce::Image& red, juce::Point<int> centre,
                 int index)
{
    const auto halfWidth = white.getWidth() / 2, halfHeight = white.getHeight() / 2;
    const auto q = (double) index;

    const auto draw = [&] (const juce::Image& image, double level, std::initializer_list<int> offsets)
    {
        g.setOpacity ((float) std::sqrt (juce::jlimit (0.0, 1.0, level)));

        for (auto dx : offsets)
            g.drawImageAt (image, centre.x + dx - halfWidth, centre.y - halfHeight);
    };

    draw (white, (4.0 - q) * 0.333, { -26, 26 });
    draw (white, 1.0 - std::abs (q - 4.0) * 0.333 + 0.333, { -13, 13 });
    draw (red, (q - 4.0) * 0.333, { 0 });
}

struct FreqLayout
{
    const char* data;
    int dataSize;
    int positions;
    bool wrapAround;
    int upZoneY, downZoneY; // a negative y: no such zone
};

FreqLayout freqLayoutFor (FreqSelectorType type)
{
    switch (type)
    {
        case kcsAttSelector:
            return { BinaryData::temp_binary_data_15, BinaryData::temp_binary_data_15Size, 3, true, 97, -1 };
        case kcsBstSelector:
            return { BinaryData::temp_binary_data_16, BinaryData::temp_binary_data_16Size, 7, false, 109, 142 };
        case loCpsSelector:
        default:
            return { BinaryData::temp_binary_data_14, BinaryData::temp_binary_data_14Size, 4, false, 89, 122 };
    }
}
} // namespace

CvFreqSelector_vuVE::CvFreqSelector_vuVE (FreqSelectorType type)
    : juce::Button ({})
{
    const auto layout = freqLayoutFor (type);
    strip = juce::ImageCache::getFromMemory (layout.data, layout.dataSize);
    positions = layout.positions;
    wrapAround = layout.wrapAround;

    const auto zoneAt = [this] (int y)
    { return y < 0 ? juce::Rectangle<int>() : juce::Rectangle<int> (0, y, strip.getWidth(), 20); };
    upZone = zoneAt (layout.upZoneY);
    downZone = zoneAt (layout.downZoneY);

    setSize (strip.getWidth(), (wrapAround ? upZone : downZone).getY() + 20);
}

CvFreqSelector_vuVE::~CvFreqSelector_vuVE() = default;

void CvFreqSelector_vuVE::mouseDown (const juce::MouseEvent& e)
{
    if (isResetPress (e.mods))
    {
        setFloatValue (defaultValue, juce::sendNotificationSync);
        return;
    }

    if (upZone.contains (e.getPosition()))
        action = wrapAround ? freqUpWrapping : freqUp;
    else if (downZone.contains (e.getPosition()))
        action = freqDown;
    else
        return;

    timerDeadline.startTimer (*this, firstRepeatDelay);
    stepAndReport();
}

void CvFreqSelector_vuVE::mouseUp (const juce::MouseEvent&)
{
    action = freqNone;
    stopTimer();
}

void CvFreqSelector_vuVE::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY == 0.0f)
        return;

    action = (wheel.deltaY > 0.0f) != wheel.isReversed ? freqWheelUp : freqWheelDown;
    stepAndReport();
}

void CvFreqSelector_vuVE::paintButton (juce::Graphics& g, bool, bool)
{
    const auto bandHeight = strip.getHeight() / positions;
    const auto y = (positions - 1 - index) * bandHeight;
    g.drawImage (strip, 0, y, strip.getWidth(), bandHeight, 0, y, strip.getWidth(), bandHeight);
}

void CvFreqSelector_vuVE::timerCallback()
{
    if (timerDeadline.rearmedBeforeDeadline (*this))
        return;

    timerDeadline.startTimer (*this, repeatInterval);
    stepAndReport();
}

void CvFreqSelector_vuVE::setFloatValue (float value, juce::NotificationType notification)
{
    index = freqIndexFor (value, positions);

    if (notification != juce::dontSendNotification)
        triggerClick();

    repaint();
}

float CvFreqSelector_vuVE::getFloatValue()
{
    return (float) index / (float) (positions - 1);
}

void CvFreqSelector_vuVE::stepAndReport()
{
    index = steppedFreqIndex (index, positions, action);
    triggerClick();
    repaint();
}

CvFreqSelector_classicGUI::CvFreqSelector_classicGUI (const char* imageData, int imageDataSize, int numPositions,
                                                      juce::Point<int> up, juce::Point<int> down)
    : juce::Button ({})
    , positions (numPositions)
    , upPoint (up)
    , downPoint (down)
    , strip (juce::ImageCache::getFromMemory (imageData, imageDataSize))
{
}

CvFreqSelector_classicGUI::~CvFreqSelector_classicGUI() = default;

void CvFreqSelector_classicGUI::mouseDown (const juce::MouseEvent& e)
{
    if (isResetPress (e.mods))
    {
        setFloatValue (defaultValue, juce::sendNotificationSync);
        return;
    }

    const auto position = e.getMouseDownPosition();

    if (isWithinTenPixels (position, upPoint))
        action = wrapAround ? freqUpWrapping : freqUp;
    else if (isWithinTenPixels (position, downPoint))
        action = freqDown;
    else
        return;

    timerDeadline.startTimer (*this, firstRepeatDelay);
    stepAndReport();
}

void CvFreqSelector_classicGUI::mouseUp (const juce::MouseEvent&)
{
    action = freqNone;
    stopTimer();
}

void CvFreqSelector_classicGUI::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY == 0.0f)
        return;

    action = (wheel.deltaY > 0.0f) != wheel.isReversed ? freqWheelUp : freqWheelDown;
    stepAndReport();
}

void CvFreqSelector_classicGUI::paintButton (juce::Graphics& g, bool, bool)
{
    const auto frameWidth = strip.getWidth() / (positions + 1);
    g.drawImage (strip, 0, 0, frameWidth, strip.getHeight(), (index + 1) * frameWidth, 0, frameWidth,
                 strip.getHeight());
}

void CvFreqSelector_classicGUI::timerCallback()
{
    if (timerDeadline.rearmedBeforeDeadline (*this))
        return;

    timerDeadline.startTimer (*this, repeatInterval);
    stepAndReport();
}

void CvFreqSelector_classicGUI::setFloatValue (float value, juce::NotificationType notification)
{
    index = freqIndexFor (value, positions);

    if (notification != juce::dontSendNotification)
        triggerClick();

    repaint();
}

float CvFreqSelector_classicGUI::getFloatValue()
{
    return (float) index / (float) (positions - 1);
}

void CvFreqSelector_classicGUI::stepAndReport()
{
    index = steppedFreqIndex (index, positions, action);
    repaint();
    invertToggle (*this);
}

CvQSelector_vuVE::CvQSelector_vuVE()
    : juce::Button ({})
    , whiteLed (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_23, BinaryData::temp_binary_data_23Size))
    , redLed (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_21, BinaryData::temp_binary_data_21Size))
{
    setSize (72, 50);
}

CvQSelector_vuVE::~CvQSelector_vuVE() = default;

void CvQSelector_vuVE::mouseDown (const juce::MouseEvent& e)
{
    if (isResetPress (e.mods))
    {
        setFloatValue (defaultValue, juce::sendNotificationSync);
        return;
    }

    if (downZone.contains (e.getPosition()))
        action = qDown;
    else if (upZone.contains (e.getPosition()))
        action = qUp;
    else
        return;

    timerDeadline.startTimer (*this, repeatInterval);
    stepAndReport();
}

void CvQSelector_vuVE::mouseUp (const juce::MouseEvent&)
{
    action = qNone;
    stopTimer();
}

void CvQSelector_vuVE::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY != 0.0f)
        action = (wheel.deltaY > 0.0f) != wheel.isReversed ? qWheelDown : qWheelUp;

    stepAndReport();
}

void CvQSelector_vuVE::paintButton (juce::Graphics& g, bool, bool)
{
    paintQLeds (g, whiteLed, redLed, ledCentre, index);
}

void CvQSelector_vuVE::timerCallback()
{
    if (timerDeadline.rearmedBeforeDeadline (*this))
        return;

    timerDeadline.startTimer (*this, repeatInterval);
    stepAndReport();
}

void CvQSelector_vuVE::setFloatValue (float value, juce::NotificationType notification)
{
    index = qIndexFor (value);

    if (notification != juce::dontSendNotification)
        triggerClick();

    repaint();
}

float CvQSelector_vuVE::getFloatValue()
{
    return (float) index / (float) (numQPositions - 1);
}

void CvQSelector_vuVE::stepAndReport()
{
    index = steppedQIndex (index, action);
    triggerClick();
    repaint();
}

CvQSelector_oldGUI::CvQSelector_oldGUI()
    : juce::Button ({})
    , whiteDot (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_9, BinaryData::temp_binary_data_9Size))
    , redDot (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_8, BinaryData::temp_binary_data_8Size))
{
}

CvQSelector_oldGUI::~CvQSelector_oldGUI() = default;

void CvQSelector_oldGUI::addExtListener (ExtendedListener* listener)
{
    hoverListener = listener;

    // The framework's listener list ignores a listener it already holds.
    if (listener != nullptr)
        addListener (listener);
}

void CvQSelector_oldGUI::mouseDown (const juce::MouseEvent& e)
{
    if (isResetPress (e.mods))
    {
        setFloatValue (defaultValue, juce::sendNotificationSync);
        return;
    }

    const auto position = e.getMouseDownPosition();

    if (isWithinTenPixels (position, downPoint))
        action = qDown;
    else if (isWithinTenPixels (position, upPoint))
        action = qUp;
    else
        return;

    tickCounter = 0;
    timerDeadline.startTimer (*this, tickInterval);
    stepAndReport();
}

void CvQSelector_oldGUI::mouseUp (const juce::MouseEvent&)
{
    action = qNone;
    stopTimer();
}

void CvQSelector_oldGUI::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY != 0.0f)
        action = (wheel.deltaY > 0.0f) != wheel.isReversed ? qWheelDown : qWheelUp;

    stepAndReport();
}

void CvQSelector_oldGUI::paintButton (juce::Graphics& g, bool, bool)
{
    paintQLeds (g, whiteDot, redDot, ledCentre, index);
}

void CvQSelector_oldGUI::timerCallback()
{
    if (timerDeadline.rearmedBeforeDeadline (*this))
        return;

    timerDeadline.startTimer (*this, tickInterval);

    if (++tickCounter < 2)
        return;

    tickCounter = 0;
    stepAndReport();
}

void CvQSelector_oldGUI::setFloatValue (float value, juce::NotificationType notification)
{
    index = qIndexFor (value);

    if (notification != juce::dontSendNotification)
        triggerClick();

    repaint();
}

float CvQSelector_oldGUI::getFloatValue()
{
    return (float) index / (float) (numQPositions - 1);
}

void CvQSelector_oldGUI::mouseEnter (const juce::MouseEvent& e)
{
    juce::Button::mouseEnter (e);

    if (hoverListener != nullptr)
        hoverListener->buttonMouseEnter (this);
}

void CvQSelector_oldGUI::mouseExit (const juce::MouseEvent& e)
{
    juce::Button::mouseExit (e);

    if (hoverListener != nullptr)
        hoverListener->buttonMouseExit (this);
}

void CvQSelector_oldGUI::stepAndReport()
{
    index = steppedQIndex (index, action);
    repaint();
    invertToggle (*this);
}

CvChannelSelector_vuVE::CvChannelSelector_vuVE()
    : juce::Button ({})
    , labels (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_13, BinaryData::temp_binary_data_13Size))
{
}

CvChannelSelector_vuVE::~CvChannelSelector_vuVE() = default;

void CvChannelSelector_vuVE::mouseDown (const juce::MouseEvent& e)
{
    if (! hotZone.contains (e.getPosition()))
        return;

    stateAtPress = state;
    timerDeadline.startTimer (*this, channelLongPressMs);
}

void CvChannelSelector_vuVE::mouseUp (const juce::MouseEvent&)
{
    stopTimer();

    // A long press changed the state already.
    if (stateAtPress != state)
        return;

    state = nextChannelState (state);

    if (shortClickState == 1 || shortClickState == 2)
        state = shortClickState;

    triggerClick();
    repaint();
}

void CvChannelSelector_vuVE::paintButton (juce::Graphics& g, bool, bool)
{
    const auto labelWidth = labels.getWidth() / 3;
    const auto x = state * labelWidth;
    g.drawImage (labels, x, 0, labelWidth, labels.getHeight(), x, 0, labelWidth, labels.getHeight());
}

void CvChannelSelector_vuVE::timerCallback()
{
    if (timerDeadline.rearmedBeforeDeadline (*this))
        return;

    stopTimer();
    state = 0;
    triggerClick();
    repaint();
}

void CvChannelSelector_vuVE::setFloatValue (float value, juce::NotificationType notification)
{
    state = channelStateFor (value);

    if (notification != juce::dontSendNotification)
        triggerClick();

    repaint();
}

float CvChannelSelector_vuVE::getFloatValue()
{
    return (float) state * 0.5f;
}

CvChannelSelector_classicGUI::CvChannelSelector_classicGUI()
    : juce::Button ({})
    , labels (juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_5, BinaryData::temp_binary_data_5Size))
{
}

CvChannelSelector_classicGUI::~CvChannelSelector_classicGUI() = default;

void CvChannelSelector_classicGUI::mouseDown (const juce::MouseEvent& e)
{
    if (! isWithinTenPixels (e.getMouseDownPosition(), hotPoint))
        return;

    stateAtPress = state;
    tickCounter = 0;
    timerDeadline.startTimer (*this, classicChannelTickMs);
}

void CvChannelSelector_classicGUI::mouseUp (const juce::MouseEvent&)
{
    stopTimer();

    // A long press changed the state already.
    if (stateAtPress != state)
        return;

    state = nextChannelState (state);
    invertToggle (*this);
    repaint();
}

void CvChannelSelector_classicGUI::paintButton (juce::Graphics& g, bool, bool)
{
    const auto frameWidth = labels.getWidth() / 4;
    g.drawImage (labels, 0, 0, frameWidth, labels.getHeight(), (state + 1) * frameWidth, 0, frameWidth,
                 labels.getHeight());
}

void CvChannelSelector_classicGUI::timerCallback()
{
    if (timerDeadline.rearmedBeforeDeadline (*this))
        return;

    // The timer runs on until release; only the ninth tick links the channels.
    timerDeadline.startTimer (*this, classicChannelTickMs);

    if (++tickCounter != classicChannelLongPressTicks)
        return;

    state = 0;
    invertToggle (*this);
    repaint();
}

void CvChannelSelector_classicGUI::setFloatValue (float value, juce::NotificationType notification)
{
    state = channelStateFor (value);

    if (notification != juce::dontSendNotification)
        triggerClick();

    repaint();
}

float CvChannelSelector_classicGUI::getFloatValue()
{
    return (float) state * 0.5f;
}
