#pragma once

#include <cstdint>

namespace sordanel {

// A band-limited interpolation response, oversampled by `stride` entries per string step.
// Entry x is the weight of a string step lying x / stride steps before the output sample.
struct InterpolationKernel {
    const float* table;
    std::uint32_t entries;
    std::uint32_t stride;  // kernelStride
};

enum class KernelKind { Preview, Low, High };

// The most entries of any kernel (High's), for storage sized once for every run.
inline constexpr std::uint32_t kMaxKernelEntries = 59401;

// The kernel of one quality profile; computed on first use (thread-safe), read-only after.
const InterpolationKernel& GetInterpolationKernel(KernelKind kind);

}  // namespace sordanel
