// The trial run's pitch meter: the period-by-period phase of the middle point's fundamental must
// give the played pitch to a small fraction of a cent wherever the string plays one, and
// nothing where it does not.

#include "engine/string_pitch_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace sordanel {
namespace {

constexpr double kNominal = 4 * 0.0024324325;  // the default note at Low, a reading per 4 steps

double Cents(double played, double expected) {
    return 1200 * std::log2(played / expected);
}

// A bowed middle point: odd harmonics falling as 1/k^2, held off centre by the bow.
void RecordTone(StringPitchMeter& meter, double cycles, std::size_t readings, double offset = 0.3) {
    meter.Start(kNominal);
    for (std::size_t k = 0; k < readings; ++k) {
        double x = offset;
        for (int h = 1; h <= 9; h += 2) {
            x += std::sin(2 * std::numbers::pi * h * cycles * static_cast<double>(k) + h) / (h * h);
        }
        meter.Record(static_cast<float>(x));
    }
}

TEST(StringPitchMeter, ReadsThePlayedPitchFarFromTheExpectedOne) {
    StringPitchMeter meter;
    // From a string 15 % sharp to one 26 % flat, as bow settings far from the default play.
    for (const double ratio : {1.0, 1.0003, 0.98, 1.15, 1 / 1.26}) {
        RecordTone(meter, kNominal * ratio, 4200);
        const auto played = meter.PlayedCycles(0, meter.readings());
        ASSERT_TRUE(played.has_value()) << ratio;
        EXPECT_NEAR(Cents(*played, kNominal * ratio), 0.0, 0.01) << ratio;
    }
}

TEST(StringPitchMeter, ClaimsNoPitchWithoutASteadyFundamental) {
    StringPitchMeter meter;
    meter.Start(kNominal);
    for (int k = 0; k < 4200; ++k) {
        meter.Record(0.25f);  // a string held still by the bow
    }
    EXPECT_FALSE(meter.PlayedCycles(0, meter.readings()).has_value()) << "at rest";

    std::mt19937 random(7);
    std::normal_distribution<float> noise;
    meter.Start(kNominal);
    for (int k = 0; k < 4200; ++k) {
        meter.Record(noise(random));
    }
    EXPECT_FALSE(meter.PlayedCycles(0, meter.readings()).has_value()) << "noise";

    // Half the time at one pitch and half at another a fifth away: no one pitch to correct.
    meter.Start(kNominal);
    for (int k = 0; k < 4200; ++k) {
        const double cycles = k < 2100 ? kNominal : kNominal * 1.5;
        meter.Record(static_cast<float>(std::sin(2 * std::numbers::pi * cycles * k)));
    }
    EXPECT_FALSE(meter.PlayedCycles(0, meter.readings()).has_value()) << "two pitches";

    RecordTone(meter, kNominal, 500);
    EXPECT_FALSE(meter.PlayedCycles(0, meter.readings()).has_value()) << "too few periods";
}

}  // namespace
}  // namespace sordanel
