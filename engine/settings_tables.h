#pragma once

#include <array>

namespace sordanel {

// The note list, highest first: "E7" at 0 down to "C1" at 76, then an empty end marker.
inline constexpr int kNoteCount = 77;
extern const std::array<const char*, kNoteCount + 1> kNoteNames;

// Keys of just intonation, "C" (0) to "B" (11).
extern const std::array<const char*, 12> kKeyNames;

// Vibrato speeds offered by the speed step control, Hz.
extern const std::array<float, 29> kVibratoSpeedsHz;

// Resonance bandwidths offered by the dF step controls, Hz.
extern const std::array<int, 16> kResonanceWidthsHz;

// Durations at the positions of the duration slider, seconds.
extern const std::array<float, 21> kDurationStepsSec;

// Index of `name` in kNoteNames, or -1 when the list does not hold it.
int FindNoteIndex(const char* name);

}  // namespace sordanel
