#include "engine/string_pitch_meter.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace sordanel {

namespace {

// The fit is refined this often, each time demodulating at the last estimate, so that the
// windows span whole played periods and the harmonics cancel in them.
constexpr int kRefinements = 3;
// Fewer whole periods than this give no reliable slope.
constexpr std::size_t kMinPeriods = 8;
// Largest spread of the periods' phases about the fitted line, in radians, for a pitch to count
// as steady: a steady note stays within some hundredths.
constexpr double kMaxPhaseSpread = 0.35;

// Least-squares line through the unwrapped phases at the window centres, kept as running sums
// so that a measure allocates nothing.
class LineFit {
public:
    void Add(double x, double y) {
        ++n_;
        sx_ += x;
        sy_ += y;
        sxx_ += x * x;
        sxy_ += x * y;
        syy_ += y * y;
    }
    double slope() const { return (n_ * sxy_ - sx_ * sy_) / (n_ * sxx_ - sx_ * sx_); }
    // Root mean square distance of the phases from the line.
    double spread() const {
        const double cxx = sxx_ - sx_ * sx_ / n_;
        const double cxy = sxy_ - sx_ * sy_ / n_;
        const double cyy = syy_ - sy_ * sy_ / n_;
        return std::sqrt(std::max(0.0, cyy - cxy * cxy / cxx) / n_);
    }

private:
    double n_ = 0, sx_ = 0, sy_ = 0, sxx_ = 0, sxy_ = 0, syy_ = 0;
};

}  // namespace

std::optional<double> StringPitchMeter::PlayedCycles(std::size_t first, std::size_t count) const {
    const std::size_t n = count;
    const float* const readings = readings_.data() + first;
    double mean = 0;
    for (std::size_t k = 0; k < n; ++k) {
        mean += readings[k];
    }
    mean /= static_cast<double>(n == 0 ? 1 : n);

    double cycles = nominalCycles_;
    double spread = 0;
    for (int refinement = 0; refinement < kRefinements; ++refinement) {
        // Hann windows two periods long, one period apart: a window's sum of the readings turned
        // back by the reference phase is the fundamental's phase at the window's centre.
        const auto period = static_cast<std::size_t>(std::lround(1.0 / cycles));
        if (period < 4 || n < (kMinPeriods + 1) * period) {
            return std::nullopt;
        }
        const std::size_t length = 2 * period;
        // The reference and the window turn by one step per reading, restarted at each window
        // so that their rounding does not build up.
        const std::complex<double> turn = std::polar(1.0, -2 * std::numbers::pi * cycles);
        const std::complex<double> windowTurn =
            std::polar(1.0, 2 * std::numbers::pi / static_cast<double>(length));
        LineFit fit;
        double strongest = 0;
        double lastPhase = 0;
        for (std::size_t start = 0; start + length <= n; start += period) {
            std::complex<double> sum = 0;
            std::complex<double> reference =
                std::polar(1.0, -2 * std::numbers::pi * cycles * static_cast<double>(start));
            std::complex<double> window = std::polar(1.0, std::numbers::pi / length);
            for (std::size_t k = 0; k < length; ++k) {
                sum += (readings[start + k] - mean) * (1 - window.real()) * reference;
                reference *= turn;
                window *= windowTurn;
            }
            strongest = std::max(strongest, std::abs(sum));
            double phase = std::arg(sum);
            if (start > 0) {
                // Unwrapped: the phase moves by less than half a turn per period as long as the
                // estimate is within half the frequency.
                phase = lastPhase + std::remainder(phase - lastPhase, 2 * std::numbers::pi);
            }
            lastPhase = phase;
            fit.Add(static_cast<double>(start) + static_cast<double>(length) / 2, phase);
        }
        if (strongest == 0) {
            return std::nullopt;  // a string at rest
        }
        cycles += fit.slope() / (2 * std::numbers::pi);
        spread = fit.spread();
        if (!(cycles > 0.5 * nominalCycles_ && cycles < 2 * nominalCycles_)) {
            return std::nullopt;
        }
    }
    if (spread > kMaxPhaseSpread) {
        return std::nullopt;
    }
    return cycles;
}

}  // namespace sordanel
