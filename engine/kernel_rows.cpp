#include "engine/kernel_rows.h"

#include <cassert>
#include <cmath>

namespace sordanel {

// The phase stays below kernelStep, or reaches it by rounding, so a sample starts at a row up
// to floor(kernelStep) and reads the rises of one row more. With taps * kernelStep below the
// kernel's entries, floor(kernelStep) + 2 rows hold at most the entries and two more per tap.
KernelRows::KernelRows(std::uint32_t maxTaps) {
    const std::size_t most = std::size_t{kMaxKernelEntries} + 2 * std::size_t{maxTaps};
    entries_.reserve(most);
    rises_.reserve(most);
    fractions_.reserve(maxTaps);
}

void KernelRows::Build(const InterpolationKernel& kernel, float kernelStep, std::uint32_t taps) {
    kernel_ = kernel.table;
    kernelStep_ = kernelStep;
    taps_ = taps;
    const auto rows = static_cast<std::uint32_t>(kernelStep) + 2;
    assert(std::size_t{rows} * taps <= entries_.capacity() && taps <= fractions_.capacity());
    entries_.assign(std::size_t{rows} * taps, 0.0f);
    rises_.assign(std::size_t{rows} * taps, 0.0);
    fractions_.resize(taps);
    for (std::uint32_t i = 0; i < taps; ++i) {
        const double position = i * double{kernelStep};
        const double first = std::floor(position);
        fractions_[i] = position - first;
        for (std::uint32_t row = 0; row < rows; ++row) {
            // Past the kernel's end the rows hold 0; a position never lies there, so only a
            // weight of 0 reads them.
            const auto entry = static_cast<std::uint32_t>(first) + row;
            const std::size_t at = std::size_t{row} * taps + i;
            if (entry < kernel.entries) {
                entries_[at] = kernel.table[entry];
            }
            if (entry + 1 < kernel.entries) {
                rises_[at] = double{kernel.table[entry + 1]} - kernel.table[entry];
            }
        }
    }
}

}  // namespace sordanel
