#include <editor/FrontPanel.h>

#include <BinaryResources.h>
#include <PluginInstance.h>

#include "EarlyTimerCallback.h"
#include "support/MessageLoop.h"
#include "support/RecordingListener.h"
#include "support/ScopedSettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using testsupport::RecordingListener;
using Kind = RecordingListener::Kind;
using Listener = juce::CvParamsManager::AutomatableParamListener;

// Rows of the widget table, which is also the panel's child order.
constexpr int eq1GainRow = 2, eq1QRow = 11, hpfInRow = 13, abRow = 17, engageRow = 18, isConnectedRow = 19,
              clipLRow = 20, clipRRow = 21, channelRow = 25, displayRow = 26;

template <typename Widget = VuruvoduComponent>
Widget& widget (juce::Component& panel, int row)
{
    return *dynamic_cast<Widget*> (panel.getChildComponent (row - 1));
}

float valueOf (juce::Component& panel, int row)
{
    return widget (panel, row).getFloatValue();
}

juce::MouseEvent eventAt (juce::Component& target, juce::Point<float> position, juce::Point<float> down = {})
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position,
                             juce::ModifierKeys::leftButtonModifier, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, &target, &target,
                             now, down, now, 1, position != down);
}

// Counts whole-component repaints from its installation on (which itself repaints once).
struct RepaintCounter : public juce::CachedComponentImage
{
    static int& installOn (juce::Component& component)
    {
        auto* counter = new RepaintCounter();
        component.setCachedComponentImage (counter);
        return counter->count = 0;
    }

    void paint (juce::Graphics&) override {}
    bool invalidateAll() override { return ++count, false; }
    bool invalidate (const juce::Rectangle<int>&) override { return false; }
    void releaseResources() override {}

    int count = 0;
};

class Panel : public CvFrontPanel_vuVE
{
public:
    using CvFrontPanel::unregisterParams;
    using CvFrontPanel_vuVE::CvFrontPanel_vuVE;
};

class FrontPanel : public testing::Test
{
protected:
    FrontPanel()
    {
        for (int index = 0; index < ParamData::numAutomatable; ++index)
            manager.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);

        for (int index = 0; index < ParamData::numNonAutomatable; ++index)
            manager.addNonAutomatableParamListener (&recorder, index, juce::CvParamsManager::registerOnly);
    }

    std::vector<RecordingListener::Event> eventsOf (Kind kind, int index) const
    {
        std::vector<RecordingListener::Event> result;

        for (const auto& event : recorder.events)
            if (event.kind == kind && event.index == index)
                result.push_back (event);

        return result;
    }

    // A click in the selector's hot square; a long press pumps until the selector has reported.
    void clickChannelSelector (juce::Component& panel, bool longPress = false)
    {
        auto& selector = widget<juce::Component> (panel, channelRow);
        const juce::Point<float> hot (100.0f, 10.0f);
        selector.mouseDown (eventAt (selector, hot, hot));

        if (longPress)
            testsupport::pumpUntil ([&] { return ! eventsOf (Kind::value, ParamData::channel).empty(); });

        selector.mouseUp (eventAt (selector, hot, hot));
        testsupport::pumpMessages (20);
    }

    testsupport::ScopedSettingsFile settingsFile;
    RecordingListener recorder;
    Vu418dPluginInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
    Panel first { ParamData::channel1, manager }, second { ParamData::channel2, manager };
};
} // namespace

TEST_F (FrontPanel, AChannelTwoPanelShowsOnlyItsOwnIndicesAndWritesNothingBack)
{
    manager.setParamValue (nullptr, 20 + ParamData::hpfIn, 1.0f);
    Panel late (ParamData::channel2, manager);
    EXPECT_EQ (late.getBounds(), juce::Rectangle<int> (0, 0, 1272, 232));
    EXPECT_EQ (valueOf (late, hpfInRow), 1.0f);
    recorder.events.clear();

    manager.setParamValue (nullptr, 24, 0.8f);
    manager.setParamValue (nullptr, 4, 0.2f);
    EXPECT_EQ (valueOf (second, eq1GainRow), 0.8f);
    EXPECT_EQ (valueOf (first, eq1GainRow), 0.2f);
    EXPECT_EQ (recorder.events.size(), 2u);
}

// In dual-mono operation each selector shows its own panel's channel, in linked operation both show LINK.
TEST_F (FrontPanel, AShortClickSelectsByPanelsOpenedAndALongPressOnlyLinks)
{
    const std::tuple<Panel*, bool, int> cases[] {
        { &second, true, 1 }, { &first, false, 1 }, { &first, true, 0 }, { &second, false, 0 }
    };

    for (auto [panel, opened, expected] : cases)
    {
        SCOPED_TRACE (testing::Message() << (panel == &first ? "first" : "second") << " opened " << opened);
        manager.setNonAutomatableParamValue (nullptr, ParamData::selectedChannel, -1);
        manager.setParamValue (nullptr, ParamData::channel, 0.0f);
        manager.setNonAutomatableParamValue (nullptr, ParamData::panelsOpened, opened);
        recorder.events.clear();

        clickChannelSelector (*panel);
        const auto channelWrites = eventsOf (Kind::value, ParamData::channel);
        ASSERT_EQ (channelWrites.size(), 1u);
        EXPECT_TRUE (channelWrites[0].value == 1.0f && channelWrites[0].source == static_cast<Listener*> (panel));
        ASSERT_EQ (eventsOf (Kind::nonAutomatable, ParamData::selectedChannel).size(), 1u);
        EXPECT_EQ ((int) eventsOf (Kind::nonAutomatable, ParamData::selectedChannel)[0].naValue, expected);
        EXPECT_TRUE (eventsOf (Kind::gestureBegin, ParamData::channel).empty());
        EXPECT_TRUE (valueOf (first, channelRow) == 0.5f && valueOf (second, channelRow) == 1.0f);
    }

    manager.setNonAutomatableParamValue (nullptr, ParamData::selectedChannel, 1);
    recorder.events.clear();
    clickChannelSelector (first, true);
    const auto channelWrites = eventsOf (Kind::value, ParamData::channel);
    ASSERT_EQ (channelWrites.size(), 1u);
    EXPECT_TRUE (channelWrites[0].value == 0.0f && channelWrites[0].source == static_cast<Listener*> (&first));
    EXPECT_TRUE (eventsOf (Kind::nonAutomatable, ParamData::selectedChannel).empty());
    EXPECT_TRUE (valueOf (first, channelRow) == 0.0f && valueOf (second, channelRow) == 0.0f);
}

TEST_F (FrontPanel, AKnobDragIsAGestureAndAnABClickAWriteThatTheOtherPanelFollows)
{
    auto& knob = widget<juce::Slider> (first, eq1GainRow);
    const juce::Point<float> down (48.0f, 200.0f), up (48.0f, 100.0f);
    knob.mouseDown (eventAt (knob, down, down));
    knob.mouseDrag (eventAt (knob, up, down));
    knob.mouseUp (eventAt (knob, up, down));

    std::vector<Kind> kinds;

    for (const auto& event : recorder.eventsFor (ParamData::eq1Gain))
        if (event.source == static_cast<Listener*> (&first))
            kinds.push_back (event.kind);

    EXPECT_EQ (kinds, (std::vector<Kind> { Kind::gestureBegin, Kind::value, Kind::gestureEnd }));
    EXPECT_GT (knob.getValue(), 0.6);
    // The linked copy travels as text with six significant digits.
    EXPECT_TRUE (
        testsupport::pumpUntil ([&] { return std::abs (valueOf (second, eq1GainRow) - knob.getValue()) < 1.0e-5; }));

    widget<juce::Button> (first, abRow).triggerClick();
    ASSERT_TRUE (
        testsupport::pumpUntil ([&] { return ! eventsOf (Kind::nonAutomatable, ParamData::abSelected).empty(); }));
    EXPECT_TRUE ((bool) manager.nonAutomatableParams[ParamData::abSelected]->value);
    EXPECT_EQ (valueOf (second, abRow), 1.0f);
}

TEST_F (FrontPanel, ADoubleClickInTheResetAreaResetsEveryParameter)
{
    manager.setParamValue (nullptr, ParamData::msMatrix, 1.0f);
    manager.setParamValue (nullptr, 24, 0.9f);
    recorder.events.clear();

    first.mouseDoubleClick (eventAt (first, { 1189.0f, 192.0f }));
    EXPECT_TRUE (recorder.events.empty());

    first.mouseDoubleClick (eventAt (first, { 1142.0f, 145.0f }));
    ASSERT_EQ (recorder.events.size(), 3u * ParamData::numAutomatable);

    const Kind triple[] { Kind::gestureBegin, Kind::value, Kind::gestureEnd };

    for (size_t i = 0; i < recorder.events.size(); ++i)
    {
        const auto& event = recorder.events[i];
        const auto index = (int) i / 3;
        EXPECT_TRUE (event.index == index && event.source == nullptr && event.kind == triple[i % 3]) << i;
        EXPECT_EQ (event.value, event.kind == Kind::value ? Vu418dParamsManager::getDefaultValue (index) : 0.0f);
    }

    EXPECT_EQ (manager.automatableParams[ParamData::channel]->value, 0.0f);
    EXPECT_EQ (valueOf (second, eq1GainRow), 0.5f);
}

TEST_F (FrontPanel, APanelNumberReloadsThePlateOnlyWhenItChanges)
{
    const juce::Image plates[] {
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_17, BinaryData::temp_binary_data_17Size),
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_18, BinaryData::temp_binary_data_18Size)
    };
    const auto uncoveredDifference = [&]
    {
        for (int y = 0; y < 232; ++y)
            for (int x = 0; x < 1272; ++x)
                if (plates[0].getPixelAt (x, y) != plates[1].getPixelAt (x, y) &&
                    std::none_of (second.getChildren().begin(), second.getChildren().end(),
                                  [&] (auto* c) { return c->getBounds().contains (x, y); }))
                    return juce::Point<int> (x, y);

        return juce::Point<int> (-1, -1);
    };
    const auto p = uncoveredDifference();
    ASSERT_GE (p.x, 0) << "the two plates must differ outside the widgets";
    const auto shows = [&] (const juce::Image& plate) {
        return second.createComponentSnapshot ({ p.x, p.y, 1, 1 }).getPixelAt (0, 0) == plate.getPixelAt (p.x, p.y);
    };
    EXPECT_TRUE (shows (plates[0]));

    second.setVisible (true);
    auto& repaints = RepaintCounter::installOn (second);
    second.setPanelNo (2);
    second.setPanelNo (2);
    EXPECT_EQ (repaints, 1);
    EXPECT_TRUE (shows (plates[1]));

    second.setPanelNo (1);
    EXPECT_EQ (repaints, 2);
    EXPECT_TRUE (shows (plates[0]));
}

// Lower bounds on time only: a loaded machine delays timers.
TEST_F (FrontPanel, AClipLedStaysLitUntilItsTimeAfterTheLastReport)
{
    auto& clip = widget<juce::Button> (first, clipLRow);
    manager.setNonAutomatableParamValue (nullptr, ParamData::clipL, true);
    testsupport::provokeEarlyTimerCallback();
    const auto lastReport = juce::Time::getMillisecondCounter();
    manager.setNonAutomatableParamValue (nullptr, ParamData::clipL, true);
    manager.setNonAutomatableParamValue (nullptr, ParamData::clipL, false);

    EXPECT_TRUE (clip.getToggleState()) << "a report of no clipping switched it off";
    EXPECT_FALSE (widget<juce::Button> (first, clipRRow).getToggleState());
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return ! clip.getToggleState(); }, 2000));
    EXPECT_GE ((int) (juce::Time::getMillisecondCounter() - lastReport), 300) << "the second report did not extend it";
}

TEST_F (FrontPanel, MsMatrixRepaintsTheReadOutOnlyWhenItsDotChanges)
{
    auto& display = widget<CvDisplay_vuVE> (first, displayRow);
    auto& repaints = RepaintCounter::installOn (display);

    manager.setParamValue (nullptr, ParamData::msMatrix, 0.7f);
    manager.setParamValue (nullptr, ParamData::msMatrix, 0.9f);
    EXPECT_TRUE (display.isMidSideIndicatorLit());
    EXPECT_EQ (repaints, 1);

    manager.setParamValue (nullptr, ParamData::msMatrix, 0.3f);
    EXPECT_FALSE (display.isMidSideIndicatorLit());
    EXPECT_EQ (repaints, 2);
}

TEST_F (FrontPanel, NothingReachesAnUnsubscribedPanel)
{
    first.unregisterParams();

    for (int index = 0; index < ParamData::numAutomatable; ++index)
        manager.setParamValue (nullptr, index, 1.0f);

    for (auto index : { ParamData::isConnected, ParamData::abSelected, ParamData::clipL })
        manager.setNonAutomatableParamValue (nullptr, index, true);

    EXPECT_EQ (valueOf (second, eq1GainRow), 1.0f);

    for (auto row : { hpfInRow, channelRow, abRow, isConnectedRow, clipLRow })
        EXPECT_EQ (valueOf (first, row), 0.0f) << row;

    EXPECT_TRUE (valueOf (first, eq1GainRow) == 0.5f && valueOf (first, eq1QRow) == 0.5f);
    EXPECT_FALSE (widget<CvDisplay_vuVE> (first, displayRow).isMidSideIndicatorLit());
}

TEST_F (FrontPanel, TheDimmingOverlayDarkensWidgetsToo)
{
    ASSERT_EQ (valueOf (first, engageRow), 1.0f);
    const auto lit = widget<juce::Component> (first, engageRow).getPosition() + juce::Point<int> (8, 1);
    const auto pixel = [&] { return first.createComponentSnapshot ({ lit.x, lit.y, 1, 1 }).getPixelAt (0, 0); };
    const auto plain = pixel();

    first.dimmed = true;
    const auto dimmed = pixel(), expected = plain.overlaidWith (juce::Colour (0x40000000));
    EXPECT_LT (dimmed.getRed(), plain.getRed());
    EXPECT_NEAR (dimmed.getRed(), expected.getRed(), 1);
    EXPECT_NEAR (dimmed.getGreen(), expected.getGreen(), 1);
}
