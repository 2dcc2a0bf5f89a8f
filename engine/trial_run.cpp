#include "trial_run.h"

#include <algorithm>
#include <cmath>

namespace sordanel {

namespace {

constexpr double kFirstReadingCents = 3;
constexpr double kSecondReadingCents = 0.3;

// The correction that brings a string running `offset` (f / fReference - 1) away from the
// reference at `correction` onto it.
float Corrected(float correction, double offset) {
    return static_cast<float>((1.0 + correction) / (1.0 + offset) - 1.0);
}

}  // namespace

void TrialRun::Setup(const RunSetup& run, const BowInputs& bow) {
    run_ = &run;
    bow_ = bow;
    string_.Setup(run.profile.pointCount, run.bowPoint);
    lock_.Setup(run.stepFraction);
    meter_.Setup(run.stepFraction);
    correction_ = 0;
    readings_ = 0;
    sampleIndex_ = 0;
    stepCount_ = 0;
    prevBowVelocity_ = 0;
}

bool TrialRun::RunBlock(const SineTable& sine) {
    const RunSetup& run = *run_;
    const std::int32_t middle = run.profile.pointCount / 2;
    const std::uint32_t blockEnd = sampleIndex_ + kBlockSamples;
    for (; sampleIndex_ < blockEnd; ++sampleIndex_) {
        if (sampleIndex_ % 4 == 0) {
            const auto timeStep = static_cast<float>((1.0 + correction_) * run.stepFraction);
            const float position = std::min(EnvelopePosition(run, sampleIndex_), run.trialHold);
            string_.RefreshBowParameters(bow_, timeStep, position);
        }
        const auto targetStep =
            static_cast<std::uint32_t>(std::floor(sampleIndex_ / double{run.samplesPerStep}));
        while (stepCount_ < targetStep) {
            string_.Step(string_.bow().bowVelocity, prevBowVelocity_);
            prevBowVelocity_ = string_.bow().bowVelocity;
            ++stepCount_;
            if (stepCount_ % 4 != 0) {
                continue;
            }
            lock_.Update(string_.displacement(middle), 1.0, sine);
            if (sampleIndex_ < run.attackSamples) {
                continue;
            }
            const double cents = readings_ == 0 ? kFirstReadingCents : kSecondReadingCents;
            if (const auto offset = meter_.Add(lock_.phase(), stepCount_, cents)) {
                correction_ = Corrected(correction_, *offset);
                meter_.Restart();
                if (++readings_ == 2) {
                    ++sampleIndex_;
                    return false;
                }
            }
        }
    }
    return sampleIndex_ < run.precalcBlocks * kBlockSamples;
}

float MeasureCorrection(const RunSetup& run, const BowInputs& bow) {
    SineTable sine;
    FillSineTable(sine);
    TrialRun trial;
    trial.Setup(run, bow);
    while (trial.RunBlock(sine)) {
    }
    return trial.correction();
}

}  // namespace sordanel
