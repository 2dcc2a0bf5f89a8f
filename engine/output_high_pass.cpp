#include "engine/output_high_pass.h"

#include <algorithm>
#include <cmath>

#include "engine/quality_profile.h"

namespace sordanel {

void OutputHighPass::Setup(float noteFrequency, float sampleRate) {
    const double f = noteFrequency;
    const float fileCoefficient = std::min(static_cast<float>(60 * f / kSampleRate), 0.5f);
    const auto ceiling = static_cast<float>(0.5 * kSampleRate / sampleRate);
    coefficient_ = std::min(static_cast<float>(60 * f / sampleRate), ceiling);
    // At another rate the filter's gain below its corner changes with 1 - coefficient; the
    // last factor takes that back, so a note sounds as loud as in a file. It is 1 at 44100 Hz.
    compensation_ = std::sqrt(kSampleRate * double{fileCoefficient} / f) *
                    ((1.0 - fileCoefficient) / (1.0 - coefficient_));
    lowPass_ = 0.0f;
}

}  // namespace sordanel
