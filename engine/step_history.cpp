#include "engine/step_history.h"

#include "engine/hot_path.h"

namespace sordanel {

namespace {

// Both readings sum products of floats, which are exact in double, and the sum is nearly so
// whatever the order: the taps are added side by side, and the result is rounded once.

// Tap i weighs newestFirst[i] by the entry the prepared rows hold for it: no index is computed
// and every array is read in order.
[[gnu::always_inline]] inline double WeighByRows(const float* newestFirst, const KernelRows& rows,
                                                 double stepPhase) {
    const auto row = static_cast<std::uint32_t>(stepPhase);
    const float* const entry = rows.Row(row);
    const float* const nextEntry = rows.Row(row + 1);
    const double* const position = rows.tapPositions();
    const double* const limit = rows.carryLimits();
    const double rowOffset = row;
    const auto taps = static_cast<std::int32_t>(rows.taps());
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (std::int32_t i = 0; i < taps; ++i) {
        // Both entries are loaded and one is kept, which vectorises as a blend.
        const float here = entry[i];
        const float next = nextEntry[i];
        const float weight = position[i] + stepPhase >= limit[i] + rowOffset ? next : here;
        sum += double{newestFirst[i]} * weight;
    }
    return sum;
}

// Tap i weighs newestFirst[i] by kernel entry floor(i * kernelStep + stepPhase). Signed
// indices, because only those convert from double in a vector.
[[gnu::always_inline]] inline double WeighByKernel(const float* newestFirst,
                                                   const InterpolationKernel& kernel,
                                                   float kernelStep, std::uint32_t kernelTaps,
                                                   double stepPhase) {
    const float* const table = kernel.table;
    const double entryStep = kernelStep;
    const auto taps = static_cast<std::int32_t>(kernelTaps);
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (std::int32_t i = 0; i < taps; ++i) {
        const auto entry = static_cast<std::int32_t>(i * entryStep + stepPhase);
        sum += double{newestFirst[i]} * table[entry];
    }
    return sum;
}

}  // namespace

SORDANEL_HOT_PATH float StepHistory::InterpolateOutput(const InterpolationKernel& kernel,
                                                       float kernelStep, std::uint32_t kernelTaps,
                                                       std::uint32_t targetStep,
                                                       double stepPhase) const {
    // Tap i weighs the value of step targetStep - i, which the mirrored ring holds at
    // newestFirst[i].
    const float* const newestFirst = values_.data() + SlotOf(targetStep);
    const double sum = rows_.IsFor(kernel, kernelStep, kernelTaps)
                           ? WeighByRows(newestFirst, rows_, stepPhase)
                           : WeighByKernel(newestFirst, kernel, kernelStep, kernelTaps, stepPhase);
    return static_cast<float>(sum);
}

}  // namespace sordanel
