#include "lv2/live_voice.h"

#include <algorithm>
#include <cmath>

#include "engine/body_resonances.h"
#include "engine/bow_envelope.h"
#include "engine/level_stage.h"
#include "engine/setting_table.h"

namespace sordanel::lv2 {

namespace {

// The voice ends after this long below kQuietLevel once the bow has left the string: longer
// than a period of the lowest note, so a zero crossing does not end it.
constexpr double kQuietSeconds = 0.05;
constexpr float kQuietLevel = 1.0e-5f;  // 100 dB below full scale
// Long enough that a taken voice does not click, short enough that it frees its place at once.
constexpr double kFadeOutSeconds = 0.005;

}  // namespace

float VelocityForce(float bowPressingForce, float velocityShare) {
    const float lowest = Setting(SettingId::BowPressingForce).Low();
    return lowest + (bowPressingForce - lowest) * velocityShare;
}

void LiveVoice::Start(const NoteSettings& settings, float velocityShare, float sampleRate,
                      const SineTable& sine) {
    sine_ = &sine;
    sampleRate_ = sampleRate;
    velocityShare_ = velocityShare;
    run_ = ComputeRunSetup(settings, false, sampleRate);
    kernel_ = &GetInterpolationKernel(run_.profile.kernel);
    // Below 44100 Hz the top notes would ask for more taps than the history holds; the kernel
    // is then cut where the history ends.
    kernelTaps_ = std::min(run_.kernelTaps, StepHistory::kSize);
    string_.Setup(run_.profile.pointCount, run_.bowPoint);
    box_.BuildResonatorBank(ActiveResonances(settings), run_.stepRate, run_.stepFraction,
                            run_.noteFrequency, settings.stringToBoxRatio, run_.profile.pointCount);
    history_.Clear();
    autocorrection_.Setup(run_.stepFraction, Autocorrection::Input::SwingAboutRest);
    highPass_.Setup(run_.noteFrequency, sampleRate);
    noteGain_ = OutputGain(highPass_, 1.0f, run_.samplesPerStep, 1.0);

    switch (settings.autocorrection) {
        case AutocorrectionMode::RealTime:
            lock_ = Lock::RealTime;
            break;
        case AutocorrectionMode::Precalculated:
            lock_ = Lock::AwaitingTrial;
            break;
        case AutocorrectionMode::Off:
            lock_ = Lock::Off;
            break;
    }
    active_ = true;
    released_ = false;
    lifted_ = false;
    sampleIndex_ = 0;
    releaseSample_ = 0;
    stepCount_ = 0;
    quietSamples_ = 0;
    fadeLeft_ = 0;
    fadeLength_ = std::max(1u, static_cast<std::uint32_t>(kFadeOutSeconds * sampleRate));
    vibratoTerm_ = 0;
    bendRatio_ = 1;
    bowVelocity_ = 0;
    prevBowVelocity_ = 0;
}

void LiveVoice::Release() {
    if (active_ && !released_) {
        released_ = true;
        releaseSample_ = sampleIndex_;
    }
}

void LiveVoice::FadeOut() {
    if (active_ && fadeLeft_ == 0) {
        fadeLeft_ = fadeLength_;
    }
}

void LiveVoice::UseConstantCorrection(float correction) {
    if (lock_ == Lock::AwaitingTrial) {
        autocorrection_.setFreqCorrection(correction);
        lock_ = Lock::Constant;
    }
}

void LiveVoice::Render(const LiveInputs& inputs, float* out, std::uint32_t frames) {
    if (!active_) {
        return;
    }
    vibrato_.Setup(inputs.vibratoSpeedHz, inputs.vibratoDepth, run_.stepRate);
    const auto quietLimit = static_cast<std::uint32_t>(kQuietSeconds * sampleRate_);
    for (std::uint32_t i = 0; i < frames; ++i) {
        float x = NextSample(inputs);
        if (fadeLeft_ > 0) {
            x *= static_cast<float>(fadeLeft_) / static_cast<float>(fadeLength_);
            if (--fadeLeft_ == 0) {
                active_ = false;
                return;
            }
        }
        out[i] += x;
        quietSamples_ = lifted_ && std::fabs(x) < kQuietLevel ? quietSamples_ + 1 : 0;
        if (quietSamples_ > quietLimit) {
            active_ = false;
            return;
        }
    }
}

float LiveVoice::NextSample(const LiveInputs& inputs) {
    if (sampleIndex_ % 4 == 0) {
        RefreshBow(inputs);
    }
    // The string's clock in double: a held note outlasts the steps a float counts exactly.
    const double t = static_cast<double>(sampleIndex_) / run_.samplesPerStep;
    const double targetStep = std::floor(t);
    const auto stepPhase = static_cast<float>((t - targetStep) * run_.kernelStep);
    const auto target = static_cast<std::uint64_t>(targetStep);
    RunStringTo(target);
    // The history and the kernel read step counts modulo the history's size, so their low
    // 32 bits are enough.
    const float value = history_.InterpolateOutput(*kernel_, run_.kernelStep, kernelTaps_,
                                                   static_cast<std::uint32_t>(target), stepPhase);
    ++sampleIndex_;
    return highPass_.Step(static_cast<float>(value * noteGain_));
}

void LiveVoice::RefreshBow(const LiveInputs& inputs) {
    vibratoTerm_ =
        inputs.vibratoOn ? vibrato_.Term(static_cast<std::uint32_t>(stepCount_), *sine_) : 0.0f;
    bendRatio_ = inputs.bendRatio;
    const double sinceOn = static_cast<double>(sampleIndex_) / sampleRate_;
    const double sinceOff =
        released_ ? static_cast<double>(sampleIndex_ - releaseSample_) / sampleRate_ : -1.0;
    const float envelope =
        HeldBowEnvelope(sinceOn, sinceOff, inputs.attackSeconds, inputs.releaseSeconds);
    lifted_ = released_ && envelope == 0.0f;

    const float force = VelocityForce(inputs.bowPressingForce, velocityShare_);
    // The envelope scales the bow's force and speed here, so the string gets the bow of the
    // moment without a run's fixed length.
    const BowInputs bow{.bowPressingForce = static_cast<float>(double{force} * envelope),
                        .bowSpeed = inputs.bowSpeed,
                        .stringDamping = inputs.stringDamping,
                        .frictionRatio = inputs.frictionRatio,
                        .t1Ratio = 0,
                        .t2Ratio = 0};
    const auto timeStep = static_cast<float>(
        (1.0 + autocorrection_.freqCorrection() + vibratoTerm_) * bendRatio_ * run_.stepFraction);
    string_.RefreshConstantBow(bow, timeStep);
    bowVelocity_ = static_cast<float>(double{envelope} * inputs.bowSpeed);
}

void LiveVoice::RunStringTo(std::uint64_t targetStep) {
    const std::int32_t middle = run_.profile.pointCount / 2;
    const bool loopRuns = lock_ == Lock::RealTime || lock_ == Lock::AwaitingTrial;
    // The loop's reference follows the vibrato and the bend, so it does not fight them.
    const double referenceScale = (1.0 + vibratoTerm_) * bendRatio_;
    while (stepCount_ < targetStep) {
        string_.Step(bowVelocity_, prevBowVelocity_);
        const float value = box_.BoxStep(string_.bridgeForce(), string_.stringSum());
        ++stepCount_;
        history_.Store(static_cast<std::uint32_t>(stepCount_), value);
        if (loopRuns && stepCount_ % 4 == 0) {
            autocorrection_.Update(string_.displacement(middle), referenceScale, *sine_);
        }
        prevBowVelocity_ = bowVelocity_;
    }
}

}  // namespace sordanel::lv2
