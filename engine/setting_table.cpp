#include "engine/setting_table.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace sordanel {

namespace {

// A field of the note's settings as a float and back; `I` picks an element of an array field.
template <class Field>
float AsValue(const Field& field) {
    if constexpr (std::is_enum_v<Field>) {
        return static_cast<float>(static_cast<std::underlying_type_t<Field>>(field));
    } else {
        return static_cast<float>(field);
    }
}

template <class Field>
void FromValue(Field& field, float value) {
    if constexpr (std::is_same_v<Field, bool>) {
        field = value > 0.5f;
    } else if constexpr (std::is_enum_v<Field>) {
        field = static_cast<Field>(std::lround(value));
    } else if constexpr (std::is_integral_v<Field>) {
        field = static_cast<Field>(std::lround(value));
    } else {
        field = value;
    }
}

template <auto Member>
constexpr SettingAccess kField = {
    [](const NoteSettings& s) { return AsValue(s.*Member); },
    [](NoteSettings& s, float value) { FromValue(s.*Member, value); },
};

template <auto Member, std::size_t I>
constexpr SettingAccess kElement = {
    [](const NoteSettings& s) { return AsValue((s.*Member)[I]); },
    [](NoteSettings& s, float value) { FromValue((s.*Member)[I], value); },
};

// The index of the largest offered number not above `value` (the first when all are above).
template <class List>
std::int32_t ListedIndex(const List& offered, float value) {
    const auto above = std::upper_bound(offered.begin(), offered.end(), value,
                                        [](float v, auto entry) { return v < entry; });
    return static_cast<std::int32_t>(std::max<std::ptrdiff_t>(0, above - offered.begin() - 1));
}

constexpr SettingAccess kVibratoSpeedAccess = {
    [](const NoteSettings& s) {
        return kVibratoSpeedsHz[static_cast<std::size_t>(s.vibratoSpeedIndex)];
    },
    [](NoteSettings& s, float hz) { s.vibratoSpeedIndex = ListedIndex(kVibratoSpeedsHz, hz); },
};

template <std::size_t I>
constexpr SettingAccess kWidthAccess = {
    [](const NoteSettings& s) {
        return static_cast<float>(
            kResonanceWidthsHz[static_cast<std::size_t>(s.resonanceWidthIndex[I])]);
    },
    // A width between two offered ones counts as the whole hertz nearest to it.
    [](NoteSettings& s, float hz) {
        s.resonanceWidthIndex[I] = ListedIndex(kResonanceWidthsHz, std::round(hz));
    },
};

float VibratoSpeedAt(std::size_t i) {
    return kVibratoSpeedsHz[i];
}
float WidthAt(std::size_t i) {
    return static_cast<float>(kResonanceWidthsHz[i]);
}

float VolumeAt(int p, int) {
    return static_cast<float>(VolumeDbAt(p));
}
float DurationSliderAt(int p, int) {
    return DurationAt(p);
}
float QualityAt(int p, int) {
    return static_cast<float>(p);
}

constexpr SliderMapping kVolumeSlider = {VolumeAt, 50, 28};

constexpr std::array<const char*, 2> kTemperamentNames = {"Equal temperament", "Just intonation"};
constexpr std::array<const char*, 2> kQualityNames = {"Low", "High"};
constexpr std::array<const char*, 2> kQualityWords = {"low", "high"};
constexpr std::array<const char*, 3> kAutocorrectionNames = {"Real time", "Precalculated", "Off"};
constexpr std::array<const char*, 3> kAutocorrectionWords = {"realtime", "precalculated", "off"};

// The shortest and longest live attack and release, seconds; the longest is the longest note
// the window makes.
constexpr double kShortestEnvelopeSeconds = 0.005;
constexpr double kLongestEnvelopeSeconds = 20;

template <std::size_t K>
constexpr SettingRow ResonanceFreq(SettingId id, std::string_view port, std::string_view label) {
    return {.id = id,
            .member = "resonanceFreq",
            .port = port,
            .label = label,
            .unit = "Hz",
            .help = "centre frequency F of a body resonance",
            .kind = SettingKind::Whole,
            .low = 40,
            .high = 1500,
            .access = kElement<&NoteSettings::resonanceFreq, K>};
}

template <std::size_t K>
constexpr SettingRow ResonanceWidth(SettingId id, std::string_view port, std::string_view label) {
    return {.id = id,
            .member = "resonanceWidthIndex",
            .port = port,
            .label = label,
            .unit = "Hz",
            .help = "bandwidth dF of a body resonance, at most 0.46 x F",
            .kind = SettingKind::Listed,
            .listedAt = WidthAt,
            .listedCount = kResonanceWidthsHz.size(),
            .access = kWidthAccess<K>};
}

template <std::size_t K>
constexpr SettingRow ResonanceAmp(SettingId id, std::string_view port, std::string_view label) {
    return {.id = id,
            .member = "resonanceAmp",
            .port = port,
            .label = label,
            .unit = "dB",
            .help = "amplitude A of a body resonance",
            .kind = SettingKind::Whole,
            .low = 1,
            .high = 20,
            .access = kElement<&NoteSettings::resonanceAmp, K>};
}

// Resonance K + 2 on or off: the first resonance always sounds.
template <std::size_t K>
constexpr SettingRow ResonanceOn(SettingId id, std::string_view port, std::string_view label) {
    return {.id = id,
            .member = "resonanceOn",
            .port = port,
            .label = label,
            .help = "a body resonance switched on",
            .kind = SettingKind::Toggle,
            .access = kElement<&NoteSettings::resonanceOn, K>};
}

}  // namespace

constinit const std::array<SettingRow, kSettingCount> kSettingRows = {{
    {.id = SettingId::BowPressingForce,
     .member = "bowPressingForce",
     .option = "--force",
     .port = "bow_force",
     .label = "Bow pressing force",
     .help = "bow pressing force, relative",
     .kind = SettingKind::Real,
     .scale = SettingScale::Logarithmic,
     .acts = SettingActs::Live,
     .slider = {BowPressingForceAt, 20, 7},
     .access = kField<&NoteSettings::bowPressingForce>},
    {.id = SettingId::BowSpeed,
     .member = "bowSpeed",
     .option = "--speed",
     .port = "bow_speed",
     .label = "Bow speed",
     .help = "bow speed, relative",
     .kind = SettingKind::Real,
     .scale = SettingScale::Logarithmic,
     .acts = SettingActs::Live,
     .slider = {BowSpeedAt, 20, 15},
     .access = kField<&NoteSettings::bowSpeed>},
    {.id = SettingId::BowPosition,
     .member = "bowPosition",
     .option = "--position",
     .port = "bow_position",
     .label = "Bow position (from the bridge)",
     .help = "bow contact point, fraction of the string from the bridge",
     .kind = SettingKind::Real,
     .slider = {BowPositionAt, 20, 12},
     .access = kField<&NoteSettings::bowPosition>},
    {.id = SettingId::StringDamping,
     .member = "stringDamping",
     .option = "--damping",
     .port = "string_damping",
     .label = "String damping factor",
     .help = "string damping factor",
     .kind = SettingKind::Real,
     .scale = SettingScale::Logarithmic,
     .acts = SettingActs::Live,
     .slider = {StringDampingAt, 20, 12},
     .access = kField<&NoteSettings::stringDamping>},
    {.id = SettingId::FrictionRatio,
     .member = "frictionRatio",
     .option = "--friction-ratio",
     .port = "friction_ratio",
     .label = "Kinetic / static friction ratio",
     .help = "kinetic / static friction ratio",
     .kind = SettingKind::Real,
     .acts = SettingActs::Live,
     .slider = {FrictionRatioAt, 20, 13},
     .access = kField<&NoteSettings::frictionRatio>},
    {.id = SettingId::T1Ratio,
     .member = "t1Ratio",
     .option = "--t1",
     .label = "t1/T",
     .help = "t1/T: attack share of the note",
     .kind = SettingKind::Real,
     .slider = {EnvelopeRatioAt, 20, 3},
     .access = kField<&NoteSettings::t1Ratio>},
    {.id = SettingId::T2Ratio,
     .member = "t2Ratio",
     .option = "--t2",
     .label = "t2/T",
     .help = "t2/T: release share of the note",
     .kind = SettingKind::Real,
     .slider = {EnvelopeRatioAt, 20, 8},
     .access = kField<&NoteSettings::t2Ratio>},
    // The live meaning of t1/T and t2/T: seconds from the key's going down or coming up, with
    // the window's shares of its default 0.8 s note as the defaults.
    {.id = SettingId::Attack,
     .port = "attack",
     .label = "Attack",
     .unit = "s",
     .help = "how long the bow takes to rise after the key goes down",
     .kind = SettingKind::Real,
     .scale = SettingScale::Logarithmic,
     .acts = SettingActs::Live,
     .liveOnly = true,
     .low = kShortestEnvelopeSeconds,
     .high = kLongestEnvelopeSeconds,
     .liveDefault = 0.112f},
    {.id = SettingId::Release,
     .port = "release",
     .label = "Release",
     .unit = "s",
     .help = "how long the bow takes to leave the string after the key comes up",
     .kind = SettingKind::Real,
     .scale = SettingScale::Logarithmic,
     .acts = SettingActs::Live,
     .liveOnly = true,
     .low = kShortestEnvelopeSeconds,
     .high = kLongestEnvelopeSeconds,
     .liveDefault = 0.232f},
    {.id = SettingId::StringToBoxRatio,
     .member = "stringToBoxRatio",
     .option = "--box-ratio",
     .port = "box_ratio",
     .label = "String sound to box sound ratio",
     .help = "share of the body's sound in the output",
     .kind = SettingKind::Real,
     .slider = {StringToBoxRatioAt, 13, 6},
     .access = kField<&NoteSettings::stringToBoxRatio>},
    {.id = SettingId::Vibrato,
     .member = "vibratoOn",
     .option = "--vibrato",
     .port = "vibrato",
     .label = "Vibrato",
     .help = "add vibrato (9 Hz, 20 cents unless set below)",
     .kind = SettingKind::Toggle,
     .acts = SettingActs::Live,
     .access = kField<&NoteSettings::vibratoOn>},
    {.id = SettingId::VibratoSpeed,
     .member = "vibratoSpeedIndex",
     .option = "--vibrato-speed",
     .port = "vibrato_speed",
     .label = "Vibrato speed",
     .unit = "Hz",
     .help = "vibrato speed, turns vibrato on",
     .kind = SettingKind::Listed,
     .acts = SettingActs::Live,
     .listedAt = VibratoSpeedAt,
     .listedCount = kVibratoSpeedsHz.size(),
     .access = kVibratoSpeedAccess},
    {.id = SettingId::VibratoDepth,
     .member = "vibratoDepth",
     .option = "--vibrato-depth",
     .port = "vibrato_depth",
     .label = "Vibrato depth",
     .unit = "cents",
     .help = "vibrato depth, turns vibrato on",
     .kind = SettingKind::Whole,
     .acts = SettingActs::Live,
     .low = 10,
     .high = 150,
     .step = 5,
     .access = kField<&NoteSettings::vibratoDepth>},
    {.id = SettingId::Detune,
     .member = "detune",
     .option = "--detune",
     .port = "detune",
     .label = "Detune",
     .unit = "cents",
     .help = "detune from the note's pitch",
     .kind = SettingKind::Whole,
     .low = -105,
     .high = 105,
     .access = kField<&NoteSettings::detune>},
    // Set on the command line by --just, with the key.
    {.id = SettingId::Temperament,
     .member = "justIntonation",
     .port = "temperament",
     .label = "Temperament",
     .help = "equal temperament or just intonation",
     .kind = SettingKind::Choice,
     .names = kTemperamentNames,
     .access = kField<&NoteSettings::justIntonation>},
    {.id = SettingId::Key,
     .member = "keyIndex",
     .option = "--just",
     .port = "key",
     .label = "Key",
     .help = "just intonation in this key; without it, equal temperament",
     .kind = SettingKind::Choice,
     .names = kKeyNames,
     .words = kKeyNames,
     .access = kField<&NoteSettings::keyIndex>},
    // The live instrument takes its notes from the keys it is played on.
    {.id = SettingId::Note,
     .member = "noteIndex",
     .option = "--note",
     .label = "Note",
     .help = "note to play",
     .kind = SettingKind::Choice,
     .names = std::span<const char* const>(kNoteNames.data(), kNoteCount),
     .words = std::span<const char* const>(kNoteNames.data(), kNoteCount),
     .access = kField<&NoteSettings::noteIndex>},
    {.id = SettingId::Quality,
     .member = "quality",
     .option = "--quality",
     .port = "quality",
     .label = "Sound quality",
     .help = "sound quality",
     .kind = SettingKind::Choice,
     .slider = {QualityAt, 1, 0},
     .names = kQualityNames,
     .words = kQualityWords,
     .access = kField<&NoteSettings::quality>},
    // Live, "Real time" holds a note from its first periods, while a "Precalculated" one plays
    // under it until its trial returns.
    {.id = SettingId::Autocorrection,
     .member = "autocorrection",
     .option = "--autocorrection",
     .port = "pitch_lock",
     .label = "Frequency Autocorrection",
     .help = "how the pitch is held on target",
     .kind = SettingKind::Choice,
     .liveDefault = static_cast<float>(AutocorrectionMode::RealTime),
     .names = kAutocorrectionNames,
     .words = kAutocorrectionWords,
     .access = kField<&NoteSettings::autocorrection>},
    {.id = SettingId::Volume,
     .member = "volumeDb",
     .option = "--volume",
     .label = "Volume",
     .unit = "dB",
     .help = "volume, turns Maximize off",
     .kind = SettingKind::Whole,
     .slider = kVolumeSlider,
     .access = kField<&NoteSettings::volumeDb>},
    // The window's range; it starts 12 dB lower, since there is no Maximize live and several
    // voices share one output.
    {.id = SettingId::LiveVolume,
     .port = "volume",
     .label = "Volume",
     .unit = "dB",
     .help = "volume of the instrument, smoothed so that a change does not click",
     .kind = SettingKind::Whole,
     .acts = SettingActs::Live,
     .liveOnly = true,
     .slider = kVolumeSlider,
     .liveDefault = -10},
    {.id = SettingId::Voices,
     .port = "voices",
     .label = "Voices",
     .help = "how many notes sound at once",
     .kind = SettingKind::Whole,
     .liveOnly = true,
     .low = 1,
     .high = kMostVoices,
     .liveDefault = 8},
    ResonanceFreq<0>(SettingId::Resonance1Freq, "resonance1_freq", "Resonance 1 F"),
    ResonanceWidth<0>(SettingId::Resonance1Width, "resonance1_width", "Resonance 1 dF"),
    ResonanceAmp<0>(SettingId::Resonance1Amp, "resonance1_amp", "Resonance 1 A"),
    ResonanceOn<0>(SettingId::Resonance2On, "resonance2", "Resonance 2"),
    ResonanceFreq<1>(SettingId::Resonance2Freq, "resonance2_freq", "Resonance 2 F"),
    ResonanceWidth<1>(SettingId::Resonance2Width, "resonance2_width", "Resonance 2 dF"),
    ResonanceAmp<1>(SettingId::Resonance2Amp, "resonance2_amp", "Resonance 2 A"),
    ResonanceOn<1>(SettingId::Resonance3On, "resonance3", "Resonance 3"),
    ResonanceFreq<2>(SettingId::Resonance3Freq, "resonance3_freq", "Resonance 3 F"),
    ResonanceWidth<2>(SettingId::Resonance3Width, "resonance3_width", "Resonance 3 dF"),
    ResonanceAmp<2>(SettingId::Resonance3Amp, "resonance3_amp", "Resonance 3 A"),
    ResonanceOn<2>(SettingId::Resonance4On, "resonance4", "Resonance 4"),
    ResonanceFreq<3>(SettingId::Resonance4Freq, "resonance4_freq", "Resonance 4 F"),
    ResonanceWidth<3>(SettingId::Resonance4Width, "resonance4_width", "Resonance 4 dF"),
    ResonanceAmp<3>(SettingId::Resonance4Amp, "resonance4_amp", "Resonance 4 A"),
    {.id = SettingId::Pseudorandom,
     .member = "pseudorandomResonances",
     .option = "--no-pseudorandom",
     .port = "pseudorandom",
     .label = "Other pseudorandom resonances",
     .help = "leave out the five built-in pseudorandom resonances",
     .kind = SettingKind::Toggle,
     .access = kField<&NoteSettings::pseudorandomResonances>},
    {.id = SettingId::PseudorandomAmp,
     .member = "pseudorandomAmp",
     .option = "--pseudorandom-amp",
     .port = "pseudorandom_amp",
     .label = "Pseudorandom amplitude",
     .unit = "dB",
     .help = "amplitude of the built-in resonances",
     .kind = SettingKind::Whole,
     .low = 1,
     .high = PseudorandomAmpMax(),
     .access = kField<&NoteSettings::pseudorandomAmp>},
    // The slider offers the steps of kDurationStepsSec; a typed duration reaches further.
    {.id = SettingId::Duration,
     .member = "duration",
     .option = "--duration",
     .label = "Sound duration (seconds)",
     .unit = "s",
     .help = "sound duration",
     .kind = SettingKind::Real,
     .slider = {DurationSliderAt, 20, 9},
     .low = 0.07,
     .high = 20,
     .access = kField<&NoteSettings::duration>},
    {.id = SettingId::Maximize,
     .member = "maximize",
     .option = "--no-maximize",
     .label = "Maximize",
     .help = "apply the volume instead of scaling the peak to full scale",
     .kind = SettingKind::Toggle,
     .access = kField<&NoteSettings::maximize>},
}};

float SliderDefault(SettingId id) {
    const SliderMapping& slider = Setting(id).slider;
    return slider.at(slider.defaultPosition, slider.positions);
}

float SettingRow::Low() const {
    switch (kind) {
        case SettingKind::Listed:
            return listedAt(0);
        case SettingKind::Toggle:
            return 0;
        case SettingKind::Choice:
            return 0;
        default:
            break;
    }
    if (low != high) {
        return static_cast<float>(low);
    }
    return std::min(slider.at(0, slider.positions), slider.at(slider.positions, slider.positions));
}

float SettingRow::High() const {
    switch (kind) {
        case SettingKind::Listed:
            return listedAt(listedCount - 1);
        case SettingKind::Toggle:
            return 1;
        case SettingKind::Choice:
            return static_cast<float>(names.size() - 1);
        default:
            break;
    }
    if (low != high) {
        return static_cast<float>(high);
    }
    return std::max(slider.at(0, slider.positions), slider.at(slider.positions, slider.positions));
}

float SettingRow::Default() const {
    return liveOnly ? *liveDefault : access.read(NoteSettings{});
}

float SettingRow::Admit(float value) const {
    const float lowest = Low();
    const float clamped = value >= lowest ? std::min(value, High()) : lowest;
    switch (kind) {
        case SettingKind::Whole:
        case SettingKind::Choice:
            return std::round(clamped);
        case SettingKind::Toggle:
            return clamped > 0.5f ? 1.0f : 0.0f;
        default:
            return clamped;
    }
}

bool SettingRow::Takes(float value) const {
    if (!(value >= Low() && value <= High())) {
        return false;
    }
    switch (kind) {
        case SettingKind::Whole:
            return std::fmod(double{value} - double{Low()}, step) == 0;
        case SettingKind::Choice:
        case SettingKind::Toggle:
            return std::round(value) == value;
        case SettingKind::Listed:
            for (std::size_t i = 0; i < listedCount; ++i) {
                if (listedAt(i) == value) {
                    return true;
                }
            }
            return false;
        default:
            return true;
    }
}

std::uint32_t PortIndex(SettingId id) {
    std::uint32_t index = kFirstControlPort;
    for (const SettingRow& row : kSettingRows) {
        if (row.id == id) {
            return index;
        }
        index += row.IsPort() ? 1 : 0;
    }
    return index;
}

std::uint32_t PortCount() {
    const auto ports = std::count_if(kSettingRows.begin(), kSettingRows.end(),
                                     [](const SettingRow& row) { return row.IsPort(); });
    return kFirstControlPort + static_cast<std::uint32_t>(ports);
}

}  // namespace sordanel
