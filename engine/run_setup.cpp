#include "run_setup.h"

#include <algorithm>
#include <cmath>

#include "interpolation_kernel.h"
#include "note_frequency.h"

namespace sordanel {

namespace {

// After the attack the trial run measures for at most this many periods of the note: the
// regime settles and the pitch is read twice, before and after the first correction.
constexpr double kTrialPeriodsAfterAttack = 200;

}  // namespace

RunSetup ComputeRunSetup(const GenerationSettings& settings, bool preview, float sampleRate) {
    RunSetup run{};
    run.noteFrequency =
        NoteFrequency({settings.noteIndex, settings.c4Index, settings.justIntonation,
                       settings.keyIndex, settings.detune});
    run.profile =
        preview ? kPreviewProfile : kQualityProfiles[settings.quality == Quality::High ? 1 : 0];
    const auto pointCount = run.profile.pointCount;
    run.bowPoint = static_cast<std::int32_t>(pointCount * double{settings.bowPosition} + 0.5);

    run.stepFraction = run.profile.periodFraction / static_cast<float>(pointCount);
    run.stepRate = static_cast<float>(double{run.noteFrequency} / run.stepFraction);
    if (run.stepRate < kMinStepRate) {
        // Low notes would be simulated too coarsely in time: hold the rate, shorten the step.
        run.stepRate = kMinStepRate;
        run.stepFraction = static_cast<float>(double{run.noteFrequency} / kMinStepRate);
    }
    run.samplesPerStep = static_cast<float>(double{sampleRate} / run.stepRate);

    const InterpolationKernel& kernel = GetInterpolationKernel(run.profile.kernel);
    // Above the output rate the kernel is stretched into an anti-aliasing filter.
    run.kernelStep = run.samplesPerStep > 1.0f
                         ? static_cast<float>(kernel.stride)
                         : static_cast<float>(kernel.stride * double{run.samplesPerStep});
    run.kernelTaps = static_cast<std::uint32_t>((kernel.entries - 1) / double{run.kernelStep});

    run.duration = preview ? std::min(settings.duration, kPreviewMaxSeconds) : settings.duration;
    run.totalSamples = static_cast<std::uint32_t>(double{sampleRate} * run.duration);

    if (settings.autocorrection != AutocorrectionMode::Off) {
        // The trial run plays the note's own attack, so that the string reaches the regime the
        // note will play in, then holds the bow where the attack ends (or where the release
        // would begin, for a note without a steady part) while the pitch is measured.
        run.trialHold = std::min(settings.t1Ratio, 1.0f - settings.t2Ratio);
        const double envelopePerSample = (0.02 / run.duration + 1.05) / run.totalSamples;
        run.attackSamples =
            static_cast<std::uint32_t>(std::ceil(run.trialHold / envelopePerSample));
        const double periodSamples = double{run.samplesPerStep} / run.stepFraction;
        const double samples = run.attackSamples + kTrialPeriodsAfterAttack * periodSamples;
        run.precalcBlocks = static_cast<std::uint32_t>(std::ceil(samples / kBlockSamples));
    }
    return run;
}

}  // namespace sordanel
