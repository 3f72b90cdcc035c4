// Loads a built bundle of the plug-in through JUCE's own VST3 or LV2 host, as a DAW would, and checks what the
// host sees: identity, parameters and their texts, audio pass-through and state recall.
// Usage: vu418d_host VST3|LV2 <absolute bundle path>; prints each failure and returns non-zero on any.

#include <juce_audio_processors/juce_audio_processors.h>

#include "ParamData.h"
#include "support/TemporaryHome.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr auto lv2Uri = "http://vuruvodu.example/plugins/vu418d-zuzo";

/** How JUCE's hosts differ between the formats. */
struct Format
{
    juce::String name;
    std::unique_ptr<juce::AudioPluginFormat> format;

    // What findAllTypesForFile takes: the bundle's path for VST3, the plug-in's URI for LV2.
    juce::String identifier;

    // JUCE's LV2 wrapper exports continuous parameters as plain floats without scale points, so JUCE's LV2 host
    // can only print the number; the plug-in's texts reach VST3 hosts only.
    bool carriesValueTexts;

    // The VST3 wrapper takes any layout the plug-in accepts; JUCE's LV2 host only the ports the bundle declares.
    bool mustAcceptMonoInput;

    // The VST3 host shows the plug-in's own bypass parameter; JUCE's LV2 host names the "enabled" port "Bypass".
    bool showsBypassName;
};

class Checker
{
public:
    explicit Checker (const juce::String& formatName)
        : prefix ("[" + formatName + "] ")
    {
    }

    bool expect (bool condition, const juce::String& what)
    {
        if (! condition)
        {
            std::cout << prefix << "FAIL: " << what << std::endl;
            ++failures;
        }

        return condition;
    }

    void note (const juce::String& what) const { std::cout << prefix << what << std::endl; }

    int failures = 0;

private:
    juce::String prefix;
};

void process (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    instance.processBlock (buffer, midi);
}

// Host writes reach the plug-in on a later turn of its message loop, and JUCE's LV2 host exchanges values with
// the plug-in only while a block runs, so every change is followed by pumping and silent blocks, as in a DAW.
void settle (juce::AudioPluginInstance& instance)
{
    juce::AudioBuffer<float> silence (2, blockSize);

    for (int i = 0; i < 2; ++i)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        silence.clear();
        process (instance, silence);
    }
}

// An LV2 host scans the folders that hold bundles and then knows each plug-in by its URI, which sessions store.
juce::String findIdentifier (const Format& format, const juce::String& bundlePath, Checker& checker)
{
    if (format.name != "LV2")
        return bundlePath;

    const juce::FileSearchPath folder (juce::File (bundlePath).getParentDirectory().getFullPathName());
    const auto uris = format.format->searchPathsForPlugins (folder, false, true);

    checker.expect (uris.contains (lv2Uri), "no plug-in with URI " + juce::String (lv2Uri) + " beside " + bundlePath);
    return lv2Uri;
}

std::unique_ptr<juce::AudioPluginInstance> load (const Format& format, Checker& checker)
{
    juce::OwnedArray<juce::PluginDescription> types;
    format.format->findAllTypesForFile (types, format.identifier);

    if (! checker.expect (types.size() == 1,
                          "expected one plug-in for " + format.identifier + ", found " + juce::String (types.size())))
        return {};

    checker.expect (types[0]->name == "Vu418d ZUZO", "plug-in name is \"" + types[0]->name + "\"");

    juce::String error;
    auto instance = format.format->createInstanceFromDescription (*types[0], sampleRate, blockSize, error);
    checker.expect (instance != nullptr, "cannot create an instance: " + error);
    return instance;
}

// Both JUCE hosts list the bypass among the parameters: the VST3 wrapper must export it as a parameter and
// appends it when the plug-in does not list it, and JUCE's LV2 host turns the "enabled" port into one.
juce::Array<juce::AudioProcessorParameter*> unitParameters (juce::AudioPluginInstance& instance)
{
    auto parameters = instance.getParameters();
    parameters.removeFirstMatchingValue (instance.getBypassParameter());
    return parameters;
}

// JUCE's LV2 host lists the parameters sorted by symbol, so they are found by name.
juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
{
    for (auto* parameter : unitParameters (instance))
        if (parameter->getName (1024) == name)
            return parameter;

    return nullptr;
}

void checkParameters (const Format& format, juce::AudioPluginInstance& instance, Checker& checker)
{
    auto* bypass = instance.getBypassParameter();

    if (checker.expect (bypass != nullptr, "no bypass parameter"))
    {
        checker.expect (instance.getParameters().contains (bypass), "the bypass is not listed");

        if (format.showsBypassName)
            checker.expect (bypass->getName (1024) == "Master Bypass",
                            "bypass is named \"" + bypass->getName (1024) + "\", not \"Master Bypass\"");
    }

    const auto parameters = unitParameters (instance);
    checker.expect (parameters.size() == ParamData::numAutomatable,
                    juce::String (parameters.size()) + " parameters besides the bypass, expected 42");

    for (auto* name : ParamData::paramName)
        checker.expect (findParameter (instance, name) != nullptr,
                        "no parameter named \"" + juce::String (name) + "\"");

    struct Expected
    {
        const char* name;
        float defaultValue;
        float value;
        const char* text;
    };

    const Expected table[] { { "EQ1 GAIN 1/LINK", 0.5f, 0.0f, "-15.0" }, { "EQ1 GAIN 1/LINK", 0.5f, 1.0f, "15.0" },
                             { "ENGAGE 1/LINK", 1.0f, 1.0f, "ON" },      { "ENGAGE 1/LINK", 1.0f, 0.0f, "OFF" },
                             { "HPF FREQ 1/LINK", 0.0f, 0.0f, "18 Hz" }, { "CHANNEL", 0.0f, 1.0f, "DUAL MONO" },
                             { "CHANNEL", 0.0f, 0.0f, "STEREO" } };

    for (const auto& row : table)
    {
        auto* parameter = findParameter (instance, row.name);

        if (parameter == nullptr)
            continue;

        checker.expect (parameter->getDefaultValue() == row.defaultValue,
                        juce::String (row.name) + " defaults to " + juce::String (parameter->getDefaultValue()));

        const auto text = parameter->getText (row.value, 1024);

        if (format.carriesValueTexts)
            checker.expect (text == row.text, juce::String (row.name) + " at " + juce::String (row.value) +
                                                  " reads \"" + text + "\", expected \"" + row.text + "\"");
    }
}

bool channelsAreIdentical (const juce::AudioBuffer<float>& a, int channelA, const juce::AudioBuffer<float>& b,
                           int channelB)
{
    return std::memcmp (a.getReadPointer (channelA), b.getReadPointer (channelB),
                        sizeof (float) * (size_t) a.getNumSamples()) == 0;
}

void checkAudio (const Format& format, juce::AudioPluginInstance& instance, Checker& checker)
{
    juce::AudioBuffer<float> input (2, blockSize);
    juce::Random random (418);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < blockSize; ++i)
            input.setSample (channel, i, random.nextFloat() * 2.0f - 1.0f);

    instance.prepareToPlay (sampleRate, blockSize);
    auto buffer = input;
    process (instance, buffer);

    for (int channel = 0; channel < 2; ++channel)
        checker.expect (channelsAreIdentical (buffer, channel, input, channel),
                        "stereo channel " + juce::String (channel) + " is not passed through bit for bit");

    instance.releaseResources();

    juce::AudioProcessor::BusesLayout monoToStereo;
    monoToStereo.inputBuses.add (juce::AudioChannelSet::mono());
    monoToStereo.outputBuses.add (juce::AudioChannelSet::stereo());

    if (! instance.setBusesLayout (monoToStereo))
    {
        if (checker.expect (! format.mustAcceptMonoInput, "mono input with stereo output is refused"))
            checker.note ("the format refuses mono input with stereo output; not checked");

        return;
    }

    instance.prepareToPlay (sampleRate, blockSize);
    buffer = input; // the second channel holds noise the plug-in must clear
    process (instance, buffer);

    juce::AudioBuffer<float> silence (1, blockSize);
    silence.clear();

    checker.expect (channelsAreIdentical (buffer, 0, input, 0), "mono input is not passed to the first output");
    checker.expect (channelsAreIdentical (buffer, 1, silence, 0), "second output is not cleared with a mono input");

    instance.releaseResources();
}

void checkState (const Format& format, Checker& checker)
{
    const std::pair<const char*, float> changes[] {
        { "ENGAGE 1/LINK", 0.0f }, { "EQ1 GAIN 1/LINK", 0.25f }, { "HPF FREQ 2", 0.75f }, { "CHANNEL", 1.0f }
    };

    auto original = load (format, checker);
    auto restored = load (format, checker);

    if (original == nullptr || restored == nullptr)
        return;

    original->prepareToPlay (sampleRate, blockSize);

    for (const auto& [name, value] : changes)
        if (auto* parameter = findParameter (*original, name))
            parameter->setValue (value);

    settle (*original);

    // Otherwise a restore that loses everything could still compare equal.
    for (const auto& [name, value] : changes)
        if (auto* parameter = findParameter (*original, name))
            checker.expect (parameter->getValue() == value, juce::String (name) + " reads " +
                                                                juce::String (parameter->getValue()) +
                                                                " after the host set " + juce::String (value));

    juce::MemoryBlock state;
    original->getStateInformation (state);

    restored->prepareToPlay (sampleRate, blockSize);
    restored->setStateInformation (state.getData(), (int) state.getSize());
    settle (*restored);

    // Both instances list the parameters in the same order.
    const auto saved = unitParameters (*original);
    const auto recalled = unitParameters (*restored);

    for (int i = 0; i < juce::jmin (saved.size(), recalled.size()); ++i)
        checker.expect (recalled[i]->getValue() == saved[i]->getValue(),
                        "restored " + recalled[i]->getName (1024) + " is " + juce::String (recalled[i]->getValue()) +
                            ", saved " + juce::String (saved[i]->getValue()));

    restored->releaseResources();
    original->releaseResources();
}

// A host that reads the values back, saves the project or takes an undo snapshot right after a restore must get
// the restored state, whatever it wrote just before. JUCE's LV2 host exchanges values with the plug-in only while
// a block runs: a write it takes just before a restore reaches the plug-in after it, and the restored values
// reach the host in the next block. There the writes are made and settled first, and read after one block.
void checkRestoreIsInEffectWhenItReturns (const Format& format, Checker& checker)
{
    auto instance = load (format, checker);

    if (instance == nullptr)
        return;

    instance->prepareToPlay (sampleRate, blockSize);
    settle (*instance);

    juce::MemoryBlock state;
    instance->getStateInformation (state);
    juce::Random random (9);
    const auto parameters = unitParameters (*instance);
    const auto exchangesInBlocks = format.name == "LV2";
    std::vector<float> saved;

    for (auto* parameter : parameters)
        saved.push_back (parameter->getValue());

    if (exchangesInBlocks)
    {
        for (auto* parameter : parameters)
            parameter->setValue (random.nextFloat());

        settle (*instance);
    }

    for (int index = 0; index < parameters.size(); ++index)
    {
        auto* parameter = parameters[index];

        if (! exchangesInBlocks)
            parameter->setValue (random.nextFloat());

        instance->setStateInformation (state.getData(), (int) state.getSize());

        if (exchangesInBlocks)
        {
            juce::AudioBuffer<float> silence (2, blockSize);
            silence.clear();
            process (*instance, silence);
        }

        checker.expect (parameter->getValue() == saved[(size_t) index],
                        parameter->getName (1024) + " reads " + juce::String (parameter->getValue()) +
                            " right after the restore, saved " + juce::String (saved[(size_t) index]));
    }

    instance->releaseResources();
}

// JUCE's LV2 host frees and makes the plug-in anew in prepareToPlay, on its own thread, right after a restore.
void checkRestoreThenReprepare (const Format& format, Checker& checker)
{
    auto instance = load (format, checker);

    if (instance == nullptr)
        return;

    juce::MemoryBlock state;
    instance->getStateInformation (state);

    for (int round = 0; round < 20; ++round)
    {
        instance->setStateInformation (state.getData(), (int) state.getSize());
        instance->prepareToPlay (sampleRate, blockSize);
        instance->releaseResources();
    }

    settle (*instance);
}

std::unique_ptr<juce::AudioPluginFormat> createFormat (const juce::String& name)
{
    if (name == "VST3")
        return std::make_unique<juce::VST3PluginFormat>();

    if (name == "LV2")
        return std::make_unique<juce::LV2PluginFormat>();

    return {};
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 3 || createFormat (argv[1]) == nullptr || ! juce::File::isAbsolutePath (argv[2]))
    {
        std::cout << "usage: vu418d_host VST3|LV2 <absolute bundle path>" << std::endl;
        return 2;
    }

    const testsupport::TemporaryHome home;
    const juce::ScopedJuceInitialiser_GUI juce;

    const juce::String formatName (argv[1]);
    const auto isVst3 = formatName == "VST3";
    Format format { formatName, createFormat (formatName), {}, isVst3, isVst3, isVst3 };
    Checker checker (formatName);
    format.identifier = findIdentifier (format, argv[2], checker);

    if (auto instance = load (format, checker))
    {
        checkParameters (format, *instance, checker);
        checkAudio (format, *instance, checker);
        checkState (format, checker);
        checkRestoreIsInEffectWhenItReturns (format, checker);
        checkRestoreThenReprepare (format, checker);
    }

    checker.note (checker.failures == 0 ? "all checks passed" : juce::String (checker.failures) + " failures");
    return checker.failures == 0 ? 0 : 1;
}
