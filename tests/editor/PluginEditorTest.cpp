#include "support/ScopedSettingsFile.h"

#include <editor/PluginEditor.h>
#include <PluginInstance.h>

#include <gtest/gtest.h>

namespace
{
class PluginEditorTest : public testing::Test
{
protected:
    void setNonAutomatable (int index, const juce::var& value)
    {
        instance.getParamsManager().setNonAutomatableParamValue (nullptr, index, value);
    }

    std::unique_ptr<juce::AudioProcessorEditor> open()
    {
        return std::unique_ptr<juce::AudioProcessorEditor> (instance.createEditor());
    }

    testsupport::ScopedSettingsFile settingsFile;
    Vu418dPluginInstance instance;
};
} // namespace

TEST_F (PluginEditorTest, IsAsLargeAsItsPanelsAndTheMenuBarAndRebuiltFromTheStoreOnEveryOpening)
{
    auto editor = open();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 1272, 232 + 25));

    auto* menuBar = editor->getChildComponent (0);
    auto* holder = editor->getChildComponent (1);
    ASSERT_TRUE (menuBar != nullptr && holder != nullptr);
    EXPECT_EQ (menuBar->getBounds(), juce::Rectangle<int> (0, 0, 1272, 25));
    EXPECT_EQ (holder->getY(), 25);
    editor.reset();

    setNonAutomatable (ParamData::panelsOpened, true);
    editor = open();
    EXPECT_EQ (editor->getHeight(), 2 * 232 + 25);
}

// A host that is a JUCE application in the same process shares the default look-and-feel and the fonts found
// through it.
TEST_F (PluginEditorTest, LeavesTheProcessWideLookAndFeelAndFontsToTheHost)
{
    auto& hostLookAndFeel = juce::LookAndFeel::getDefaultLookAndFeel();
    const auto hostFace = juce::Font (15.0f).getTypefacePtr()->getName();
    const auto expectHostsOwn = [&]
    {
        EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &hostLookAndFeel);
        EXPECT_EQ (juce::Font (15.0f).getTypefacePtr()->getName(), hostFace);
    };

    auto editor = open();
    auto* menuBar = dynamic_cast<MenuBar*> (editor->getChildComponent (0));
    ASSERT_NE (menuBar, nullptr);
    menuBar->openMenu();
    menuBar->openDeviceSelector();
    expectHostsOwn();

    editor.reset();
    expectHostsOwn();
}

TEST_F (PluginEditorTest, OpensInEitherThemeWithItsChildrenDrawingThroughItsLookAndFeel)
{
    for (const auto theme : { 0, 1 })
    {
        setNonAutomatable (ParamData::guiThemeChooser, theme);
        auto editor = open();
        juce::Image image (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (image);
        editor->paintEntireComponent (g, false);
        EXPECT_NE (dynamic_cast<VuruvoduLookAndFeel*> (&editor->getChildComponent (1)->getLookAndFeel()), nullptr)
            << theme;
    }
}
