#include "engine/sound_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/engine_messages.h"
#include "engine/hot_path.h"
#include "engine/progress_bracket.h"
#include "engine/settings_tables.h"

namespace sordanel {

namespace {

// A trial-run sample weighs this much of an output sample in the progress.
constexpr double kPrecalcWeight = 0.6;

}  // namespace

SoundEngine::SoundEngine(const GenerationSettings& settings, JobState& job, EngineHost& host,
                         FileLayer& files, SoundPlayer& player, std::uint32_t replaySteps)
    : source_(settings),
      job_(job),
      host_(host),
      output_(settings_, job, host, files, player),
      recording_(replaySteps) {}

GenerationResult SoundEngine::GenerateSound(bool preview) {
    if (auto ended = StartNote(preview)) {
        return *ended;
    }
    return RunToEnd();
}

GenerationResult SoundEngine::RunToEnd() {
    const std::int32_t middle = run_.profile.pointCount / 2;
    for (std::uint32_t until = 0; NextSteps(until);) {
        if (inTrial_) {
            trial_.StepOwnString(until, sine_);
            continue;
        }
        RunSteps(until);
        AfterSteps(string_.displacement(middle));
    }
    return FinishNote();
}

std::optional<GenerationResult> SoundEngine::StartNote(bool preview) {
    SetUp(preview);
    if (auto ended = output_.OpenOutput(preview, run_.totalSamples)) {
        return ended;
    }
    ended_.reset();
    inTrial_ = settings_.autocorrection == AutocorrectionMode::Precalculated;
    if (inTrial_) {
        // A note with vibrato bows otherwise than its check from the first step.
        trial_.Setup(run_, bow_, settings_.vibratoOn ? nullptr : &recording_);
    } else {
        StartMainLoop();
    }
    return std::nullopt;
}

GenerationResult SoundEngine::FinishNote() {
    return ended_ ? *ended_ : output_.FinishOutput(level_.peakLevel());
}

void SoundEngine::SetUp(bool preview) {
    settings_ = source_;
    preview_ = preview;
    run_ = ComputeRunSetup(settings_, preview);
    FillSineTable(sine_);
    kernel_ = &GetInterpolationKernel(run_.profile.kernel);
    autocorrection_.Setup(run_.stepFraction, Autocorrection::Input::SwingAboutRest);
    SetUpClockedStages();
    bow_ = BowInputsOf(settings_);
    string_.Setup(run_.profile.pointCount, run_.bowPoint);
    history_.Clear();
    sampleIndex_ = 0;
    stepCount_ = 0;
    vibratoTerm_ = 0;
    prevBowVelocity_ = 0;
}

void SoundEngine::SetUpClockedStages() {
    vibrato_.Setup(kVibratoSpeedsHz[static_cast<std::size_t>(settings_.vibratoSpeedIndex)],
                   settings_.vibratoDepth, run_.stepRate);
    level_.Setup(settings_.maximize, settings_.volumeDb, run_.noteFrequency, run_.samplesPerStep,
                 run_.duration, run_.totalSamples);
    box_.BuildResonatorBank(ActiveResonances(settings_), run_.stepRate, run_.stepFraction,
                            run_.noteFrequency, settings_.stringToBoxRatio,
                            run_.profile.pointCount);
    history_.PrepareKernel(*kernel_, run_.kernelStep, run_.kernelTaps);
}

void SoundEngine::FinishTrial() {
    // The note plays the measured steps on a clock that puts them at the target pitch; the
    // vibrato, the box and the interpolation follow the clock in seconds.
    autocorrection_.setFreqCorrection(trial_.correction());
    trialClock_ = run_;
    RetimeRunSetup(run_, trial_.clockRatio());
    SetUpClockedStages();
    inTrial_ = false;
    StartMainLoop();
}

void SoundEngine::StartMainLoop() {
    sampleIndex_ = 0;
    stepCount_ = 0;
    realTimeCorrection_ = settings_.autocorrection == AutocorrectionMode::RealTime;
    // A measured note bows its attack on the trial's clock, step for step as the trial did, so
    // that it settles where the trial was measured; from the hold on, the bow is steady and the
    // note follows its own clock.
    measured_ = settings_.autocorrection == AutocorrectionMode::Precalculated;
    hold_ = TrialHoldPosition(bow_.t1Ratio, bow_.t2Ratio);
    attackRefresh_ = 0;
    attackOnTrialClock_ = measured_;
    replayEnd_ = ReplayEnd();
    replayedSteps_ = 0;
    block_ = 0;
    blockEnd_ = std::min(kBlockSamples, run_.totalSamples);
    sampleOpen_ = false;
    stringReplaced_ = true;
}

bool SoundEngine::NextSteps(std::uint32_t& until) {
    while (inTrial_) {
        const TrialRun::Want want = trial_.NextSteps(until);
        if (want == TrialRun::Want::Steps) {
            return true;
        }
        sampleIndex_ = trial_.samplesDone();
        ReportProgress(true);
        if (job_.abortRequested) {
            ended_ = output_.AbortOutput();
            return false;
        }
        if (want == TrialRun::Want::End) {
            FinishTrial();
        }
    }
    for (;;) {
        if (sampleOpen_) {
            while (attackOnTrialClock_ && stepCount_ == NextAttackRefreshStep()) {
                RefreshAttackOnTrialClock();
            }
            if (stepCount_ < targetStep_) {
                until = attackOnTrialClock_ ? std::min(targetStep_, NextAttackRefreshStep())
                                            : targetStep_;
                if (realTimeCorrection_) {
                    until = std::min(until, (stepCount_ / 4 + 1) * 4);
                }
                if (stepCount_ >= replayEnd_) {
                    return true;
                }
                PlaySteps(recording_.values() + stepCount_,
                          std::min(until, replayEnd_) - stepCount_);
                replayedSteps_ = stepCount_;
                if (stepCount_ == replayEnd_) {
                    string_ = recording_.string();
                    stringReplaced_ = true;
                }
                continue;
            }
            const float value = history_.InterpolateOutput(
                *kernel_, run_.kernelStep, run_.kernelTaps, targetStep_, stepPhase_);
            const OutputSample sample = level_.MakeOutputSample(value, sampleIndex_);
            if (auto ended = output_.WriteSample(sample.x, sample.s)) {
                ended_ = ended;
                return false;
            }
            ++sampleIndex_;
            sampleOpen_ = false;
        }
        if (sampleIndex_ == blockEnd_) {
            ReportProgress(false);
            if (job_.abortRequested) {
                ended_ = output_.AbortOutput();
                return false;
            }
            // One block more than whole blocks: when the total is a multiple of 800 the last
            // one is empty but still reports progress and checks for abort.
            if (++block_ > run_.totalSamples / kBlockSamples) {
                return false;
            }
            blockEnd_ = std::min(sampleIndex_ + kBlockSamples, run_.totalSamples);
            continue;
        }
        if (sampleIndex_ % 4 == 0 && !attackOnTrialClock_) {
            // On a faster clock the note's own position may still lie in the attack that the
            // trial's clock already finished.
            const float position = EnvelopePosition(run_, sampleIndex_);
            RefreshBow(measured_ ? std::max(position, hold_) : position);
        }
        const double t = StepClock(run_, sampleIndex_);
        targetStep_ = static_cast<std::uint32_t>(std::floor(t));
        stepPhase_ = (t - targetStep_) * run_.kernelStep;
        sampleOpen_ = true;
    }
}

void SoundEngine::TakeSteps(const StringLanes& lanes, std::int32_t lane, const StepValues* steps,
                            const float* middles, std::uint32_t count) {
    if (inTrial_) {
        trial_.TakeSteps(lanes, lane, steps, middles, count, sine_);
        return;
    }
    PlaySteps(steps, count);
    AfterSteps(middles[count - 1]);
}

void SoundEngine::AfterSteps(float middleDisplacement) {
    if (realTimeCorrection_ && stepCount_ % 4 == 0) {
        autocorrection_.Update(middleDisplacement, 1.0 + vibratoTerm_, sine_);
    }
}

void SoundEngine::RefreshBow(float envelopePosition) {
    if (settings_.vibratoOn) {
        vibratoTerm_ = vibrato_.Term(stepCount_, sine_);
    }
    const auto timeStep = static_cast<float>(
        (1.0 + autocorrection_.freqCorrection() + vibratoTerm_) * run_.stepFraction);
    string_.RefreshBowParameters(bow_, timeStep, envelopePosition);
}

std::uint32_t SoundEngine::NextAttackRefreshStep() const {
    // The trial refreshed the bow before the steps of every fourth sample, that is after the
    // steps of the sample before it.
    if (attackRefresh_ == 0) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::floor(StepClock(trialClock_, attackRefresh_ - 1)));
}

void SoundEngine::RefreshAttackOnTrialClock() {
    const float hold = TrialHoldPosition(bow_.t1Ratio, bow_.t2Ratio);
    const float position = EnvelopePosition(trialClock_, attackRefresh_);
    RefreshBow(std::min(position, hold));
    attackRefresh_ += 4;
    attackOnTrialClock_ = position < hold;
}

// The steps between two output samples share one bow, so the pass keeps the string's chunks
// and the box's state close at hand from one step to the next. Each caller's copy is its own
// loop: the choice of source is made while compiling.
template <bool kStepString>
inline void SoundEngine::StepBox(std::uint32_t targetStep, const StepValues* played) {
    const float bowVelocity = string_.bow().bowVelocity;
    SoundBox::Block box(box_);
    while (stepCount_ < targetStep) {
        StepValues step;
        if constexpr (kStepString) {
            string_.StepInline(bowVelocity, prevBowVelocity_);
            step = {string_.bridgeForce(), string_.stringSum()};
        } else {
            step = *played++;
        }
        const float value = box.Step(step.bridgeForce, step.stringSum);
        ++stepCount_;
        history_.Store(stepCount_, value);
        prevBowVelocity_ = bowVelocity;
    }
}

SORDANEL_HOT_PATH void SoundEngine::RunSteps(std::uint32_t targetStep) {
    StepBox<true>(targetStep, nullptr);
}

SORDANEL_HOT_PATH void SoundEngine::PlaySteps(const StepValues* steps, std::uint32_t count) {
    StepBox<false>(stepCount_ + count, steps);
}

std::uint32_t SoundEngine::ReplayEnd() const {
    if (settings_.autocorrection != AutocorrectionMode::Precalculated || settings_.vibratoOn) {
        return 0;
    }
    // The steps before the first refresh that leaves the hold, on the note's own clock.
    const std::uint32_t heldEnd = HeldBowEndSample(run_, bow_);
    const auto heldSteps =
        heldEnd == 0 ? 0 : static_cast<std::uint32_t>(std::floor(StepClock(run_, heldEnd - 1)));
    return recording_.steps() <= heldSteps ? recording_.steps() : 0;
}

void SoundEngine::ReportProgress(bool precalculating) {
    // P is 0 without a trial run, so the main-loop formulas reduce to n / T then.
    const std::uint32_t n = sampleIndex_;
    const std::uint32_t total = run_.totalSamples;
    const std::uint32_t trialSamples = (run_.precalcBlocks + run_.checkBlocks) * kBlockSamples;
    if (!preview_) {
        const double weighedTrial = kPrecalcWeight * trialSamples;
        const auto fraction =
            static_cast<float>(precalculating ? kPrecalcWeight * n / (weighedTrial + total)
                                              : (n + weighedTrial) / (weighedTrial + total));
        CallProgressDialog(job_, [fraction](ProgressReceiver& d) { d.SetProgress(fraction); });
        return;
    }
    const auto weighedTrial = static_cast<std::uint32_t>(kPrecalcWeight * trialSamples);
    const std::uint32_t percent = precalculating
                                      ? 60 * n / (weighedTrial + total)
                                      : (100 * n + 60 * trialSamples) / (weighedTrial + total);
    char text[64];
    std::snprintf(text, sizeof text, messages::kPreviewProgressFormat, static_cast<int>(percent));
    host_.ShowPreviewStatus(text);
}

}  // namespace sordanel
