#include <editor/SteppedSelectors.h>
#include <BinaryResources.h>

#include "EarlyTimerCallback.h"
#include "support/MessageLoop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace
{
juce::MouseEvent eventAt (juce::Component& c, juce::Point<float> position, juce::ModifierKeys mods = {})
{
    const auto now = juce::Time::getCurrentTime();
    const auto source = juce::Desktop::getInstance().getMainMouseSource();
    // The zeros are the mouse's default pressure, orientation, rotation and tilts.
    return { source, position, mods, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, &c, &c, now, position, now, 1, false };
}

void press (juce::Component& c, float x, float y, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
{
    c.mouseDown (eventAt (c, { x, y }, mods));
}

void release (juce::Component& c)
{
    c.mouseUp (eventAt (c, {}));
}

void click (juce::Component& c, float x, float y)
{
    press (c, x, y);
    release (c);
}

void wheel (juce::Component& c, float deltaY, bool reversed = false, float deltaX = 0.0f)
{
    c.mouseWheelMove (eventAt (c, {}), { deltaX, deltaY, reversed, false, false });
}

// Records each reported value, as a panel's click callback reads it, and when it arrived.
template <typename Widget>
struct Reports
{
    explicit Reports (Widget& w)
    {
        w.onClick = [this, &w]
        {
            values.push_back (w.getFloatValue());
            times.push_back (juce::Time::getMillisecondCounter());
        };
    }

    bool settle (size_t count, int timeoutMs = 2000)
    {
        return testsupport::pumpUntil ([&] { return values.size() >= count; }, timeoutMs);
    }

    // The value of the next asynchronous report, or -1 when none arrives.
    float next() { return settle (values.size() + 1) ? values.back() : -1.0f; }

    // The milliseconds from the given time to each report.
    std::vector<int> timesSince (juce::uint32 start) const
    {
        std::vector<int> result;

        for (auto time : times)
            result.push_back ((int) (time - start));

        return result;
    }

    std::vector<float> values;
    std::vector<juce::uint32> times; // the framework's millisecond counter, which its timers run on
};

// Each report comes at or after the time of its step, counted from the press; a loaded machine only delays it.
void expectNoneBefore (const std::vector<int>& times, const std::vector<int>& earliest)
{
    ASSERT_GE (times.size(), earliest.size());

    for (size_t i = 0; i < earliest.size(); ++i)
        EXPECT_GE (times[i], earliest[i]) << "report " << i;
}

juce::Image picture (const char* data, int size)
{
    return juce::ImageCache::getFromMemory (data, size);
}

// Inside the area the paint copies the picture from source on; everything else stays transparent.
void expectOnlyDrawn (juce::Component& c, juce::Rectangle<int> area, const juce::Image& picture,
                      juce::Point<int> source)
{
    const auto shot = c.createComponentSnapshot (c.getLocalBounds(), false);
    int differences = 0, drawn = 0;

    for (int y = 0; y < shot.getHeight(); ++y)
        for (int x = 0; x < shot.getWidth(); ++x)
        {
            const auto expected = area.contains (x, y)
                                      ? picture.getPixelAt (x - area.getX() + source.x, y - area.getY() + source.y)
                                      : juce::Colours::transparentBlack;
            differences += shot.getPixelAt (x, y).getARGB() != expected.getARGB() ? 1 : 0;
            drawn += shot.getPixelAt (x, y).isTransparent() ? 0 : 1;
        }

    EXPECT_EQ (differences, 0);
    EXPECT_GT (drawn, 20);
}

struct HoverListener : public ExtendedListener
{
    void sliderValueChanged (juce::Slider*) override {}
    void sliderMouseEnter (juce::Slider*) override {}
    void sliderMouseExit (juce::Slider*) override {}
    void buttonMouseEnter (juce::Button* b) override { entered.push_back (b); }
    void buttonMouseExit (juce::Button* b) override { exited.push_back (b); }
    void buttonClicked (juce::Button*) override { ++clicks; }
    std::vector<juce::Button*> entered, exited;
    int clicks = 0;
};
} // namespace

// The repeats and long presses start just after the timer thread has slept long, so their first timer callback
// comes early; still no report may come before its time. Time is bounded from below only.
TEST (SteppedSelectors, HoldingAZoneRepeatsAfter600MsThenEvery200MsAndStopsOnRelease)
{
    CvFreqSelector_vuVE selector (loCpsSelector);
    selector.setFloatValue (1.0f, juce::dontSendNotification);
    Reports reports (selector);

    testsupport::provokeEarlyTimerCallback();
    const auto pressed = juce::Time::getMillisecondCounter();
    press (selector, 5, 95);
    EXPECT_TRUE (reports.values.empty()) << "the click is asynchronous";
    EXPECT_EQ (selector.getTimerInterval(), 600);
    ASSERT_TRUE (reports.settle (4));
    release (selector);
    EXPECT_FALSE (selector.isTimerRunning());
    testsupport::pumpMessages (300);

    EXPECT_TRUE (reports.values == std::vector<float> (reports.values.size(), 1.0f)) << "saturates at the top";
    expectNoneBefore (reports.timesSince (pressed), { 0, 600, 800, 1000 });
}

TEST (SteppedSelectors, ClassicFrequencySelectorReportsAtOnceAndRepeats)
{
    CvFreqSelector_classicGUI selector (BinaryData::temp_binary_data_7, BinaryData::temp_binary_data_7Size, 7,
                                        { 12, 121 }, { 12, 154 });
    Reports reports (selector);
    testsupport::provokeEarlyTimerCallback();
    const auto pressed = juce::Time::getMillisecondCounter();
    click (selector, 14, 158);
    press (selector, 12, 121);
    EXPECT_EQ (reports.values, (std::vector<float> { 0.0f, 1.0f / 6.0f })) << "saturates at the bottom";
    ASSERT_TRUE (reports.settle (3));
    release (selector);
    testsupport::pumpMessages (300);
    EXPECT_EQ (reports.values, (std::vector<float> { 0.0f, 1.0f / 6.0f, 2.0f / 6.0f }));
    expectNoneBefore (reports.timesSince (pressed), { 0, 0, 600 });
}

TEST (SteppedSelectors, ZoneTestsAreHalfOpenAndPointTestsReachTenPixels)
{
    CvFreqSelector_vuVE vuVE (loCpsSelector);
    Reports vuVEReports (vuVE);

    for (auto [x, y] : { std::pair (20, 95), std::pair (5, 88), std::pair (5, 109), std::pair (5, 142) })
        click (vuVE, (float) x, (float) y);

    testsupport::pumpMessages (50);
    EXPECT_TRUE (vuVEReports.values.empty());
    click (vuVE, 19, 89);
    EXPECT_EQ (vuVEReports.next(), 1.0f / 3.0f);
    click (vuVE, 0, 141);
    EXPECT_EQ (vuVEReports.next(), 0.0f);

    CvFreqSelector_classicGUI classic (BinaryData::temp_binary_data_6, BinaryData::temp_binary_data_6Size, 4,
                                       { 17, 103 }, { 17, 135 });
    Reports classicReports (classic);
    click (classic, 17.0f + 6.0f, 103.0f + 8.4f);
    click (classic, 17.0f + 6.0f, 103.0f + 8.6f);
    click (classic, 17.0f - 10.0f, 135.0f);
    EXPECT_EQ (classicReports.values, (std::vector<float> { 1.0f / 3.0f, 0.0f }));
}

TEST (SteppedSelectors, KcsAttenuationWrapsOnPressButNotOnTheWheel)
{
    CvFreqSelector_vuVE vuVE (kcsAttSelector);
    vuVE.setFloatValue (1.0f, juce::dontSendNotification);
    Reports reports (vuVE);
    wheel (vuVE, 0.2f);
    EXPECT_EQ (reports.next(), 1.0f);
    wheel (vuVE, 0.0f, false, 1.0f);
    click (vuVE, 5, 100);
    EXPECT_EQ (reports.next(), 0.0f);
    wheel (vuVE, -0.2f, true);
    EXPECT_EQ (reports.next(), 0.5f);
    wheel (vuVE, 0.2f, true);
    EXPECT_EQ (reports.next(), 0.0f);
    EXPECT_EQ (reports.values.size(), 4u) << "a horizontal wheel does nothing";

    CvFreqSelector_classicGUI classic (BinaryData::temp_binary_data_2, BinaryData::temp_binary_data_2Size, 3,
                                       { 13, 111 }, { 0, 0 });
    classic.wrapAround = true;
    classic.setFloatValue (1.0f, juce::dontSendNotification);
    Reports classicReports (classic);
    click (classic, 13, 111);
    wheel (classic, -0.2f);
    classic.setFloatValue (0.5f, juce::dontSendNotification);
    click (classic, 3, 4);
    EXPECT_EQ (classicReports.values, (std::vector<float> { 0.0f, 0.0f, 0.0f }));
}

TEST (SteppedSelectors, CtrlClickRestoresTheDefaultAsynchronouslyWithoutRepeating)
{
    CvFreqSelector_vuVE vuVE (loCpsSelector);
    CvQSelector_oldGUI q;
    vuVE.defaultValue = q.defaultValue = 0.5f;
    Reports reports (vuVE);
    Reports qReports (q);

    const juce::ModifierKeys ctrl (juce::ModifierKeys::ctrlModifier | juce::ModifierKeys::leftButtonModifier);
    press (vuVE, 5, 95, ctrl);
    press (q, 52, 38, ctrl);
    EXPECT_TRUE (qReports.values.empty());
    testsupport::pumpMessages (700);
    EXPECT_EQ (reports.values, std::vector<float> { 2.0f / 3.0f });
    EXPECT_EQ (qReports.values, std::vector<float> { 0.5f });

    press (vuVE, 5, 95, ctrl.withFlags (juce::ModifierKeys::shiftModifier));
    release (vuVE);
    EXPECT_EQ (reports.next(), 1.0f) << "ctrl+shift is an ordinary press";
}

TEST (SteppedSelectors, SetFloatValueClicksOnlyWhenNotifyingAndAfterReturning)
{
    CvChannelSelector_classicGUI channel;
    Reports reports (channel);
    channel.setFloatValue (1.0f, juce::dontSendNotification);
    channel.setFloatValue (0.5f, juce::sendNotificationSync);
    EXPECT_TRUE (reports.values.empty());
    testsupport::pumpMessages (20);
    EXPECT_EQ (reports.values, std::vector<float> { 0.5f });
}

TEST (SteppedSelectors, ValueConversions)
{
    // Rounded in single precision: a hair below a half step already counts as the next position.
    CvFreqSelector_vuVE loCps (loCpsSelector);
    CvQSelector_vuVE q;
    CvChannelSelector_vuVE channel;
    const std::tuple<VuruvoduComponent*, float, float> cases[] { { &loCps, 0x1.aaaaaap-1f, 1.0f },
                                                                 { &loCps, 0x1.555554p-3f, 1.0f / 3.0f },
                                                                 { &loCps, 0x1.555552p-3f, 0.0f },
                                                                 { &q, 0.999f, 1.0f },
                                                                 { &q, 0.11f, 0.0f },
                                                                 { &q, 0.112f, 0.125f },
                                                                 { &q, -0.3f, 0.0f },
                                                                 { &q, 7.0f, 1.0f },
                                                                 { &channel, 0.49f, 0.0f },
                                                                 { &channel, 0.99f, 0.5f },
                                                                 { &channel, 1.0f, 1.0f },
                                                                 { &channel, std::nanf (""), 0.0f },
                                                                 { &channel, 3.0f, 1.0f } };

    for (auto [widget, in, out] : cases)
    {
        widget->setFloatValue (in, juce::dontSendNotification);
        EXPECT_EQ (widget->getFloatValue(), out) << in;
    }
}

TEST (SteppedSelectors, QSelectorsStepDownOnTheRightAndRepeatEvery200Ms)
{
    CvQSelector_vuVE vuVE;
    vuVE.setFloatValue (0.5f, juce::dontSendNotification);
    Reports reports (vuVE);
    testsupport::provokeEarlyTimerCallback();
    auto pressed = juce::Time::getMillisecondCounter();
    press (vuVE, 59, 46);
    EXPECT_EQ (vuVE.getTimerInterval(), 200);
    ASSERT_TRUE (reports.settle (3));
    release (vuVE);
    expectNoneBefore (reports.timesSince (pressed), { 0, 200, 400 });
    click (vuVE, 34, 30);
    click (vuVE, 33, 46);
    ASSERT_TRUE (reports.settle (4));
    testsupport::pumpMessages (250);
    EXPECT_EQ (reports.values, (std::vector<float> { 3.0f / 8.0f, 2.0f / 8.0f, 1.0f / 8.0f, 2.0f / 8.0f }));

    CvQSelector_oldGUI classic;
    Reports classicReports (classic);
    testsupport::provokeEarlyTimerCallback();
    pressed = juce::Time::getMillisecondCounter();
    press (classic, 22, 38);
    EXPECT_EQ (classicReports.values.size(), 1u);
    EXPECT_EQ (classic.getTimerInterval(), 100) << "steps on every second tick";
    ASSERT_TRUE (classicReports.settle (3));
    release (classic);
    expectNoneBefore (classicReports.timesSince (pressed), { 0, 200, 400 });
    EXPECT_EQ (classicReports.values.back(), 3.0f / 8.0f);
}

TEST (SteppedSelectors, QWheelKeepsItsLastDirectionAndReReportsAfterRelease)
{
    const auto check = [] (auto& q)
    {
        q.setFloatValue (0.5f, juce::dontSendNotification);
        Reports reports (q);

        // Each report is awaited before the next event, so the asynchronous ones read the index of their step.
        wheel (q, 0.3f);
        reports.settle (1);
        wheel (q, 0.0f, false, 1.0f);
        reports.settle (2);
        wheel (q, 0.3f, true);
        reports.settle (3);
        release (q);
        wheel (q, 0.0f, false, 1.0f);
        reports.settle (4);
        EXPECT_EQ (reports.values, (std::vector<float> { 3.0f / 8.0f, 2.0f / 8.0f, 3.0f / 8.0f, 3.0f / 8.0f }));
    };
    CvQSelector_vuVE vuVE;
    CvQSelector_oldGUI classic;
    check (vuVE);
    check (classic);
}

TEST (SteppedSelectors, QHoverListenerIsRegisteredOnceAndClearedByNull)
{
    CvQSelector_oldGUI q;
    HoverListener listener;
    q.addExtListener (&listener);
    q.addExtListener (&listener);
    click (q, 52, 38);
    q.mouseEnter (eventAt (q, {}));
    q.addExtListener (nullptr);
    q.mouseExit (eventAt (q, {}));
    EXPECT_EQ (listener.clicks, 1);
    EXPECT_EQ (listener.entered, std::vector<juce::Button*> { &q });
    EXPECT_TRUE (listener.exited.empty());
}

TEST (SteppedSelectors, VuVEChannelShortClickEndsInThePanelsChannel)
{
    // Without a panel channel a click steps 0 -> 1 -> 2 -> 1.
    for (auto [panelChannel, start, end] : { std::tuple (0, 0, 1), std::tuple (0, 1, 2), std::tuple (0, 2, 1),
                                             std::tuple (1, 1, 1), std::tuple (2, 0, 2) })
    {
        CvChannelSelector_vuVE channel;
        channel.shortClickState = panelChannel;
        channel.setFloatValue ((float) start * 0.5f, juce::dontSendNotification);
        Reports reports (channel);
        click (channel, 100, 10);
        EXPECT_EQ (reports.next(), (float) end * 0.5f) << panelChannel << ", " << start;
    }
}

TEST (SteppedSelectors, VuVEChannelLongPressLinksAndOutsidePressesTakeNoSnapshot)
{
    CvChannelSelector_vuVE channel;
    channel.shortClickState = 2;
    channel.setFloatValue (0.5f, juce::dontSendNotification);
    Reports reports (channel);

    testsupport::provokeEarlyTimerCallback();
    const auto pressed = juce::Time::getMillisecondCounter();
    press (channel, 95, 19);
    EXPECT_EQ (reports.next(), 0.0f);
    expectNoneBefore (reports.timesSince (pressed), { 800 });
    release (channel);
    testsupport::pumpMessages (50);
    EXPECT_EQ (reports.values.size(), 1u) << "a long press does not step on release";

    channel.setFloatValue (0.5f, juce::dontSendNotification);
    press (channel, 94, 10);
    testsupport::pumpMessages (900);
    EXPECT_EQ (reports.values.size(), 1u);
    release (channel);
    EXPECT_EQ (reports.next(), 1.0f) << "the state still equals the last snapshot";

    channel.setFloatValue (0.0f, juce::dontSendNotification);
    click (channel, 115, 10);
    testsupport::pumpMessages (50);
    EXPECT_EQ (reports.values.size(), 2u);

    press (channel, 100, 10);
    EXPECT_EQ (reports.next(), 0.0f);
    testsupport::pumpMessages (900);
    EXPECT_EQ (reports.values.size(), 3u) << "the long press fires once";
    release (channel);
    EXPECT_EQ (reports.next(), 1.0f) << "holding an already linked selector also steps on release";
}

TEST (SteppedSelectors, ClassicChannelLinksOnTheNinthTickAndAClickFromLinkedGivesChannelOne)
{
    CvChannelSelector_classicGUI channel;
    Reports reports (channel);
    testsupport::provokeEarlyTimerCallback();
    const auto pressed = juce::Time::getMillisecondCounter();
    press (channel, 116, 17);
    testsupport::pumpMessages (700);
    EXPECT_TRUE (reports.values.empty());
    ASSERT_TRUE (reports.settle (1));
    expectNoneBefore (reports.timesSince (pressed), { 900 });
    testsupport::pumpMessages (200);
    release (channel);
    click (channel, 110, 9);
    click (channel, 110, 9);
    EXPECT_EQ (reports.values, (std::vector<float> { 0.0f, 0.5f, 1.0f, 0.5f }));
}

TEST (SteppedSelectors, PaintDrawsOnlyTheCurrentBandLabelOrFrame)
{
    CvFreqSelector_vuVE loCps (loCpsSelector);
    CvFreqSelector_classicGUI classic (BinaryData::temp_binary_data_6, BinaryData::temp_binary_data_6Size, 4,
                                       { 17, 103 }, { 17, 135 });
    CvChannelSelector_vuVE vuVEChannel;
    CvChannelSelector_classicGUI classicChannel;
    classic.setBounds (0, 0, 33, 146);
    vuVEChannel.setBounds (0, 0, 115, 20);
    classicChannel.setBounds (0, 0, 120, 20);
    loCps.setFloatValue (1.0f / 3.0f, juce::dontSendNotification);
    classic.setFloatValue (1.0f, juce::dontSendNotification);
    vuVEChannel.setFloatValue (1.0f, juce::dontSendNotification);

    expectOnlyDrawn (loCps, { 0, 26, 20, 13 },
                     picture (BinaryData::temp_binary_data_14, BinaryData::temp_binary_data_14Size), { 0, 26 });
    expectOnlyDrawn (classic, { 0, 0, 33, 64 },
                     picture (BinaryData::temp_binary_data_6, BinaryData::temp_binary_data_6Size), { 132, 0 });
    expectOnlyDrawn (vuVEChannel, { 50, 0, 25, 20 },
                     picture (BinaryData::temp_binary_data_13, BinaryData::temp_binary_data_13Size), { 50, 0 });
    expectOnlyDrawn (classicChannel, { 0, 0, 80, 20 },
                     picture (BinaryData::temp_binary_data_5, BinaryData::temp_binary_data_5Size), { 80, 0 });
}

TEST (SteppedSelectors, QLedsLightOuterInnerAndCentreWithAFaintNeighbour)
{
    const auto faint = std::sqrt (1.0 - 4 * 0.333 + 0.333);
    CvQSelector_vuVE vuVE;
    CvQSelector_oldGUI classic;
    classic.setBounds (0, 0, 72, 50);
    const auto whiteLed = picture (BinaryData::temp_binary_data_23, BinaryData::temp_binary_data_23Size);
    const auto whiteDot = picture (BinaryData::temp_binary_data_9, BinaryData::temp_binary_data_9Size);

    for (auto [index, outer, inner, centre] :
         { std::tuple (0, 1.0, faint, 0.0), std::tuple (4, 0.0, 1.0, 0.0), std::tuple (8, 0.0, faint, 1.0) })
        for (auto [widget, white] : { std::pair<juce::Button*, juce::Image> (&vuVE, whiteLed),
                                      std::pair<juce::Button*, juce::Image> (&classic, whiteDot) })
        {
            dynamic_cast<VuruvoduComponent&> (*widget).setFloatValue ((float) index / 8.0f, juce::dontSendNotification);
            const auto shot = widget->createComponentSnapshot (widget->getLocalBounds(), false);
            const auto full = (double) white.getPixelAt (white.getWidth() / 2, white.getHeight() / 2).getAlpha();
            ASSERT_GT (full, 200.0);

            for (auto [dx, level] : { std::pair (-26, outer), std::pair (26, outer), std::pair (-13, inner),
                                      std::pair (13, inner), std::pair (0, centre) })
                EXPECT_NEAR (shot.getPixelAt (36 + dx, 7).getAlpha(), full * level, 2.5) << index << ", " << dx;
        }

    const auto redLed = picture (BinaryData::temp_binary_data_21, BinaryData::temp_binary_data_21Size);
    EXPECT_EQ (vuVE.createComponentSnapshot ({ 72, 50 }, false).getPixelAt (36, 7).getARGB(),
               redLed.getPixelAt (7, 5).getARGB())
        << "the centre lamp is red";
}
