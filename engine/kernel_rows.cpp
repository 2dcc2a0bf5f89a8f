#include "engine/kernel_rows.h"

#include <cassert>
#include <cmath>

namespace sordanel {

// floor(kernelStep) + 3 rows of taps entries: with taps * kernelStep below the kernel's
// entries, that is at most the entries and three more per tap.
KernelRows::KernelRows(std::uint32_t maxTaps) {
    entries_.reserve(std::size_t{kMaxKernelEntries} + 3 * std::size_t{maxTaps});
    fractions_.reserve(maxTaps);
}

void KernelRows::Build(const InterpolationKernel& kernel, float kernelStep, std::uint32_t taps) {
    kernel_ = kernel.table;
    kernelStep_ = kernelStep;
    taps_ = taps;
    // The phase stays below kernelStep, so rows up to floor(kernelStep) come first in a read,
    // and the two after them hold the entries the position may lie between.
    const auto rows = static_cast<std::uint32_t>(kernelStep) + 3;
    assert(std::size_t{rows} * taps <= entries_.capacity() && taps <= fractions_.capacity());
    entries_.assign(std::size_t{rows} * taps, 0.0f);
    fractions_.resize(taps);
    for (std::uint32_t i = 0; i < taps; ++i) {
        const double position = i * double{kernelStep};
        const double first = std::floor(position);
        fractions_[i] = position - first;
        for (std::uint32_t row = 0; row < rows; ++row) {
            const auto entry = static_cast<std::uint32_t>(first) + row;
            // Entries past the kernel's end are read with a weight of 0 only.
            entries_[std::size_t{row} * taps + i] =
                entry < kernel.entries ? kernel.table[entry] : 0.0f;
        }
    }
}

}  // namespace sordanel
