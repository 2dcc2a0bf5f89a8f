#include "bowed_string.h"

#include <cmath>

#include "bow_envelope.h"
#include "hot_path.h"

namespace sordanel {

void BowedString::Setup(std::int32_t pointCount, std::int32_t bowPoint) {
    pointCount_ = pointCount;
    bowPoint_ = bowPoint;
    bow_ = BowParameters{};
    Reset();
}

void BowedString::Reset() {
    displacement_.fill(0.0f);
    velocity_.fill(0.0f);
    newVelocity_.fill(0.0f);
    stringSum_ = 0.0f;
}

void BowedString::RefreshBowParameters(const BowInputs& bow, float timeStep,
                                       float envelopePosition) {
    const double n = pointCount_;
    bow_.timeStep = timeStep;
    bow_.envelopePosition = envelopePosition;
    bow_.bowEnvelope = BowEnvelope(envelopePosition, bow.t1Ratio, bow.t2Ratio);
    bow_.frictionLimit =
        static_cast<float>(n * bow_.timeStep * bow.bowPressingForce * bow_.bowEnvelope);
    bow_.kineticFriction = static_cast<float>(double{bow_.frictionLimit} * bow.frictionRatio);
    bow_.tensionCoeff = static_cast<float>(n * n * 4 * bow_.timeStep);
    bow_.dampingCoeff = static_cast<float>(n * 30 * bow.stringDamping * bow_.timeStep);
    bow_.bowVelocity = static_cast<float>(double{bow_.bowEnvelope} * bow.bowSpeed);
}

void BowedString::RefreshConstantBow(const BowInputs& bow, float timeStep) {
    const double n = pointCount_;
    bow_.timeStep = timeStep;
    bow_.frictionLimit = static_cast<float>(n * bow_.timeStep * bow.bowPressingForce);
    bow_.kineticFriction = static_cast<float>(double{bow_.frictionLimit} * bow.frictionRatio);
    bow_.tensionCoeff = static_cast<float>(n * n * 4 * bow_.timeStep);
    bow_.dampingCoeff = static_cast<float>(n * 30 * bow.stringDamping * bow_.timeStep);
}

// Inlined into each instruction-set copy of Step: an out-of-line call would run the plain
// copy and switch between 256-bit and 128-bit code twice per step.
[[gnu::always_inline]] inline float BowedString::BowedVelocity(float bowVelocity,
                                                               float prevBowVelocity) const {
    const std::int32_t i = bowPoint_;
    const float* const y = displacement_.data();
    const float* const v = velocity_.data();
    const auto pull =
        static_cast<float>(bow_.tensionCoeff * (double{y[i - 1]} + y[i + 1] - 2.0 * y[i]));
    const bool held = std::fabs(pull) < bow_.frictionLimit;
    if (v[i] == prevBowVelocity && held) {
        return bowVelocity;  // sticking: the point moves with the bow
    }
    // Slipping: kinetic friction pulls the point toward the bow's velocity.
    const double friction = v[i] > prevBowVelocity ? -bow_.kineticFriction : bow_.kineticFriction;
    const auto slipping = static_cast<float>(
        v[i] - double{bow_.dampingCoeff} * (2.0 * v[i] - v[i - 1] - v[i + 1]) + pull + friction);
    const bool crossed = (slipping < prevBowVelocity && v[i] > prevBowVelocity) ||
                         (slipping > prevBowVelocity && v[i] < prevBowVelocity);
    return crossed && held ? bowVelocity : slipping;  // captured when it crosses the bow
}

SORDANEL_HOT_PATH void BowedString::Step(float bowVelocity, float prevBowVelocity) {
    // Each profile's point count gets loops of a fixed length, which the compiler lays out
    // without the set-up and remainder code of loops of unknown length.
    switch (pointCount_) {
        case 19:
            return StepPoints<19>(bowVelocity, prevBowVelocity);
        case 37:
            return StepPoints<37>(bowVelocity, prevBowVelocity);
        case 73:
            return StepPoints<73>(bowVelocity, prevBowVelocity);
        default:
            return StepPoints<0>(bowVelocity, prevBowVelocity);
    }
}

template <std::int32_t kPoints>
[[gnu::always_inline]] inline void BowedString::StepPoints(float bowVelocity,
                                                           float prevBowVelocity) {
    float* __restrict const y = displacement_.data();
    float* __restrict const v = velocity_.data();
    float* __restrict const w = newVelocity_.data();
    const double tension = bow_.tensionCoeff;
    const double damping = bow_.dampingCoeff;
    const std::int32_t last = (kPoints > 0 ? kPoints : pointCount_) - 1;

    // Every moving point as if unbowed, from the values before the step; no branch, so the
    // loop vectorises. The bow point is decided afterwards from the same old values.
    for (std::int32_t i = 1; i < last; ++i) {
        const auto pull = static_cast<float>(tension * (double{y[i - 1]} + y[i + 1] - 2.0 * y[i]));
        w[i] = static_cast<float>(v[i] - damping * (2.0 * v[i] - v[i - 1] - v[i + 1]) + pull);
    }
    w[bowPoint_] = BowedVelocity(bowVelocity, prevBowVelocity);

    // The new velocities replace the old ones and move the points. Their sum is taken in
    // double, where the sum of these floats is exact or nearly so whatever the order, and
    // rounded once: so the additions may run side by side.
    const double timeStep = bow_.timeStep;
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (std::int32_t i = 1; i < last; ++i) {
        v[i] = w[i];
        y[i] = static_cast<float>(y[i] + timeStep * w[i]);
        sum += w[i];
    }
    stringSum_ = static_cast<float>(sum);
}

}  // namespace sordanel
