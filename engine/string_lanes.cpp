#include "engine/string_lanes.h"

#include <cassert>

#include "engine/hot_path.h"

namespace sordanel {

namespace {

using Mask4d = std::int64_t __attribute__((vector_size(32)));

// Lanes of `a` where `mask` is set, of `b` elsewhere.
[[gnu::always_inline]] inline Double4 Select(Mask4d mask, Double4 a, Double4 b) {
    return reinterpret_cast<Double4>((mask & reinterpret_cast<Mask4d>(a)) |
                                     (~mask & reinterpret_cast<Mask4d>(b)));
}

}  // namespace

void StringLanes::Setup(std::int32_t pointCount, std::int32_t bowPoint) {
    assert(pointCount >= 3 && pointCount <= static_cast<std::int32_t>(BowedString::kMaxPoints));
    assert(bowPoint > 0 && bowPoint < pointCount - 1);
    pointCount_ = pointCount;
    bowPoint_ = bowPoint;
    for (std::int32_t lane = 0; lane < kLanes; ++lane) {
        Rest(lane);
    }
}

void StringLanes::Load(std::int32_t lane, const BowedString& string) {
    assert(string.pointCount() == pointCount_ && string.bowPoint() == bowPoint_);
    for (std::int32_t point = 0; point < pointCount_; ++point) {
        points_[static_cast<std::size_t>(point)].displacement[lane] = string.displacement(point);
        points_[static_cast<std::size_t>(point)].velocity[lane] = string.velocity(point);
    }
    stringSum_[lane] = string.stringSum();
}

void StringLanes::Store(std::int32_t lane, BowedString& string) const {
    assert(string.pointCount() == pointCount_ && string.bowPoint() == bowPoint_);
    for (std::int32_t point = 0; point < pointCount_; ++point) {
        string.displacement_[static_cast<std::size_t>(point)] =
            points_[static_cast<std::size_t>(point)].displacement[lane];
        string.velocity_[static_cast<std::size_t>(point)] =
            points_[static_cast<std::size_t>(point)].velocity[lane];
    }
    string.stringSum_ = stringSum_[lane];
}

void StringLanes::SetBow(std::int32_t lane, const BowParameters& bow, float bowVelocity,
                         float prevBowVelocity) {
    tensionCoeff_[lane] = bow.tensionCoeff;
    dampingCoeff_[lane] = bow.dampingCoeff;
    timeStep_[lane] = bow.timeStep;
    frictionLimit_[lane] = bow.frictionLimit;
    kineticFriction_[lane] = bow.kineticFriction;
    bowVelocity_[lane] = bowVelocity;
    prevBowVelocity_[lane] = prevBowVelocity;
}

void StringLanes::Rest(std::int32_t lane) {
    for (Point& point : points_) {
        point.displacement[lane] = 0.0f;
        point.velocity[lane] = 0.0f;
    }
    stringSum_[lane] = 0.0f;
    SetBow(lane, BowParameters{}, 0.0f, 0.0f);
}

SORDANEL_HOT_PATH void StringLanes::Step() {
    // Each profile's point count gets a loop of a fixed length.
    switch (pointCount_) {
        case 19:
            StepPoints<19>();
            break;
        case 37:
            StepPoints<37>();
            break;
        case 73:
            StepPoints<73>();
            break;
        default:
            StepPoints<0>();
            break;
    }
    prevBowVelocity_ = bowVelocity_;
}

inline Double4 StringLanes::BowedVelocities() const {
    const auto i = static_cast<std::size_t>(bowPoint_);
    const Double4 yLeft = Widen(points_[i - 1].displacement);
    const Double4 y = Widen(points_[i].displacement);
    const Double4 yRight = Widen(points_[i + 1].displacement);
    const Double4 vLeft = Widen(points_[i - 1].velocity);
    const Double4 v = Widen(points_[i].velocity);
    const Double4 vRight = Widen(points_[i + 1].velocity);
    const Double4 prev = Widen(prevBowVelocity_);
    const Double4 pull = Widen(Narrow(tensionCoeff_ * (yLeft + yRight - 2.0 * y)));
    const Mask4d held = Select(pull < 0.0, -pull, pull) < frictionLimit_;
    const Mask4d stuck = (v == prev) & held;
    // Slipping: kinetic friction pulls each point toward its bow's velocity.
    const Double4 friction = Select(v > prev, -kineticFriction_, kineticFriction_);
    const Double4 slipping =
        Widen(Narrow(v - dampingCoeff_ * (2.0 * v - vLeft - vRight) + pull + friction));
    const Mask4d crossed = ((slipping < prev) & (v > prev)) | ((slipping > prev) & (v < prev));
    return Select(stuck | (crossed & held), Widen(bowVelocity_), slipping);
}

template <std::int32_t kPointCount>
inline void StringLanes::StepPoints() {
    // The bow points are decided first, from the values before the step; every point is then
    // stepped from the old values of its neighbours, which the pass carries in registers.
    const std::int32_t pointCount = kPointCount > 0 ? kPointCount : pointCount_;
    const Float4 bowed = Narrow(BowedVelocities());
    // The velocities are summed in four sums by point number modulo 4, and these in the order
    // of a BowedString's lanes, so the sum is the same to the bit.
    std::array<Double4, 4> sums{};
    Double4 yBefore = Widen(points_[0].displacement);
    Double4 y = Widen(points_[1].displacement);
    Double4 vBefore = Widen(points_[0].velocity);
    Double4 v = Widen(points_[1].velocity);
#pragma GCC unroll 80
    for (std::int32_t i = 1; i < pointCount - 1; ++i) {
        Point& point = points_[static_cast<std::size_t>(i)];
        const Point& next = points_[static_cast<std::size_t>(i + 1)];
        const Double4 yAfter = Widen(next.displacement);
        const Double4 vAfter = Widen(next.velocity);
        const Double4 pull = Widen(Narrow(tensionCoeff_ * (yBefore + yAfter - 2.0 * y)));
        const Float4 w = i == bowPoint_
                             ? bowed
                             : Narrow(v - dampingCoeff_ * (2.0 * v - vBefore - vAfter) + pull);
        const Double4 wi = Widen(w);
        sums[static_cast<std::size_t>(i & 3)] += wi;
        point.displacement = Narrow(y + timeStep_ * wi);
        point.velocity = w;
        yBefore = y;
        y = yAfter;
        vBefore = v;
        v = vAfter;
    }
    stringSum_ = Narrow((sums[0] + sums[2]) + (sums[1] + sums[3]));
}

}  // namespace sordanel
