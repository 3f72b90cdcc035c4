#include "MessageThread.h"
#include "Scaling.h"

#include <PluginInstance.h>

#include <benchmark/benchmark.h>

#include <chrono>

namespace
{
using Clock = std::chrono::steady_clock;

/** The yardstick for instance creation: a plain JUCE processor with 42 ordinary parameters. */
class MinimalProcessor : public juce::AudioProcessor
{
public:
    MinimalProcessor()
        : AudioProcessor (BusesProperties()
                              .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                              .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    {
        for (int i = 0; i < 42; ++i)
            addParameter (new juce::AudioParameterFloat (juce::ParameterID ("p" + juce::String (i), 1),
                                                         "Parameter " + juce::String (i), 0.0f, 1.0f, 0.5f));
    }

    const juce::String getName() const override { return "Minimal"; }
    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    using AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}
    void getStateInformation (juce::MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}
};

// Instances live on the message thread, as in a host; only the work inside is timed.
template <typename Processor>
void createAndDestroy (benchmark::State& state)
{
    for (auto _ : state)
    {
        Clock::duration elapsed {};

        bench::onMessageThread (
            [&]
            {
                const auto start = Clock::now();
                std::make_unique<Processor>().reset();
                elapsed = Clock::now() - start;
            });

        state.SetIterationTime (std::chrono::duration<double> (elapsed).count());
    }
}

juce::ValueTree plainTreeOfStateShape()
{
    juce::ValueTree root ("ROOT");

    for (auto [type, count] : { std::pair { "PRESET", 42 }, std::pair { "SETTINGS", 10 } })
    {
        juce::ValueTree node (type);

        for (int i = 0; i < count; ++i)
            node.appendChild (juce::ValueTree ("PARAM")
                                  .setProperty ("NAME", "EQ1 GAIN 1/LINK", nullptr)
                                  .setProperty ("PARAM_ID", i, nullptr)
                                  .setProperty ("VALUE", 0.5, nullptr),
                              nullptr);

        root.appendChild (node, nullptr);
    }

    return root;
}

class InstanceOnMessageThread
{
public:
    InstanceOnMessageThread()
    {
        bench::onMessageThread ([this] { instance = std::make_unique<Vu418dPluginInstance>(); });
    }

    ~InstanceOnMessageThread()
    {
        bench::onMessageThread ([this] { instance.reset(); });
    }

    std::unique_ptr<Vu418dPluginInstance> instance;
};
} // namespace

BENCHMARK_TEMPLATE (createAndDestroy, Vu418dPluginInstance)->UseManualTime()->Iterations (2000);
BENCHMARK_TEMPLATE (createAndDestroy, MinimalProcessor)->UseManualTime()->Iterations (2000);

static void getStateInformation (benchmark::State& state)
{
    InstanceOnMessageThread plugin;
    juce::MemoryBlock blob;

    for (auto _ : state)
        plugin.instance->getStateInformation (blob);

    state.SetBytesProcessed ((int64_t) state.iterations() * (int64_t) blob.getSize());
}
BENCHMARK (getStateInformation);

static void writePlainValueTree (benchmark::State& state)
{
    const auto tree = plainTreeOfStateShape();
    juce::MemoryBlock blob;

    for (auto _ : state)
    {
        juce::MemoryOutputStream stream (blob, false);
        tree.writeToStream (stream);
    }
}
BENCHMARK (writePlainValueTree);

// Restoring on the message thread, where hosts normally do it: the store and its listeners are updated inline.
static void setStateInformation (benchmark::State& state)
{
    InstanceOnMessageThread plugin;
    juce::MemoryBlock blob;
    plugin.instance->getStateInformation (blob);

    for (auto _ : state)
    {
        Clock::duration elapsed {};

        bench::onMessageThread (
            [&]
            {
                const auto start = Clock::now();
                plugin.instance->setStateInformation (blob.getData(), (int) blob.getSize());
                elapsed = Clock::now() - start;
            });

        state.SetIterationTime (std::chrono::duration<double> (elapsed).count());
    }
}
BENCHMARK (setStateInformation)->UseManualTime()->Iterations (2000);

// Restoring from a host's own thread, as hosts on Linux do: the same work with the message thread held for it.
static void setStateInformationFromHostThread (benchmark::State& state)
{
    InstanceOnMessageThread plugin;
    juce::MemoryBlock blob;
    plugin.instance->getStateInformation (blob);

    for (auto _ : state)
        plugin.instance->setStateInformation (blob.getData(), (int) blob.getSize());
}
BENCHMARK (setStateInformationFromHostThread)->Iterations (2000);

// Made and destroyed on a host's own thread: destruction holds the message thread.
static void createAndDestroyOnHostThread (benchmark::State& state)
{
    for (auto _ : state)
        std::make_unique<Vu418dPluginInstance>().reset();
}
BENCHMARK (createAndDestroyOnHostThread)->Iterations (2000);

static void readPlainValueTree (benchmark::State& state)
{
    juce::MemoryOutputStream stream;
    plainTreeOfStateShape().writeToStream (stream);

    for (auto _ : state)
        benchmark::DoNotOptimize (juce::ValueTree::readFromData (stream.getData(), stream.getDataSize()));
}
BENCHMARK (readPlainValueTree);

// A stereo preset file that repeats one parameter element for a megabyte (and four), restored from a host's thread
// while the message thread is held, until the stereo linkers' copies have run.
static void restoreRepeatedStereoPreset (benchmark::State& state)
{
    InstanceOnMessageThread plugin;

    bench::measureScaling (state,
                           [&] (int scale)
                           {
                               juce::MemoryOutputStream xml;
                               xml << "<preset state=\"stereo\"><parameters>";

                               for (int i = 0; i < scale * 62500; ++i)
                                   xml << "<0 value=\"0.5\"/>";

                               xml << "</parameters></preset>";

                               const auto start = Clock::now();
                               plugin.instance->setStateInformation (xml.getData(), (int) xml.getDataSize());
                               return bench::secondsUntilMessagesRan (start);
                           });
}
BENCHMARK (restoreRepeatedStereoPreset)->UseManualTime()->Iterations (3);

// Presets of 4,000 distinct names each, restored one after another into new instances: the last of 80 restores
// should cost what the first did.
static void restoreDocumentsOfManyNames (benchmark::State& state)
{
    static int documentNumber = 0;
    double first = 0.0, last = 0.0;

    for (auto _ : state)
    {
        juce::StringPool::getGlobalPool().garbageCollect(); // as in a process that has read none yet

        for (int i = 0; i < 80; ++i)
        {
            juce::MemoryOutputStream xml;
            xml << "<preset><parameters>";

            for (int name = 0; name < 4000; ++name)
                xml << "<d" << documentNumber << "n" << name << "/>";

            xml << "</parameters></preset>";
            ++documentNumber;

            InstanceOnMessageThread plugin;
            const auto start = Clock::now();
            plugin.instance->setStateInformation (xml.getData(), (int) xml.getDataSize());
            const auto seconds = std::chrono::duration<double> (Clock::now() - start).count();

            if (i == 0)
                first += seconds;

            if (i == 79)
            {
                last += seconds;
                state.SetIterationTime (seconds);
            }
        }
    }

    state.counters["first_ms"] = 1000.0 * first / (double) state.iterations();
    state.counters["last_ms"] = 1000.0 * last / (double) state.iterations();
    state.counters["ratio"] = last / first;
}
BENCHMARK (restoreDocumentsOfManyNames)->UseManualTime()->Iterations (3);

static void processBlockStereo512 (benchmark::State& state)
{
    InstanceOnMessageThread plugin;
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    buffer.clear();
    plugin.instance->prepareToPlay (48000.0, 512);

    for (auto _ : state)
    {
        plugin.instance->processBlock (buffer, midi);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (processBlockStereo512);
