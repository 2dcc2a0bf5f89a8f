#pragma once

#include <span>

namespace sordanel::testing {

// What lies between the harmonics of a sustained note.
struct NoteSpectrum {
    double fundamentalHz;  // the mean fundamental actually played
    double nonHarmonicDb;  // all power off the harmonics, in dB re the fundamental's power
    double strongestDb;    // the strongest component off the harmonics, re the fundamental
    double strongestHz;
};

// Measures an excerpt of a note whose fundamental lies within a few semitones of nearHz. The
// excerpt is first resampled so that the fundamental's phase advances evenly, so a vibrato or a
// slow drift counts as harmonic; a sound that does not follow the fundamental counts as not.
// Five periods at each end only steady the phase tracking and are left out of the measure.
NoteSpectrum MeasureNoteSpectrum(std::span<const double> excerpt, double sampleRate, double nearHz);

}  // namespace sordanel::testing
