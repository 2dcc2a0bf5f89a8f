#pragma once

#include <cstdint>
#include <vector>

#include "engine/interpolation_kernel.h"

namespace sordanel {

// One run's interpolation kernel laid out so that a sample reads it in order. Tap i of a sample
// at stepPhase p weighs the kernel at i * kernelStep + p, on the straight line between the two
// entries around that position. Row r holds at column i entry floor(i * kernelStep) + r and
// the rise from it to the entry after it: a sample reads row floor(p) and the rise of the row
// after, and the fractions of i * kernelStep and of p tell how far past the row's entry the
// position lies.
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
    // The rise from each entry to the next: exact in double, and read as they are, with no
    // conversion in the loop that reads them.
    const double* Rises(std::uint32_t row) const {
        return rises_.data() + std::size_t{row} * taps_;
    }
    // i * kernelStep - floor(i * kernelStep), in [0, 1)
    const double* tapFractions() const { return fractions_.data(); }

private:
    const float* kernel_ = nullptr;
    float kernelStep_ = 0;
    std::uint32_t taps_ = 0;
    std::vector<float> entries_;
    std::vector<double> rises_;
    std::vector<double> fractions_;
};

}  // namespace sordanel
