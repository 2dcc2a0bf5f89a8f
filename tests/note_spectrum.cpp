#include "tests/note_spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "tests/fft.h"

namespace sordanel::testing {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

std::size_t PowerOfTwoAtLeast(std::size_t n) {
    std::size_t size = 1;
    while (size < n) {
        size <<= 1;
    }
    return size;
}

// Four-term Blackman-Harris window at x in [0, 1]: its side lobes lie 92 dB down, below
// anything measured here, and its main lobe spans four bins each side.
double BlackmanHarris(double x) {
    const double a = kTwoPi * x;
    return 0.35875 - 0.48829 * std::cos(a) + 0.14128 * std::cos(2 * a) - 0.01168 * std::cos(3 * a);
}
constexpr double kMainLobeBins = 4;

// Power spectrum of the windowed samples, zero-padded to twice their length or more.
std::vector<double> PowerSpectrum(std::span<const double> x) {
    std::vector<std::complex<double>> bins(PowerOfTwoAtLeast(2 * x.size()));
    const double last = static_cast<double>(x.size() - 1);
    for (std::size_t n = 0; n < x.size(); ++n) {
        bins[n] = x[n] * BlackmanHarris(static_cast<double>(n) / last);
    }
    Fft(bins);
    std::vector<double> power(bins.size() / 2);
    for (std::size_t k = 0; k < power.size(); ++k) {
        power[k] = std::norm(bins[k]);
    }
    return power;
}

// The fundamental's peak near nearHz, in Hz, between the neighbouring half-octaves' bins.
double FundamentalPeakHz(std::span<const double> x, double rate, double nearHz) {
    const std::vector<double> power = PowerSpectrum(x);
    const double binHz = rate / (2.0 * static_cast<double>(power.size()));
    const auto from =
        std::max<std::size_t>(1, static_cast<std::size_t>(nearHz / std::sqrt(2.0) / binHz));
    const auto to = static_cast<std::size_t>(nearHz * std::sqrt(2.0) / binHz);
    const auto peak =
        static_cast<std::size_t>(std::max_element(power.begin() + static_cast<std::ptrdiff_t>(from),
                                                  power.begin() + static_cast<std::ptrdiff_t>(to)) -
                                 power.begin());
    // A parabola through the log powers of the peak and its neighbours.
    const double left = std::log(power[peak - 1]);
    const double middle = std::log(power[peak]);
    const double right = std::log(power[peak + 1]);
    const double offset = 0.5 * (left - right) / (left - 2 * middle + right);
    return (static_cast<double>(peak) + offset) * binHz;
}

// The fundamental's phase at every sample, unwrapped: the excerpt's components within half the
// fundamental of it, as an analytic signal. The excerpt fades in and out over `fade` samples
// first, so that its cut ends do not spill the harmonics into the fundamental's band.
std::vector<double> FundamentalPhase(std::span<const double> x, double rate, double hz,
                                     std::size_t fade) {
    std::vector<std::complex<double>> bins(PowerOfTwoAtLeast(2 * x.size()));
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double edge = static_cast<double>(std::min(n, x.size() - 1 - n));
        const double ramp = std::sin(0.5 * std::numbers::pi * std::min(edge / fade, 1.0));
        bins[n] = x[n] * ramp * ramp;
    }
    Fft(bins);
    const double binHz = rate / static_cast<double>(bins.size());
    for (std::size_t k = 0; k < bins.size(); ++k) {
        // Flat within 0.3 of hz, where a vibrato's sidebands lie, and falling on a raised
        // cosine to nothing at 0.5; nothing at negative frequencies.
        const double distance = std::abs(static_cast<double>(k) * binHz - hz) / hz;
        const double taper = std::clamp((distance - 0.3) / 0.2, 0.0, 1.0);
        const bool positive = k < bins.size() / 2;
        bins[k] *= positive ? 0.5 + 0.5 * std::cos(std::numbers::pi * taper) : 0.0;
    }
    Fft(bins, true);
    std::vector<double> phase(x.size());
    double turns = 0;
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double wrapped = std::arg(bins[n]);
        if (n > 0) {
            const double step = wrapped + turns - phase[n - 1];
            turns -= kTwoPi * std::round(step / kTwoPi);
        }
        phase[n] = wrapped + turns;
    }
    return phase;
}

// x at a time between samples, by a sinc under a Blackman-Harris window of 128 samples each
// side: accurate to some 90 dB up to 0.48 of the sample rate, above what the notes hold.
double ValueAt(std::span<const double> x, double t) {
    constexpr int kHalfWidth = 128;
    const double whole = std::floor(t);
    const double fraction = t - whole;
    const auto centre = static_cast<std::ptrdiff_t>(whole);
    const double sinePart = std::sin(std::numbers::pi * fraction) / std::numbers::pi;
    // The window's angle 2 pi (1/2 + d / (2 kHalfWidth)) falls by pi / kHalfWidth per tap.
    std::complex<double> angle = std::polar(
        1.0, std::numbers::pi + std::numbers::pi * (fraction + kHalfWidth - 1) / kHalfWidth);
    const std::complex<double> turn = std::polar(1.0, -std::numbers::pi / kHalfWidth);
    double sum = 0;
    for (int i = -kHalfWidth + 1; i <= kHalfWidth; ++i, angle *= turn) {
        const std::ptrdiff_t n = centre + i;
        if (n < 0 || n >= static_cast<std::ptrdiff_t>(x.size())) {
            continue;
        }
        const double d = fraction - i;  // t - n
        // sin(pi (fraction - i)) = (-1)^i sin(pi fraction)
        const double sinc = d == 0 ? 1.0 : ((i % 2 == 0) ? sinePart : -sinePart) / d;
        const double c1 = angle.real();
        const double c2 = 2 * c1 * c1 - 1;
        const double c3 = (4 * c1 * c1 - 3) * c1;
        const double window = 0.35875 - 0.48829 * c1 + 0.14128 * c2 - 0.01168 * c3;
        sum += x[static_cast<std::size_t>(n)] * sinc * window;
    }
    return sum;
}

// The excerpt resampled where the fundamental's phase, fitted by a straight line over the
// middle part, says the sample would lie if the pitch held still; returns the mean pitch.
std::vector<double> EvenlyPhased(std::span<const double> x, double rate, double hz,
                                 double& meanHz) {
    const auto margin = static_cast<std::size_t>(std::ceil(5 * rate / hz));
    const std::vector<double> phase = FundamentalPhase(x, rate, hz, margin);
    const std::size_t first = margin;
    const std::size_t end = x.size() - margin;
    // Least-squares line through the phase of the middle part.
    double sumT = 0, sumP = 0, sumTT = 0, sumTP = 0;
    for (std::size_t n = first; n < end; ++n) {
        const double t = static_cast<double>(n);
        sumT += t;
        sumP += phase[n];
        sumTT += t * t;
        sumTP += t * phase[n];
    }
    const double count = static_cast<double>(end - first);
    const double slope = (count * sumTP - sumT * sumP) / (count * sumTT - sumT * sumT);
    meanHz = slope * rate / kTwoPi;

    const auto phaseAt = [&](double t) {
        const auto n = static_cast<std::size_t>(t);
        const double fraction = t - static_cast<double>(n);
        return phase[n] + fraction * (phase[n + 1] - phase[n]);
    };
    std::vector<double> even;
    double t = static_cast<double>(first);
    for (double target = phase[first]; t < static_cast<double>(end - 1); target += slope) {
        for (int i = 0; i < 4; ++i) {
            t -= (phaseAt(t) - target) / slope;
        }
        even.push_back(ValueAt(x, t));
        t += 1;
    }
    return even;
}

}  // namespace

NoteSpectrum MeasureNoteSpectrum(std::span<const double> excerpt, double sampleRate,
                                 double nearHz) {
    const double peakHz = FundamentalPeakHz(excerpt, sampleRate, nearHz);
    NoteSpectrum result{};
    const std::vector<double> even =
        EvenlyPhased(excerpt, sampleRate, peakHz, result.fundamentalHz);
    const std::vector<double> power = PowerSpectrum(even);
    const double binHz = sampleRate / (2.0 * static_cast<double>(power.size()));
    // A component's main lobe, and one unpadded bin more for what remains of a drift.
    const double halfBand =
        (kMainLobeBins + 1) * sampleRate / static_cast<double>(even.size()) / binHz;
    const double f0Bins = result.fundamentalHz / binHz;

    double fundamental = 0, fundamentalPeak = 0, off = 0, strongest = 0;
    for (std::size_t k = 0; k < power.size(); ++k) {
        const double bin = static_cast<double>(k);
        const double harmonic = std::round(bin / f0Bins);
        if (bin < halfBand) {
            continue;  // the quantiser's offset and what the high-pass leaves of it
        }
        if (std::abs(bin - harmonic * f0Bins) <= halfBand) {
            if (harmonic == 1) {
                fundamental += power[k];
                fundamentalPeak = std::max(fundamentalPeak, power[k]);
            }
            continue;
        }
        off += power[k];
        if (power[k] > strongest) {
            strongest = power[k];
            result.strongestHz = bin * binHz;
        }
    }
    result.nonHarmonicDb = 10 * std::log10(off / fundamental);
    result.strongestDb = 10 * std::log10(strongest / fundamentalPeak);
    return result;
}

}  // namespace sordanel::testing
