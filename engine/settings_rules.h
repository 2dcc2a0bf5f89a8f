#pragma once

#include <cstdint>

namespace sordanel {

// How the window's controls turn into settings. Sliders report position p of 0..P (P read back
// from the slider); step controls report +1 per click upward, -1 downward, or more while held.
// Slider values are computed in single precision, as the settings store them.

float BowPressingForceAt(int p, int P);  // 3.5 at the top .. 0.35091 at the bottom
float BowSpeedAt(int p, int P);          // 0.6 .. 0.060155
float BowPositionAt(int p, int P);       // 0.35 .. 0.05
float StringDampingAt(int p, int P);     // 0.025 .. 0.00025130
float FrictionRatioAt(int p, int P);     // 0.5 .. 0.07
float EnvelopeRatioAt(int p, int P);     // t1/T and t2/T: 0.05 at the left .. 0.65
float StringToBoxRatioAt(int p, int P);  // 0 at the left .. 1
std::int32_t VolumeDbAt(int p);          // +30 at the top .. -20 at the bottom of 0..50
float DurationAt(int p);                 // kDurationStepsSec[p], seconds

// The sliders' ranges, and the positions they start at: the defaults of the settings.
inline constexpr int kBowSliderMax = 20;       // force, speed, position, damping, friction
inline constexpr int kEnvelopeSliderMax = 20;  // t1/T, t2/T
inline constexpr int kStringToBoxSliderMax = 13;
inline constexpr int kVolumeSliderMax = 50;
inline constexpr int kDurationSliderMax = 20;
struct SliderPositions {
    int bowPressingForce, bowSpeed, bowPosition, stringDamping, frictionRatio;
    int t1Ratio, t2Ratio, stringToBoxRatio, volume, duration;
};
inline constexpr SliderPositions kSliderDefaults = {
    .bowPressingForce = 7,
    .bowSpeed = 15,
    .bowPosition = 12,
    .stringDamping = 12,
    .frictionRatio = 13,
    .t1Ratio = 3,
    .t2Ratio = 8,
    .stringToBoxRatio = 6,
    .volume = 28,
    .duration = 9,
};

// Highest pseudorandom amplitude: 20 dB times 0.65 in single precision falls just below 13.
std::int32_t PseudorandomAmpMax();

std::int32_t StepVibratoSpeedIndex(std::int32_t index, int step);  // 0 .. 28
std::int32_t StepVibratoDepth(std::int32_t cents, int step);       // 5 cents a step, 10 .. 150
std::int32_t StepDetune(std::int32_t cents, int step);             // -105 .. +105
std::int32_t StepResonanceAmp(std::int32_t dB, int step);          // 1 .. 20
std::int32_t StepPseudorandomAmp(std::int32_t dB, int step);       // 1 .. PseudorandomAmpMax()

// Widest allowed bandwidth of a resonance at F Hz: trunc(F x 0.46) in single precision.
std::int32_t WidthLimitHz(std::int32_t freqHz);
// After a step of F or of the width: lower the width index by one if it is too wide.
std::int32_t WidthIndexAfterStep(std::int32_t freqHz, std::int32_t widthIndex);
// After F was typed: lower the width index until its width fits.
std::int32_t WidthIndexAfterTypedFreq(std::int32_t freqHz, std::int32_t widthIndex);

// A resonance's F after a step (5 Hz a step, 40 .. 1500); the caller applies the width rule.
std::int32_t StepResonanceFreq(std::int32_t freqHz, int step);
// A resonance's width index after a step (0 .. 15); the caller applies the width rule.
std::int32_t StepResonanceWidthIndex(std::int32_t widthIndex, int step);

}  // namespace sordanel
