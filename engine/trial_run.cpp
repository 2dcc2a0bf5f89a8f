#include "engine/trial_run.h"

#include <cmath>

namespace sordanel {

void TrialRun::Setup(const RunSetup& run, const BowInputs& bow) {
    run_ = &run;
    bow_ = bow;
    string_.Setup(run.profile.pointCount, run.bowPoint);
    lock_.Setup(run.stepFraction);
    correctionSum_ = 0;
    sampleIndex_ = 0;
    stepCount_ = 0;
}

bool TrialRun::RunBlock(const SineTable& sine) {
    const RunSetup& run = *run_;
    const std::int32_t middle = run.profile.pointCount / 2;
    const std::uint32_t blockEnd = sampleIndex_ + kBlockSamples;
    for (; sampleIndex_ < blockEnd; ++sampleIndex_) {
        if (sampleIndex_ % 4 == 0) {
            const auto timeStep =
                static_cast<float>((1.0 + lock_.freqCorrection()) * run.stepFraction);
            string_.RefreshConstantBow(bow_, timeStep);
        }
        const auto targetStep =
            static_cast<std::uint32_t>(std::floor(StepClock(run, sampleIndex_)));
        while (stepCount_ < targetStep) {
            string_.Step(bow_.bowSpeed, bow_.bowSpeed);
            if (stepCount_ % 4 == 0) {
                lock_.Update(string_.displacement(middle), 1.0, sine);
            }
            if (stepCount_ > run.settleSteps) {
                correctionSum_ += lock_.freqCorrection();
            }
            ++stepCount_;
        }
    }
    return sampleIndex_ < run.precalcBlocks * kBlockSamples;
}

float TrialRun::correction() const {
    if (stepCount_ <= run_->settleSteps) {
        return 0.0f;
    }
    return static_cast<float>(double{correctionSum_} / (stepCount_ - run_->settleSteps));
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
