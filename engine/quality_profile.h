#pragma once

#include <array>
#include <cstdint>

#include "engine/interpolation_kernel.h"

namespace sordanel {

// How finely one run simulates the string and how it resamples it.
struct QualityProfile {
    std::int32_t pointCount;  // points holding the string, both fixed ends included
    float periodFraction;     // share of a period that pointCount steps simulate
    KernelKind kernel;
};

inline constexpr float kSampleRate = 44100.0f;

// Indexed by the settings' quality: 0 Low, 1 High.
extern const std::array<QualityProfile, 2> kQualityProfiles;
// Every preview, whatever the quality.
extern const QualityProfile kPreviewProfile;

}  // namespace sordanel
