#pragma once

#include <array>
#include <cstdint>

#include "body_resonances.h"

namespace sordanel {

// Turns the string's force on the bridge into the body's drive force.
class BridgeFilter {
public:
    // stepFraction before vibrato or correction act; noteFrequency in Hz.
    void Setup(float stepFraction, float noteFrequency);
    void Reset();
    // One string step: the drive force of the body.
    float Step(float bridgeForce) {
        v_ = static_cast<float>((double{bridgeForce} - force_) * a1_ + double{v_} * b1_);
        x_ = x_ + v_;
        y_ = static_cast<float>(double{x_} * c1_ + double{y_} * (1.0 - c1_));
        force_ = static_cast<float>((double{x_} - y_) * g1_);
        return force_;
    }

private:
    float a1_ = 0, b1_ = 0, c1_ = 0, g1_ = 0;
    float v_ = 0, x_ = 0, y_ = 0, force_ = 0;
};

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

    std::size_t resonatorCount() const { return count_; }
    Resonator resonator(std::size_t k) const { return {damping_[k], stiffness_[k], gain_[k]}; }

private:
    static constexpr std::size_t kLanes = 12;  // kMaxResonators rounded up to whole vectors

    void Append(float freqHz, float widthHz, float amplitudeDb, float stepRate);

    BridgeFilter bridge_;
    float stringToBoxRatio_ = 0;
    std::int32_t pointCount_ = 1;
    std::size_t count_ = 0;
    std::array<float, kLanes> damping_{};
    std::array<float, kLanes> stiffness_{};
    std::array<float, kLanes> gain_{};
    std::array<float, kLanes> velocity_{};
    std::array<float, kLanes> displacement_{};
};

}  // namespace sordanel
