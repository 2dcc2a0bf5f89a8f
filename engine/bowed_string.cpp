#include "bowed_string.h"

#include <cmath>

#include "bow_envelope.h"

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

void BowedString::Step(float bowVelocity, float prevBowVelocity) {
    float* const y = displacement_.data();
    float* const v = velocity_.data();
    const double tension = bow_.tensionCoeff;
    const double damping = bow_.dampingCoeff;
    const std::int32_t last = pointCount_ - 1;

    for (std::int32_t i = 1; i < last; ++i) {
        const float pull = static_cast<float>(tension * (double{y[i - 1]} + y[i + 1] - 2.0 * y[i]));
        const double unbowed = v[i] - damping * (2.0 * v[i] - v[i - 1] - v[i + 1]) + pull;
        newVelocity_[i] = static_cast<float>(unbowed);
        if (i != bowPoint_) {
            continue;
        }
        const bool held = std::fabs(pull) < bow_.frictionLimit;
        if (v[i] == prevBowVelocity && held) {
            newVelocity_[i] = bowVelocity;  // sticking: the point moves with the bow
            continue;
        }
        // Slipping: kinetic friction pulls the point toward the bow's velocity.
        const double friction =
            v[i] > prevBowVelocity ? -bow_.kineticFriction : bow_.kineticFriction;
        const float w = static_cast<float>(unbowed + friction);
        const bool crossed = (w < prevBowVelocity && v[i] > prevBowVelocity) ||
                             (w > prevBowVelocity && v[i] < prevBowVelocity);
        newVelocity_[i] = crossed && held ? bowVelocity : w;  // captured when it crosses
    }

    float sum = 0.0f;
    const double timeStep = bow_.timeStep;
    for (std::int32_t i = 1; i < last; ++i) {
        v[i] = newVelocity_[i];
        sum += v[i];
        y[i] = static_cast<float>(y[i] + timeStep * v[i]);
    }
    stringSum_ = sum;
}

float BowedString::bridgeForce() const {
    return static_cast<float>(pointCount_ * double{displacement_[1]});
}

}  // namespace sordanel
