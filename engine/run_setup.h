#pragma once

#include <cstdint>

#include "engine/generation_settings.h"
#include "engine/quality_profile.h"

namespace sordanel {

// The constants one run derives from the settings before it synthesises anything.
struct RunSetup {
    QualityProfile profile;
    float noteFrequency;          // target fundamental, Hz
    std::int32_t bowPoint;        // string point under the bow
    float stepFraction;           // share of a period simulated by one string step
    float stepRate;               // string steps per second of sound, at least 10000
    float samplesPerStep;         // output samples per string step
    float kernelStep;             // kernel entries per output sample distance of one step
    std::uint32_t kernelTaps;     // history values weighed for one output sample
    float duration;               // seconds, at most 3 in a preview
    std::uint32_t totalSamples;   // output samples of the run
    std::uint32_t precalcBlocks;  // 800-sample blocks of the trial run; 0 without one
    std::uint32_t settleSteps;    // trial-run steps left out of the averaged correction
};

inline constexpr float kMinStepRate = 10000.0f;
inline constexpr float kPreviewMaxSeconds = 3.0f;
inline constexpr std::uint32_t kBlockSamples = 800;

// sampleRate is the output rate in Hz: the files' 44100, or a live host's own rate.
RunSetup ComputeRunSetup(const GenerationSettings& settings, bool preview,
                         float sampleRate = kSampleRate);

// Position of output sample n on the string's clock, in steps. Kept in double: in single
// precision its rounding grows with the sample index and shakes the timing of long notes.
inline double StepClock(const RunSetup& run, std::uint32_t n) {
    return static_cast<double>(n) / run.samplesPerStep;
}

// Position of output sample n within the bow's envelope: 0 at the start, 1 where the bow leaves
// the string, which is a little before the note's end, so the release reaches silence.
inline float EnvelopePosition(const RunSetup& run, std::uint32_t n) {
    return static_cast<float>((0.02 / run.duration + 1.05) * n / run.totalSamples);
}

}  // namespace sordanel
