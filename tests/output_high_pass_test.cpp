// The output high-pass: the files' filter at 44100 Hz, and the same filter in Hz at a live
// host's rate.

#include "engine/output_high_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>

#include "engine/level_stage.h"
#include "engine/note_frequency.h"
#include "engine/settings_tables.h"

namespace sordanel {
namespace {

float Hz(const char* note) {
    return NoteFrequency({FindNoteIndex(note), 40, Temperament::Equal, 0, 0});
}

// Peak of the filter's steady answer to a unit sine at `toneHz`, times the compensation the
// output gain applies: what a note's partial at that frequency comes out as.
double CompensatedGain(float noteHz, double toneHz, float rate) {
    OutputHighPass filter;
    filter.Setup(noteHz, rate);
    double peak = 0;
    const int settle = static_cast<int>(rate);
    for (int n = 0; n < 2 * settle; ++n) {
        const auto x = static_cast<float>(std::sin(2 * std::numbers::pi * toneHz * n / rate));
        const float y = filter.Step(x);
        if (n >= settle) {
            peak = std::max(peak, double{std::fabs(y)});
        }
    }
    return peak * filter.compensation();
}

TEST(OutputHighPass, AtTheFilesRateItIsTheLevelStagesFilter) {
    for (const char* note : {"C1", "C4", "E7"}) {
        OutputHighPass filter;
        filter.Setup(Hz(note), 44100);
        LevelStage stage;
        stage.Setup(false, 0, Hz(note), 1.0f, 1.0f, 44100);
        EXPECT_EQ(filter.coefficient(), stage.highPassCoefficient()) << note;
        EXPECT_EQ(filter.compensation(),
                  std::sqrt(44100 * double{filter.coefficient()} / Hz(note)));
    }
}

TEST(OutputHighPass, AtAnyRateANoteAndItsPartialsComeOutAsLoudAsInAFile) {
    for (const char* note : {"C2", "C4", "C6"}) {
        // The fundamental within 2 percent; the third partial, up to 3 kHz, within half a dB.
        for (const auto& [harmonic, bound] : {std::pair{1.0, 0.02}, std::pair{3.0, 0.07}}) {
            const double toneHz = Hz(note) * harmonic;
            const double file = CompensatedGain(Hz(note), toneHz, 44100);
            for (float rate : {48000.0f, 96000.0f}) {
                EXPECT_NEAR(CompensatedGain(Hz(note), toneHz, rate) / file, 1.0, bound)
                    << note << " harmonic " << harmonic << " at " << rate;
            }
        }
    }
}

TEST(OutputHighPass, TakesASteadyOffsetAwayAndStartsAtRestAgainAfterAReset) {
    OutputHighPass filter;
    filter.Setup(Hz("C1"), 48000);
    float y = 1;
    for (int n = 0; n < 48000; ++n) {
        y = filter.Step(1.0f);
    }
    EXPECT_NEAR(y, 0.0f, 1e-6);
    filter.Reset();
    EXPECT_EQ(filter.Step(1.0f), 1.0f - filter.coefficient());
}

}  // namespace
}  // namespace sordanel
