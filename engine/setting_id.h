#pragma once

#include <cstddef>
#include <cstdint>

namespace sordanel {

// Every setting a user can give, in the order of the settings table (engine/setting_table.h):
// the note's inputs, and the controls only the live instrument has. The instrument's ports
// follow this order, so a new setting that is a port goes after the last port.
enum class SettingId : std::uint8_t {
    BowPressingForce,
    BowSpeed,
    BowPosition,
    StringDamping,
    FrictionRatio,
    T1Ratio,
    T2Ratio,
    Attack,
    Release,
    StringToBoxRatio,
    Vibrato,
    VibratoSpeed,
    VibratoDepth,
    Detune,
    Temperament,
    Key,
    Note,
    Quality,
    Autocorrection,
    Volume,
    LiveVolume,
    Voices,
    Resonance1Freq,
    Resonance1Width,
    Resonance1Amp,
    Resonance2On,
    Resonance2Freq,
    Resonance2Width,
    Resonance2Amp,
    Resonance3On,
    Resonance3Freq,
    Resonance3Width,
    Resonance3Amp,
    Resonance4On,
    Resonance4Freq,
    Resonance4Width,
    Resonance4Amp,
    Pseudorandom,
    PseudorandomAmp,
    Duration,
    Maximize,
};

inline constexpr std::size_t kSettingCount = static_cast<std::size_t>(SettingId::Maximize) + 1;

// The value a slider-backed setting takes at its slider's default position, exactly as the
// window's slider gives it.
float SliderDefault(SettingId id);

}  // namespace sordanel
