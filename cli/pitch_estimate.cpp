#include "pitch_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace sordanel {

namespace {

constexpr double kLowestHz = 25;
constexpr double kHighestHz = 4000;
// A dip of the normalised difference this close to the deepest one marks the period: the
// multiples of the period dip as deep, and the first of them avoids octave errors.
constexpr double kPeriodDipMargin = 0.1;
constexpr std::size_t kCoarseWindow = 8192;

// The part of the sound the estimate reads.
struct Steady {
    std::span<const double> x;
    std::size_t from;
    std::size_t length;
};

double Correlation(const Steady& s, std::size_t lag) {
    double sum = 0;
    for (std::size_t n = s.from; n < s.from + s.length; ++n) {
        sum += s.x[n] * s.x[n + lag];
    }
    return sum;
}

// The period to within a sample or so: the first clear dip of the cumulative mean normalised
// difference, which does not favour multiples of the period as plain autocorrelation does.
std::optional<double> CoarsePeriod(const Steady& s, std::size_t minLag, std::size_t maxLag) {
    const std::size_t window = std::min(kCoarseWindow, s.length);
    std::vector<double> normalised(maxLag + 1, 1.0);
    double running = 0;
    for (std::size_t lag = 1; lag <= maxLag; ++lag) {
        double difference = 0;
        for (std::size_t n = s.from; n < s.from + window; ++n) {
            const double d = s.x[n] - s.x[n + lag];
            difference += d * d;
        }
        running += difference;
        normalised[lag] = running > 0 ? difference * static_cast<double>(lag) / running : 1.0;
    }
    const double deepest =
        *std::min_element(normalised.begin() + static_cast<long>(minLag), normalised.end());
    std::size_t best = minLag;
    while (normalised[best] > deepest + kPeriodDipMargin) {
        ++best;
    }
    while (best < maxLag && normalised[best + 1] < normalised[best]) {
        ++best;
    }
    if (normalised[best] >= 0.5) {
        return std::nullopt;
    }
    return static_cast<double>(best);
}

// Finds the correlation peak near `periods` times `period` and refines it with a parabola
// through its neighbours; the error of the new period shrinks with the number of periods.
double RefinePeriod(const Steady& s, double period, double periods) {
    const auto low = static_cast<std::size_t>(std::max(1.0, (periods - 0.3) * period));
    const auto high = static_cast<std::size_t>((periods + 0.3) * period) + 1;
    std::size_t best = low;
    double bestValue = Correlation(s, low);
    for (std::size_t lag = low + 1; lag <= high; ++lag) {
        const double value = Correlation(s, lag);
        if (value > bestValue) {
            best = lag;
            bestValue = value;
        }
    }
    const double a = Correlation(s, best - 1);
    const double c = Correlation(s, best + 1);
    const double curvature = a - 2 * bestValue + c;
    const double offset = curvature < 0 ? 0.5 * (a - c) / curvature : 0.0;
    return (static_cast<double>(best) + offset) / periods;
}

}  // namespace

std::optional<double> EstimatePitchHz(std::span<const double> steadyPart, double sampleRate) {
    // Two thirds of the part are correlated with themselves shifted by up to one third.
    const Steady steady{steadyPart, 0, steadyPart.size() * 2 / 3};
    const auto minLag = static_cast<std::size_t>(sampleRate / kHighestHz);
    // The coarse search needs two periods within the reach; a short part cannot show the
    // lowest pitches.
    const std::size_t reach = steadyPart.size() - steady.length;
    const std::size_t maxLag =
        std::min(static_cast<std::size_t>(std::ceil(sampleRate / kLowestHz)), reach / 2);
    if (maxLag < 2 * minLag) {
        return std::nullopt;
    }
    auto period = CoarsePeriod(steady, minLag, maxLag);
    if (!period) {
        return std::nullopt;
    }
    // Each refinement over four times as many periods keeps the next search window (0.3 of a
    // period either side) around the true peak, up to as many periods as the part holds.
    // Half a period short of the reach leaves room for the search window and the parabola.
    const auto periodsWithin = [&] {
        return std::floor(static_cast<double>(reach) / *period - 0.5);
    };
    for (double periods = 1; periods < periodsWithin(); periods *= 4) {
        *period = RefinePeriod(steady, *period, periods);
    }
    *period = RefinePeriod(steady, *period, periodsWithin());
    return sampleRate / *period;
}

}  // namespace sordanel
