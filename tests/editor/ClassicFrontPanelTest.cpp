#include <editor/FrontPanel.h>

#include <BinaryResources.h>
#include <PluginInstance.h>

#include "EarlyTimerCallback.h"
#include "support/MessageLoop.h"
#include "support/RecordingListener.h"
#include "support/ScopedSettingsFile.h"

#include <gtest/gtest.h>

namespace
{
using testsupport::RecordingListener;
using Kind = RecordingListener::Kind;
using Listener = juce::CvParamsManager::AutomatableParamListener;

// Rows of the widget table, which is also the panel's child order.
constexpr int hpfFreqRow = 1, eq1GainRow = 2, eq2GainRow = 3, eq1FreqRow = 4, eq2FreqRow = 5, loBoostRow = 6,
              hiBwRow = 8, eq1QRow = 11, kcsBstRow = 15, channelRow = 16, hpfInRow = 17, abRow = 21, engageRow = 22,
              clipLRow = 24, presetRow = 26, displayRow = 27;

template <typename Widget = juce::Component>
Widget& widget (juce::Component& panel, int row)
{
    return *dynamic_cast<Widget*> (panel.getChildComponent (row - 1));
}

float valueOf (juce::Component& panel, int row)
{
    return widget<VuruvoduComponent> (panel, row).getFloatValue();
}
juce::String readOut (juce::Component& panel)
{
    return widget<CvDisplay_oldGUI> (panel, displayRow).getText();
}

juce::MouseEvent eventAt (juce::Component& target, juce::Point<float> position, juce::Point<float> down = {},
                          juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position, mods, 1.0f, 0.0f, 0.0f, 0.0f,
                             0.0f, &target, &target, now, down, now, 1, position != down);
}

void press (juce::Component& target, juce::Point<float> at)
{
    target.mouseDown (eventAt (target, at, at));
    target.mouseUp (eventAt (target, at, at));
}

class ClassicFrontPanel : public testing::Test
{
protected:
    ClassicFrontPanel()
    {
        for (int index = 0; index < ParamData::numAutomatable; ++index)
            manager.addParamListener (&recorder, index, juce::CvParamsManager::registerOnly);

        for (int index = 0; index < ParamData::numNonAutomatable; ++index)
            manager.addNonAutomatableParamListener (&recorder, index, juce::CvParamsManager::registerOnly);
    }

    std::vector<Kind> kindsFrom (const void* source, int index) const
    {
        std::vector<Kind> kinds;

        for (const auto& event : recorder.eventsFor (index))
            if (event.source == source)
                kinds.push_back (event.kind);

        return kinds;
    }

    std::vector<RecordingListener::Event> nonAutomatableWrites (int index) const
    {
        std::vector<RecordingListener::Event> result;

        for (const auto& event : recorder.eventsFor (index))
            if (event.kind == Kind::nonAutomatable)
                result.push_back (event);

        return result;
    }

    testsupport::ScopedSettingsFile settingsFile;
    RecordingListener recorder;
    Vu418dPluginInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
    CvFrontPanel_oldGUI first { ParamData::channel1, manager }, second { ParamData::channel2, manager };
};

const std::vector<Kind> gesture { Kind::gestureBegin, Kind::value, Kind::gestureEnd };
} // namespace

TEST_F (ClassicFrontPanel, APanelShowsItsOwnChannelOnItsPlateAndSwitchesWriteGestures)
{
    manager.setParamValue (nullptr, 20 + ParamData::kcsBoost, 1.0f);
    CvFrontPanel_oldGUI late (ParamData::channel2, manager);
    EXPECT_EQ (late.getBounds(), juce::Rectangle<int> (0, 0, 1272, 231));
    EXPECT_EQ (valueOf (late, kcsBstRow), 1.0f);
    EXPECT_EQ (readOut (late), "");
    const auto plate =
        juce::ImageCache::getFromMemory (BinaryData::temp_binary_data_3, BinaryData::temp_binary_data_3Size);
    EXPECT_EQ (late.createComponentSnapshot ({ 5, 5, 1, 1 }).getPixelAt (0, 0), plate.getPixelAt (5, 5));

    manager.setParamValue (nullptr, 20 + ParamData::hpfIn, 1.0f);
    EXPECT_TRUE (widget<juce::Button> (second, hpfInRow).getToggleState());
    EXPECT_FALSE (widget<juce::Button> (first, hpfInRow).getToggleState());
    recorder.events.clear();

    widget<juce::Button> (second, hpfInRow).triggerClick();
    widget<juce::Button> (second, abRow).triggerClick();
    testsupport::pumpMessages (20);
    press (widget (second, eq1QRow), { 22.0f, 38.0f });

    EXPECT_EQ (kindsFrom (static_cast<Listener*> (&second), 20 + ParamData::hpfIn), gesture);
    EXPECT_EQ (manager.automatableParams[20 + ParamData::hpfIn]->value, 0.0f);
    EXPECT_EQ (kindsFrom (static_cast<Listener*> (&second), 20 + ParamData::eq1Q), gesture);
    EXPECT_EQ (manager.automatableParams[20 + ParamData::eq1Q]->value, 0.625f);
    EXPECT_EQ (nonAutomatableWrites (ParamData::abSelected).size(), 1u);
    EXPECT_TRUE (widget<juce::Button> (first, abRow).getToggleState());
}

TEST_F (ClassicFrontPanel, HoveringAKnobShowsItsValueInTheUnitsOfItsScale)
{
    const std::tuple<int, int, const char*> cases[] { { hpfFreqRow, 64, "32" },    { eq1GainRow, 64, "-3.9" },
                                                      { eq1GainRow, 126, "-0.0" }, { eq1GainRow, 127, "0.0" },
                                                      { eq1GainRow, 255, "15.0" }, { eq2GainRow, 0, "-15.0" },
                                                      { eq1FreqRow, 64, "206" },   { eq2FreqRow, 192, "8.5" },
                                                      { loBoostRow, 64, "3.5" },   { hiBwRow, 255, "14.0" } };

    for (auto [row, step, text] : cases)
    {
        auto& knob = widget<CvEncoder_classicGUI> (first, row);
        knob.setFloatValue ((float) step / 255.0f, juce::dontSendNotification);
        knob.mouseEnter (eventAt (knob, { 48.0f, 48.0f }));
        EXPECT_EQ (readOut (first), text) << row << " at step " << step;
    }
}

// Only lower bounds on time, as a loaded machine delays timers.
TEST_F (ClassicFrontPanel, LeavingAKnobHoldsItsValueThenClearsTheReadOut)
{
    auto& knob = widget<CvEncoder_classicGUI> (first, eq1GainRow);
    knob.mouseEnter (eventAt (knob, { 48.0f, 48.0f }));
    manager.setParamValue (nullptr, ParamData::eq1Gain, 1.0f);
    EXPECT_EQ (readOut (first), "0.0") << "a host change refreshed the read-out";

    const auto exit = juce::Time::getMillisecondCounter();
    knob.mouseExit (eventAt (knob, { 100.0f, 48.0f }));
    EXPECT_EQ (readOut (first), "15.0");
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return readOut (first).isEmpty(); }));
    EXPECT_GE ((int) (juce::Time::getMillisecondCounter() - exit), 1500);

    // Entering another control while the read-out holds switches to it at once.
    knob.mouseEnter (eventAt (knob, { 48.0f, 48.0f }));
    knob.mouseExit (eventAt (knob, { 100.0f, 48.0f }));
    auto& q = widget<CvQSelector_oldGUI> (first, eq1QRow);
    q.setFloatValue (0.375f, juce::dontSendNotification);
    q.mouseEnter (eventAt (q, { 36.0f, 25.0f }));
    EXPECT_EQ (readOut (first), "1.6");
    press (q, { 22.0f, 38.0f });
    EXPECT_EQ (readOut (first), "1.3");
}

TEST_F (ClassicFrontPanel, ACtrlClickedKnobIsTheFallbackUntilADragEnds)
{
    manager.setParamValue (nullptr, ParamData::eq1Freq, 0.0f);
    auto& eq1Freq = widget<CvEncoder_classicGUI> (first, eq1FreqRow);
    const auto ctrl = juce::ModifierKeys (juce::ModifierKeys::ctrlModifier | juce::ModifierKeys::leftButtonModifier);
    eq1Freq.mouseDown (eventAt (eq1Freq, { 48.0f, 48.0f }, { 48.0f, 48.0f }, ctrl));

    EXPECT_EQ (kindsFrom (static_cast<Listener*> (&first), ParamData::eq1Freq), std::vector<Kind> { Kind::value });
    EXPECT_EQ (manager.automatableParams[ParamData::eq1Freq]->value, 0.5f);
    EXPECT_EQ (readOut (first), "363");

    auto& q = widget<CvQSelector_oldGUI> (first, eq1QRow);
    q.mouseEnter (eventAt (q, { 36.0f, 25.0f }));
    EXPECT_EQ (readOut (first), "1.3") << "a hovered Q selector comes before the fallback";
    q.mouseExit (eventAt (q, { 100.0f, 25.0f }));
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return readOut (first) == "363"; }));

    auto& hpf = widget<CvEncoder_classicGUI> (first, hpfFreqRow);
    const juce::Point<float> down (48.0f, 200.0f), up (48.0f, 100.0f);
    hpf.mouseDown (eventAt (hpf, down, down));
    hpf.mouseDrag (eventAt (hpf, up, down));
    hpf.mouseUp (eventAt (hpf, up, down));
    EXPECT_EQ (kindsFrom (static_cast<Listener*> (&first), ParamData::hpfFreq), gesture);
    EXPECT_EQ (readOut (first), "");
}

TEST_F (ClassicFrontPanel, TheChannelSelectorLinksOrSelectsByPanelsOpened)
{
    auto& selector = widget<CvChannelSelector_classicGUI> (second, channelRow);

    for (auto [opened, expected] : { std::pair { false, 0 }, { true, 1 } })
    {
        manager.setParamValue (nullptr, ParamData::channel, 0.0f);
        manager.setNonAutomatableParamValue (nullptr, ParamData::panelsOpened, opened);
        recorder.events.clear();

        press (selector, { 110.0f, 9.0f });
        const auto selected = nonAutomatableWrites (ParamData::selectedChannel);
        ASSERT_EQ (selected.size(), 1u);
        EXPECT_EQ ((int) selected[0].naValue, expected);
        EXPECT_EQ (kindsFrom (static_cast<Listener*> (&second), ParamData::channel), std::vector<Kind> { Kind::value });
        EXPECT_EQ (manager.automatableParams[ParamData::channel]->value, 1.0f);
        EXPECT_TRUE (valueOf (first, channelRow) == 0.5f && valueOf (second, channelRow) == 0.5f);
    }

    manager.setParamValue (nullptr, ParamData::channel, 1.0f);
    EXPECT_TRUE (valueOf (first, channelRow) == 0.5f && valueOf (second, channelRow) == 1.0f);
    recorder.events.clear();
    selector.setFloatValue (0.0f, juce::sendNotificationSync);
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return ! recorder.eventsFor (ParamData::channel).empty(); }));
    EXPECT_EQ (kindsFrom (static_cast<Listener*> (&second), ParamData::channel), std::vector<Kind> { Kind::value });
    EXPECT_EQ (manager.automatableParams[ParamData::channel]->value, 0.0f);
    EXPECT_TRUE (nonAutomatableWrites (ParamData::selectedChannel).empty());
    EXPECT_EQ (valueOf (first, channelRow), 0.0f);
}

TEST_F (ClassicFrontPanel, ADoubleClickOnThePresetSpotResetsEveryParameter)
{
    manager.setParamValue (nullptr, ParamData::engage, 0.0f);
    recorder.events.clear();
    auto& spot = widget (first, presetRow);
    spot.mouseDoubleClick (eventAt (spot, { 20.0f, 20.0f }));
    ASSERT_EQ (recorder.events.size(), 3u * ParamData::numAutomatable);
    EXPECT_TRUE (widget<juce::Button> (first, engageRow).getToggleState());
}

TEST_F (ClassicFrontPanel, AClipReportLightsItsLampBrieflyAndLeavesTheAbSwitch)
{
    auto& clip = widget<juce::Button> (first, clipLRow);
    auto& ab = widget<juce::Button> (first, abRow);
    testsupport::provokeEarlyTimerCallback();
    const auto report = juce::Time::getMillisecondCounter();
    manager.setNonAutomatableParamValue (nullptr, ParamData::clipL, true);
    manager.setNonAutomatableParamValue (nullptr, ParamData::clipR, true);
    manager.setNonAutomatableParamValue (nullptr, ParamData::clipL, false);
    EXPECT_TRUE (clip.getToggleState());
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return ! clip.getToggleState(); }));
    EXPECT_GE ((int) (juce::Time::getMillisecondCounter() - report), 300);
    EXPECT_FALSE (ab.getToggleState());
}
