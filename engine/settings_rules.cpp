#include "engine/settings_rules.h"

#include <algorithm>
#include <cmath>

#include "engine/setting_table.h"
#include "engine/settings_tables.h"

namespace sordanel {

namespace {

float Share(int p, int P) {
    return static_cast<float>(p) / static_cast<float>(P);
}

std::int32_t Clamped(std::int64_t value, std::int32_t low, std::int32_t high) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

// A whole-numbered setting moved by `change`, kept within its range.
std::int32_t Moved(SettingId id, std::int32_t value, std::int64_t change) {
    const SettingRow& row = Setting(id);
    return Clamped(std::int64_t{value} + change, static_cast<std::int32_t>(row.Low()),
                   static_cast<std::int32_t>(row.High()));
}

}  // namespace

float BowPressingForceAt(int p, int P) {
    return 3.5f * std::exp(-2.3f * Share(p, P));
}
float BowSpeedAt(int p, int P) {
    return 0.6f * std::exp(-2.3f * Share(p, P));
}
float BowPositionAt(int p, int P) {
    return 0.35f - 0.3f * Share(p, P);
}
float StringDampingAt(int p, int P) {
    return 0.025f * std::exp(-4.6f * Share(p, P));
}
float FrictionRatioAt(int p, int P) {
    return 0.5f - 0.43f * Share(p, P);
}
float EnvelopeRatioAt(int p, int P) {
    return 0.05f + 0.6f * Share(p, P);
}
float StringToBoxRatioAt(int p, int P) {
    return 1.0f * Share(p, P);
}
std::int32_t VolumeDbAt(int p) {
    return 30 - p;
}

float DurationAt(int p) {
    const int last = static_cast<int>(kDurationStepsSec.size()) - 1;
    return kDurationStepsSec[static_cast<std::size_t>(std::clamp(p, 0, last))];
}

std::int32_t StepVibratoSpeedIndex(std::int32_t index, int step) {
    return Clamped(std::int64_t{index} + step, 0,
                   static_cast<std::int32_t>(kVibratoSpeedsHz.size()) - 1);
}

std::int32_t StepVibratoDepth(std::int32_t cents, int step) {
    return Moved(SettingId::VibratoDepth, cents,
                 Setting(SettingId::VibratoDepth).step * std::int64_t{step});
}

std::int32_t StepDetune(std::int32_t cents, int step) {
    return Moved(SettingId::Detune, cents, step);
}

std::int32_t StepResonanceAmp(std::int32_t dB, int step) {
    return Moved(SettingId::Resonance1Amp, dB, step);
}

std::int32_t StepPseudorandomAmp(std::int32_t dB, int step) {
    return Moved(SettingId::PseudorandomAmp, dB, step);
}

std::int32_t WidthLimitHz(std::int32_t freqHz) {
    return static_cast<std::int32_t>(double{static_cast<float>(freqHz)} * double{0.46f});
}

std::int32_t WidthIndexAfterStep(std::int32_t freqHz, std::int32_t widthIndex) {
    if (kResonanceWidthsHz[static_cast<std::size_t>(widthIndex)] > WidthLimitHz(freqHz)) {
        --widthIndex;
    }
    return widthIndex;
}

std::int32_t WidthIndexAfterTypedFreq(std::int32_t freqHz, std::int32_t widthIndex) {
    // F >= 40 allows 18 Hz, so the loop always stops at 16 Hz (index 4) or above.
    while (widthIndex > 0 &&
           kResonanceWidthsHz[static_cast<std::size_t>(widthIndex)] > WidthLimitHz(freqHz)) {
        --widthIndex;
    }
    return widthIndex;
}

std::int32_t StepResonanceFreq(std::int32_t freqHz, int step) {
    return Moved(SettingId::Resonance1Freq, freqHz, kResonanceFreqStepHz * std::int64_t{step});
}

std::int32_t StepResonanceWidthIndex(std::int32_t widthIndex, int step) {
    return Clamped(std::int64_t{widthIndex} + step, 0,
                   static_cast<std::int32_t>(kResonanceWidthsHz.size()) - 1);
}

}  // namespace sordanel
