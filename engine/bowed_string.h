#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "engine/vector_lanes.h"

namespace sordanel {

// What the bow does to the string, recomputed every fourth output sample.
struct BowParameters {
    float timeStep = 0;          // periods of the note advanced by one step
    float envelopePosition = 0;  // 0 .. past 1 over the sound
    float bowEnvelope = 0;       // share of force and speed, 0 .. 1
    float frictionLimit = 0;     // static friction: the tension the bow can hold
    float kineticFriction = 0;   // friction while slipping
    float tensionCoeff = 0;
    float dampingCoeff = 0;
    float bowVelocity = 0;
};

// The bow's inputs of one refresh; the settings' fields are read where the caller reads them.
struct BowInputs {
    float bowPressingForce;
    float bowSpeed;
    float stringDamping;
    float frictionRatio;
    float t1Ratio;
    float t2Ratio;

    bool operator==(const BowInputs&) const = default;
};

// A string fixed at both ends, held at pointCount points and bowed at bowPoint through
// stick-slip friction. Time runs in periods of the note, length in string lengths.
class BowedString {
public:
    static constexpr std::size_t kMaxPoints = 75;

    void Setup(std::int32_t pointCount, std::int32_t bowPoint);
    void Reset();  // the string at rest

    // Bow quantities for the sample at `envelopePosition`, with the time step already
    // corrected by the autocorrection and the vibrato.
    void RefreshBowParameters(const BowInputs& bow, float timeStep, float envelopePosition);
    // The full bow without envelope, for a live voice whose bow the player holds.
    void RefreshConstantBow(const BowInputs& bow, float timeStep);

    // One time step. The bow point sticks when its velocity equals prevBowVelocity bit for bit
    // and the tension stays below the friction limit.
    void Step(float bowVelocity, float prevBowVelocity);
    // The same step, inlined into a caller that runs many steps in its own instruction-set copy.
    [[gnu::always_inline]] void StepInline(float bowVelocity, float prevBowVelocity);

    const BowParameters& bow() const { return bow_; }
    float stringSum() const { return stringSum_; }  // sum of the moving points' velocities
    // Force on the bridge after the step, read once per step by the body.
    float bridgeForce() const { return static_cast<float>(pointCount_ * double{displacement_[1]}); }
    float displacement(std::int32_t point) const { return displacement_[point]; }
    float velocity(std::int32_t point) const { return velocity_[point]; }
    std::int32_t pointCount() const { return pointCount_; }
    std::int32_t bowPoint() const { return bowPoint_; }

private:
    friend class StringLanes;  // which hands a string back its state

    // The points are stepped four at a time, in chunks that start at point 0: enough chunks for
    // every moving point of the most points, and two more at rest that the last ones read
    // ahead.
    static constexpr std::int32_t kChunkPoints = 4;
    static constexpr std::size_t kChunks = (kMaxPoints - 2) / kChunkPoints + 3;

    // The bow's coefficients at `forceShare` (0 .. 1) of its pressing force, in the model's
    // order, each stored as a float before the next one uses it.
    void RefreshCoefficients(const BowInputs& bow, float timeStep, float forceShare);
    // One step of a string of kChunkCount chunks; 0 for a count known only at run time.
    template <std::int32_t kChunkCount>
    [[gnu::always_inline]] void StepChunks(float bowVelocity, float prevBowVelocity);
    // The bow point's new velocity: stuck, slipping under kinetic friction, or captured.
    [[gnu::always_inline]] float BowedVelocity(float bowVelocity, float prevBowVelocity) const;

    std::int32_t pointCount_ = 0;
    std::int32_t bowPoint_ = 0;
    std::int32_t chunkCount_ = 0;
    BowParameters bow_;
    float stringSum_ = 0;
    alignas(16) std::array<float, kChunks * kChunkPoints> displacement_{};
    alignas(16) std::array<float, kChunks * kChunkPoints> velocity_{};
    // Per chunk, the lanes of the points that move unbowed, and the lane of the bow point: the
    // fixed ends and the points past them stay at rest.
    std::array<Mask4, kChunks> free_{};
    std::array<Mask4, kChunks> bowed_{};
};

// Inlined into each instruction-set copy of the step: an out-of-line call would run the plain
// copy and switch between 256-bit and 128-bit code twice per step.
inline float BowedString::BowedVelocity(float bowVelocity, float prevBowVelocity) const {
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

inline void BowedString::StepInline(float bowVelocity, float prevBowVelocity) {
    // Each profile's point count gets a loop of a fixed length.
    switch (chunkCount_) {
        case 5:
            return StepChunks<5>(bowVelocity, prevBowVelocity);
        case 9:
            return StepChunks<9>(bowVelocity, prevBowVelocity);
        case 18:
            return StepChunks<18>(bowVelocity, prevBowVelocity);
        default:
            return StepChunks<0>(bowVelocity, prevBowVelocity);
    }
}

// A chunk's velocities as if unbowed, from the old values of its points and its neighbours.
[[gnu::always_inline]] inline Float4 UnbowedVelocities(Double4 tension, Double4 damping,
                                                       Double4 yLeft, Double4 y, Double4 yRight,
                                                       Double4 vLeft, Double4 v, Double4 vRight) {
    const Double4 yBefore = ShiftInLast(yLeft, y);
    const Double4 yAfter = ShiftInFirst(y, yRight);
    const Double4 vBefore = ShiftInLast(vLeft, v);
    const Double4 vAfter = ShiftInFirst(v, vRight);
    const Double4 pull = Widen(Narrow(tension * (yBefore + yAfter - 2.0 * y)));
    return Narrow(v - damping * (2.0 * v - vBefore - vAfter) + pull);
}

template <std::int32_t kChunkCount>
inline void BowedString::StepChunks(float bowVelocity, float prevBowVelocity) {
    // The bow point is decided first, from the values before the step; every point of a chunk
    // is then stepped as if unbowed and the bow point's lane replaced.
    const float bowed = BowedVelocity(bowVelocity, prevBowVelocity);
    const Float4 bowedLanes{bowed, bowed, bowed, bowed};
    const Double4 tension = Broadcast(bow_.tensionCoeff);
    const Double4 damping = Broadcast(bow_.dampingCoeff);
    const Double4 timeStep = Broadcast(bow_.timeStep);
    const std::int32_t chunks = kChunkCount > 0 ? kChunkCount : chunkCount_;
    float* const y = displacement_.data();
    float* const v = velocity_.data();

    // One pass: each chunk is read once, its neighbours' old values come from the chunks held
    // in registers, and its new values are stored whole where the next step loads them. The
    // pass runs one chunk ahead: the unbowed velocities of the next chunk are under way while
    // this one is finished, so that their long chains of roundings overlap.
    Double4 yLeft{}, vLeft{};
    Double4 yHere = Widen(LoadFloat4(y)), vHere = Widen(LoadFloat4(v));
    Double4 yRight = Widen(LoadFloat4(y + kChunkPoints));
    Double4 vRight = Widen(LoadFloat4(v + kChunkPoints));
    Float4 unbowed =
        UnbowedVelocities(tension, damping, yLeft, yHere, yRight, vLeft, vHere, vRight);
    Double4 sum{};
    for (std::int32_t c = 0; c < chunks; ++c) {
        float* const yChunk = y + c * kChunkPoints;
        float* const vChunk = v + c * kChunkPoints;
        const Double4 yAhead = Widen(LoadFloat4(yChunk + 2 * kChunkPoints));
        const Double4 vAhead = Widen(LoadFloat4(vChunk + 2 * kChunkPoints));
        const Float4 nextUnbowed =
            UnbowedVelocities(tension, damping, yHere, yRight, yAhead, vHere, vRight, vAhead);

        const Float4 w = Merge(free_[c], unbowed, bowed_[c], bowedLanes);
        const Double4 wi = Widen(w);
        // The new velocities' sum is taken in double, where the sum of these floats is exact
        // or nearly so whatever the order, and rounded once.
        sum += wi;
        StoreFloat4(yChunk, Narrow(yHere + timeStep * wi));
        StoreFloat4(vChunk, w);

        yHere = yRight;
        vHere = vRight;
        yRight = yAhead;
        vRight = vAhead;
        unbowed = nextUnbowed;
    }
    stringSum_ = static_cast<float>(SumLanes(sum));
}

}  // namespace sordanel
