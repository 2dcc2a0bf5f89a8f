#pragma once

#include <array>
#include <cstdint>

#include "engine/generation_settings.h"
#include "lv2/live_voice.h"

namespace sordanel::lv2 {

// The plugin's ports, in the order sordanel.ttl gives them.
enum Port : std::uint32_t {
    kMidiIn,
    kAudioOut,
    kBowPressingForce,
    kBowSpeed,
    kBowPosition,
    kStringDamping,
    kFrictionRatio,
    kAttack,
    kRelease,
    kStringToBoxRatio,
    kVibratoOn,
    kVibratoSpeed,
    kVibratoDepth,
    kDetune,
    kTemperament,
    kKey,
    kQuality,
    kPitchLock,
    kVolume,
    kVoices,
    kResonance1Freq,
    kResonance1Width,
    kResonance1Amp,
    kResonance2On,
    kResonance2Freq,
    kResonance2Width,
    kResonance2Amp,
    kResonance3On,
    kResonance3Freq,
    kResonance3Width,
    kResonance3Amp,
    kResonance4On,
    kResonance4Freq,
    kResonance4Width,
    kResonance4Amp,
    kPseudorandomOn,
    kPseudorandomAmp,
    kPortCount
};

// The host's control port buffers, indexed by Port; the MIDI and audio entries stay unused.
using ControlPorts = std::array<const float*, kPortCount>;

// The settings a note takes when it starts, from the control ports. Every value is brought
// into the range the window allows: a host may send anything.
void ReadNoteSettings(const ControlPorts& ports, GenerationSettings& settings);

// The inputs sounding notes follow, from the control ports; bendRatio from the pitch wheel.
LiveInputs ReadLiveInputs(const ControlPorts& ports, float bendRatio);

std::int32_t ReadVolumeDb(const ControlPorts& ports);    // -20 .. +30
std::int32_t ReadVoiceLimit(const ControlPorts& ports);  // 1 .. VoicePool::kMaxVoices

// The pitch wheel's 14-bit position (0 .. 16383, centre 8192) as a factor of the string's time
// step, two semitones either way.
float BendRatio(std::int32_t wheel);

}  // namespace sordanel::lv2
