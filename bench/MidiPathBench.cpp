#include "MessageThread.h"
#include "Scaling.h"

#include <PluginInstance.h>
#include <support/EmulatedUnit.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <future>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

/** A plug-in instance bound to an emulated unit, with the binding's recall over. */
class BoundInstance
{
public:
    BoundInstance()
    {
        bench::onMessageThread ([this] { instance = std::make_unique<Vu418dPluginInstance>(); });
        waitOnMessageThread ([this] { return instance->getMidiManager()->devices.size() == 1; });
        bench::onMessageThread ([this] { instance->timerCallback(); });
        waitOnMessageThread ([this] { return instance->getBridge() != nullptr; });
        std::this_thread::sleep_for (std::chrono::milliseconds (700));
    }

    ~BoundInstance()
    {
        bench::onMessageThread ([this] { instance.reset(); });
    }

    juce::CvDawParameter& hostParameter (int index) const
    {
        return *static_cast<juce::CvDawParameter*> (
            instance->getParamsManager().automatableParams[index]->hostParameter);
    }

    testsupport::EmulatedUnit unit { { "Vuruvodu RX 418T", 1, 1 }, 5 };
    std::unique_ptr<Vu418dPluginInstance> instance;

private:
    static void waitOnMessageThread (const std::function<bool()>& condition)
    {
        for (auto done = false; ! done; std::this_thread::sleep_for (std::chrono::milliseconds (10)))
            bench::onMessageThread ([&] { done = condition(); });
    }
};

using Bytes = testsupport::EmulatedUnit::Bytes;

// The unit sends one packet list while the message thread is busy, as when it paints; timed until the read thread
// has delivered it and every message that posted has run.
double secondsForPacketList (testsupport::EmulatedUnit& unit, const std::vector<Bytes>& packets)
{
    std::promise<void> release;
    juce::MessageManager::callAsync ([busy = release.get_future().share()] { busy.wait(); });

    const auto start = Clock::now();
    unit.sendPackets (packets);
    testsupport::EmulatedUnit::waitForDeliveries();
    release.set_value();
    return bench::secondsUntilMessagesRan (start);
}

float alternate (int i)
{
    return (i & 1) != 0 ? 0.25f : 0.75f;
}

void addSpread (benchmark::internal::Benchmark* b)
{
    b->UseManualTime()->Repetitions (10)->ReportAggregatesOnly()->ComputeStatistics (
        "max", [] (const std::vector<double>& v) { return *std::max_element (v.begin(), v.end()); });
}
} // namespace

// A host automation write on the host's thread until the unit has the message: the hand-over to the message
// thread, the store, the mirror and the MIDI services' send thread.
static void hostWriteToUnit (benchmark::State& state)
{
    BoundInstance bound;
    auto& gain = bound.hostParameter (ParamData::eq1Gain);
    int i = 0;

    for (auto _ : state)
    {
        const auto before = bound.unit.numReceived();
        const auto start = Clock::now();
        gain.setValue (alternate (++i));

        while (bound.unit.numReceived() == before)
            std::this_thread::yield();

        state.SetIterationTime (std::chrono::duration<double> (Clock::now() - start).count());
    }
}
BENCHMARK (hostWriteToUnit)->Apply (addSpread);

// A knob turned on the unit until the host-facing parameter holds the value: the services' read thread, the
// bridge, the mirror's slot and the message thread.
static void unitValueToHost (benchmark::State& state)
{
    BoundInstance bound;
    auto& gain = bound.hostParameter (ParamData::eq1Gain);
    int i = 0;

    for (auto _ : state)
    {
        const auto deviceValue = (++i & 1) != 0 ? 64 : 192;
        const auto expected = (float) deviceValue / 255.0f;
        const auto start = Clock::now();
        bound.unit.sendParameter (1, deviceValue);

        while (gain.getValue() != expected)
            std::this_thread::yield();

        state.SetIterationTime (std::chrono::duration<double> (Clock::now() - start).count());
    }
}
BENCHMARK (unitValueToHost)->Apply (addSpread);

// A burst of firmware replies, 32k and 128k of them in one packet list, each handing over whether the unit can
// switch to mid/side.
static void firmwareReplyBurst (benchmark::State& state)
{
    BoundInstance bound;

    bench::measureScaling (state,
                           [&] (int scale)
                           {
                               const std::vector<Bytes> replies ((size_t) scale * 32768,
                                                                 testsupport::EmulatedUnit::textReply (5, "SV: 228"));
                               return secondsForPacketList (bound.unit, replies);
                           });
}
BENCHMARK (firmwareReplyBurst)->UseManualTime()->Iterations (5);

// One text reply of 16 KiB, and one of 64 KiB less the byte that a packet cannot hold, full of abbreviations.
static void longTextReply (benchmark::State& state)
{
    BoundInstance bound;

    bench::measureScaling (state,
                           [&] (int scale)
                           {
                               const auto size = (size_t) scale * 16384 - (scale == 4 ? 1 : 0);
                               std::string text;

                               while (text.size() < (size - 7) * 7 / 8)
                                   text += "SV: 228 UT: MC ";

                               text.resize ((size - 7) * 7 / 8);
                               const auto reply = testsupport::EmulatedUnit::textReply (5, text);
                               return secondsForPacketList (bound.unit, { reply });
                           });
}
BENCHMARK (longTextReply)->UseManualTime()->Iterations (3);
