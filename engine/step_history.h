#pragma once

#include <array>
#include <cstdint>

#include "engine/interpolation_kernel.h"
#include "engine/kernel_rows.h"

namespace sordanel {

// The recent output values of the string steps, one per step, and their resampling to the
// output rate through an interpolation kernel.
class StepHistory {
public:
    // A power of two above the most taps any admitted note asks for (about 1400 at High
    // quality for the top note detuned upward), so no tap reads a value twice.
    static constexpr std::uint32_t kSize = 2048;

    void Clear() { values_.fill(0.0f); }
    // Lays out the run's kernel for reading in order, at set-up; a run of the same layout as
    // the last one reuses it. Asked with any other kernel, step or tap count, the history
    // reads the kernel directly.
    void PrepareKernel(const InterpolationKernel& kernel, float kernelStep,
                       std::uint32_t kernelTaps) {
        if (!rows_.IsFor(kernel, kernelStep, kernelTaps)) {
            rows_.Build(kernel, kernelStep, kernelTaps);
        }
    }
    // Each value is kept twice, kSize entries apart, in a ring that runs backwards: the last
    // kSize values then lie newest first in one run that never wraps, which the interpolation
    // reads with plain vector loads.
    void Store(std::uint32_t stepCount, float value) {
        const std::uint32_t slot = SlotOf(stepCount);
        values_[slot] = value;
        values_[slot + kSize] = value;
    }
    float At(std::uint32_t stepCount) const { return values_[SlotOf(stepCount)]; }

    // The output value at a sample lying stepPhase kernel entries after step targetStep:
    // the history weighed by the kernel read every kernelStep entries, each reading taken
    // between the two entries around its position.
    float InterpolateOutput(const InterpolationKernel& kernel, float kernelStep,
                            std::uint32_t kernelTaps, std::uint32_t targetStep,
                            double stepPhase) const;

private:
    static constexpr std::uint32_t kMask = kSize - 1;
    static std::uint32_t SlotOf(std::uint32_t stepCount) { return (0u - stepCount) & kMask; }

    std::array<float, 2 * kSize> values_{};
    KernelRows rows_{kSize};
};

}  // namespace sordanel
