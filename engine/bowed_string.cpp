#include "engine/bowed_string.h"

#include <cassert>
#include <cmath>

#include "engine/bow_envelope.h"
#include "engine/hot_path.h"

namespace sordanel {

namespace {

// A wave runs along the string and back once per period, 2 string lengths: the square of that
// speed weighs the tension term.
constexpr double kTensionFactor = 4;
// Weighs the string damping factor in the damping term, per point and period of the note.
constexpr double kDampingFactor = 30;

}  // namespace

void BowedString::Setup(std::int32_t pointCount, std::int32_t bowPoint) {
    assert(pointCount >= 3 && pointCount <= static_cast<std::int32_t>(kMaxPoints));
    assert(bowPoint > 0 && bowPoint < pointCount - 1);
    pointCount_ = pointCount;
    bowPoint_ = bowPoint;
    chunkCount_ = (pointCount - 2) / kChunkPoints + 1;
    for (std::size_t c = 0; c < kChunks; ++c) {
        for (std::int32_t lane = 0; lane < kChunkPoints; ++lane) {
            const auto point = static_cast<std::int32_t>(c) * kChunkPoints + lane;
            const bool moving = point > 0 && point < pointCount - 1;
            free_[c][lane] = moving && point != bowPoint ? -1 : 0;
            bowed_[c][lane] = point == bowPoint ? -1 : 0;
        }
    }
    bow_ = BowParameters{};
    Reset();
}

void BowedString::Reset() {
    displacement_.fill(0.0f);
    velocity_.fill(0.0f);
    stringSum_ = 0.0f;
}

void BowedString::RefreshBowParameters(const BowInputs& bow, float timeStep,
                                       float envelopePosition) {
    bow_.envelopePosition = envelopePosition;
    bow_.bowEnvelope = BowEnvelope(envelopePosition, bow.t1Ratio, bow.t2Ratio);
    RefreshCoefficients(bow, timeStep, bow_.bowEnvelope);
    bow_.bowVelocity = static_cast<float>(double{bow_.bowEnvelope} * bow.bowSpeed);
}

void BowedString::RefreshConstantBow(const BowInputs& bow, float timeStep) {
    // The product with a share of 1 is exact: the limit is the full force's, as with no envelope.
    RefreshCoefficients(bow, timeStep, 1.0f);
}

void BowedString::RefreshCoefficients(const BowInputs& bow, float timeStep, float forceShare) {
    const double n = pointCount_;
    bow_.timeStep = timeStep;
    bow_.frictionLimit = static_cast<float>(n * bow_.timeStep * bow.bowPressingForce * forceShare);
    bow_.kineticFriction = static_cast<float>(double{bow_.frictionLimit} * bow.frictionRatio);
    bow_.tensionCoeff = static_cast<float>(n * n * kTensionFactor * bow_.timeStep);
    bow_.dampingCoeff = static_cast<float>(n * kDampingFactor * bow.stringDamping * bow_.timeStep);
}

SORDANEL_HOT_PATH void BowedString::Step(float bowVelocity, float prevBowVelocity) {
    StepInline(bowVelocity, prevBowVelocity);
}

}  // namespace sordanel
