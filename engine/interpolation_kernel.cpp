#include "engine/interpolation_kernel.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace sordanel {

namespace {

// Each kernel is a Kaiser-windowed two-step ideal low-pass centred on entry `centre`:
//   h(t) = (g1 * 2 f1 sinc(2 f1 t) + g2 * 2 f2 sinc(2 f2 t)) * kaiser(t / W, beta),
// t in string steps from the centre. Its ideal response is g1 + g2 up to f1 and a shelf of
// g2 from f1 to f2 (cycles per step); the shelf lets a window this short still fall from the
// band edge to deep attenuation at half the step rate. The parameters are fitted to the
// kernels' response targets, their attenuation over the whole stop band (what passes there
// folds into the sound as inharmonic tones) and then their telling entries, by
// scripts/fit-interpolation-kernels.py.
struct KernelDesign {
    std::uint32_t entries;
    std::uint32_t stride;
    std::uint32_t centre;
    double bandGain;         // g1
    double bandCutoff;       // f1
    double shelfGain;        // g2
    double shelfCutoff;      // f2
    double windowShape;      // Kaiser beta
    double windowHalfWidth;  // W, in string steps; the kernel is 0 beyond it
};

constexpr KernelDesign kPreviewDesign{.entries = 849,
                                      .stride = 106,
                                      .centre = 384,
                                      .bandGain = 0.723428,
                                      .bandCutoff = 0.289330,
                                      .shelfGain = 0.336662,
                                      .shelfCutoff = 0.426005,
                                      .windowShape = 0.029082,
                                      .windowHalfWidth = 3.531287};
constexpr KernelDesign kLowDesign{.entries = 5877,
                                  .stride = 452,
                                  .centre = 2735,
                                  .bandGain = 0.647651,
                                  .bandCutoff = 0.336543,
                                  .shelfGain = 0.384677,
                                  .shelfCutoff = 0.418377,
                                  .windowShape = 2.002471,
                                  .windowHalfWidth = 5.991565};
constexpr KernelDesign kHighDesign{.entries = 59401,
                                   .stride = 2200,
                                   .centre = 28675,
                                   .bandGain = 0.620202,
                                   .bandCutoff = 0.389231,
                                   .shelfGain = 0.365246,
                                   .shelfCutoff = 0.426248,
                                   .windowShape = 2.747525,
                                   .windowHalfWidth = 12.953658};

static_assert(kPreviewDesign.entries <= kMaxKernelEntries &&
              kLowDesign.entries <= kMaxKernelEntries && kHighDesign.entries <= kMaxKernelEntries);

// Modified Bessel function of the first kind, order 0, by its power series.
double BesselI0(double x) {
    const double quarterSquare = x * x / 4.0;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; term > 1e-17 * sum; ++k) {
        term *= quarterSquare / (static_cast<double>(k) * k);
        sum += term;
    }
    return sum;
}

// Ideal low-pass of the given gain and cutoff (cycles per step) at t steps from its centre.
double IdealLowPass(double gain, double cutoff, double t) {
    if (t == 0.0) {
        return gain * 2.0 * cutoff;
    }
    return gain * std::sin(2.0 * std::numbers::pi * cutoff * t) / (std::numbers::pi * t);
}

// One kernel's table, filled from its design in double precision and stored as float.
class BuiltKernel {
public:
    explicit BuiltKernel(const KernelDesign& design) : values_(design.entries, 0.0f) {
        const double windowNorm = BesselI0(design.windowShape);
        // The response is even in t, and an entry d before the centre has exactly the negated
        // t of the entry d after it: each value is computed once and stored on both sides,
        // which halves the cost of the program's first High note.
        for (std::uint32_t d = 0; design.centre + d < design.entries; ++d) {
            const double t = static_cast<double>(d) / design.stride;
            const double u = t / design.windowHalfWidth;
            if (u >= 1.0) {
                break;
            }
            const double window =
                BesselI0(design.windowShape * std::sqrt(1.0 - u * u)) / windowNorm;
            const double lowPass = IdealLowPass(design.bandGain, design.bandCutoff, t) +
                                   IdealLowPass(design.shelfGain, design.shelfCutoff, t);
            values_[design.centre + d] = static_cast<float>(lowPass * window);
            if (d <= design.centre) {
                values_[design.centre - d] = values_[design.centre + d];
            }
        }
        kernel_ = {values_.data(), design.entries, design.stride};
    }

    const InterpolationKernel& Kernel() const { return kernel_; }

private:
    std::vector<float> values_;
    InterpolationKernel kernel_{};
};

}  // namespace

const InterpolationKernel& GetInterpolationKernel(KernelKind kind) {
    switch (kind) {
        case KernelKind::Preview: {
            static const BuiltKernel preview(kPreviewDesign);
            return preview.Kernel();
        }
        case KernelKind::Low: {
            static const BuiltKernel low(kLowDesign);
            return low.Kernel();
        }
        case KernelKind::High:
            break;
    }
    // High is built after the switch so that every path returns a kernel.
    static const BuiltKernel high(kHighDesign);
    return high.Kernel();
}

}  // namespace sordanel
