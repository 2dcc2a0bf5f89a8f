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
    job_.busy = true;
    SetUp(preview);
    if (auto ended = output_.OpenOutput(preview, run_.totalSamples)) {
        return *ended;
    }
    if (settings_.autocorrection == AutocorrectionMode::Precalculated) {
        if (auto ended = PrecalculationPass()) {
            return *ended;
        }
    }
    if (auto ended = MainLoop()) {
        return *ended;
    }
    return output_.FinishOutput(level_.peakLevel());
}

void SoundEngine::SetUp(bool preview) {
    settings_ = source_;
    preview_ = preview;
    run_ = ComputeRunSetup(settings_, preview);
    FillSineTable(sine_);
    kernel_ = &GetInterpolationKernel(run_.profile.kernel);
    autocorrection_.Setup(run_.stepFraction, Autocorrection::Input::SwingAboutRest);
    SetUpClockedStages();
    bow_ = {settings_.bowPressingForce, settings_.bowSpeed, settings_.stringDamping,
            settings_.frictionRatio,    settings_.t1Ratio,  settings_.t2Ratio};
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

std::optional<GenerationResult> SoundEngine::PrecalculationPass() {
    // A note with vibrato bows otherwise than its check from the first step.
    trial_.Setup(run_, bow_, settings_.vibratoOn ? nullptr : &recording_);
    for (bool more = true; more;) {
        more = trial_.RunBlock(sine_);
        sampleIndex_ = trial_.samplesDone();
        ReportProgress(true);
        if (job_.abortRequested) {
            return output_.AbortOutput();
        }
    }
    // The note plays the measured steps on a clock that puts them at the target pitch; the
    // vibrato, the box and the interpolation follow the clock in seconds.
    autocorrection_.setFreqCorrection(trial_.correction());
    trialClock_ = run_;
    RetimeRunSetup(run_, trial_.clockRatio());
    SetUpClockedStages();
    sampleIndex_ = 0;
    return std::nullopt;
}

std::optional<GenerationResult> SoundEngine::MainLoop() {
    const std::int32_t middle = run_.profile.pointCount / 2;
    const std::uint32_t total = run_.totalSamples;
    const bool realTimeCorrection = settings_.autocorrection == AutocorrectionMode::RealTime;
    sampleIndex_ = 0;
    stepCount_ = 0;
    // A measured note bows its attack on the trial's clock, step for step as the trial did, so
    // that it settles where the trial was measured; from the hold on, the bow is steady and the
    // note follows its own clock.
    const bool measured = settings_.autocorrection == AutocorrectionMode::Precalculated;
    const float hold = TrialHoldPosition(bow_.t1Ratio, bow_.t2Ratio);
    attackRefresh_ = 0;
    attackOnTrialClock_ = measured;
    const std::uint32_t replayEnd = ReplayEnd();
    replayedSteps_ = 0;
    // One block more than whole blocks: when total is a multiple of 800 the last one is
    // empty but still reports progress and checks for abort.
    for (std::uint32_t block = 0; block <= total / kBlockSamples; ++block) {
        const std::uint32_t blockEnd = std::min(sampleIndex_ + kBlockSamples, total);
        for (; sampleIndex_ < blockEnd; ++sampleIndex_) {
            if (sampleIndex_ % 4 == 0 && !attackOnTrialClock_) {
                // On a faster clock the note's own position may still lie in the attack that
                // the trial's clock already finished.
                const float position = EnvelopePosition(run_, sampleIndex_);
                RefreshBow(measured ? std::max(position, hold) : position);
            }
            const double t = StepClock(run_, sampleIndex_);
            const auto targetStep = static_cast<std::uint32_t>(std::floor(t));
            const double stepPhase = (t - targetStep) * run_.kernelStep;
            while (attackOnTrialClock_ && stepCount_ == NextAttackRefreshStep()) {
                RefreshAttackOnTrialClock();
            }
            while (stepCount_ < targetStep) {
                const std::uint32_t until = attackOnTrialClock_
                                                ? std::min(targetStep, NextAttackRefreshStep())
                                                : targetStep;
                if (stepCount_ < replayEnd) {
                    ReplaySteps(std::min(until, replayEnd));
                    replayedSteps_ = stepCount_;
                    if (stepCount_ == replayEnd) {
                        string_ = recording_.string();
                    }
                } else if (RunSteps(until, realTimeCorrection)) {
                    autocorrection_.Update(string_.displacement(middle), 1.0 + vibratoTerm_, sine_);
                }
                while (attackOnTrialClock_ && stepCount_ == NextAttackRefreshStep()) {
                    RefreshAttackOnTrialClock();
                }
            }
            const float value = history_.InterpolateOutput(*kernel_, run_.kernelStep,
                                                           run_.kernelTaps, targetStep, stepPhase);
            const OutputSample sample = level_.MakeOutputSample(value, sampleIndex_);
            if (auto ended = output_.WriteSample(sample.x, sample.s)) {
                return ended;
            }
        }
        ReportProgress(false);
        if (job_.abortRequested) {
            return output_.AbortOutput();
        }
    }
    return std::nullopt;
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
// and the box's state close at hand from one step to the next. It stops early after a step the
// pitch lock measures, whose update runs outside the pass's instruction-set copy.
SORDANEL_HOT_PATH bool SoundEngine::RunSteps(std::uint32_t targetStep, bool realTimeCorrection) {
    const float bowVelocity = string_.bow().bowVelocity;
    SoundBox::Block box(box_);
    while (stepCount_ < targetStep) {
        string_.StepInline(bowVelocity, prevBowVelocity_);
        const float value = box.Step(string_.bridgeForce(), string_.stringSum());
        ++stepCount_;
        history_.Store(stepCount_, value);
        prevBowVelocity_ = bowVelocity;
        if (realTimeCorrection && stepCount_ % 4 == 0) {
            return true;
        }
    }
    return false;
}

SORDANEL_HOT_PATH void SoundEngine::ReplaySteps(std::uint32_t targetStep) {
    const float bowVelocity = string_.bow().bowVelocity;
    SoundBox::Block box(box_);
    while (stepCount_ < targetStep) {
        const float value =
            box.Step(recording_.bridgeForce(stepCount_), recording_.stringSum(stepCount_));
        ++stepCount_;
        history_.Store(stepCount_, value);
        prevBowVelocity_ = bowVelocity;
    }
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
