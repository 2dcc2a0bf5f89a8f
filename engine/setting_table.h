#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/generation_settings.h"
#include "engine/setting_id.h"
#include "engine/settings_rules.h"
#include "engine/settings_tables.h"

namespace sordanel {

// What kind of value a setting holds, as a user gives it.
enum class SettingKind : std::uint8_t {
    Real,    // a decimal number, stored as a float
    Whole,   // a whole number from low to high in steps of `step`
    Listed,  // one of a list of offered numbers; the note stores its index
    Toggle,  // on or off
    Choice,  // one of a list of named choices; the note stores its index
};

// How a control that ranges over the setting should be laid out: evenly, or by ratios.
enum class SettingScale : std::uint8_t { Linear, Logarithmic };

// When a change reaches the live instrument: at the next note, or at once on sounding notes.
enum class SettingActs : std::uint8_t { NextNote, Live };

// The window's slider behind a setting: value at position p of 0 .. positions, exactly as the
// window computes it, and the position the slider starts at.
struct SliderMapping {
    float (*at)(int p, int positions) = nullptr;
    int positions = 0;
    int defaultPosition = 0;
};

// Reads and writes the setting in a note's settings, as the value a user gives (the offered
// number, not its index, for a listed setting). `write` takes an admitted value.
struct SettingAccess {
    float (*read)(const NoteSettings&) = nullptr;
    void (*write)(NoteSettings&, float) = nullptr;
};

// One setting, described once: the window's ranges and defaults, the renderer's options and the
// instrument's ports are all made from these rows.
struct SettingRow {
    SettingId id = SettingId::BowPressingForce;
    std::string_view member = {};  // the field of NoteSettings it sets; empty for a live-only one
    std::string_view option = {};  // the renderer's option; empty where another option sets it
    std::string_view port = {};    // the instrument's port symbol; empty when it has none
    std::string_view label = {};   // the setting's name, as the instrument's port shows it
    std::string_view unit = {};    // "", "s", "Hz", "cents" or "dB"
    std::string_view help = {};    // what the renderer's help says it is
    SettingKind kind = SettingKind::Real;
    SettingScale scale = SettingScale::Linear;
    SettingActs acts = SettingActs::NextNote;
    bool liveOnly = false;  // a control of the live instrument with no field in a note
    SliderMapping slider{};
    // The range where no slider gives it (or where a typed value reaches further than the
    // slider), and the step of a whole number.
    double low = 0;
    double high = 0;
    int step = 1;
    // The live instrument's default where it differs from a fresh note's, and always for a
    // live-only control.
    std::optional<float> liveDefault{};
    // A listed setting's offered numbers, rising; a choice's names for the window and the
    // instrument, and the words the renderer takes for them.
    float (*listedAt)(std::size_t i) = nullptr;
    std::size_t listedCount = 0;
    std::span<const char* const> names{};
    std::span<const char* const> words{};
    SettingAccess access{};

    // The lowest and highest value the setting takes, as the note stores it (a listed setting:
    // its offered numbers; a choice: its indices).
    float Low() const;
    float High() const;
    // The value of a fresh note's settings, or the default of a live-only control.
    float Default() const;
    // The value the instrument's port starts at.
    float PortDefault() const { return liveDefault.value_or(Default()); }
    bool IsPort() const { return !port.empty(); }
    // A number any control or host may send, made into a value of the setting: NaN becomes the
    // lowest value, anything else is clamped to the range; whole numbers and choices are
    // rounded, a toggle is on above one half.
    float Admit(float value) const;
    // Whether `value`, as given, is one the setting takes: within the range, and for whole
    // numbers and choices an integer on the step.
    bool Takes(float value) const;
};

// The most voices the live instrument sounds at once.
inline constexpr int kMostVoices = 16;

// The table itself, in the order of SettingId.
extern const std::array<SettingRow, kSettingCount> kSettingRows;

inline const SettingRow& Setting(SettingId id) {
    return kSettingRows[static_cast<std::size_t>(id)];
}

// A slider-backed setting's value at position p of its slider's 0 .. P, as the window sets it.
inline float SliderValueAt(SettingId id, int p, int P) {
    return Setting(id).slider.at(p, P);
}
inline int SliderPositions(SettingId id) {
    return Setting(id).slider.positions;
}
inline int SliderDefaultPosition(SettingId id) {
    return Setting(id).slider.defaultPosition;
}

// The instrument's port index of a row that is a port: its MIDI input and audio output come
// first, then the rows that are ports in table order.
std::uint32_t PortIndex(SettingId id);
inline constexpr std::uint32_t kFirstControlPort = 2;
// The number of ports, MIDI and audio included.
std::uint32_t PortCount();

}  // namespace sordanel
