#include "step_history.h"

#include "hot_path.h"

namespace sordanel {

SORDANEL_HOT_PATH float StepHistory::InterpolateOutput(const InterpolationKernel& kernel,
                                                       float kernelStep, std::uint32_t kernelTaps,
                                                       std::uint32_t targetStep,
                                                       float stepPhase) const {
    // The products of floats are exact in double and their sum nearly so, whatever the order:
    // the taps may be added side by side, and the result is rounded once.
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (std::uint32_t i = 0; i < kernelTaps; ++i) {
        const auto entry = static_cast<std::uint32_t>(i * double{kernelStep} + stepPhase);
        sum += double{values_[(targetStep - i) & kMask]} * kernel.table[entry];
    }
    return static_cast<float>(sum);
}

}  // namespace sordanel
