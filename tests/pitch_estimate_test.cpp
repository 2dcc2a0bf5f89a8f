// The pitch estimate on tones of known frequency: precise to well under a cent from the
// lowest note to the highest, not fooled into an octave, and silent when there is no tone.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "pitch_estimate.h"

namespace sordanel {
namespace {

constexpr double kRate = 44100;

// A bowed-string-like tone: harmonics falling as 1/n up to the Nyquist frequency, and the
// second one weighted by `second`.
std::vector<double> Tone(double hz, double seconds, double second = 0.5) {
    std::vector<double> x(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t n = 0; n < x.size(); ++n) {
        for (int k = 1; k * hz < kRate / 2; ++k) {
            const double weight = k == 2 ? second : 1.0 / k;
            x[n] += 8000 * weight * std::sin(2 * std::numbers::pi * k * hz * n / kRate);
        }
    }
    return x;
}

double Cents(double measured, double hz) {
    return 1200 * std::log2(measured / hz);
}

TEST(PitchEstimate, MeasuresWithinATenthOfACentAcrossTheRange) {
    for (const double hz : {30.87, 65.406, 261.63, 523.25, 1661.2, 2637.0}) {
        const auto measured = EstimatePitchHz(Tone(hz, 0.5), kRate);
        ASSERT_TRUE(measured.has_value()) << hz;
        EXPECT_NEAR(Cents(*measured, hz), 0.0, 0.1) << hz;
    }
}

TEST(PitchEstimate, StrongSecondHarmonicIsNotTakenForTheFundamental) {
    const auto measured = EstimatePitchHz(Tone(110, 0.5, 3.0), kRate);
    ASSERT_TRUE(measured.has_value());
    EXPECT_NEAR(Cents(*measured, 110), 0.0, 0.1);
}

TEST(PitchEstimate, NothingWithoutAToneOrEnoughOfIt) {
    EXPECT_FALSE(EstimatePitchHz(std::vector<double>(20000, 0.0), kRate).has_value());
    EXPECT_FALSE(EstimatePitchHz(Tone(440, 0.005), kRate).has_value())
        << "too short to show two periods";
    EXPECT_FALSE(EstimatePitchHz(Tone(20, 0.5), kRate).has_value()) << "below the lowest note";
}

}  // namespace
}  // namespace sordanel
