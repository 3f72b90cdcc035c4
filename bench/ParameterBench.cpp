#include "MessageThread.h"

#include <PluginInstance.h>

#include <benchmark/benchmark.h>

#include <chrono>

namespace
{
constexpr int gainIndex = ParamData::eq1Gain;

/** A store listener that publishes the last value it heard, for the writer thread to wait on. */
class LastValue : public juce::CvParamsManager::AutomatableParamListener
{
public:
    using juce::CvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int, float value) override { last.store (value); }

    std::atomic<float> last { -1.0f };
};

class Fixture
{
public:
    Fixture()
    {
        bench::onMessageThread (
            [this]
            {
                instance = std::make_unique<Vu418dPluginInstance>();
                manager().addParamListener (&lastValue, gainIndex, juce::CvParamsManager::registerOnly);
            });
    }

    ~Fixture()
    {
        bench::onMessageThread ([this] { instance.reset(); });
    }

    Vu418dParamsManager& manager() { return instance->getParamsManager(); }

    juce::CvDawParameter& gain()
    {
        return *static_cast<juce::CvDawParameter*> (manager().automatableParams[gainIndex]->hostParameter);
    }

    std::unique_ptr<Vu418dPluginInstance> instance;
    LastValue lastValue;
};

float alternate (int i)
{
    return (i & 1) != 0 ? 0.25f : 0.75f;
}
} // namespace

// A host automating at audio rate: every write changes the value, deliveries run concurrently.
static void hostSetValueChanging (benchmark::State& state)
{
    Fixture fixture;
    auto& gain = fixture.gain();
    int i = 0;

    for (auto _ : state)
        gain.setValue (alternate (++i));
}
BENCHMARK (hostSetValueChanging);

static void hostSetValueUnchanged (benchmark::State& state)
{
    Fixture fixture;
    auto& gain = fixture.gain();

    for (auto _ : state)
        gain.setValue (0.5f);
}
BENCHMARK (hostSetValueUnchanged);

// From the host's write to the moment every listener of the store has heard it on the message thread.
static void hostWriteToStoreRoundTrip (benchmark::State& state)
{
    Fixture fixture;
    auto& gain = fixture.gain();
    int i = 0;

    for (auto _ : state)
    {
        const auto value = alternate (++i);
        gain.setValue (value);

        while (fixture.lastValue.last.load() != value)
            std::this_thread::yield();
    }
}
BENCHMARK (hostWriteToStoreRoundTrip)->UseRealTime();

// The message thread's share alone: a pending host value applied to the store and its listeners.
static void messageThreadDelivery (benchmark::State& state)
{
    Fixture fixture;
    auto& gain = fixture.gain();
    int i = 0;

    for (auto _ : state)
    {
        std::chrono::duration<double> elapsed {};

        bench::onMessageThread (
            [&]
            {
                gain.setValue (alternate (++i));
                const auto start = std::chrono::steady_clock::now();
                gain.handleUpdateNowIfNeeded();
                elapsed = std::chrono::steady_clock::now() - start;
            });

        state.SetIterationTime (elapsed.count());
    }
}
BENCHMARK (messageThreadDelivery)->UseManualTime()->Iterations (20000);
