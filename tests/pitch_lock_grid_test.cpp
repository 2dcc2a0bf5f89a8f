// Both pitch locks at both qualities across the bow: every combination of the lowest, the
// default and the highest force, speed, position, damping and friction ratio, at a low and a
// middle note. Wherever the string settles to a steady pitch near its note, the lock must hold
// it within a cent of the target.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "engine/settings_tables.h"
#include "tests/bow_grid.h"
#include "tests/note_spectrum.h"
#include "tests/rendered_note.h"

namespace sordanel {
namespace {

constexpr double kRate = 44100;
struct Outcome {
    bool steady;   // a pitch near the note that stays put, in a sound that repeats
    double cents;  // the steady part's fundamental against the target
};

// The steady part runs from 0.2 s after the attack to the release. Its fundamental must agree
// within 2 cents over four quarters, within six semitones of the target (not a harmonic), and
// the sound between the harmonics must stay 20 dB below it: a rough, inharmonic sound has no one
// pitch to hold.
Outcome Measure(const GenerationSettings& settings) {
    const testing::RenderedNote note = testing::RenderInMemory(settings);
    const double span =
        static_cast<double>(note.samples.size()) / (0.02 / settings.duration + 1.05);
    const auto begin = static_cast<std::size_t>(settings.t1Ratio * span + 0.2 * kRate);
    const auto end = static_cast<std::size_t>((1 - settings.t2Ratio) * span);
    const std::span<const double> steadyPart = std::span(note.samples).subspan(begin, end - begin);
    auto cents = [&](double hz) { return 1200 * std::log2(hz / note.targetHz); };

    const testing::NoteSpectrum whole =
        testing::MeasureNoteSpectrum(steadyPart, kRate, note.targetHz);
    double lowest = cents(whole.fundamentalHz), highest = lowest;
    const std::size_t quarter = steadyPart.size() / 4;
    for (std::size_t k = 0; k < 4; ++k) {
        const double c = cents(testing::MeasureNoteSpectrum(
                                   steadyPart.subspan(k * quarter, quarter), kRate, note.targetHz)
                                   .fundamentalHz);
        lowest = std::min(lowest, c);
        highest = std::max(highest, c);
    }
    const double played = cents(whole.fundamentalHz);
    const bool steady =
        highest - lowest < 2 && std::fabs(played) < 600 && whole.nonHarmonicDb < -20;
    return {steady, played};
}

class PitchLockGrid : public ::testing::TestWithParam<std::tuple<AutocorrectionMode, Quality>> {};

TEST_P(PitchLockGrid, HoldsEverySteadyBowWithinACent) {
    struct GridNote {
        const char* note;
        float duration;  // long enough for the slowest regimes of the low note to settle
    };
    for (const GridNote grid : {GridNote{"C2", 4.0f}, GridNote{"C5", 2.0f}}) {
        GenerationSettings base;
        base.noteIndex = FindNoteIndex(grid.note);
        base.duration = grid.duration;
        base.autocorrection = std::get<0>(GetParam());
        base.quality = std::get<1>(GetParam());
        std::vector<Outcome> outcomes(testing::kBowGridSettings);
        std::atomic<int> next{0};
        auto work = [&] {
            for (int k; (k = next++) < testing::kBowGridSettings;) {
                outcomes[k] = Measure(testing::BowGridSetting(base, k));
            }
        };
        std::thread helper(work);
        work();
        helper.join();

        int steady = 0, held = 0;
        std::string missed;
        for (int k = 0; k < testing::kBowGridSettings; ++k) {
            if (!outcomes[k].steady) {
                continue;
            }
            ++steady;
            if (std::fabs(outcomes[k].cents) <= 1) {
                ++held;
            } else {
                missed += " #" + std::to_string(k) + " " + std::to_string(outcomes[k].cents);
            }
        }
        std::printf("%s: %d of %d settings steady, %d of them within a cent\n", grid.note, steady,
                    testing::kBowGridSettings, held);
        EXPECT_GE(held, 0.95 * steady) << grid.note << " missed:" << missed;
        EXPECT_GE(steady, testing::kBowGridSettings / 10)
            << grid.note << ": too few steady settings to judge";
    }
}

INSTANTIATE_TEST_SUITE_P(BothLocksBothQualities, PitchLockGrid,
                         ::testing::Combine(::testing::Values(AutocorrectionMode::Precalculated,
                                                              AutocorrectionMode::RealTime),
                                            ::testing::Values(Quality::Low, Quality::High)),
                         [](const auto& param) {
                             const bool realTime =
                                 std::get<0>(param.param) == AutocorrectionMode::RealTime;
                             const bool high = std::get<1>(param.param) == Quality::High;
                             return std::string(realTime ? "RealTime" : "Precalculated") +
                                    (high ? "High" : "Low");
                         });

}  // namespace
}  // namespace sordanel
