#pragma once

#include <cstdint>

namespace sordanel {

// How the window's controls turn into settings. Sliders report position p of 0..P (P read back
// from the slider); step controls report +1 per click upward, -1 downward, or more while held.
// Slider values are computed in single precision, as the settings store them. The settings
// table (engine/setting_table.h) says which slider, of how many positions, each setting has.

// The string and bow sliders, largest at the top (p = 0); t1/T, t2/T and the box ratio, smallest
// at the left (p = 0).
float BowPressingForceAt(int p, int P);
float BowSpeedAt(int p, int P);
float BowPositionAt(int p, int P);
float StringDampingAt(int p, int P);
float FrictionRatioAt(int p, int P);
float EnvelopeRatioAt(int p, int P);
float StringToBoxRatioAt(int p, int P);  // exactly 0 at the left, which switches the box off
std::int32_t VolumeDbAt(int p);          // dB, the loudest at the top
float DurationAt(int p);                 // kDurationStepsSec[p], seconds

// Highest pseudorandom amplitude: 20 dB, a resonance's ceiling, times 0.65 in single precision
// falls just below 13. Evaluated in double, the product stays below 13; rounded to float it
// would be 13.
constexpr std::int32_t PseudorandomAmpMax() {
    return static_cast<std::int32_t>(20.0 * double{0.65f});
}

// A step control's value after a step, kept within the setting's range; the vibrato depth moves
// by its own step a click, the others by one.
std::int32_t StepVibratoSpeedIndex(std::int32_t index, int step);
std::int32_t StepVibratoDepth(std::int32_t cents, int step);
std::int32_t StepDetune(std::int32_t cents, int step);
std::int32_t StepResonanceAmp(std::int32_t dB, int step);
std::int32_t StepPseudorandomAmp(std::int32_t dB, int step);

// Widest allowed bandwidth of a resonance at F Hz: trunc(F x 0.46) in single precision.
std::int32_t WidthLimitHz(std::int32_t freqHz);
// After a step of F or of the width: lower the width index by one if it is too wide.
std::int32_t WidthIndexAfterStep(std::int32_t freqHz, std::int32_t widthIndex);
// After F was typed: lower the width index until its width fits.
std::int32_t WidthIndexAfterTypedFreq(std::int32_t freqHz, std::int32_t widthIndex);

// A resonance's F after a step of its step control, within its range; the caller applies the
// width rule.
inline constexpr std::int32_t kResonanceFreqStepHz = 5;
std::int32_t StepResonanceFreq(std::int32_t freqHz, int step);
// A resonance's width index after a step, within kResonanceWidthsHz; the caller applies the
// width rule.
std::int32_t StepResonanceWidthIndex(std::int32_t widthIndex, int step);

}  // namespace sordanel
