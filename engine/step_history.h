#pragma once

#include <array>
#include <cstdint>

#include "interpolation_kernel.h"

namespace sordanel {

// The recent output values of the string steps, one per step, and their resampling to the
// output rate through an interpolation kernel.
class StepHistory {
public:
    // A power of two above the most taps any admitted note asks for (about 1400 at High
    // quality for the top note detuned upward), so no tap reads a value twice.
    static constexpr std::uint32_t kSize = 2048;

    void Clear() { values_.fill(0.0f); }
    void Store(std::uint32_t stepCount, float value) { values_[stepCount & kMask] = value; }
    float At(std::uint32_t stepCount) const { return values_[stepCount & kMask]; }

    // The output value at a sample lying stepPhase kernel entries after step targetStep:
    // the history weighed by the kernel read every kernelStep entries.
    float InterpolateOutput(const InterpolationKernel& kernel, float kernelStep,
                            std::uint32_t kernelTaps, std::uint32_t targetStep,
                            float stepPhase) const;

private:
    static constexpr std::uint32_t kMask = kSize - 1;
    std::array<float, kSize> values_{};
};

}  // namespace sordanel
