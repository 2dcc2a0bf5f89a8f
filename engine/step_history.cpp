#include "engine/step_history.h"

#include <algorithm>

#include "engine/hot_path.h"

namespace sordanel {

namespace {

// Both readings sum products of floats and weights made of them, nearly exact in double
// whatever the order: the taps are added side by side, and the result is rounded once. Each
// tap reads the kernel between the entries around its position rather than at the entry below
// it: rounding the position down would move each tap's weight by up to a whole entry, by an
// amount that follows the sample's phase, and that wobble sounds as inharmonic tones.

// Tap i weighs newestFirst[i] by the kernel at its position, which lies `into` entries past
// the entry the prepared rows hold for it at the sample's row: no index is computed and every
// array is read in order.
[[gnu::always_inline]] inline double WeighByRows(const float* newestFirst, const KernelRows& rows,
                                                 double stepPhase) {
    const auto row = static_cast<std::uint32_t>(stepPhase);
    const float* const entry = rows.Row(row);
    const double* const rise = rows.Rises(row);
    const double* const nextRise = rows.Rises(row + 1);
    const double* const tapFraction = rows.tapFractions();
    const double phaseFraction = stepPhase - row;
    const auto taps = static_cast<std::int32_t>(rows.taps());
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (std::int32_t i = 0; i < taps; ++i) {
        // Up to 2: past 1 the position lies between the next two entries, where the next
        // rise takes over from the first.
        const double into = tapFraction[i] + phaseFraction;
        const double alongRise = into < 1.0 ? into : 1.0;
        const double alongNextRise = into - alongRise;
        const double weight = entry[i] + rise[i] * alongRise + nextRise[i] * alongNextRise;
        sum += double{newestFirst[i]} * weight;
    }
    return sum;
}

// Tap i weighs newestFirst[i] by the kernel at i * kernelStep + stepPhase. Signed indices,
// because only those convert from double in a vector. The position stays below the last entry,
// but a phase rounded up to kernelStep could reach it: the pair read then ends there.
[[gnu::always_inline]] inline double WeighByKernel(const float* newestFirst,
                                                   const InterpolationKernel& kernel,
                                                   float kernelStep, std::uint32_t kernelTaps,
                                                   double stepPhase) {
    const float* const table = kernel.table;
    const double entryStep = kernelStep;
    const auto lastPair = static_cast<std::int32_t>(kernel.entries) - 2;
    const auto taps = static_cast<std::int32_t>(kernelTaps);
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (std::int32_t i = 0; i < taps; ++i) {
        const double position = i * entryStep + stepPhase;
        const std::int32_t entry = std::min(static_cast<std::int32_t>(position), lastPair);
        const double first = table[entry];
        const double second = table[entry + 1];
        sum += double{newestFirst[i]} * (first + (second - first) * (position - entry));
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
