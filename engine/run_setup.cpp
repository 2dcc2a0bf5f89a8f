#include "engine/run_setup.h"

#include <algorithm>
#include <cmath>

#include "engine/interpolation_kernel.h"
#include "engine/note_frequency.h"

namespace sordanel {

namespace {

// The trial run's check bows through the note's attack and then lets the string settle for at
// least kCheckSettlePeriods before the pitch meter reads it; it ends once the pitch has settled,
// or after kCheckLongestPeriods: enough for the slowest regimes that still end in a steady pitch.
constexpr double kCheckSettlePeriods = 20;
constexpr double kCheckLongestPeriods = 140;

// Everything that follows from the string's steps per second.
void SetSampleClock(RunSetup& run, float sampleRate) {
    run.samplesPerStep = static_cast<float>(double{sampleRate} / run.stepRate);

    const InterpolationKernel& kernel = GetInterpolationKernel(run.profile.kernel);
    // Above the output rate the kernel is stretched into an anti-aliasing filter.
    run.kernelStep = run.samplesPerStep > 1.0f
                         ? static_cast<float>(kernel.stride)
                         : static_cast<float>(kernel.stride * double{run.samplesPerStep});
    run.kernelTaps = static_cast<std::uint32_t>((kernel.entries - 1) / double{run.kernelStep});
}

}  // namespace

NoteChoice NoteChoiceOf(const NoteSettings& settings) {
    return {.noteIndex = settings.noteIndex,
            .c4Index = settings.c4Index,
            .justIntonation = settings.justIntonation,
            .keyIndex = settings.keyIndex,
            .detune = settings.detune};
}

BowInputs BowInputsOf(const NoteSettings& settings) {
    return {.bowPressingForce = settings.bowPressingForce,
            .bowSpeed = settings.bowSpeed,
            .stringDamping = settings.stringDamping,
            .frictionRatio = settings.frictionRatio,
            .t1Ratio = settings.t1Ratio,
            .t2Ratio = settings.t2Ratio};
}

NoteString NoteStringOf(const NoteSettings& settings) {
    return {.pitch = NoteChoiceOf(settings),
            .quality = settings.quality,
            .bowPosition = settings.bowPosition};
}

NoteTiming NoteTimingOf(const NoteSettings& settings) {
    return {.duration = settings.duration,
            .autocorrection = settings.autocorrection,
            .t1Ratio = settings.t1Ratio,
            .t2Ratio = settings.t2Ratio};
}

RunSetup ComputeRunSetup(const NoteString& string, const NoteTiming& timing, bool preview,
                         float sampleRate) {
    RunSetup run{};
    run.noteFrequency = NoteFrequency(string.pitch);
    run.profile =
        preview ? kPreviewProfile : kQualityProfiles[string.quality == Quality::High ? 1 : 0];
    const auto pointCount = run.profile.pointCount;
    run.bowPoint = static_cast<std::int32_t>(pointCount * double{string.bowPosition} + 0.5);

    run.stepFraction = run.profile.periodFraction / static_cast<float>(pointCount);
    run.stepRate = static_cast<float>(double{run.noteFrequency} / run.stepFraction);
    if (run.stepRate < kMinStepRate) {
        // Low notes would be simulated too coarsely in time: hold the rate, shorten the step.
        run.stepRate = kMinStepRate;
        run.stepFraction = static_cast<float>(double{run.noteFrequency} / kMinStepRate);
    }
    SetSampleClock(run, sampleRate);

    run.duration = preview ? std::min(timing.duration, kPreviewMaxSeconds) : timing.duration;
    run.totalSamples = static_cast<std::uint32_t>(double{sampleRate} * run.duration);

    if (timing.autocorrection == AutocorrectionMode::Precalculated) {
        // The lock covers at least 115 periods, in whole blocks, computed in single precision
        // as the weights of its progress are.
        const float samples = run.samplesPerStep * 115.0f / run.stepFraction;
        run.precalcBlocks = static_cast<std::uint32_t>(std::ceil(samples / 800.0f));
    }
    run.settleSteps = static_cast<std::uint32_t>(85.0 / run.stepFraction);

    // The check plays the attack up to its hold, in output samples, and then its periods.
    const double holdSamples = TrialHoldPosition(timing.t1Ratio, timing.t2Ratio) *
                               static_cast<double>(run.totalSamples) / (0.02 / run.duration + 1.05);
    const double samplesPerPeriod = double{run.samplesPerStep} / run.stepFraction;
    if (timing.autocorrection == AutocorrectionMode::Precalculated) {
        const double samples = holdSamples + kCheckLongestPeriods * samplesPerPeriod;
        run.checkBlocks = static_cast<std::uint32_t>(std::ceil(samples / kBlockSamples));
    }
    run.checkSteps = static_cast<std::uint32_t>(holdSamples / run.samplesPerStep +
                                                kCheckSettlePeriods / run.stepFraction);
    return run;
}

void RetimeRunSetup(RunSetup& run, double clockRatio, float sampleRate) {
    run.stepRate = static_cast<float>(run.stepRate * clockRatio);
    SetSampleClock(run, sampleRate);
}

}  // namespace sordanel
