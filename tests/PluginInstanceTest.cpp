#include "support/MessageLoop.h"

#include <Identifiers.h>
#include <PluginInstance.h>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// Tells the test when the object that owns it deletes it; the flag outlives a test whose instance still holds
// the command when the test body has returned.
class TrackedCommand : public juce::CvCommand
{
public:
    TrackedCommand (const juce::Identifier& commandId, std::shared_ptr<bool> deletedFlag)
        : juce::CvCommand (commandId)
        , deleted (std::move (deletedFlag))
    {
    }

    ~TrackedCommand() override { *deleted = true; }

private:
    std::shared_ptr<bool> deleted;
};

juce::AudioBuffer<float> noiseBuffer (int channels, int samples)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    juce::Random random (42);

    for (int channel = 0; channel < channels; ++channel)
        for (int sample = 0; sample < samples; ++sample)
            buffer.setSample (channel, sample, random.nextFloat() * 2.0f - 1.0f);

    return buffer;
}

bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel)
{
    return std::memcmp (a.getReadPointer (channel), b.getReadPointer (channel),
                        sizeof (float) * (size_t) a.getNumSamples()) == 0;
}

class PluginInstanceTest : public testing::Test
{
protected:
    Vu418dPluginInstance instance;
};
} // namespace

TEST_F (PluginInstanceTest, DescribesItselfAsStereoEffectSendingNoMidiToTheHost)
{
    EXPECT_EQ (instance.getName(), "Vu418d ZUZO");
    EXPECT_EQ (instance.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (instance.acceptsMidi());
    EXPECT_TRUE (instance.producesMidi());
    EXPECT_FALSE (instance.isMidiEffect());
    EXPECT_EQ (instance.getNumPrograms(), 1);
    EXPECT_EQ (instance.getCurrentProgram(), 0);
    EXPECT_TRUE (instance.getProgramName (0).isEmpty());
    EXPECT_TRUE (instance.hasEditor());

    ASSERT_EQ (instance.getBusCount (true), 1);
    ASSERT_EQ (instance.getBusCount (false), 1);
    EXPECT_EQ (instance.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (instance.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (instance.getBus (true, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_EQ (instance.getBus (false, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
}

TEST_F (PluginInstanceTest, StereoBlockPassesThroughBitForBitWithMidiUntouched)
{
    instance.prepareToPlay (48000.0, 64);
    auto buffer = noiseBuffer (2, 64);
    const auto original = buffer;
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, 0.5f), 3);

    instance.processBlock (buffer, midi);

    EXPECT_TRUE (sameSamples (buffer, original, 0));
    EXPECT_TRUE (sameSamples (buffer, original, 1));
    ASSERT_EQ (midi.getNumEvents(), 1);
    EXPECT_EQ ((*midi.begin()).samplePosition, 3);
}

TEST_F (PluginInstanceTest, MonoInputClearsOnlyTheOutputWithoutInput)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::mono());
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    ASSERT_TRUE (instance.setBusesLayout (layout));
    ASSERT_EQ (instance.getTotalNumInputChannels(), 1);

    auto buffer = noiseBuffer (2, 64);
    const auto original = buffer;
    juce::MidiBuffer midi;
    instance.processBlock (buffer, midi);

    EXPECT_TRUE (sameSamples (buffer, original, 0));
    EXPECT_EQ (buffer.getMagnitude (1, 0, 64), 0.0f);
}

TEST_F (PluginInstanceTest, OffersBypassToTheHostButListsOnlyTheFortyTwoStoreParameters)
{
    auto* bypass = dynamic_cast<juce::AudioParameterBool*> (instance.getBypassParameter());
    ASSERT_NE (bypass, nullptr);
    EXPECT_EQ (bypass->getParameterID(), "byps");
    EXPECT_EQ (bypass->getName (100), "Master Bypass");
    EXPECT_EQ (instance.getBypassParameter()->getDefaultValue(), 0.0f);
    EXPECT_FALSE (bypass->get());

    const auto& parameters = instance.getParameters();
    ASSERT_EQ (parameters.size(), 42);
    EXPECT_FALSE (parameters.contains (bypass));

    auto& manager = instance.getParamsManager();

    for (int index = 0; index < parameters.size(); ++index)
        EXPECT_EQ (parameters[index], manager.automatableParams[index]->hostParameter) << index;
}

TEST_F (PluginInstanceTest, ParksTheNewestDeviceSelectorCommandNoListenerTook)
{
    const auto firstDeleted = std::make_shared<bool> (false);
    const auto secondDeleted = std::make_shared<bool> (false);
    ASSERT_EQ (instance.getParkedCommand(), nullptr);

    instance.sendCommand (std::make_unique<TrackedCommand> (Ids::cvVu418d::showDeviceSelector, firstDeleted));
    ASSERT_TRUE (testsupport::pumpUntil ([this] { return instance.getParkedCommand() != nullptr; }));
    EXPECT_EQ (instance.getParkedCommand()->id, Ids::cvVu418d::showDeviceSelector);
    const auto* first = instance.getParkedCommand();

    instance.sendCommand (std::make_unique<TrackedCommand> (Ids::cvVu418d::showDeviceSelector, secondDeleted));
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return *firstDeleted; }));
    EXPECT_NE (instance.getParkedCommand(), nullptr);
    EXPECT_NE (instance.getParkedCommand(), first);
    EXPECT_FALSE (*secondDeleted);
}

TEST_F (PluginInstanceTest, UnknownCommandIsDeletedAndLeavesTheParkedOne)
{
    const auto parkedDeleted = std::make_shared<bool> (false);
    const auto unknownDeleted = std::make_shared<bool> (false);
    instance.commandFallback (std::make_unique<TrackedCommand> (Ids::cvVu418d::showDeviceSelector, parkedDeleted));
    const auto* parked = instance.getParkedCommand();

    instance.commandFallback (std::make_unique<TrackedCommand> (juce::Identifier ("somethingElse"), unknownDeleted));

    EXPECT_TRUE (*unknownDeleted);
    EXPECT_FALSE (*parkedDeleted);
    EXPECT_EQ (instance.getParkedCommand(), parked);
}
