#include "cli/pitch_estimate.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <optional>
#include <vector>

namespace sordanel {

namespace {

constexpr double kLowestHz = 25;
constexpr double kHighestHz = 4000;
// The comb reads partials up to here: the band where a string note has its strong ones.
constexpr double kCombTopHz = 8000;
// Beyond the 20th partial vibrato smears the partials of a low note into one another.
constexpr int kCombPartials = 20;
// A note shows its fundamental, or most of its first four partials.
constexpr int kFirstPartials = 4;
// Partials between every second (third) one of a candidate, weaker than this share of those,
// are the faint subharmonics of a note at twice (three times) the candidate.
constexpr double kSubharmonicShare = 0.4;
// A multiple of a candidate whose spectrum stays this far below the strongest partial (about
// -34 dB) holds no partial.
constexpr double kEmptyBelow = 0.02;
// Candidates 1/16 semitone apart; the refinement below takes it from there.
constexpr double kCandidateStep = 1.0 / 192;
// How far from its nominal place a partial may lie (vibrato, slight inharmonicity).
constexpr double kPartialSpread = 0.012;
constexpr std::size_t kShortestWindow = 1024;
// The comb needs a few periods of a candidate within its window to tell its partials apart.
constexpr double kPeriodsInWindow = 4;
constexpr std::size_t kLongestWindow = 32768;
// A period the signal repeats this closely at (normalised correlation) is its period.
constexpr double kSteadyCorrelation = 0.6;
// The refined pitch and the comb's choice must agree this closely.
constexpr double kAgreementCents = 40;
constexpr double kSilence = 1.0;  // peak of a silent part, in 16-bit steps

void Fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(a[i], a[j]);
        }
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2 * std::numbers::pi / static_cast<double>(length);
        const std::complex<double> unit(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> w(1);
            for (std::size_t k = 0; k < length / 2; ++k) {
                const auto u = a[start + k];
                const auto v = a[start + k + length / 2] * w;
                a[start + k] = u + v;
                a[start + k + length / 2] = u - v;
                w *= unit;
            }
        }
    }
}

// The magnitude spectrum of the middle of the part, Hann-windowed and zero-padded to twice
// its length so that a partial between two bins still shows its height.
class Spectrum {
public:
    Spectrum(std::span<const double> x, std::size_t window, double sampleRate)
        : binHz_(sampleRate / static_cast<double>(2 * window)) {
        std::vector<std::complex<double>> a(2 * window);
        const std::size_t from = (x.size() - window) / 2;
        for (std::size_t n = 0; n < window; ++n) {
            const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(n) /
                                                     static_cast<double>(window));
            a[n] = x[from + n] * hann;
        }
        Fft(a);
        magnitude_.resize(window);
        for (std::size_t k = 0; k < window; ++k) {
            magnitude_[k] = std::abs(a[k]);
        }
        floor_ = kEmptyBelow * *std::max_element(magnitude_.begin(), magnitude_.end());
    }

    // The highest magnitude within `spread` Hz of `hz` (at least the nearest bin).
    double Around(double hz, double spread) const {
        const auto low = static_cast<std::size_t>(std::max(0.0, (hz - spread) / binHz_));
        const auto high = std::min(magnitude_.size() - 1,
                                   static_cast<std::size_t>(std::ceil((hz + spread) / binHz_)));
        double peak = 0;
        for (std::size_t k = low; k <= high; ++k) {
            peak = std::max(peak, magnitude_[k]);
        }
        return peak;
    }

    // The candidate's partials less the spectrum halfway between them, and less a floor for
    // each of its multiples that holds nothing: a subharmonic, whose multiples fall half
    // between the partials, loses to the fundamental by those. Nothing when the candidate
    // shows neither its first partial nor most of its first four: a lone partial is no note.
    std::optional<double> CombScore(double candidate, double topHz) const {
        double score = 0;
        int present = 0;
        bool firstPresent = false;
        int k = 1;
        for (; k <= kCombPartials && k * candidate <= topHz; ++k) {
            const double spread = std::min(kPartialSpread * k * candidate, candidate / 4);
            const double partial = Around(k * candidate, spread);
            const bool empty = partial < floor_;
            score += partial - Around((k - 0.5) * candidate, spread) - (empty ? floor_ : 0);
            if (!empty && k <= kFirstPartials) {
                ++present;
                firstPresent = firstPresent || k == 1;
            }
        }
        const int firstCount = std::min(k - 1, kFirstPartials);
        if (!firstPresent && 4 * present < 3 * firstCount) {
            return std::nullopt;
        }
        return score;
    }

    // How the candidate's partials split: those at multiples of `m` against the others.
    struct Split {
        double onMultiples = 0;
        double between = 0;
    };
    Split SplitPartials(double candidate, double topHz, int m) const {
        Split split;
        for (int k = 1; k <= m * kCombPartials && k * candidate <= topHz; ++k) {
            const double spread = std::min(kPartialSpread * k * candidate, candidate / 4);
            (k % m == 0 ? split.onMultiples : split.between) += Around(k * candidate, spread);
        }
        return split;
    }

private:
    double binHz_;
    std::vector<double> magnitude_;
    double floor_ = 0;
};

double Correlation(std::span<const double> x, std::size_t length, std::size_t lag) {
    double sum = 0;
    for (std::size_t n = 0; n < length; ++n) {
        sum += x[n] * x[n + lag];
    }
    return sum;
}

// A period refined over some periods, and how closely the signal repeats there (normalised
// correlation at the peak).
struct Refined {
    double period;
    double correlation;
};

// Finds the correlation peak near `periods` times `period` and refines it with a parabola
// through its neighbours; the error of the new period shrinks with the number of periods.
Refined RefinePeriod(std::span<const double> x, std::size_t length, double period, double periods) {
    // The lags stay within what the part holds, the parabola's right neighbour included.
    const std::size_t lastLag = x.size() - length - 1;
    const auto low =
        std::min(lastLag, static_cast<std::size_t>(std::max(1.0, (periods - 0.3) * period)));
    const auto high = std::min(lastLag, static_cast<std::size_t>((periods + 0.3) * period) + 1);
    std::size_t best = low;
    double bestValue = Correlation(x, length, low);
    for (std::size_t lag = low + 1; lag <= high; ++lag) {
        const double value = Correlation(x, length, lag);
        if (value > bestValue) {
            best = lag;
            bestValue = value;
        }
    }
    const double a = Correlation(x, length, best - 1);
    const double c = Correlation(x, length, best + 1);
    const double curvature = a - 2 * bestValue + c;
    const double offset = curvature < 0 ? 0.5 * (a - c) / curvature : 0.0;
    const double peak = bestValue - 0.25 * (a - c) * offset;
    const double energy = Correlation(x, length, 0) * Correlation(x.subspan(best), length, 0);
    return {(static_cast<double>(best) + offset) / periods,
            energy > 0 ? peak / std::sqrt(energy) : 0.0};
}

}  // namespace

PitchReading EstimatePitch(std::span<const double> steadyPart, double sampleRate) {
    double peak = 0;
    for (const double s : steadyPart) {
        peak = std::max(peak, std::abs(s));
    }
    if (peak < kSilence) {
        return {std::nullopt, "silent"};
    }
    if (steadyPart.size() < kShortestWindow) {
        return {std::nullopt, "too short to measure"};
    }
    std::size_t window = kShortestWindow;
    while (2 * window <= std::min(steadyPart.size(), kLongestWindow)) {
        window *= 2;
    }
    const Spectrum spectrum(steadyPart, window, sampleRate);
    const double lowest =
        std::max(kLowestHz, kPeriodsInWindow * sampleRate / static_cast<double>(window));
    const double topHz = std::min(kCombTopHz, 0.45 * sampleRate);
    double best = 0;
    double bestScore = 0;
    for (double candidate = lowest; candidate <= kHighestHz;
         candidate *= std::exp2(kCandidateStep)) {
        const std::optional<double> score = spectrum.CombScore(candidate, topHz);
        if (score && *score > bestScore) {
            best = candidate;
            bestScore = *score;
        }
    }
    if (bestScore <= 0) {
        return {std::nullopt, "no clear pitch"};
    }
    // A note whose motion repeats only every second or third period (as a string does under
    // some bow forces) has weak partials below and between its own; the ear hears the
    // strong ones, and so does the summary.
    for (bool raised = true; raised;) {
        raised = false;
        for (const int m : {2, 3}) {
            const auto split = spectrum.SplitPartials(best, topHz, m);
            if (m * best <= kHighestHz && split.between < kSubharmonicShare * split.onMultiples) {
                best *= m;
                raised = true;
            }
        }
    }

    // Two thirds of the part are correlated with themselves shifted by up to one third, which
    // must hold two periods.
    const std::size_t length = steadyPart.size() * 2 / 3;
    const std::size_t reach = steadyPart.size() - length;
    double period = sampleRate / best;
    // Half a period short of the reach leaves room for the search window and the parabola.
    const auto periodsWithin = [&] {
        return std::floor(static_cast<double>(reach) / period - 0.5);
    };
    if (periodsWithin() < 2) {
        return {std::nullopt, "too short to measure"};
    }
    const Refined first = RefinePeriod(steadyPart, length, period, 1);
    if (first.correlation < kSteadyCorrelation) {
        return {std::nullopt, "no steady pitch"};
    }
    period = first.period;
    // Each refinement over four times as many periods keeps the next search window (0.3 of a
    // period either side) around the true peak, up to as many periods as the reach holds, and
    // as long as the signal still repeats closely over that many: under vibrato a long lag
    // compares different pitches.
    for (double periods = 4;; periods *= 4) {
        const double last = periodsWithin();
        const Refined refined = RefinePeriod(steadyPart, length, period, std::min(periods, last));
        if (refined.correlation < kSteadyCorrelation) {
            break;
        }
        period = refined.period;
        if (periods >= last) {
            break;
        }
    }
    const double hz = sampleRate / period;
    if (std::abs(1200 * std::log2(hz / best)) > kAgreementCents) {
        return {std::nullopt, "pitch estimates disagree"};
    }
    return {hz, {}};
}

}  // namespace sordanel
