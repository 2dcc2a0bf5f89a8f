// The string's clock must not drift into the sound: a long note ends as cleanly as it begins.
// Timing jitter in the resampling shows as noise between the harmonics that grows with time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <span>
#include <vector>

#include "engine/settings_tables.h"
#include "tests/fft.h"
#include "tests/rendered_note.h"

namespace sordanel {
namespace {

constexpr double kRate = 44100;
constexpr std::size_t kFftSize = 65536;  // a second of sound, zero-padded

// Mean power in the middle halves of the gaps between the harmonics of f0 up to 10 kHz, in dB
// against the whole power of the excerpt. A four-term Blackman-Harris window keeps the
// harmonics' leakage some 90 dB down there.
double InterHarmonicFloorDb(std::span<const double> excerpt, double f0) {
    std::vector<std::complex<double>> x(kFftSize);
    const double n = static_cast<double>(excerpt.size());
    for (std::size_t i = 0; i < excerpt.size(); ++i) {
        const double a = 2 * std::numbers::pi * i / (n - 1);
        const double window =
            0.35875 - 0.48829 * std::cos(a) + 0.14128 * std::cos(2 * a) - 0.01168 * std::cos(3 * a);
        x[i] = excerpt[i] * window;
    }
    testing::Fft(x);
    double whole = 0;
    for (std::size_t bin = 1; bin < kFftSize / 2; ++bin)
        whole += std::norm(x[bin]);
    const double binHz = kRate / kFftSize;
    double gaps = 0;
    std::size_t bins = 0;
    for (int k = 1; (k + 1) * f0 < 10000; ++k) {
        const auto from = static_cast<std::size_t>((k + 0.25) * f0 / binHz);
        const auto to = static_cast<std::size_t>((k + 0.75) * f0 / binHz);
        for (std::size_t bin = from; bin <= to; ++bin, ++bins)
            gaps += std::norm(x[bin]);
    }
    return 10 * std::log10(gaps / bins / whole);
}

struct FirstAndLast {
    double first;
    double last;
};

// The floor of the first and the last second between the given attack and release times.
FirstAndLast FloorsOf(const std::vector<double>& sound, double f0, double attack, double release) {
    const auto second = static_cast<std::size_t>(kRate);
    const auto begin = static_cast<std::size_t>(attack * kRate);
    const auto end = sound.size() - static_cast<std::size_t>(release * kRate);
    return {InterHarmonicFloorDb(std::span(sound).subspan(begin, second), f0),
            InterHarmonicFloorDb(std::span(sound).subspan(end - second, second), f0)};
}

TEST(SoundEngineClock, TheMeasureHearsAClockRoundedToSinglePrecision) {
    // Ten harmonics of C4 over 20 s, timed exactly and by a clock rounded to float as the
    // samples go by: the rounding grows with the time and must raise the last second's floor.
    const double f0 = 261.6256;
    const auto total = static_cast<std::size_t>(20 * kRate);
    std::vector<double> exact(total), rounded(total);
    for (std::size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        const double tRounded = static_cast<float>(t);
        for (int k = 1; k <= 10; ++k) {
            exact[n] += std::sin(2 * std::numbers::pi * k * f0 * t) / k;
            rounded[n] += std::sin(2 * std::numbers::pi * k * f0 * tRounded) / k;
        }
    }
    const FirstAndLast clean = FloorsOf(exact, f0, 1, 1);
    const FirstAndLast jittered = FloorsOf(rounded, f0, 1, 1);
    EXPECT_NEAR(clean.last, clean.first, 1);
    EXPECT_GT(jittered.last, jittered.first + 10);
}

// A 20 s note with the shortest attack and release, its first and last second of full bow
// compared. In single precision the top note's floor rose by some 12 dB over the note and the
// middle C's by some 3, from -115 and -75 dB; exactly timed, they stay within a fraction of a dB.
// With the resampling's folds gone the top note's floor starts near -130 dB, where a component
// at -119 that was always there shows at the end; so the floor is allowed up to -115 dB.
TEST(SoundEngineClock, ALongNoteEndsAsCleanAsItBegins) {
    constexpr double kCleanFloorDb = -115;
    struct Note {
        const char* name;
        double allowedRiseDb;
    };
    for (const Note note : {Note{"E7", 3}, Note{"C4", 1.5}}) {
        GenerationSettings settings;
        settings.noteIndex = FindNoteIndex(note.name);
        settings.duration = 20;
        settings.t1Ratio = 0.05f;
        settings.t2Ratio = 0.05f;
        const testing::RenderedNote sound = testing::RenderInMemory(settings);
        const FirstAndLast floors = FloorsOf(sound.samples, sound.targetHz, 1.5, 1.5);
        EXPECT_LT(floors.last, std::max(floors.first + note.allowedRiseDb, kCleanFloorDb))
            << note.name;
    }
}

}  // namespace
}  // namespace sordanel
