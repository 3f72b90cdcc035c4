#include <link/Conversions.h>

#include <gtest/gtest.h>

namespace
{
using Conversions::Pair;

constexpr Pair linearPairs[] { Pair::hpfFrequency, Pair::gain, Pair::frequency, Pair::shelfAndBandwidth };

constexpr std::pair<Pair, int> flagPairs[] { { Pair::hpfInFlag, 2 },
                                             { Pair::eq1InFlag, 4 },
                                             { Pair::eq2InFlag, 8 },
                                             { Pair::peqInFlag, 16 },
                                             { Pair::engageFlag, 64 } };

// Written from the tables of the unit's value layout, not from the converters.
float referenceToParameter (Pair pair, int i)
{
    const auto has = [i] (int bit) { return (i & bit) != 0; };

    switch (pair)
    {
        case Pair::qSteps:
            return i == 255 ? 0.0f : (i == 127 ? 0.5f : (float) (8 - i / 32) / 8.0f);
        case Pair::kcsBoostSteps:
        {
            const float steps[] { 0.0f, 0.16666667f, 0.33333334f, 0.5f, 0.6666667f, 0.8333333f };
            const int bits[] { 64, 32, 16, 8, 4, 2 };

            for (int step = 0; step < 6; ++step)
                if (has (bits[step]))
                    return steps[step];

            return 1.0f;
        }
        case Pair::loCpsSteps:
            return has (8) ? 0.0f : (has (4) ? 0.33333334f : (has (2) ? 0.6666667f : 1.0f));
        case Pair::kcsAttenSteps:
            return has (16) ? 1.0f : (has (32) ? 0.5f : 0.0f);
        case Pair::direct:
            return i == 0 ? 0.0f : 1.0f; // the parameter is a switch: 0..1 only
        case Pair::hpfFrequency:
        case Pair::gain:
        case Pair::frequency:
        case Pair::shelfAndBandwidth:
        case Pair::hpfInFlag:
        case Pair::eq1InFlag:
        case Pair::eq2InFlag:
        case Pair::peqInFlag:
        case Pair::engageFlag:
            break;
    }

    for (const auto& [flag, bit] : flagPairs)
        if (flag == pair)
            return has (bit) ? 1.0f : 0.0f;

    return (float) i / 255.0f;
}

std::vector<Pair> allPairs()
{
    std::vector<Pair> pairs;

    for (int pair = (int) Pair::hpfFrequency; pair <= (int) Pair::direct; ++pair)
        pairs.push_back ((Pair) pair);

    return pairs;
}
} // namespace

TEST (Conversions, NearestRoundsTheSinglePrecisionProductHalvesToEven)
{
    EXPECT_EQ (Conversions::nearest (0.5f), 0);
    EXPECT_EQ (Conversions::nearest (1.5f), 2);
    EXPECT_EQ (Conversions::nearest (2.5f), 2);
    EXPECT_EQ (Conversions::nearest (127.5f), 128);
    EXPECT_EQ (Conversions::nearest (0.3f * 255.0f), 76) << "the product is exactly 76.5 in single precision";
}

TEST (Conversions, ParameterToDeviceEdgesOfEveryPair)
{
    const auto toDevice = [] (Pair pair, float x) { return Conversions::toDevice (pair) (x); };

    for (auto pair : linearPairs)
    {
        EXPECT_EQ (toDevice (pair, 0.5f), 128);
        EXPECT_EQ (toDevice (pair, 0.3f), 76);
        EXPECT_EQ (toDevice (pair, 0.1f), 26);
        EXPECT_EQ (toDevice (pair, 0.7f), 178);
        EXPECT_EQ (toDevice (pair, 0.0f), 0);
        EXPECT_EQ (toDevice (pair, 1.0f), 255);
    }

    const std::pair<float, int> qTable[] { { 0.0f, 255 }, { 0.125f, 224 }, { 0.25f, 192 }, { 0.375f, 160 },
                                           { 0.5f, 128 }, { 0.625f, 96 },  { 0.75f, 64 },  { 0.875f, 32 },
                                           { 1.0f, 0 },   { 0.0625f, 255 } };

    for (const auto& [x, i] : qTable)
        EXPECT_EQ (toDevice (Pair::qSteps, x), i) << x;

    const int kcsBoost[] { 64, 32, 16, 8, 4, 2, 1 };

    for (int n = 0; n <= 6; ++n)
        EXPECT_EQ (toDevice (Pair::kcsBoostSteps, (float) n / 6.0f), kcsBoost[n]) << n;

    EXPECT_EQ (toDevice (Pair::loCpsSteps, 0.0f), 8);
    EXPECT_EQ (toDevice (Pair::loCpsSteps, 0.33333334f), 4);
    EXPECT_EQ (toDevice (Pair::loCpsSteps, 0.5f), 2);
    EXPECT_EQ (toDevice (Pair::loCpsSteps, 1.0f), 1);

    EXPECT_EQ (toDevice (Pair::kcsAttenSteps, 0.25f), 64);
    EXPECT_EQ (toDevice (Pair::kcsAttenSteps, 0.5f), 32);
    EXPECT_EQ (toDevice (Pair::kcsAttenSteps, 0.75f), 16);

    for (const auto& [pair, bit] : flagPairs)
    {
        EXPECT_EQ (toDevice (pair, 0.5f), 0);
        EXPECT_EQ (toDevice (pair, 0.51f), bit);
    }

    EXPECT_EQ (toDevice (Pair::direct, 0.5f), 0);
    EXPECT_EQ (toDevice (Pair::direct, 0.51f), 1);

    EXPECT_EQ (Conversions::abFlagToDevice() (true), 32);
    EXPECT_EQ (Conversions::abFlagToDevice() (false), 0);
}

TEST (Conversions, DeviceToParameterEdgesOfEveryPair)
{
    const auto toParameter = [] (Pair pair, int i) { return Conversions::toParameter (pair) (i); };

    EXPECT_EQ (toParameter (Pair::gain, 128), 0.5019608f);
    EXPECT_EQ (toParameter (Pair::qSteps, 200), 0.25f);
    EXPECT_EQ (toParameter (Pair::qSteps, 255), 0.0f);
    EXPECT_EQ (toParameter (Pair::qSteps, 127), 0.5f);
    EXPECT_EQ (toParameter (Pair::kcsBoostSteps, 0), 1.0f);
    EXPECT_EQ (toParameter (Pair::kcsBoostSteps, 1), 1.0f);
    EXPECT_EQ (toParameter (Pair::kcsBoostSteps, 48), 0.16666667f);
    EXPECT_EQ (toParameter (Pair::kcsBoostSteps, 96), 0.0f);
    EXPECT_EQ (toParameter (Pair::loCpsSteps, 12), 0.0f);
    EXPECT_EQ (toParameter (Pair::loCpsSteps, 1), 1.0f);
    EXPECT_EQ (toParameter (Pair::kcsAttenSteps, 48), 1.0f);
    EXPECT_EQ (toParameter (Pair::kcsAttenSteps, 64), 0.0f);
    EXPECT_EQ (toParameter (Pair::engageFlag, 256 + 64), 1.0f) << "only the low byte counts";
    EXPECT_EQ (toParameter (Pair::engageFlag, 256), 0.0f);

    const auto abSelected = Conversions::abFlagToValue();
    EXPECT_TRUE (abSelected (32).isBool());
    EXPECT_TRUE ((bool) abSelected (32 | 64));
    EXPECT_FALSE ((bool) abSelected (256 + 31));
}

TEST (Conversions, EveryDeviceValueConvertsAsTheTablesSayAndDamagedOnesStayInRange)
{
    for (auto pair : allPairs())
    {
        const auto toParameter = Conversions::toParameter (pair);

        for (int i = 0; i <= 255; ++i)
            ASSERT_EQ (toParameter (i), referenceToParameter (pair, i)) << "pair " << (int) pair << ", value " << i;

        // Two seven-bit data bytes, the high one unmasked, carry up to 127 + 128 * 127.
        for (int i = 256; i <= 127 + 128 * 127; ++i)
        {
            const auto value = toParameter (i);
            ASSERT_TRUE (value >= 0.0f && value <= 1.0f) << "pair " << (int) pair << ", value " << i;
        }
    }

    const auto abSelected = Conversions::abFlagToValue();

    for (int i = 0; i <= 255; ++i)
        ASSERT_EQ ((bool) abSelected (i), (i & 32) != 0) << i;
}
