#include "engine/bowed_string.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/autocorrection.h"
#include "engine/generation_settings.h"
#include "engine/run_setup.h"
#include "engine/sine_table.h"

namespace sordanel {
namespace {

BowInputs DefaultBow() {
    return BowInputsOf(NoteSettings{});
}

// The default note at Low quality, bowed with the full constant bow while the pitch lock
// corrects the time step, as the trial run before a Generate does it.
class BowedDefaultNote : public ::testing::Test {
protected:
    void SetUp() override {
        const GenerationSettings settings;
        run_ = ComputeRunSetup(settings, false);
        string_.Setup(run_.profile.pointCount, run_.bowPoint);
        loop_.Setup(run_.stepFraction, Autocorrection::Input::Displacement);
        FillSineTable(sine_);
    }

    // Runs `periods` periods; refreshes the bow as often as the driver does (every fourth
    // output sample) and calls `onStep` after each step.
    template <class OnStep>
    void Bow(double periods, OnStep onStep) {
        const BowInputs bow = DefaultBow();
        const auto steps = static_cast<long>(periods / run_.stepFraction);
        const auto refreshEvery = static_cast<long>(4 / run_.samplesPerStep);
        for (long k = 0; k < steps; ++k, ++step_) {
            if (step_ % refreshEvery == 0) {
                string_.RefreshConstantBow(
                    bow, static_cast<float>((1.0 + loop_.freqCorrection()) * run_.stepFraction));
            }
            string_.Step(bow.bowSpeed, bow.bowSpeed);
            if (step_ % 4 == 0) {
                loop_.Update(string_.displacement(run_.profile.pointCount / 2), 1.0, sine_);
            }
            onStep();
        }
    }

    RunSetup run_{};
    BowedString string_;
    Autocorrection loop_;
    SineTable sine_{};
    long step_ = 0;
};

TEST_F(BowedDefaultNote, BowPointAlternatesBetweenStickingAndSlippingOncePerPeriod) {
    const float bowSpeed = DefaultBow().bowSpeed;
    Bow(150, [] {});
    int stuckSteps = 0, slips = 0, steps = 0;
    bool wasStuck = true;
    Bow(100, [&] {
        const bool stuck = string_.velocity(run_.bowPoint) == bowSpeed;
        stuckSteps += stuck;
        slips += wasStuck && !stuck;
        wasStuck = stuck;
        ++steps;
    });
    EXPECT_NEAR(slips, 100, 10) << "one slip per period is the bowed string's motion";
    EXPECT_GT(stuckSteps, steps / 2) << "the bow holds the string for most of each period";
    EXPECT_LT(stuckSteps, steps * 19 / 20);
}

TEST_F(BowedDefaultNote, MiddlePointMovesWithTheNotesPeriodOnceThePitchLockSettled) {
    Bow(200, [] {});
    std::vector<double> motion;
    const std::int32_t middle = run_.profile.pointCount / 2;
    Bow(100, [&] { motion.push_back(string_.displacement(middle)); });

    double mean = 0;
    for (double y : motion)
        mean += y / motion.size();
    std::vector<double> upCrossings;  // fractional step indices
    for (std::size_t k = 1; k < motion.size(); ++k) {
        const double a = motion[k - 1] - mean, b = motion[k] - mean;
        if (a < 0 && b >= 0)
            upCrossings.push_back(k - 1 + a / (a - b));
    }
    ASSERT_GE(upCrossings.size(), 90u);
    const double measuredSteps =
        (upCrossings.back() - upCrossings.front()) / (upCrossings.size() - 1);
    const double targetSteps = 1.0 / run_.stepFraction;  // the string runs stepRate steps/s
    const double cents = 1200 * std::log2(targetSteps / measuredSteps);
    EXPECT_NEAR(cents, 0.0, 3.0) << "measured " << measuredSteps << " steps per period";
}

// The string step written point by point in the model's order, its sum added point after point.
class InOrderString {
public:
    InOrderString(int pointCount, int bowPoint)
        : n_(pointCount), bowPoint_(bowPoint), y_(pointCount), v_(pointCount), w_(pointCount) {}

    void Step(const BowParameters& bow, float bowVelocity, float prevBowVelocity) {
        for (int i = 1; i < n_ - 1; ++i) {
            const auto pull = static_cast<float>(bow.tensionCoeff *
                                                 (double{y_[i - 1]} + y_[i + 1] - 2.0 * y_[i]));
            if (i != bowPoint_) {
                w_[i] = static_cast<float>(
                    v_[i] - bow.dampingCoeff * (2.0 * v_[i] - v_[i - 1] - v_[i + 1]) + pull);
                continue;
            }
            const bool held = std::fabs(pull) < bow.frictionLimit;
            if (v_[i] == prevBowVelocity && held) {
                w_[i] = bowVelocity;
                continue;
            }
            const double friction =
                v_[i] > prevBowVelocity ? -bow.kineticFriction : bow.kineticFriction;
            const auto slipping = static_cast<float>(
                v_[i] - double{bow.dampingCoeff} * (2.0 * v_[i] - v_[i - 1] - v_[i + 1]) + pull +
                friction);
            const bool crossed = (slipping < prevBowVelocity && v_[i] > prevBowVelocity) ||
                                 (slipping > prevBowVelocity && v_[i] < prevBowVelocity);
            w_[i] = crossed && held ? bowVelocity : slipping;
        }
        double sum = 0.0;
        for (int i = 1; i < n_ - 1; ++i) {
            v_[i] = w_[i];
            y_[i] = static_cast<float>(y_[i] + double{bow.timeStep} * w_[i]);
            sum += w_[i];
        }
        sum_ = static_cast<float>(sum);
    }

    float y(int i) const { return y_[i]; }
    float v(int i) const { return v_[i]; }
    float sum() const { return sum_; }

private:
    int n_;
    int bowPoint_;
    std::vector<float> y_, v_, w_;
    float sum_ = 0;
};

// Every point and every stored value must be the model's, bit for bit, however the step groups
// the points; only the sum of the velocities may be added in another order, and a float's
// last bit is far below one unit of the 16-bit output, whose full scale is the note's peak.
TEST(BowedString, ChunkedStepKeepsEveryPointOfThePointByPointStepOnLongRandomRuns) {
    std::mt19937 random(13);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (const auto& [points, bowPoint] : {std::pair{19, 3}, std::pair{37, 6}, std::pair{73, 12},
                                           std::pair{23, 21}, std::pair{75, 1}}) {
        BowedString string;
        string.Setup(points, bowPoint);
        InOrderString reference(points, bowPoint);
        float prevBowVelocity = 0.0f;
        float loudest = 0.0f;
        for (int k = 0; k < 40000; ++k) {
            if (k % 7 == 0) {
                const BowInputs bow{.bowPressingForce = 3.5f * unit(random),
                                    .bowSpeed = 0.6f * unit(random),
                                    .stringDamping = 0.025f * unit(random),
                                    .frictionRatio = 0.5f * unit(random),
                                    .t1Ratio = 0.3f,
                                    .t2Ratio = 0.3f};
                string.RefreshBowParameters(bow, (0.03f + 0.1f * unit(random)) / points,
                                            1.05f * unit(random));
            }
            const float bowVelocity = string.bow().bowVelocity;
            string.Step(bowVelocity, prevBowVelocity);
            reference.Step(string.bow(), bowVelocity, prevBowVelocity);
            prevBowVelocity = bowVelocity;
            for (int i = 0; i < points; ++i) {
                ASSERT_EQ(string.displacement(i), reference.y(i))
                    << points << " points, step " << k << ", point " << i;
                ASSERT_EQ(string.velocity(i), reference.v(i))
                    << points << " points, step " << k << ", point " << i;
            }
            ASSERT_LE(
                std::fabs(string.stringSum() - reference.sum()),
                std::nextafter(std::fabs(reference.sum()), INFINITY) - std::fabs(reference.sum()))
                << points << " points, step " << k;
            loudest = std::max(loudest, std::fabs(reference.sum()));
        }
        EXPECT_GT(loudest, 0.01f) << points << " points: the bow must set the string moving";
    }
}

TEST(BowedString, AStuckPointFollowsANewBowVelocityAtOnce) {
    BowedString string;
    string.Setup(37, 6);
    BowInputs bow = DefaultBow();
    string.RefreshConstantBow(bow, 0.0024324325f);
    string.Step(bow.bowSpeed, 0.0f);  // at rest: velocity 0 equals the previous bow velocity
    ASSERT_EQ(string.velocity(6), bow.bowSpeed);
    const float faster = bow.bowSpeed * 1.37f;
    string.Step(faster, bow.bowSpeed);
    EXPECT_EQ(string.velocity(6), faster);
    string.Step(faster, faster);
    EXPECT_EQ(string.velocity(6), faster) << "still stuck while the tension stays below the limit";
}

TEST(BowedString, FixedEndsStayAtRestAndTheSumCoversOnlyMovingPoints) {
    BowedString string;
    string.Setup(19, 3);
    const BowInputs bow = DefaultBow();
    for (int k = 0; k < 3000; ++k) {
        if (k % 5 == 0)
            string.RefreshConstantBow(bow, 0.12f / 19);
        string.Step(bow.bowSpeed, bow.bowSpeed);
    }
    EXPECT_EQ(string.displacement(0), 0.0f);
    EXPECT_EQ(string.displacement(18), 0.0f);
    EXPECT_EQ(string.velocity(0), 0.0f);
    float sum = 0;
    for (int i = 1; i < 18; ++i)
        sum += string.velocity(i);
    EXPECT_FLOAT_EQ(string.stringSum(), sum);
    EXPECT_FLOAT_EQ(string.bridgeForce(), 19 * string.displacement(1));
}

TEST(BowedString, LiftedBowLetsTheStringRingDownFreely) {
    BowedString string;
    string.Setup(37, 6);
    const BowInputs bow = DefaultBow();
    const float timeStep = 0.0024324325f;
    for (int k = 0; k < 60000; ++k) {
        if (k % 20 == 0)
            string.RefreshBowParameters(bow, timeStep, 0.5f);
        string.Step(string.bow().bowVelocity, string.bow().bowVelocity);
    }
    string.RefreshBowParameters(bow, timeStep, 1.001f);
    ASSERT_EQ(string.bow().bowVelocity, 0.0f);
    ASSERT_EQ(string.bow().frictionLimit, 0.0f);
    auto peak = [&](int steps) {
        float highest = 0;
        for (int k = 0; k < steps; ++k) {
            string.Step(0.0f, 0.0f);
            highest = std::max(highest, std::fabs(string.displacement(18)));
        }
        return highest;
    };
    const int period = static_cast<int>(1 / timeStep);
    const float early = peak(period);
    peak(100 * period);
    const float late = peak(period);
    EXPECT_GT(early, 0.0f);
    EXPECT_LT(late, early * 0.5f) << "damping alone must take the energy out";
}

}  // namespace
}  // namespace sordanel
