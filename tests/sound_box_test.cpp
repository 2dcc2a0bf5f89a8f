#include "sound_box.h"

#include <gtest/gtest.h>

#include <cmath>

#include "body_resonances.h"
#include "generation_settings.h"

namespace sordanel {
namespace {

constexpr float kStepRate = 215114.3f;
constexpr float kStepFraction = 0.0024324325f;
constexpr float kNoteHz = 523.251f;
constexpr std::int32_t kPointCount = 37;

void Build(SoundBox& box, const GenerationSettings& settings) {
    box.BuildResonatorBank(ActiveResonances(settings), kStepRate, kStepFraction, kNoteHz,
                           settings.stringToBoxRatio, kPointCount);
}

TEST(SoundBox, BankHoldsTheFirstEnabledAndBuiltInResonancesInOrder) {
    GenerationSettings settings;
    SoundBox box;
    Build(box, settings);
    EXPECT_EQ(box.resonatorCount(), 7u) << "first, second, and the five built-in";

    settings.resonanceOn = {false, false, false};
    settings.pseudorandomResonances = false;
    Build(box, settings);
    EXPECT_EQ(box.resonatorCount(), 1u);

    settings.resonanceOn = {false, true, true};
    settings.pseudorandomResonances = true;
    Build(box, settings);
    ASSERT_EQ(box.resonatorCount(), 8u);
    // The list is dense: the third resonance (212 Hz, 13 Hz) follows the first directly.
    const double third = 212 / double{kStepRate};
    EXPECT_NEAR(box.resonator(1).stiffness, third * third * 39.478, 1e-9);
    EXPECT_NEAR(box.resonator(1).damping, 1 - 12.57 * 13 / kStepRate, 1e-7);
    // The last built-in one is 1252 Hz wide 130 Hz.
    EXPECT_NEAR(box.resonator(7).damping, 1 - 12.57 * 130 / kStepRate, 1e-7);

    settings.stringToBoxRatio = 0.0f;
    Build(box, settings);
    EXPECT_EQ(box.resonatorCount(), 0u);
}

TEST(SoundBox, GainMakesTheResponseAtResonanceTheSetAmplitude) {
    GenerationSettings settings;
    settings.resonanceOn = {true, true, true};
    SoundBox box;
    Build(box, settings);
    for (std::size_t k = 0; k < 4; ++k) {
        const Resonator r = box.resonator(k);
        EXPECT_NEAR(r.gain * r.stiffness / (1 - r.damping),
                    std::pow(10.0, settings.resonanceAmp[k] / 20.0), 1e-3)
            << "resonance " << k + 1;
    }
}

TEST(SoundBox, RatioZeroGivesTheStringAloneAndRatioOneTheBoxAlone) {
    GenerationSettings settings;
    settings.stringToBoxRatio = 0.0f;
    SoundBox stringOnly;
    Build(stringOnly, settings);
    EXPECT_EQ(stringOnly.BoxStep(0.7f, 3.7f), 3.7f / 37);

    settings.stringToBoxRatio = 1.0f;
    SoundBox boxOnly, boxAgain;
    Build(boxOnly, settings);
    Build(boxAgain, settings);
    for (int k = 0; k < 200; ++k) {
        const float force = std::sin(k * 0.05f);
        // The string's sum has no say at ratio 1.
        EXPECT_EQ(boxOnly.BoxStep(force, 100.0f), boxAgain.BoxStep(force, -5.0f));
    }
    EXPECT_NE(boxOnly.BoxStep(1.0f, 0.0f), 0.0f);
}

}  // namespace
}  // namespace sordanel
