#include "engine/kernel_rows.h"

#include <cassert>
#include <cmath>

namespace sordanel {

// floor(kernelStep) + 2 rows of taps entries: with taps * kernelStep below the kernel's
// entries, that is at most the entries and two more per tap.
KernelRows::KernelRows(std::uint32_t maxTaps) {
    entries_.reserve(std::size_t{kMaxKernelEntries} + 2 * std::size_t{maxTaps});
    positions_.reserve(maxTaps);
    limits_.reserve(maxTaps);
}

void KernelRows::Build(const InterpolationKernel& kernel, float kernelStep, std::uint32_t taps) {
    kernel_ = kernel.table;
    kernelStep_ = kernelStep;
    taps_ = taps;
    // The phase stays below kernelStep, so rows up to floor(kernelStep) are chosen and one more
    // is read for the carry.
    const auto rows = static_cast<std::uint32_t>(kernelStep) + 2;
    assert(std::size_t{rows} * taps <= entries_.capacity() && taps <= positions_.capacity());
    entries_.assign(std::size_t{rows} * taps, 0.0f);
    positions_.resize(taps);
    limits_.resize(taps);
    for (std::uint32_t i = 0; i < taps; ++i) {
        positions_[i] = i * double{kernelStep};
        const double first = std::floor(positions_[i]);
        limits_[i] = first + 1.0;
        for (std::uint32_t row = 0; row < rows; ++row) {
            const auto entry = static_cast<std::uint32_t>(first) + row;
            // Entries past the kernel's end are never chosen; the carry row only reads them.
            entries_[std::size_t{row} * taps + i] =
                entry < kernel.entries ? kernel.table[entry] : 0.0f;
        }
    }
}

}  // namespace sordanel
