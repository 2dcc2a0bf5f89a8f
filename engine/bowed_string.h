#pragma once

#include <array>
#include <cstdint>

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
    // Trial-run variant: the full bow without envelope.
    void RefreshConstantBow(const BowInputs& bow, float timeStep);

    // One time step. The bow point sticks when its velocity equals prevBowVelocity bit for bit
    // and the tension stays below the friction limit.
    void Step(float bowVelocity, float prevBowVelocity);

    const BowParameters& bow() const { return bow_; }
    float stringSum() const { return stringSum_; }  // sum of the moving points' velocities
    // Force on the bridge after the step, read once per step by the body.
    float bridgeForce() const { return static_cast<float>(pointCount_ * double{displacement_[1]}); }
    float displacement(std::int32_t point) const { return displacement_[point]; }
    float velocity(std::int32_t point) const { return velocity_[point]; }
    std::int32_t pointCount() const { return pointCount_; }
    std::int32_t bowPoint() const { return bowPoint_; }

private:
    // One step of a string of kPoints points; 0 for a count known only at run time.
    template <std::int32_t kPoints>
    void StepPoints(float bowVelocity, float prevBowVelocity);
    // The bow point's new velocity: stuck, slipping under kinetic friction, or captured.
    float BowedVelocity(float bowVelocity, float prevBowVelocity) const;

    std::int32_t pointCount_ = 0;
    std::int32_t bowPoint_ = 0;
    BowParameters bow_;
    float stringSum_ = 0;
    std::array<float, kMaxPoints> displacement_{};
    std::array<float, kMaxPoints> velocity_{};
    std::array<float, kMaxPoints> newVelocity_{};
};

}  // namespace sordanel
