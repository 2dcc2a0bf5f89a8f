#include "kernel_rows.h"

#include <cmath>

namespace sordanel {

void KernelRows::Build(const InterpolationKernel& kernel, float kernelStep, std::uint32_t taps) {
    kernel_ = kernel.table;
    kernelStep_ = kernelStep;
    taps_ = taps;
    // φ stays below kernelStep, so rows up to floor(kernelStep) are chosen and one more is read
    // for the carry.
    const auto rows = static_cast<std::uint32_t>(kernelStep) + 2;
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
