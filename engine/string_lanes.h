#pragma once

#include <array>
#include <cstdint>

#include "engine/bowed_string.h"
#include "engine/vector_lanes.h"

namespace sordanel {

// Four strings of one point count and bow point, stepped side by side: each point's four values
// lie in one vector, so a point's neighbours are plain loads and the four bow points are decided
// together. Each lane steps exactly as a BowedString of the same state and bow, bit for bit.
class StringLanes {
public:
    static constexpr std::int32_t kLanes = 4;

    void Setup(std::int32_t pointCount, std::int32_t bowPoint);
    // Lane `lane` takes the state of `string`, or gives it its own.
    void Load(std::int32_t lane, const BowedString& string);
    void Store(std::int32_t lane, BowedString& string) const;
    // The bow of the lane's next steps, moving at bowVelocity; prevBowVelocity is the bow's
    // velocity of the lane's last step.
    void SetBow(std::int32_t lane, const BowParameters& bow, float bowVelocity,
                float prevBowVelocity);
    // An idle lane: at rest and unbowed, it stays at rest.
    void Rest(std::int32_t lane);

    // One time step of every lane.
    void Step();

    float bridgeForce(std::int32_t lane) const {
        return static_cast<float>(pointCount_ * double{points_[1].displacement[lane]});
    }
    float stringSum(std::int32_t lane) const { return stringSum_[lane]; }
    float displacement(std::int32_t lane, std::int32_t point) const {
        return points_[static_cast<std::size_t>(point)].displacement[lane];
    }

private:
    struct Point {
        Float4 displacement;
        Float4 velocity;
    };
    template <std::int32_t kPointCount>
    [[gnu::always_inline]] void StepPoints();
    // The four bow points' new velocities, as BowedString decides its one.
    [[gnu::always_inline]] Double4 BowedVelocities() const;

    std::int32_t pointCount_ = 0;
    std::int32_t bowPoint_ = 0;
    std::array<Point, BowedString::kMaxPoints> points_{};
    Double4 tensionCoeff_{};
    Double4 dampingCoeff_{};
    Double4 timeStep_{};
    Double4 frictionLimit_{};
    Double4 kineticFriction_{};
    Float4 bowVelocity_{};
    Float4 prevBowVelocity_{};
    Float4 stringSum_{};
};

}  // namespace sordanel
