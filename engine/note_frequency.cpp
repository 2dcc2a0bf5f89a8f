#include "engine/note_frequency.h"

#include <array>
#include <cmath>

namespace sordanel {

namespace {

// Just ratios by the interval in semitones above the key's tonic; the tritone is 7/5.
constexpr std::array<double, 12> kJustRatios = {1.0,     16.0 / 15, 9.0 / 8,  6.0 / 5,
                                                5.0 / 4, 4.0 / 3,   7.0 / 5,  3.0 / 2,
                                                8.0 / 5, 5.0 / 3,   16.0 / 9, 15.0 / 8};

}  // namespace

float NoteFrequency(const NoteChoice& note) {
    const double c4Hz = 261.6255;
    const double ln2 = std::log(2.0);
    const std::int32_t semitones = note.c4Index - note.noteIndex;

    double hz;
    if (note.justIntonation == Temperament::Equal) {
        hz = c4Hz * std::exp(semitones * ln2 / 12);
    } else {
        // The key's tonic in equal temperament, in the octave at or below the note, times the
        // just ratio of the note's interval above it.
        const std::int32_t key = note.keyIndex;
        const double octave = std::floor((semitones - key) / 12.0);
        const std::int32_t interval = (semitones - key + 600) % 12;
        hz = c4Hz * std::exp((key / 12.0 + octave) * ln2) *
             kJustRatios[static_cast<std::size_t>(interval)];
    }
    const float tuned = static_cast<float>(hz);
    const float detuneFactor = std::exp(std::log(2.0f) * static_cast<float>(note.detune) / 1200.0f);
    return static_cast<float>(double{tuned} * double{detuneFactor});
}

}  // namespace sordanel
