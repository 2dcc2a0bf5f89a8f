// The measure of what lies between a note's harmonics, on notes made of known parts: it must
// find the pitch that is played, give a known inharmonic tone its level, and not take a vibrato
// or a clean note for noise.
#include "tests/note_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace sordanel::testing {
namespace {

constexpr double kRate = 44100;
constexpr double kTwoPi = 2 * std::numbers::pi;

struct SyntheticNote {
    double hz;
    double toneHz = 0;        // an inharmonic tone, none when 0
    double toneDb = 0;        // its power re the fundamental's
    double vibratoHz = 0;     // no vibrato when 0
    double vibratoCents = 0;  // peak deviation
    double seconds = 1.0;
};

// Harmonics falling as 1/k up to 20 kHz, like a bowed string's, plus the inharmonic tone.
std::vector<double> Make(const SyntheticNote& note) {
    std::vector<double> x(static_cast<std::size_t>(note.seconds * kRate));
    const double depth = std::exp2(note.vibratoCents / 1200) - 1;
    const double toneAmplitude = 8000 * std::pow(10.0, note.toneDb / 20);
    double phase = 0;
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double t = static_cast<double>(n) / kRate;
        for (int k = 1; k * note.hz * (1 + depth) < 20000; ++k) {
            x[n] += 8000.0 / k * std::sin(k * phase + 0.3 * k * k);
        }
        x[n] += toneAmplitude * std::sin(kTwoPi * note.toneHz * t);
        phase += kTwoPi * note.hz * (1 + depth * std::sin(kTwoPi * note.vibratoHz * t)) / kRate;
    }
    return x;
}

double Cents(double measured, double hz) {
    return 1200 * std::log2(measured / hz);
}

TEST(NoteSpectrum, GivesAKnownInharmonicToneItsLevelFromC1ToE7) {
    const SyntheticNote notes[] = {
        {.hz = 32.7032, .toneHz = 32.7032 * 7.5, .toneDb = -50},
        {.hz = 523.251, .toneHz = 5909, .toneDb = -39},
        {.hz = 523.251, .toneHz = 18123, .toneDb = -60},
        {.hz = 2637.02, .toneHz = 2637.02 * 2.55, .toneDb = -45},
    };
    for (const SyntheticNote& note : notes) {
        const NoteSpectrum measured = MeasureNoteSpectrum(Make(note), kRate, note.hz);
        EXPECT_NEAR(Cents(measured.fundamentalHz, note.hz), 0, 0.01) << note.hz;
        EXPECT_NEAR(measured.nonHarmonicDb, note.toneDb, 0.2) << note.hz;
        EXPECT_NEAR(measured.strongestDb, note.toneDb, 0.2) << note.hz;
        EXPECT_NEAR(measured.strongestHz, note.toneHz, 1.0) << note.hz;
    }
}

TEST(NoteSpectrum, FindsThePitchPlayedRatherThanTheOneAskedFor) {
    // Twenty cents flat of the C5 it is measured as.
    const double played = 523.251 * std::exp2(-20.0 / 1200);
    const NoteSpectrum measured =
        MeasureNoteSpectrum(Make({.hz = played, .toneHz = 3300, .toneDb = -55}), kRate, 523.251);
    EXPECT_NEAR(Cents(measured.fundamentalHz, played), 0, 0.01);
    EXPECT_NEAR(measured.nonHarmonicDb, -55, 0.2);
}

TEST(NoteSpectrum, CountsAVibratoAsHarmonic) {
    // At C1 the measure's own floor under such a vibrato is some -54 dB: the phase it tracks is
    // a little off, and hundreds of harmonics each lose a little to it.
    for (const double hz : {523.251, 2637.02}) {
        const SyntheticNote clean{.hz = hz, .vibratoHz = 5.5, .vibratoCents = 40};
        EXPECT_LT(MeasureNoteSpectrum(Make(clean), kRate, hz).nonHarmonicDb, -80) << hz;
        SyntheticNote withTone = clean;
        withTone.toneHz = hz * 3.5;
        withTone.toneDb = -50;
        EXPECT_NEAR(MeasureNoteSpectrum(Make(withTone), kRate, hz).nonHarmonicDb, -50, 0.5) << hz;
    }
}

TEST(NoteSpectrum, HearsNothingBetweenTheHarmonicsOfACleanNote) {
    for (const double hz : {32.7032, 523.251, 2637.02}) {
        EXPECT_LT(MeasureNoteSpectrum(Make({.hz = hz}), kRate, hz).nonHarmonicDb, -75) << hz;
    }
}

}  // namespace
}  // namespace sordanel::testing
