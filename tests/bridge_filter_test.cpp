#include "engine/bridge_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace sordanel {
namespace {

// The step fractions of the preview, Low and High.
constexpr float kStepFractions[] = {0.006315789f, 0.0024324325f, 0.0012328768f};
constexpr float kNotesHz[] = {65.4064f, 523.251f, 2637.02f};

// The drive's amplitude for a bridge force swinging `cycles` times per period of the note, once
// the filter has settled.
double SwingGain(float stepFraction, float noteHz, double cycles) {
    BridgeFilter filter;
    filter.Setup(stepFraction, noteHz);
    const auto periodSteps = static_cast<long>(1 / stepFraction);
    double peak = 0;
    for (long k = 0; k < 40 * periodSteps; ++k) {
        const auto force =
            static_cast<float>(std::sin(2 * std::numbers::pi * cycles * k * stepFraction));
        const float drive = filter.Step(force);
        if (k >= 30 * periodSteps) {
            peak = std::max(peak, std::fabs(double{drive}));
        }
    }
    return peak;
}

// The filter is a low-pass whose time runs in periods of the note: at every step rate the body
// must hear the same drive, or the timbre would change with the quality.
TEST(BridgeFilter, PassesTheFundamentalAlikeAtEveryStepRateAndDampsHigherPartials) {
    for (const float noteHz : kNotesHz) {
        const double reference = SwingGain(kStepFractions[1], noteHz, 1.0);
        for (const float stepFraction : kStepFractions) {
            const double fundamental = SwingGain(stepFraction, noteHz, 1.0);
            EXPECT_NEAR(fundamental, reference, 0.01 * reference)
                << noteHz << " Hz, step fraction " << stepFraction;
            EXPECT_LT(SwingGain(stepFraction, noteHz, 4.0), 0.3 * fundamental)
                << noteHz << " Hz, step fraction " << stepFraction << ": the fourth partial";
        }
    }
}

// Under a steady force u the filter's velocity settles at a1 (u - F) / (1 - b1), its position
// ramps, the slow position trails it by (1 - c1) / c1 of that velocity, and the drive F is g1
// times the lag: the share follows from the coefficients alone, whatever the step rate.
TEST(BridgeFilter, ASteadyForceSettlesToTheShareItsCoefficientsGive) {
    for (const float noteHz : kNotesHz) {
        for (const float stepFraction : kStepFractions) {
            const double h = stepFraction;
            const double loop = 14.212 * h * h / (4.902 * h) * (1 - 3.77 * h) / (3.77 * h) * 60 /
                                std::sqrt(double{noteHz});
            BridgeFilter filter;
            filter.Setup(stepFraction, noteHz);
            float drive = 0;
            for (long k = 0; k < static_cast<long>(20 / stepFraction); ++k) {
                drive = filter.Step(0.8f);
            }
            EXPECT_NEAR(drive, 0.8 * loop / (1 + loop), 2e-4)
                << noteHz << " Hz, step fraction " << stepFraction;
        }
    }
}

TEST(BridgeFilter, ResetAndSetupStartFromRestWhateverCameBefore) {
    std::vector<float> forces;
    for (int k = 0; k < 3000; ++k) {
        forces.push_back(static_cast<float>(std::sin(k * 0.01) + 0.3 * std::cos(k * 0.037)));
    }
    auto drives = [&](BridgeFilter& filter) {
        std::vector<float> out;
        for (const float force : forces) {
            out.push_back(filter.Step(force));
        }
        return out;
    };
    BridgeFilter fresh;
    fresh.Setup(kStepFractions[1], kNotesHz[1]);
    const std::vector<float> expected = drives(fresh);
    ASSERT_NE(expected.back(), 0.0f);

    BridgeFilter used;
    used.Setup(kStepFractions[1], kNotesHz[1]);
    drives(used);
    used.Reset();
    EXPECT_EQ(drives(used), expected) << "after Reset";
    drives(used);
    used.Setup(kStepFractions[1], kNotesHz[1]);
    EXPECT_EQ(drives(used), expected) << "after a second Setup";
}

}  // namespace
}  // namespace sordanel
