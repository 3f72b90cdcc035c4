#include <editor/PanelsHolder.h>
#include <PluginInstance.h>

#include "support/MessageLoop.h"
#include "support/RecordingListener.h"
#include "support/ScopedSettingsFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace holdertest
{
struct Window : public juce::AudioProcessorEditor
{
    explicit Window (juce::AudioProcessor& owner)
        : juce::AudioProcessorEditor (owner)
    {
    }
};

class PanelsHolder : public testing::Test
{
protected:
    void build (bool opened, bool dual, int selected)
    {
        manager.setNonAutomatableParamValue (nullptr, ParamData::panelsOpened, opened);
        manager.setNonAutomatableParamValue (nullptr, ParamData::selectedChannel, selected);
        manager.setParamValue (nullptr, ParamData::channel, dual ? 1.0f : 0.0f);
        holder = std::make_unique<::PanelsHolder> (window, manager);

        for (auto index : { ParamData::selectedChannel, ParamData::panelsOpened })
            manager.addNonAutomatableParamListener (&recorder, index, juce::CvParamsManager::registerOnly);
    }

    template <typename Child>
    std::vector<Child*> children() const
    {
        std::vector<Child*> result;

        for (auto* child : holder->getChildren())
            if (auto* found = dynamic_cast<Child*> (child))
                result.push_back (found);

        return result;
    }

    // The second channel's panel is the one subscribed to the second channel's controls.
    CvFrontPanel& panel (bool second) const
    {
        for (auto* found : children<CvFrontPanel>())
            if (manager.automatableParams[ParamData::numChannelControls]->listeners.contains (found) == second)
                return *found;

        throw std::runtime_error ("no panel");
    }

    CvFrontPanel& a() const { return panel (false); }
    CvFrontPanel& b() const { return panel (true); }
    bool aInFront() const { return holder->getIndexOfChildComponent (&a()) > holder->getIndexOfChildComponent (&b()); }
    int bothHeight() const { return a().getHeight() + b().getHeight(); }
    bool sliding() const { return holder->getHeight() > a().getHeight() && holder->getHeight() < bothHeight(); }
    bool opened() const { return manager.nonAutomatableParams[ParamData::panelsOpened]->value; }
    juce::Button& closeButton (bool second) const { return *children<ClosePanelsButton>()[second ? 1 : 0]; }
    juce::Button& openButton() const { return *children<OpenPanelsButton>().front(); }

    void click (juce::Button& button) { button.triggerClick(), testsupport::pumpMessages (20); }

    // A vuVE panel shows its number only in its plate, so it is told by comparing pictures with a reference.
    bool showsNumberTwo (CvFrontPanel& shown)
    {
        CvFrontPanel_vuVE reference (ParamData::channel2, manager);
        reference.setPanelNo (2);
        reference.dimmed = shown.dimmed;
        const auto picture = shown.createComponentSnapshot (shown.getLocalBounds());
        const auto expected = reference.createComponentSnapshot (reference.getLocalBounds());
        const juce::Image::BitmapData pixels (picture, juce::Image::BitmapData::readOnly);
        const juce::Image::BitmapData expectedPixels (expected, juce::Image::BitmapData::readOnly);
        return std::memcmp (pixels.data, expectedPixels.data, pixels.size) == 0;
    }

    testsupport::ScopedSettingsFile settingsFile;
    testsupport::RecordingListener recorder;
    Vu418dPluginInstance instance;
    Vu418dParamsManager& manager = instance.getParamsManager();
    Window window { instance };
    std::unique_ptr<::PanelsHolder> holder;
};

TEST_F (PanelsHolder, OpensWithBothPanelsStackedAndDimsTheUnselectedChannelInDualMono)
{
    window.setTopLeftPosition (30, 40);
    build (true, true, 0);

    const auto width = a().getWidth(), height = a().getHeight();
    EXPECT_EQ (holder->getBounds(), juce::Rectangle<int> (0, 0, width, bothHeight()));
    EXPECT_EQ (window.getBounds(), juce::Rectangle<int> (30, 40, width, bothHeight() + 25));
    EXPECT_EQ (b().getPosition(), juce::Point<int> (0, height));
    EXPECT_EQ (closeButton (true).getBounds(), juce::Rectangle<int> (width - 40, height, 40, 40));
    EXPECT_TRUE (! openButton().isVisible() && closeButton (false).isVisible() && closeButton (true).isVisible());
    EXPECT_TRUE (showsNumberTwo (b()));
    EXPECT_TRUE (! a().dimmed && b().dimmed);

    manager.setNonAutomatableParamValue (nullptr, ParamData::selectedChannel, 1);
    EXPECT_TRUE (a().dimmed && ! b().dimmed);

    manager.setParamValue (nullptr, ParamData::channel, 0.0f);
    EXPECT_FALSE (a().dimmed || b().dimmed);
}

TEST_F (PanelsHolder, OnePanelInFrontFollowsChannelAndSelection)
{
    build (false, true, 0);

    for (auto [dual, selected, aFront] :
         { std::tuple (true, 0, true), std::tuple (false, 0, false), std::tuple (true, 1, false),
           std::tuple (false, 1, false), std::tuple (true, 0, true) })
    {
        manager.setNonAutomatableParamValue (nullptr, ParamData::selectedChannel, selected);
        manager.setParamValue (nullptr, ParamData::channel, dual ? 1.0f : 0.0f);

        EXPECT_EQ (aInFront(), aFront) << dual << selected;
        EXPECT_FALSE (a().dimmed || b().dimmed);
        EXPECT_EQ (holder->getBounds(), juce::Rectangle<int> (0, 0, a().getWidth(), a().getHeight()));
        EXPECT_EQ (window.getBounds(), juce::Rectangle<int> (0, 0, a().getWidth(), a().getHeight() + 25));
        EXPECT_EQ (b().getY(), 0);
    }

    EXPECT_FALSE (showsNumberTwo (b()));
    EXPECT_TRUE (openButton().isVisible() && ! closeButton (false).isVisible() && ! closeButton (true).isVisible());
}

TEST_F (PanelsHolder, OpenButtonGrowsTheWindowAtOnceThenSlidesAndStoresOpened)
{
    build (false, false, 0);
    click (openButton());
    EXPECT_EQ (window.getHeight(), bothHeight() + 25);
    EXPECT_FALSE (openButton().isVisible() || closeButton (false).isVisible());
    EXPECT_TRUE (showsNumberTwo (b()));

    ASSERT_TRUE (testsupport::pumpUntil ([this] { return sliding(); }));
    EXPECT_EQ (b().getBottom(), holder->getHeight());
    EXPECT_FALSE (opened());

    ASSERT_TRUE (testsupport::pumpUntil ([this] { return opened(); }));
    EXPECT_EQ (holder->getBounds(), juce::Rectangle<int> (0, 25, a().getWidth(), bothHeight()));
    EXPECT_TRUE (closeButton (false).isVisible() && closeButton (true).isVisible());
}

TEST_F (PanelsHolder, CloseButtonsSelectTheKeptChannelOnlyInDualMono)
{
    build (true, true, 0);
    click (closeButton (false));
    ASSERT_EQ (recorder.events.size(), 1u);
    EXPECT_EQ (recorder.events[0].naValue, juce::var (1));
    EXPECT_FALSE (aInFront());
    EXPECT_FALSE (showsNumberTwo (b()));
    ASSERT_TRUE (testsupport::pumpUntil ([this] { return sliding(); }));
    EXPECT_EQ (window.getHeight(), bothHeight() + 25);

    ASSERT_TRUE (testsupport::pumpUntil ([this] { return ! opened(); }));
    EXPECT_EQ (holder->getBounds(), juce::Rectangle<int> (0, 25, b().getWidth(), b().getHeight()));
    EXPECT_EQ (window.getHeight(), b().getHeight() + 25);
    EXPECT_TRUE (openButton().isVisible());

    manager.setParamValue (nullptr, ParamData::channel, 0.0f);
    manager.setNonAutomatableParamValue (nullptr, ParamData::panelsOpened, true);
    recorder.events.clear();
    click (closeButton (true));
    ASSERT_TRUE (testsupport::pumpUntil ([this] { return ! opened(); }));
    EXPECT_TRUE (aInFront());
    EXPECT_TRUE (recorder.eventsFor (ParamData::selectedChannel).empty());
}

TEST_F (PanelsHolder, ThemeChangeRebuildsBothPanelsOfTheOtherClass)
{
    build (false, false, 0);
    auto* vuvePanel = &a();
    ASSERT_NE (dynamic_cast<CvFrontPanel_vuVE*> (vuvePanel), nullptr);
    manager.setNonAutomatableParamValue (nullptr, ParamData::guiThemeChooser, 0);
    EXPECT_EQ (&a(), vuvePanel);

    manager.setNonAutomatableParamValue (nullptr, ParamData::guiThemeChooser, 1);
    EXPECT_TRUE (children<CvFrontPanel_oldGUI>().size() == 2u && children<CvFrontPanel>().size() == 2u);
    EXPECT_EQ (window.getHeight(), b().getHeight() + 25);
    EXPECT_NE (dynamic_cast<ClosePanelsButton*> (holder->getChildren().getLast()), nullptr);

    manager.setNonAutomatableParamValue (nullptr, ParamData::guiThemeChooser, 7);
    EXPECT_EQ (children<CvFrontPanel_vuVE>().size(), 2u);
}

// A restored state can switch between two values whose panels have the same size, which leaves the holder's size.
TEST_F (PanelsHolder, EveryThemeChangePlacesTheNewPanels)
{
    build (true, true, 0);

    for (const auto from : { 0, 1, 2 })
        for (const auto to : { 0, 1, 2 })
        {
            if (from == to)
                continue;

            manager.setNonAutomatableParamValue (nullptr, ParamData::guiThemeChooser, from);
            manager.setNonAutomatableParamValue (nullptr, ParamData::guiThemeChooser, to);

            EXPECT_EQ (holder->getHeight(), bothHeight()) << from << " to " << to;
            EXPECT_EQ (a().getPosition(), juce::Point<int>()) << from << " to " << to;
            EXPECT_EQ (b().getBounds(), a().getBounds().translated (0, a().getHeight())) << from << " to " << to;
        }
}

// A slide left running would end at a size that contradicts the mode the store asked for.
TEST_F (PanelsHolder, StoreChangeDuringSlideWinsAndNoEndStepFollows)
{
    build (false, true, 0);
    click (openButton());
    ASSERT_TRUE (testsupport::pumpUntil ([this] { return sliding(); }));

    manager.setParamValue (nullptr, ParamData::channel, 0.0f);
    EXPECT_FALSE (aInFront());
    EXPECT_EQ (window.getHeight(), b().getHeight() + 25);
    EXPECT_TRUE (openButton().isVisible());

    testsupport::pumpMessages (800);
    EXPECT_EQ (holder->getHeight(), b().getHeight());
    EXPECT_TRUE (recorder.events.empty());
}

TEST_F (PanelsHolder, DestructionDuringSlideDropsItWithoutStoreWrites)
{
    build (true, true, 1);
    const auto channelListeners = manager.automatableParams[ParamData::channel]->listeners.size();
    click (closeButton (true));
    ASSERT_TRUE (testsupport::pumpUntil ([this] { return sliding(); }));
    recorder.events.clear();

    holder.reset();
    testsupport::pumpMessages (800);
    EXPECT_TRUE (recorder.events.empty() && opened());
    EXPECT_EQ (manager.automatableParams[ParamData::channel]->listeners.size(), channelListeners - 3);
}
} // namespace holdertest
