#include "frequency_meter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sordanel {

namespace {

// A window spans this many periods of the note: long enough to average the ripple the
// harmonics leave in the phase, short enough to see a regime settle.
constexpr double kWindowPeriods = 10;

}  // namespace

void FrequencyMeter::Setup(float stepFraction) {
    radiansPerStep_ = 2 * std::numbers::pi * stepFraction;
    windowSteps_ = kWindowPeriods / stepFraction;
    Restart();
}

void FrequencyMeter::Restart() {
    started_ = false;
    windows_ = 0;
}

std::optional<double> FrequencyMeter::Add(double phase, std::uint32_t step, double cents) {
    if (!started_) {
        started_ = true;
        previousPhase_ = phase;
        unwrapped_ = 0;
        windowStart_ = step;
        windowPhase_ = 0;
        count_ = sumT_ = sumP_ = sumTT_ = sumTP_ = 0;
    }
    double change = phase - previousPhase_;
    if (change > std::numbers::pi) {
        change -= 2 * std::numbers::pi;
    } else if (change < -std::numbers::pi) {
        change += 2 * std::numbers::pi;
    }
    previousPhase_ = phase;
    unwrapped_ += change;

    const double t = step - windowStart_;
    const double p = unwrapped_ - windowPhase_;
    count_ += 1;
    sumT_ += t;
    sumP_ += p;
    sumTT_ += t * t;
    sumTP_ += t * p;
    if (t < windowSteps_) {
        return std::nullopt;
    }
    // The lock's phase falls behind as the string runs ahead of the reference.
    const double slope = (count_ * sumTP_ - sumT_ * sumP_) / (count_ * sumTT_ - sumT_ * sumT_);
    offsets_[static_cast<std::size_t>(windows_ % 3)] = -slope / radiansPerStep_;
    ++windows_;
    windowStart_ = step;
    windowPhase_ = unwrapped_;
    count_ = sumT_ = sumP_ = sumTT_ = sumTP_ = 0;
    if (windows_ < 3) {
        return std::nullopt;
    }
    const auto [low, high] = std::minmax_element(offsets_.begin(), offsets_.end());
    const double mean = (offsets_[0] + offsets_[1] + offsets_[2]) / 3;
    if (1200 * std::log2((1 + *high) / (1 + *low)) > cents) {
        return std::nullopt;
    }
    return mean;
}

}  // namespace sordanel
