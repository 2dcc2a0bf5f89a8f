#pragma once

#include <cstdint>

#include "engine/generation_settings.h"

namespace sordanel {

// The note's pitch as the settings choose it.
struct NoteChoice {
    std::int32_t noteIndex;  // into kNoteNames
    std::int32_t c4Index;    // where "C4" stands in kNoteNames
    Temperament justIntonation;
    std::int32_t keyIndex;  // tonic of just intonation, 0 = "C"
    std::int32_t detune;    // cents

    bool operator==(const NoteChoice&) const = default;
};

// Target fundamental of the note, Hz, from C4 = 261.6255 Hz.
float NoteFrequency(const NoteChoice& note);

}  // namespace sordanel
