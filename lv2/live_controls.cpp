#include "lv2/live_controls.h"

#include <cmath>

#include "engine/setting_table.h"
#include "engine/settings_rules.h"

namespace sordanel::lv2 {

namespace {

constexpr double kBendSemitones = 2.0;

constexpr std::array<SettingId, 4> kResonanceFreqs = {
    SettingId::Resonance1Freq, SettingId::Resonance2Freq, SettingId::Resonance3Freq,
    SettingId::Resonance4Freq};

}  // namespace

bool ConnectControlPort(ControlPorts& ports, std::uint32_t port, const float* data) {
    for (const SettingRow& row : kSettingRows) {
        if (row.IsPort() && PortIndex(row.id) == port) {
            ports[static_cast<std::size_t>(row.id)] = data;
            return true;
        }
    }
    return false;
}

float ReadControl(const ControlPorts& ports, SettingId id) {
    return Setting(id).Admit(*ports[static_cast<std::size_t>(id)]);
}

void ReadNoteSettings(const ControlPorts& ports, NoteSettings& settings) {
    for (const SettingRow& row : kSettingRows) {
        if (row.IsPort() && !row.liveOnly) {
            row.access.write(settings, ReadControl(ports, row.id));
        }
    }
    // A width the window would not allow at its F is narrowed as a typed F narrows it.
    for (std::size_t k = 0; k < kResonanceFreqs.size(); ++k) {
        settings.resonanceWidthIndex[k] =
            WidthIndexAfterTypedFreq(settings.resonanceFreq[k], settings.resonanceWidthIndex[k]);
    }
}

LiveInputs ReadLiveInputs(const ControlPorts& ports, float bendRatio) {
    return {
        .bowPressingForce = ReadControl(ports, SettingId::BowPressingForce),
        .bowSpeed = ReadControl(ports, SettingId::BowSpeed),
        .stringDamping = ReadControl(ports, SettingId::StringDamping),
        .frictionRatio = ReadControl(ports, SettingId::FrictionRatio),
        .attackSeconds = ReadControl(ports, SettingId::Attack),
        .releaseSeconds = ReadControl(ports, SettingId::Release),
        .vibratoOn = ReadControl(ports, SettingId::Vibrato) > 0.5f,
        .vibratoSpeedHz = ReadControl(ports, SettingId::VibratoSpeed),
        .vibratoDepth = static_cast<std::int32_t>(ReadControl(ports, SettingId::VibratoDepth)),
        .bendRatio = bendRatio,
    };
}

std::int32_t ReadVolumeDb(const ControlPorts& ports) {
    return static_cast<std::int32_t>(ReadControl(ports, SettingId::LiveVolume));
}

std::int32_t ReadVoiceLimit(const ControlPorts& ports) {
    return static_cast<std::int32_t>(ReadControl(ports, SettingId::Voices));
}

float BendRatio(std::int32_t wheel) {
    const double semitones = (wheel - 8192) / 8192.0 * kBendSemitones;
    return static_cast<float>(std::exp2(semitones / 12.0));
}

}  // namespace sordanel::lv2
