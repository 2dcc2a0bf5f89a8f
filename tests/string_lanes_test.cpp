#include "engine/string_lanes.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <random>

#include "engine/generation_settings.h"

namespace sordanel {
namespace {

// Four strings stepped side by side must step exactly as four strings stepped apart: every
// point, every step, to the bit, through stick and slip, bow refreshes, a lane loaded in
// mid-run and a lane left idle.
TEST(StringLanes, EachLaneStepsAsItsOwnStringToTheBit) {
    struct Shape {
        std::int32_t pointCount, bowPoint;
    };
    std::mt19937 random(7);
    std::uniform_real_distribution<float> share(0.0f, 1.0f);
    const std::int32_t idle = 3;
    for (const Shape shape : {Shape{19, 3}, Shape{37, 6}, Shape{73, 12}, Shape{73, 25}}) {
        std::array<BowedString, StringLanes::kLanes> strings;
        std::array<BowInputs, StringLanes::kLanes> bows;
        std::array<float, StringLanes::kLanes> prevBowVelocity{};
        StringLanes lanes;
        lanes.Setup(shape.pointCount, shape.bowPoint);
        for (std::int32_t lane = 0; lane < StringLanes::kLanes; ++lane) {
            // From a light bow that barely holds the string to a heavy, slow one.
            bows[lane] = {.bowPressingForce = 0.35f + 3.0f * share(random),
                          .bowSpeed = 0.06f + 0.5f * share(random),
                          .stringDamping = 0.0003f + 0.01f * share(random),
                          .frictionRatio = 0.07f + 0.43f * share(random),
                          .t1Ratio = 0.14f,
                          .t2Ratio = 0.29f};
            strings[lane].Setup(shape.pointCount, shape.bowPoint);
        }
        bows[2].bowPressingForce = 0.35f;  // too light to hold a fast bow: it slips and crosses
        bows[2].bowSpeed = 0.6f;
        const float stepFraction = 0.09f / static_cast<float>(shape.pointCount);
        long stepsCompared = 0;
        for (int step = 0; step < 60000; ++step) {
            if (step % 37 == 0) {  // the driver refreshes the bow every few steps
                for (std::int32_t lane = 0; lane < StringLanes::kLanes; ++lane) {
                    const float timeStep = stepFraction * (1.0f + 0.02f * (share(random) - 0.5f));
                    // The whole envelope: attack, sustain, release and the bow lifted.
                    const float position = 1.05f * static_cast<float>(step) / 60000.0f;
                    strings[lane].RefreshBowParameters(bows[lane], timeStep, position);
                    if (lane != idle || step < 45000) {
                        lanes.SetBow(lane, strings[lane].bow(), strings[lane].bow().bowVelocity,
                                     prevBowVelocity[lane]);
                    }
                }
            }
            if (step == 30000) {
                // A string that ran on its own is taken over in mid-run.
                for (int k = 0; k < 500; ++k) {
                    strings[1].Step(strings[1].bow().bowVelocity, prevBowVelocity[1]);
                    prevBowVelocity[1] = strings[1].bow().bowVelocity;
                }
                lanes.Load(1, strings[1]);
                lanes.SetBow(1, strings[1].bow(), strings[1].bow().bowVelocity, prevBowVelocity[1]);
            }
            if (step == 45000) {
                lanes.Rest(idle);
            }
            lanes.Step();
            for (std::int32_t lane = 0; lane < StringLanes::kLanes; ++lane) {
                if (lane == idle && step >= 45000) {
                    EXPECT_EQ(lanes.displacement(lane, shape.bowPoint), 0.0f);
                    continue;
                }
                strings[lane].Step(strings[lane].bow().bowVelocity, prevBowVelocity[lane]);
                prevBowVelocity[lane] = strings[lane].bow().bowVelocity;
                ASSERT_EQ(std::bit_cast<std::uint32_t>(lanes.stringSum(lane)),
                          std::bit_cast<std::uint32_t>(strings[lane].stringSum()))
                    << "lane " << lane << " step " << step << " of " << shape.pointCount;
                ASSERT_EQ(lanes.bridgeForce(lane), strings[lane].bridgeForce());
                for (std::int32_t point = 0; point < shape.pointCount; ++point) {
                    ASSERT_EQ(std::bit_cast<std::uint32_t>(lanes.displacement(lane, point)),
                              std::bit_cast<std::uint32_t>(strings[lane].displacement(point)))
                        << "lane " << lane << " step " << step << " point " << point;
                }
                ++stepsCompared;
            }
        }
        EXPECT_GT(stepsCompared, 200000);
        // The bows drove the strings: they are far from rest.
        EXPECT_NE(strings[0].displacement(shape.bowPoint), 0.0f);
    }
}

}  // namespace
}  // namespace sordanel
