// The pitch estimate on synthetic notes whose answer is known: the fundamental, not a harmonic
// or a subharmonic, when it is weak or missing, when the second or third partial dominates,
// under vibrato, and from the lowest note (C1) to the highest (E7); precise to a fraction of a
// cent where the note is steady; and in words where there is nothing to measure.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "cli/pitch_estimate.h"

namespace sordanel {
namespace {

constexpr double kRate = 44100;
constexpr double kC1 = 32.703;
constexpr double kE7 = 2637.0;

// A tone of partials up to the Nyquist frequency: partial k weighs weights[k - 1] where given,
// else 1/k. Vibrato moves the frequency by `vibratoCents` at 5.5 Hz.
std::vector<double> Tone(double hz, double seconds, std::vector<double> weights = {},
                         double vibratoCents = 0) {
    std::vector<double> x(static_cast<std::size_t>(seconds * kRate));
    double phase = 0;
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double f =
            hz * std::exp2(vibratoCents / 1200 * std::sin(2 * std::numbers::pi * 5.5 * t));
        phase += 2 * std::numbers::pi * f / kRate;
        for (int k = 1; k * hz < kRate / 2; ++k) {
            const auto index = static_cast<std::size_t>(k - 1);
            const double weight = index < weights.size() ? weights[index] : 1.0 / k;
            x[n] += 8000 * weight * std::sin(k * phase);
        }
    }
    return x;
}

double Cents(double measured, double hz) {
    return 1200 * std::log2(measured / hz);
}

void ExpectPitch(const std::vector<double>& x, double hz, double cents) {
    const PitchReading reading = EstimatePitch(x, kRate);
    ASSERT_TRUE(reading.hz.has_value()) << reading.unmeasured;
    EXPECT_NEAR(Cents(*reading.hz, hz), 0.0, cents);
}

TEST(PitchEstimate, MeasuresWithinATenthOfACentFromC1ToE7) {
    for (const double hz : {kC1, 41.203, 65.406, 261.63, 523.25, 1661.2, kE7}) {
        SCOPED_TRACE(hz);
        ExpectPitch(Tone(hz, 0.5), hz, 0.1);
    }
}

// The cases that once read an octave or more off: the comb must not settle on a harmonic nor
// on a subharmonic, however the partials are weighted.
TEST(PitchEstimate, FindsTheFundamentalNotAHarmonicOrSubharmonic) {
    struct Case {
        const char* name;
        std::vector<double> weights;
    };
    const Case cases[] = {
        {"strong second partial", {0.3, 1.0, 0.2}},
        {"strong third partial", {0.3, 0.2, 1.0}},
        {"strong second and third", {0.2, 1.0, 1.0, 0.1}},
        {"weak fundamental", {0.05, 0.5, 0.33, 0.25}},
        {"missing fundamental", {0.0, 0.5, 0.33, 0.25}},
        {"odd partials only", {1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14}},
    };
    for (const Case& c : cases) {
        for (const double hz : {kC1, 41.203, 82.407, 110.0, 440.0, 1318.5}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(hz));
            ExpectPitch(Tone(hz, 0.5, c.weights), hz, 0.5);
        }
    }
}

// A string bowed hard may repeat its motion only every second or third period: faint partials
// then lie below and between the strong ones, and the pitch heard is that of the strong ones.
TEST(PitchEstimate, FaintSubharmonicsDoNotDragThePitchAnOctaveDown) {
    for (const double hz : {61.735, 82.407, 440.0}) {
        for (const int below : {2, 3}) {
            SCOPED_TRACE(std::to_string(hz) + " over 1/" + std::to_string(below));
            std::vector<double> x = Tone(hz, 0.5);
            const std::vector<double> sub = Tone(hz / below, 0.5);
            for (std::size_t n = 0; n < x.size(); ++n) {
                x[n] += 0.08 * sub[n];
            }
            ExpectPitch(x, hz, 0.5);
        }
    }
}

// Vibrato spreads each partial; the estimate is its centre.
TEST(PitchEstimate, VibratoReadsAsItsCentre) {
    for (const double hz : {kC1, 196.0, kE7}) {
        SCOPED_TRACE(hz);
        ExpectPitch(Tone(hz, 0.6, {}, 20), hz, 5);
        ExpectPitch(Tone(hz, 0.6, {0.1, 1.0, 0.8}, 20), hz, 5);
    }
}

TEST(PitchEstimate, SaysInWordsWhatItCannotMeasure) {
    EXPECT_EQ(EstimatePitch(std::vector<double>(20000, 0.0), kRate).unmeasured, "silent");
    EXPECT_EQ(EstimatePitch(Tone(440, 0.005), kRate).unmeasured, "too short to measure");

    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 3000);
    std::vector<double> hiss(22050);
    for (double& s : hiss) {
        s = noise(random);
    }
    const PitchReading reading = EstimatePitch(hiss, kRate);
    EXPECT_FALSE(reading.hz.has_value()) << "noise read as " << *reading.hz << " Hz";
    EXPECT_FALSE(reading.unmeasured.empty());
    for (const auto& tone : {Tone(20, 0.5), Tone(6000, 0.5)}) {
        const PitchReading outside = EstimatePitch(tone, kRate);
        EXPECT_FALSE(outside.hz.has_value()) << "read as " << *outside.hz << " Hz";
        EXPECT_FALSE(outside.unmeasured.empty());
    }
}

}  // namespace
}  // namespace sordanel
