#pragma once

#include <array>
#include <cstdint>

namespace sordanel {

// Just ratios by the interval in semitones above the key's tonic; the tritone is 7/5.
extern const std::array<double, 12> kJustRatios;

struct NoteChoice {
    std::int32_t noteIndex;       // into kNoteNames
    std::int32_t c4Index;         // where "C4" stands in kNoteNames
    std::int32_t justIntonation;  // 0 equal temperament, 1 just intonation
    std::int32_t keyIndex;        // tonic of just intonation, 0 = "C"
    std::int32_t detune;          // cents
};

// Target fundamental of the note, Hz, from C4 = 261.6255 Hz.
float NoteFrequency(const NoteChoice& note);

}  // namespace sordanel
