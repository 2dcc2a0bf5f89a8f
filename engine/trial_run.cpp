#include "engine/trial_run.h"

#include <algorithm>
#include <cmath>

#include "engine/bow_envelope.h"
#include "engine/hot_path.h"

namespace sordanel {

namespace {

// The reach of the clock: a string this far off its target is corrected only this far, so
// that the interpolation's taps stay within the step history.
constexpr double kMinClockRatio = 0.75;
constexpr double kMaxClockRatio = 1.35;
// The check measures over this many periods, in two windows whose pitches must agree within
// a twentieth of a cent for the string to count as settled.
constexpr std::size_t kMeasuredPeriods = 40;
const double kSettledOctaves = 0.05 / 1200;

}  // namespace

void TrialRun::Setup(const RunSetup& run, const BowInputs& bow, CheckRecording* recording) {
    run_ = &run;
    bow_ = bow;
    recording_ = recording;
    if (recording != nullptr) {
        // The note's clock runs at least kMinClockRatio times the trial's, so the steps it
        // plays before its bow leaves the hold are at least these; a few are left for rounding.
        const std::uint32_t heldEnd = HeldBowEndSample(run, bow);
        const double heldSteps =
            heldEnd == 0 ? 0.0 : kMinClockRatio * StepClock(run, heldEnd - 1) - 8.0;
        // Nor does a check take more steps than its blocks hold.
        const double checkSteps = StepClock(run, run.checkBlocks * kBlockSamples);
        recordSteps_ = static_cast<std::uint32_t>(std::clamp(heldSteps, 0.0, checkSteps));
        recording->Reserve(recordSteps_);
    }
    string_.Setup(run.profile.pointCount, run.bowPoint);
    lock_.Setup(run.stepFraction, Autocorrection::Input::Displacement);
    correctionSum_ = 0;
    correction_ = 0;
    holdPosition_ = TrialHoldPosition(bow.t1Ratio, bow.t2Ratio);
    prevBowVelocity_ = 0;
    blocksDone_ = 0;
    checkBlocksDone_ = 0;
    ratio_.reset();
    sampleIndex_ = 0;
    stepCount_ = 0;
    locking_ = true;
    blockEnd_ = kBlockSamples;
    sampleOpen_ = false;
    stringReset_ = true;
    lanes_ = nullptr;
}

bool TrialRun::RunBlock(const SineTable& sine) {
    for (std::uint32_t until = 0;;) {
        switch (NextSteps(until)) {
            case Want::Steps:
                StepOwnString(until, sine);
                break;
            case Want::BlockEnd:
                return true;
            case Want::End:
                return false;
        }
    }
}

TrialRun::Want TrialRun::NextSteps(std::uint32_t& until) {
    const RunSetup& run = *run_;
    for (;;) {
        if (sampleOpen_) {
            if (stepCount_ < targetStep_) {
                until = targetStep_;
                if (!locking_ && recording_ != nullptr) {
                    // The recording takes the string after its last step.
                    until = std::min(until, recording_->openLimit().value_or(until));
                }
                return Want::Steps;
            }
            sampleOpen_ = false;
            if (sampleIndex_ == blockEnd_) {
                return EndBlock() ? Want::BlockEnd : Want::End;
            }
        }
        if (sampleIndex_ % 4 == 0) {
            if (locking_) {
                const auto timeStep =
                    static_cast<float>((1.0 + lock_.freqCorrection()) * run.stepFraction);
                string_.RefreshConstantBow(bow_, timeStep);
            } else {
                const float position = std::min(EnvelopePosition(run, sampleIndex_), holdPosition_);
                string_.RefreshBowParameters(bow_, timeStep_, position);
            }
        }
        // Nothing happens between the samples up to the next refresh but steps, so their
        // steps are taken in one go.
        sampleIndex_ = std::min((sampleIndex_ / 4 + 1) * 4, blockEnd_);
        targetStep_ = static_cast<std::uint32_t>(std::floor(StepClock(run, sampleIndex_ - 1)));
        sampleOpen_ = true;
    }
}

bool TrialRun::EndBlock() {
    const RunSetup& run = *run_;
    ++blocksDone_;
    if (blocksDone_ <= run.precalcBlocks) {
        if (blocksDone_ == run.precalcBlocks) {
            correction_ =
                stepCount_ > run.settleSteps
                    ? static_cast<float>(double{correctionSum_} / (stepCount_ - run.settleSteps))
                    : 0.0f;
            StartCheck();
        }
        blockEnd_ = sampleIndex_ + kBlockSamples;
        return true;
    }
    const bool last = ++checkBlocksDone_ == run.checkBlocks;
    const std::size_t period = PeriodReadings();
    const std::size_t readings = meter_.readings();
    if (readings < kMeasuredPeriods * period) {
        if (!last) {
            blockEnd_ = sampleIndex_ + kBlockSamples;
            return true;
        }
        ratio_.reset();
    } else {
        // Settled once two windows in a row agree; the check's last window counts as it is.
        const std::size_t window = kMeasuredPeriods / 2 * period;
        const auto earlier = meter_.PlayedCycles(readings - 2 * window, window);
        const auto later = meter_.PlayedCycles(readings - window, window);
        const bool settled =
            earlier && later && std::fabs(std::log2(*later / *earlier)) < kSettledOctaves;
        if (!settled && !last) {
            blockEnd_ = sampleIndex_ + kBlockSamples;
            return true;
        }
        ratio_ = ClockRatio(meter_.PlayedCycles(readings - 2 * window, 2 * window));
    }
    if (!ratio_ && correction_ != 0.0f) {
        // The lock moved the string into a regime with no steady pitch within the clock's
        // reach, where the uncorrected step may still have one: check that instead.
        correction_ = 0.0f;
        StartCheck();
        blockEnd_ = sampleIndex_ + kBlockSamples;
        return true;
    }
    if (recording_ != nullptr) {
        if (lanes_ != nullptr) {
            lanes_->Store(lane_, string_);
        }
        recording_->Finish(string_);
    }
    return false;
}

void TrialRun::StartCheck() {
    // The check starts from rest, as the note does.
    locking_ = false;
    timeStep_ = static_cast<float>((1.0 + correction_) * run_->stepFraction);
    string_.Reset();
    stringReset_ = true;
    meter_.Start(4.0 * run_->stepFraction);  // one reading every fourth step
    if (recording_ != nullptr) {
        recording_->Start(recordSteps_);
    }
    prevBowVelocity_ = 0;
    sampleIndex_ = 0;
    stepCount_ = 0;
    checkBlocksDone_ = 0;
}

void TrialRun::StepOwnString(std::uint32_t until, const SineTable& sine) {
    if (!locking_) {
        CheckSteps(until);
        return;
    }
    const std::int32_t middle = run_->profile.pointCount / 2;
    while (stepCount_ < until) {
        if (LockSteps(until)) {
            lock_.Update(string_.displacement(middle), 1.0, sine);
            if (stepCount_ > run_->settleSteps) {
                correctionSum_ += lock_.freqCorrection();
            }
            ++stepCount_;
        }
    }
}

// The lock's steps in one pass, up to a step the lock measures: its update runs outside the
// pass's instruction-set copy, and the caller finishes that step.
SORDANEL_HOT_PATH bool TrialRun::LockSteps(std::uint32_t targetStep) {
    const float correction = lock_.freqCorrection();
    while (stepCount_ < targetStep) {
        string_.StepInline(bow_.bowSpeed, bow_.bowSpeed);
        if (stepCount_ % 4 == 0) {
            return true;
        }
        if (stepCount_ > run_->settleSteps) {
            correctionSum_ += correction;
        }
        ++stepCount_;
    }
    return false;
}

// The check's steps between two output samples in one pass, which keeps the string in the
// pass's instruction-set copy.
SORDANEL_HOT_PATH void TrialRun::CheckSteps(std::uint32_t targetStep) {
    const std::int32_t middle = run_->profile.pointCount / 2;
    const float bowVelocity = string_.bow().bowVelocity;
    while (stepCount_ < targetStep) {
        string_.StepInline(bowVelocity, prevBowVelocity_);
        prevBowVelocity_ = bowVelocity;
        ++stepCount_;
        if (recording_ != nullptr &&
            recording_->Keep({string_.bridgeForce(), string_.stringSum()})) {
            recording_->TakeString(string_);
        }
        if (stepCount_ >= run_->checkSteps && stepCount_ % 4 == 0) {
            meter_.Record(string_.displacement(middle));
        }
    }
}

void TrialRun::TakeSteps(const StringLanes& lanes, std::int32_t lane, const StepValues* steps,
                         const float* middles, std::uint32_t count, const SineTable& sine) {
    lanes_ = &lanes;
    lane_ = lane;
    if (locking_) {
        // As the lock's own pass does it, step by step.
        for (std::uint32_t i = 0; i < count; ++i) {
            if (stepCount_ % 4 == 0) {
                lock_.Update(middles[i], 1.0, sine);
            }
            if (stepCount_ > run_->settleSteps) {
                correctionSum_ += lock_.freqCorrection();
            }
            ++stepCount_;
        }
        return;
    }
    const float bowVelocity = string_.bow().bowVelocity;
    for (std::uint32_t i = 0; i < count; ++i) {
        prevBowVelocity_ = bowVelocity;
        ++stepCount_;
        if (recording_ != nullptr && recording_->Keep(steps[i])) {
            lanes.Store(lane, string_);  // the last step of the pass
            recording_->TakeString(string_);
        }
        if (stepCount_ >= run_->checkSteps && stepCount_ % 4 == 0) {
            meter_.Record(middles[i]);
        }
    }
}

std::size_t TrialRun::PeriodReadings() const {
    return static_cast<std::size_t>(std::ceil(1.0 / (4.0 * run_->stepFraction)));
}

std::optional<double> TrialRun::ClockRatio(std::optional<double> played) const {
    if (!played) {
        return std::nullopt;
    }
    // The check played (1 + correction) times the nominal step, and its periods per reading
    // are compared with the nominal ones.
    const double ratio = 4.0 * run_->stepFraction / *played;
    if (ratio < kMinClockRatio || ratio > kMaxClockRatio) {
        return std::nullopt;
    }
    return ratio;
}

std::uint32_t HeldBowEndSample(const RunSetup& run, const BowInputs& bow) {
    const float hold = TrialHoldPosition(bow.t1Ratio, bow.t2Ratio);
    const float held = BowEnvelope(hold, bow.t1Ratio, bow.t2Ratio);
    // Before the hold's own sample every refresh is held; the scan starts a little before it.
    const double holdSample =
        hold * static_cast<double>(run.totalSamples) / (0.02 / run.duration + 1.05);
    auto n = static_cast<std::uint32_t>(std::max(holdSample - 8.0, 0.0)) / 4 * 4;
    for (; n < run.totalSamples; n += 4) {
        const float position = std::max(EnvelopePosition(run, n), hold);
        if (BowEnvelope(position, bow.t1Ratio, bow.t2Ratio) != held) {
            return n;
        }
    }
    return n;
}

float MeasureCorrection(const RunSetup& run, const BowInputs& bow) {
    SineTable sine;
    FillSineTable(sine);
    TrialRun trial;
    trial.Setup(run, bow);
    while (trial.RunBlock(sine)) {
    }
    return static_cast<float>((1.0 + trial.correction()) * trial.clockRatio() - 1.0);
}

}  // namespace sordanel
