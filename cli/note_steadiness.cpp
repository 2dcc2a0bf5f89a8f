#include "cli/note_steadiness.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/pitch_estimate.h"
#include "engine/settings_tables.h"

namespace sordanel {

namespace {

constexpr double kSampleRate = 44100;
// After the attack the string takes a while to find its motion.
constexpr double kSettleShare = 0.05;
// A window is long enough for the estimator when it holds this many periods, and this long to
// read a fraction of a cent.
constexpr double kPeriodsPerWindow = 8;
constexpr double kShortestWindowSec = 0.1;
constexpr int kMostWindows = 6;
// Two windows that overlap must still lie this share of a window apart to tell a drift.
constexpr double kLeastSpacing = 0.25;
// Windows of a steady note agree this closely.
constexpr double kSteadyCents = 3;
// A sustained note keeps its level; a string left to ring down loses more than this.
constexpr double kLevelSwingDb = 6;

std::string Words(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double Rms(std::span<const double> x) {
    double sum = 0;
    for (const double s : x) {
        sum += s * s;
    }
    return std::sqrt(sum / static_cast<double>(x.size()));
}

}  // namespace

std::span<const double> SteadyPart(std::span<const double> samples,
                                   const GenerationSettings& settings) {
    const auto size = static_cast<double>(samples.size());
    // The bow's envelope runs (1.05 + 0.02 / d) times faster than the note, d its seconds.
    const double seconds = size / kSampleRate;
    const double pace = 1.05 + (seconds > 0 ? 0.02 / seconds : 0.0);
    double from = (settings.t1Ratio / pace + kSettleShare) * size;
    double to = (1.0 - settings.t2Ratio) / pace * size;
    if (to - from < 0.3 * size) {
        from = 0.3 * size;
        to = 0.6 * size;
    }
    return samples.subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

Steadiness JudgeSteadiness(std::span<const double> steadyPart, double sampleRate,
                           std::optional<double> vibratoHz) {
    Steadiness verdict;
    if (vibratoHz) {
        // Whole vibrato periods read the vibrato's centre.
        const double vibratoPeriod = sampleRate / *vibratoHz;
        const double periods = std::floor(static_cast<double>(steadyPart.size()) / vibratoPeriod);
        steadyPart = steadyPart.first(static_cast<std::size_t>(
            periods >= 1 ? std::lround(periods * vibratoPeriod) : steadyPart.size()));
    }
    const PitchReading whole = EstimatePitch(steadyPart, sampleRate);
    verdict.hz = whole.hz;
    if (!whole.hz) {
        verdict.why = whole.unmeasured;
        return verdict;
    }
    double window =
        std::max(kShortestWindowSec * sampleRate, kPeriodsPerWindow * sampleRate / *whole.hz);
    const double vibratoPeriod = vibratoHz ? sampleRate / *vibratoHz : 0.0;
    if (vibratoHz) {
        window = std::ceil(window / vibratoPeriod) * vibratoPeriod;
    }
    // Side by side where the part holds two windows or more; else two that overlap, at its
    // ends, as a low note in a short part leaves room for no more.
    const auto size = static_cast<double>(steadyPart.size());
    const int fit = static_cast<int>(size / window);
    const int count = std::clamp(fit, 2, kMostWindows);
    if (!vibratoHz && fit >= 2) {
        window = size / count;
    }
    double spacing = (size - window) / (count - 1);
    if (vibratoHz) {
        // Each window starts at the same phase of the vibrato.
        spacing = std::floor(spacing / vibratoPeriod) * vibratoPeriod;
    }
    if (spacing < kLeastSpacing * window) {
        verdict.why = "too short to judge";
        return verdict;
    }
    double lowest = HUGE_VAL;
    double highest = -HUGE_VAL;
    double loudest = 0;
    double quietest = 0;
    double firstLevel = 0;
    double lastLevel = 0;
    int unmeasured = 0;
    for (int i = 0; i < count; ++i) {
        const auto from = static_cast<std::size_t>(std::lround(i * spacing));
        const auto to = std::min(steadyPart.size(), from + static_cast<std::size_t>(window));
        const auto part = steadyPart.subspan(from, to - from);
        const double level = Rms(part);
        (i == 0 ? firstLevel : lastLevel) = level;
        loudest = i == 0 ? level : std::max(loudest, level);
        quietest = i == 0 ? level : std::min(quietest, level);
        const PitchReading reading = EstimatePitch(part, sampleRate);
        if (!reading.hz) {
            ++unmeasured;
            continue;
        }
        const double cents = 1200 * std::log2(*reading.hz / *whole.hz);
        lowest = std::min(lowest, cents);
        highest = std::max(highest, cents);
    }
    verdict.wanderCents = unmeasured < count ? highest - lowest : 0.0;
    const double fallDb = 20 * std::log10(firstLevel / std::max(lastLevel, 1e-9));
    const double swingDb = 20 * std::log10(loudest / std::max(quietest, 1e-9));
    if (fallDb > kLevelSwingDb) {
        verdict.why = Words("dies away by %.1f dB", fallDb);
    } else if (swingDb > kLevelSwingDb) {
        verdict.why = Words("level swings by %.1f dB", swingDb);
    } else if (unmeasured > 0) {
        verdict.why = "no clear pitch in " + std::to_string(unmeasured) + " of " +
                      std::to_string(count) + " windows";
    } else if (verdict.wanderCents > kSteadyCents) {
        verdict.why = Words("pitch wanders by %.1f cents", verdict.wanderCents);
    } else {
        verdict.steady = true;
    }
    return verdict;
}

Steadiness MeasureNote(std::span<const double> samples, const GenerationSettings& settings) {
    std::optional<double> vibratoHz;
    if (settings.vibratoOn) {
        vibratoHz = kVibratoSpeedsHz[static_cast<std::size_t>(settings.vibratoSpeedIndex)];
    }
    return JudgeSteadiness(SteadyPart(samples, settings), kSampleRate, vibratoHz);
}

}  // namespace sordanel
