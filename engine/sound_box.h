#pragma once

#include <array>
#include <cstdint>

#include "engine/body_resonances.h"
#include "engine/bridge_filter.h"
#include "engine/vector_lanes.h"

namespace sordanel {

// One resonance of the body, driven by the drive force once per string step.
struct Resonator {
    float damping = 0;    // per-step retention of the velocity
    float stiffness = 0;  // per-step restoring factor
    float gain = 0;       // output weight
};

// The body: bridge filter and up to nine resonances (the first, the enabled second to fourth,
// and the five built-in ones), mixed with the string's own sound.
class SoundBox {
public:
    static constexpr std::size_t kMaxResonators = BodyResonances::kMax;

    // Builds the bank for one run at `stepRate` and clears every state. stringToBoxRatio is
    // the share of the box sound (0 .. 1); pointCount the string's points, whose velocities
    // the string's own sound averages.
    void BuildResonatorBank(const BodyResonances& body, float stepRate, float stepFraction,
                            float noteFrequency, float stringToBoxRatio, std::int32_t pointCount);

    // One string step: the step's output value from the string's sum of velocities and its
    // force on the bridge.
    float BoxStep(float bridgeForce, float stringSum);

    class Block;

    std::size_t resonatorCount() const { return count_; }
    Resonator resonator(std::size_t k) const { return {damping_[k], stiffness_[k], gain_[k]}; }

private:
    static constexpr std::size_t kLanes = 12;  // kMaxResonators rounded up to whole vectors
    static constexpr std::size_t kGroups = kLanes / 4;

    void Append(float freqHz, float widthHz, float amplitudeDb, float stepRate);

    BridgeFilter bridge_;
    float stringToBoxRatio_ = 0;
    double stringWeight_ = 1;  // 1 - stringToBoxRatio
    // The string's sound is the mean of its points' velocities, taken with this reciprocal
    // instead of a division per step; the two differ in the last bit of a double at most.
    double pointReciprocal_ = 1;
    std::size_t count_ = 0;
    std::array<float, kLanes> damping_{};
    std::array<float, kLanes> stiffness_{};
    std::array<float, kLanes> gain_{};
    // The same factors in the width the resonators compute in, four lanes to a group.
    std::array<Double4, kGroups> dampingLanes_{};
    std::array<Double4, kGroups> stiffnessLanes_{};
    std::array<Double4, kGroups> gainLanes_{};
    std::array<Float4, kGroups> velocity_{};
    std::array<Float4, kGroups> displacement_{};
};

// The box over a block of string steps. Its state is copied into locals that the compiler
// keeps in registers between the steps, and handed back to the box when the block ends.
class SoundBox::Block {
public:
    explicit Block(SoundBox& box)
        : box_(box),
          bridge_(box.bridge_),
          velocity_(box.velocity_),
          displacement_(box.displacement_) {}
    ~Block() {
        box_.bridge_ = bridge_;
        box_.velocity_ = velocity_;
        box_.displacement_ = displacement_;
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    // As SoundBox::BoxStep.
    [[gnu::always_inline]] float Step(float bridgeForce, float stringSum) {
        double box = 0.0;
        if (box_.count_ > 0) {
            const float drive = bridge_.Step(bridgeForce);
            const Double4 driveLanes = Broadcast(drive);
            // Every lane runs, the unused ones at rest with all factors 0: they add exactly 0.
            // The outputs are summed in double, where the order hardly matters, and rounded
            // once.
            Double4 resonance{};
            for (std::size_t g = 0; g < kGroups; ++g) {
                displacement_[g] = displacement_[g] + velocity_[g];
                velocity_[g] =
                    Narrow((driveLanes - Widen(displacement_[g])) * box_.stiffnessLanes_[g] +
                           Widen(velocity_[g]) * box_.dampingLanes_[g]);
                resonance += Widen(velocity_[g]) * box_.gainLanes_[g];
            }
            box = drive + SumLanes(resonance);
        }
        return static_cast<float>(box_.stringWeight_ * (double{stringSum} * box_.pointReciprocal_) +
                                  box * box_.stringToBoxRatio_);
    }

private:
    SoundBox& box_;
    BridgeFilter bridge_;
    std::array<Float4, kGroups> velocity_;
    std::array<Float4, kGroups> displacement_;
};

}  // namespace sordanel
