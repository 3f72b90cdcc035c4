#include "ValueTexts.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <locale>
#include <string>
#include <vector>

namespace
{
using TextFunction = juce::String (*) (float);
using Table = std::array<int, 16>;

// Reference arithmetic of the unit's read-outs, kept deliberately plain so it can be checked by eye.
int referenceStep (float v)
{
    return (int) std::fmaf (255.0f, v, 0.5f);
}

std::string tenthsText (int tenths)
{
    return std::to_string (tenths / 10) + "." + std::to_string (tenths % 10);
}

int interpolate (const Table& t, int n)
{
    const int p = 256 * n;
    const auto s = (size_t) (p / 4630);
    const int f = (p - 4630 * (int) s) / 16;
    return t[s] + f * (t[s + 1] - t[s]) / 290;
}

constexpr Table hpfTable { 18, 21, 24, 28, 36, 44, 52, 60, 80, 100, 120, 140, 160, 180, 200, 200 };
constexpr Table eq1Table { 45, 100, 150, 180, 230, 270, 300, 360, 400, 460, 520, 620, 700, 840, 999, 999 };
constexpr Table eq2Table { 6, 15, 22, 28, 35, 41, 47, 50, 61, 69, 79, 90, 106, 125, 150, 150 };
constexpr Table gainTable { 0, 5, 10, 15, 20, 25, 35, 40, 50, 60, 75, 90, 100, 120, 150, 150 };

std::string gainReference (float v)
{
    const int n = referenceStep (v);
    const bool lower = v < 0.5f;
    const int w = lower ? 512 * (127 - n) + 31 : 512 * (n - 128) + 480;
    const auto s = (size_t) (w / 4620);
    const int f = w / 462 - 10 * (int) s;
    const int value = gainTable[s] + f * (gainTable[s + 1] - gainTable[s]) / 10;
    return (lower ? "-" : "") + tenthsText (value);
}

std::string qReference (float v)
{
    static const char* const texts[] { "0.2", "0.4", "0.7", "1.0", "1.3", "1.6", "2.0", "2.5", "3.0" };
    const float fromTop = std::fmaf (-8.0f, v, 8.0f);
    const float shifted = fromTop + 0.5f; // a second rounding, on purpose
    return texts[(int) shifted];
}

// Each list spans 0..1 in equal parts, so its scale is one less than its length.
std::string listReference (std::initializer_list<const char*> texts, float v)
{
    const auto scale = (float) (texts.size() - 1);
    return texts.begin()[(size_t) std::fmaf (scale, v, 0.5f)];
}

std::string loCpsReference (float v)
{
    return listReference ({ "20", "30", "60", "100" }, v);
}

std::string kcsBoostReference (float v)
{
    return listReference ({ "3", "4", "5", "8", "10", "12", "16" }, v);
}

std::string kcsAttenReference (float v)
{
    return listReference ({ "5", "10", "20" }, v);
}

struct Reading
{
    const char* name;
    TextFunction function;
    std::string (*reference) (float);
};

const Reading readings[] {
    { "switch", ValueTexts::switchText, [] (float v) { return std::string (v > 0.5f ? "ON" : "OFF"); } },
    { "channel", ValueTexts::channelText, [] (float v) { return std::string (v > 0.5f ? "DUAL MONO" : "STEREO"); } },
    { "HPF", ValueTexts::hpfFrequencyText,
      [] (float v) { return std::to_string (interpolate (hpfTable, referenceStep (v))) + " Hz"; } },
    { "EQ1", ValueTexts::eq1FrequencyText,
      [] (float v) { return std::to_string (interpolate (eq1Table, referenceStep (v))) + " Hz"; } },
    { "EQ2", ValueTexts::eq2FrequencyText,
      [] (float v) { return tenthsText (interpolate (eq2Table, referenceStep (v))) + " kHz"; } },
    { "gain", ValueTexts::gainText, gainReference },
    { "Q", ValueTexts::qText, qReference },
    { "encoder", ValueTexts::encoderText,
      [] (float v) { return tenthsText ((int) ((long long) referenceStep (v) * 4628224 / 8388608)); } },
    { "LO CPS", ValueTexts::loCpsText, loCpsReference },
    { "KCS BST", ValueTexts::kcsBoostText, kcsBoostReference },
    { "KCS ATT", ValueTexts::kcsAttenText, kcsAttenReference },
};

void addNeighbours (std::vector<float>& values, float centre)
{
    auto v = centre;

    for (int i = 0; i < 6; ++i)
        v = std::nextafter (v, 0.0f);

    for (int i = 0; i < 13; ++i, v = std::nextafter (v, 2.0f))
        if (v >= 0.0f && v <= 1.0f)
            values.push_back (v);
}

// Every device step, plus the floats just either side of each point where a step or a list position changes:
// that is where single-precision rounding decides the reading.
std::vector<float> probeValues()
{
    std::vector<float> values;

    for (int n = 0; n < 256; ++n)
        values.push_back ((float) n / 255.0f);

    for (int n = 0; n < 255; ++n)
        addNeighbours (values, ((float) n + 0.5f) / 255.0f);

    for (float scale : { 2.0f, 3.0f, 6.0f, 8.0f })
        for (int k = 0; k < (int) scale; ++k)
            addNeighbours (values, ((float) k + 0.5f) / scale);

    return values;
}
} // namespace

TEST (ValueTexts, DeviceStepRoundsOnceInSinglePrecision)
{
    for (int n = 0; n < 256; ++n)
        EXPECT_EQ (ValueTexts::deviceStep ((float) n / 255.0f), n) << n;

    for (auto v : probeValues())
        EXPECT_EQ (ValueTexts::deviceStep (v), referenceStep (v)) << std::hexfloat << v;

    // Just below the half step: exact arithmetic gives 0, the single-precision sum rounds up to 1.
    EXPECT_EQ (ValueTexts::deviceStep (0x1.0101p-9f), 1);
}

TEST (ValueTexts, EveryReadingFollowsTheUnitsArithmetic)
{
    for (auto v : probeValues())
        for (const auto& reading : readings)
            ASSERT_EQ (reading.function (v).toStdString(), reading.reference (v))
                << reading.name << " at " << std::hexfloat << v << " (step " << std::dec << referenceStep (v) << ")";
}

TEST (ValueTexts, ReadsTheUnitsKnownValues)
{
    const auto expectAtSteps = [] (TextFunction function, std::vector<int> steps, std::vector<const char*> texts)
    {
        for (size_t i = 0; i < steps.size(); ++i)
            EXPECT_EQ (function ((float) steps[i] / 255.0f), texts[i]) << "step " << steps[i];
    };

    const std::vector<int> frequencySteps { 0, 1, 64, 127, 128, 192, 255 };
    expectAtSteps (ValueTexts::hpfFrequencyText, frequencySteps,
                   { "18 Hz", "18 Hz", "32 Hz", "60 Hz", "61 Hz", "132 Hz", "200 Hz" });
    expectAtSteps (ValueTexts::eq1FrequencyText, frequencySteps,
                   { "45 Hz", "48 Hz", "206 Hz", "360 Hz", "363 Hz", "581 Hz", "999 Hz" });
    expectAtSteps (ValueTexts::eq2FrequencyText, frequencySteps,
                   { "0.6 kHz", "0.6 kHz", "3.1 kHz", "5.0 kHz", "5.0 kHz", "8.5 kHz", "15.0 kHz" });
    expectAtSteps (ValueTexts::gainText, { 0, 1, 64, 125, 126, 127, 128, 129, 192, 254, 255 },
                   { "-15.0", "-14.7", "-3.9", "-0.1", "-0.0", "-0.0", "0.0", "0.1", "4.1", "15.0", "15.0" });
    expectAtSteps (ValueTexts::encoderText, { 0, 64, 127, 128, 192, 255 },
                   { "0.0", "3.5", "7.0", "7.0", "10.5", "14.0" });

    const auto justAboveHalf = std::nextafter (0.5f, 1.0f);
    // 8 - 8v rounds to 7.5 just above 1/16, so the reading is the last entry where exact arithmetic gives the one
    // before.
    const auto justAboveSixteenth = std::nextafter (0.0625f, 1.0f);

    EXPECT_EQ (ValueTexts::qText (0.0f), "3.0");
    EXPECT_EQ (ValueTexts::qText (0.5f), "1.3");
    EXPECT_EQ (ValueTexts::qText (1.0f), "0.2");
    EXPECT_EQ (ValueTexts::qText (justAboveSixteenth), "3.0");
    EXPECT_EQ (ValueTexts::loCpsText (0.5f), "60");
    EXPECT_EQ (ValueTexts::kcsBoostText (0.5f), "8");
    EXPECT_EQ (ValueTexts::kcsAttenText (0.5f), "10");
    EXPECT_EQ (ValueTexts::switchText (0.5f), "OFF");
    EXPECT_EQ (ValueTexts::switchText (justAboveHalf), "ON");
    EXPECT_EQ (ValueTexts::channelText (0.5f), "STEREO");
    EXPECT_EQ (ValueTexts::channelText (justAboveHalf), "DUAL MONO");
}

TEST (ValueTexts, GainNumberIsSignedOnlyWhereItIsNotZero)
{
    EXPECT_EQ (ValueTexts::gainTenths (0.0f), -150);
    EXPECT_EQ (ValueTexts::gainTenths (125 / 255.0f), -1);
    EXPECT_EQ (ValueTexts::gainTenths (127 / 255.0f), 0);
    EXPECT_EQ (ValueTexts::gainTenths (1.0f), 150);
}

TEST (ValueTexts, ValuesOutsideTheRangeReadAsTheEnds)
{
    const auto infinity = std::numeric_limits<float>::infinity();

    for (const auto& reading : readings)
    {
        const auto bottom = reading.function (0.0f);
        const auto top = reading.function (1.0f);

        for (auto v : { -0.0f, -1.0e-7f, -1.0f, -infinity })
            EXPECT_EQ (reading.function (v), bottom) << reading.name << " at " << v;

        for (auto v : { 1.0000001f, 2.0f, 1.0e9f, infinity })
            EXPECT_EQ (reading.function (v), top) << reading.name << " at " << v;

        const auto nan = reading.function (std::numeric_limits<float>::quiet_NaN());
        EXPECT_TRUE (nan == bottom || nan == top) << reading.name << " reads NaN as " << nan;
    }
}

TEST (ValueTexts, ReadTheSameUnderAHostsDecimalCommaLocale)
{
    struct DecimalComma : std::numpunct<char>
    {
        char do_decimal_point() const override { return ','; }
    };

    std::vector<juce::String> classic;

    for (const auto& reading : readings)
        classic.push_back (reading.function (0.3f));

    const auto previous = std::locale::global (std::locale (std::locale::classic(), new DecimalComma));

    for (size_t i = 0; i < classic.size(); ++i)
        EXPECT_EQ (readings[i].function (0.3f), classic[i]) << readings[i].name;

    std::locale::global (previous);
}
