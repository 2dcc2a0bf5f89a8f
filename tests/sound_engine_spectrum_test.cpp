// What lies between the harmonics of rendered notes: the resampling to the output rate must not
// fold the string's high partials back into the sound as inharmonic tones nor wobble with the
// sample's phase, and every note must end in silence rather than on a click.
#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "engine/settings_tables.h"
#include "tests/note_spectrum.h"
#include "tests/rendered_note.h"

namespace sordanel {
namespace {

constexpr double kRate = 44100;

using testing::RenderedNote;

RenderedNote Render(const char* note, Quality quality) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex(note);
    settings.quality = quality;
    settings.duration = 2.0f;
    return testing::RenderInMemory(settings);
}

// The steady part of a 2 s note with the default bow: after the attack, before the release.
testing::NoteSpectrum SteadySpectrum(const RenderedNote& note) {
    const auto begin = static_cast<std::size_t>(0.4 * kRate);
    const auto length = static_cast<std::size_t>(0.9 * kRate);
    return testing::MeasureNoteSpectrum(std::span(note.samples).subspan(begin, length), kRate,
                                        note.targetHz);
}

// A note and quality, and the most non-harmonic power its steady part may hold.
struct SpectrumBound {
    const char* note;
    Quality quality;
    double boundDb;
};

TEST(SoundEngineSpectrum, TheDefaultNoteAtLowQualityIsClean) {
    // The stretched kernel used to pass the string's partials just above half the output rate
    // at some 32 dB down: -32 dB of inharmonic tones in all.
    EXPECT_LE(SteadySpectrum(Render("C5", Quality::Low)).nonHarmonicDb, -55);
}

TEST(SoundEngineSpectrum, NotesAboveTheMiddleAreCleanAtBothQualities) {
    // Notes whose step rate lies far above the output rate, where folds would land; lower
    // notes still carry a slowly dying partial of the string near 1.8 times the fundamental.
    constexpr SpectrumBound kBounds[] = {{"A4", Quality::Low, -51},  {"D5", Quality::Low, -56},
                                         {"C6", Quality::Low, -59},  {"E7", Quality::Low, -75},
                                         {"A4", Quality::High, -56}, {"C6", Quality::High, -57},
                                         {"E7", Quality::High, -60}};
    for (const SpectrumBound c : kBounds) {
        const RenderedNote note = Render(c.note, c.quality);
        EXPECT_LE(SteadySpectrum(note).nonHarmonicDb, c.boundDb) << c.note;
        EXPECT_EQ(note.samples.back(), 0) << c.note << " ends on a click";
    }
}

TEST(SoundEngineSpectrum, TapsBetweenKernelEntriesLeaveNoPhaseWobble) {
    // The notes whose taps fall far from whole kernel entries. Read at the entry below each
    // tap, their kernel shifted with the sample's phase: -39 to -42 dB of inharmonic tones at
    // Low and -56 to -59 at High.
    constexpr SpectrumBound kBounds[] = {
        {"F#3", Quality::Low, -45},  {"C#4", Quality::Low, -45}, {"D4", Quality::Low, -45},
        {"E4", Quality::Low, -45},   {"F#4", Quality::Low, -45}, {"A#4", Quality::Low, -45},
        {"C#4", Quality::High, -60}, {"D4", Quality::High, -60}, {"G#4", Quality::High, -60}};
    for (const SpectrumBound c : kBounds) {
        EXPECT_LE(SteadySpectrum(Render(c.note, c.quality)).nonHarmonicDb, c.boundDb)
            << c.note << (c.quality == Quality::High ? " High" : " Low");
    }
}

TEST(SoundEngineSpectrum, TheLowestNoteEndsInSilence) {
    // Its high-pass remembers the most: it ended up to 2 % of full scale off zero.
    for (const Quality quality : {Quality::Low, Quality::High}) {
        EXPECT_EQ(Render("C1", quality).samples.back(), 0);
    }
}

}  // namespace
}  // namespace sordanel
