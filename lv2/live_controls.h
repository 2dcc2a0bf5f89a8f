#pragma once

#include <array>
#include <cstdint>

#include "engine/generation_settings.h"
#include "engine/setting_id.h"
#include "lv2/live_voice.h"

namespace sordanel::lv2 {

// The two ports before the controls, which follow the settings table.
inline constexpr std::uint32_t kMidiInPort = 0;
inline constexpr std::uint32_t kAudioOutPort = 1;

// The host's control port buffers, by the setting each one controls; settings that are no port
// stay null.
using ControlPorts = std::array<const float*, kSettingCount>;

// Connects the host's control port `port`; false when the index names no control port.
bool ConnectControlPort(ControlPorts& ports, std::uint32_t port, const float* data);

// The value of a control port, brought into its setting's range: a host may send anything.
float ReadControl(const ControlPorts& ports, SettingId id);

// The settings a note takes when it starts, from the control ports.
void ReadNoteSettings(const ControlPorts& ports, NoteSettings& settings);

// The inputs sounding notes follow, from the control ports; bendRatio from the pitch wheel.
LiveInputs ReadLiveInputs(const ControlPorts& ports, float bendRatio);

std::int32_t ReadVolumeDb(const ControlPorts& ports);
std::int32_t ReadVoiceLimit(const ControlPorts& ports);

// The pitch wheel's 14-bit position (0 .. 16383, centre 8192) as a factor of the string's time
// step, two semitones either way.
float BendRatio(std::int32_t wheel);

}  // namespace sordanel::lv2
