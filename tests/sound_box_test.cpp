#include "engine/sound_box.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/body_resonances.h"
#include "engine/bridge_filter.h"
#include "engine/generation_settings.h"

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

// The body written resonance after resonance in the model's order: its output summed in order,
// the string's sound divided by the point count.
class InOrderBox {
public:
    InOrderBox(const SoundBox& box, float ratio, std::int32_t pointCount)
        : ratio_(ratio), pointCount_(pointCount) {
        for (std::size_t k = 0; k < box.resonatorCount(); ++k) {
            resonators_.push_back(box.resonator(k));
        }
        bridge_.Setup(kStepFraction, kNoteHz);
        velocity_.assign(resonators_.size(), 0.0f);
        displacement_.assign(resonators_.size(), 0.0f);
    }

    float Step(float bridgeForce, float stringSum) {
        double box = 0.0;
        if (!resonators_.empty()) {
            const float drive = bridge_.Step(bridgeForce);
            double resonance = 0.0;
            for (std::size_t k = 0; k < resonators_.size(); ++k) {
                displacement_[k] = displacement_[k] + velocity_[k];
                velocity_[k] = static_cast<float>((double{drive} - displacement_[k]) *
                                                      resonators_[k].stiffness +
                                                  double{velocity_[k]} * resonators_[k].damping);
                resonance += double{velocity_[k]} * resonators_[k].gain;
            }
            box = drive + resonance;
        }
        const double r = ratio_;
        return static_cast<float>((1.0 - r) * (double{stringSum} / pointCount_) + box * r);
    }

private:
    float ratio_;
    std::int32_t pointCount_;
    BridgeFilter bridge_;
    std::vector<Resonator> resonators_;
    std::vector<float> velocity_, displacement_;
};

// The box sums its resonances side by side and takes the string's mean with a reciprocal: each
// step's value may differ from the in-order one in its last bit, far below one unit of the
// 16-bit output, whose full scale is the note's peak; and since only the output is summed so,
// the difference never grows however long the note.
TEST(SoundBox, StaysWithinTheLastBitOfTheInOrderBoxOnLongRandomRuns) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (const float ratio : {0.0f, 0.461538f, 1.0f}) {
        for (const int extraResonances : {0, 2}) {
            GenerationSettings settings;
            settings.stringToBoxRatio = ratio;
            for (int r = 0; r < extraResonances; ++r) {
                settings.resonanceOn[static_cast<std::size_t>(1 + r)] = true;
            }
            SoundBox box;
            Build(box, settings);
            InOrderBox reference(box, ratio, kPointCount);
            float loudest = 0.0f;
            for (int k = 0; k < 400000; ++k) {
                const float force = 0.3f * std::sin(k * 0.0137f) + 0.05f * unit(random);
                const float sum = 20.0f * unit(random);
                const float expected = reference.Step(force, sum);
                const float value = box.BoxStep(force, sum);
                ASSERT_LE(std::fabs(value - expected),
                          std::nextafter(std::fabs(expected), INFINITY) - std::fabs(expected))
                    << "ratio " << ratio << ", step " << k;
                loudest = std::max(loudest, std::fabs(expected));
            }
            EXPECT_GT(loudest, 0.1f);
        }
    }
}

}  // namespace
}  // namespace sordanel
