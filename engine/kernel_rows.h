#pragma once

#include <cstdint>
#include <vector>

#include "engine/interpolation_kernel.h"

namespace sordanel {

// One run's interpolation kernel laid out so that a sample reads it in order. Tap i of a sample
// at stepPhase p weighs kernel entry floor(i * kernelStep + p): the entry of row floor(p) at
// column i, or of the row after it when the fractions of i * kernelStep and of p carry into the
// next entry. Each column keeps i * kernelStep and the sum where the carry begins, so that the
// choice is made on the same double sum the direct reading of the kernel takes.
class KernelRows {
public:
    // Reserves room for any kernel read with up to maxTaps taps, so that building the rows of
    // a run allocates nothing and cannot fail.
    explicit KernelRows(std::uint32_t maxTaps);

    // Done while a run is set up; taps at most the constructor's maxTaps.
    void Build(const InterpolationKernel& kernel, float kernelStep, std::uint32_t taps);
    bool IsFor(const InterpolationKernel& kernel, float kernelStep, std::uint32_t taps) const {
        return kernel.table == kernel_ && kernelStep == kernelStep_ && taps == taps_;
    }

    std::uint32_t taps() const { return taps_; }
    const float* Row(std::uint32_t row) const { return entries_.data() + std::size_t{row} * taps_; }
    const double* tapPositions() const { return positions_.data(); }  // i * kernelStep
    const double* carryLimits() const { return limits_.data(); }      // floor(i * kernelStep) + 1

private:
    const float* kernel_ = nullptr;
    float kernelStep_ = 0;
    std::uint32_t taps_ = 0;
    std::vector<float> entries_;
    std::vector<double> positions_;
    std::vector<double> limits_;
};

}  // namespace sordanel
