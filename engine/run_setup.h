#pragma once

#include <cstdint>

#include "generation_settings.h"
#include "quality_profile.h"

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
    float trialHold;              // envelope position where the trial run holds the bow
    std::uint32_t attackSamples;  // output samples of the trial run before it holds the bow
    std::uint32_t precalcBlocks;  // 800-sample blocks of the trial run at most; 0 without one
};

inline constexpr float kMinStepRate = 10000.0f;
inline constexpr float kPreviewMaxSeconds = 3.0f;
inline constexpr std::uint32_t kBlockSamples = 800;

RunSetup ComputeRunSetup(const GenerationSettings& settings, bool preview);

}  // namespace sordanel
