#include "engine/setting_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace sordanel {
namespace {

TEST(SettingTable, EachRowStandsAtItsIdAndNamesItsOptionAndPortOnce) {
    std::set<std::string_view> options, ports;
    for (std::size_t i = 0; i < kSettingRows.size(); ++i) {
        const SettingRow& row = kSettingRows[i];
        SCOPED_TRACE(std::string(row.label));
        EXPECT_EQ(static_cast<std::size_t>(row.id), i);
        EXPECT_FALSE(row.label.empty());
        EXPECT_EQ(row.liveOnly, row.member.empty());
        EXPECT_EQ(row.liveOnly, row.access.read == nullptr);
        EXPECT_TRUE(row.liveOnly ? row.liveDefault.has_value() : row.access.write != nullptr);
        EXPECT_TRUE(!row.liveOnly || row.IsPort()) << "a live-only control is a port";
        if (!row.option.empty()) {
            EXPECT_TRUE(options.insert(row.option).second) << row.option;
        }
        if (row.IsPort()) {
            EXPECT_TRUE(ports.insert(row.port).second) << row.port;
        }
    }
}

// Hosts keep a session's controls by port; a port that moved would take another's value.
TEST(SettingTable, PortsKeepTheirIndices) {
    const std::vector<std::string_view> symbols = {
        "bow_force",      "bow_speed",     "bow_position",    "string_damping",
        "friction_ratio", "attack",        "release",         "box_ratio",
        "vibrato",        "vibrato_speed", "vibrato_depth",   "detune",
        "temperament",    "key",           "quality",         "pitch_lock",
        "volume",         "voices",        "resonance1_freq", "resonance1_width",
        "resonance1_amp", "resonance2",    "resonance2_freq", "resonance2_width",
        "resonance2_amp", "resonance3",    "resonance3_freq", "resonance3_width",
        "resonance3_amp", "resonance4",    "resonance4_freq", "resonance4_width",
        "resonance4_amp", "pseudorandom",  "pseudorandom_amp"};
    std::vector<std::string_view> found(symbols.size());
    for (const SettingRow& row : kSettingRows) {
        if (row.IsPort()) {
            const std::uint32_t index = PortIndex(row.id) - kFirstControlPort;
            ASSERT_LT(index, found.size()) << row.port << " is a new port: it goes after the last";
            found[index] = row.port;
        }
    }
    EXPECT_EQ(found, symbols);
    EXPECT_EQ(PortCount(), kFirstControlPort + symbols.size());
}

// The ranges, defaults and values of the slider-backed settings are the window's own floats.
TEST(SettingTable, SliderSettingsRangeOverTheirSlidersExactly) {
    const NoteSettings fresh;
    for (const SettingRow& row : kSettingRows) {
        if (row.slider.at == nullptr || row.liveOnly) {
            continue;
        }
        SCOPED_TRACE(std::string(row.label));
        const float first = row.slider.at(0, row.slider.positions);
        const float last = row.slider.at(row.slider.positions, row.slider.positions);
        EXPECT_EQ(row.Default(), row.slider.at(row.slider.defaultPosition, row.slider.positions));
        EXPECT_EQ(row.Default(), row.access.read(fresh));
        if (row.id == SettingId::Duration) {
            // A typed duration reaches past the slider's steps.
            EXPECT_LT(row.Low(), std::min(first, last));
            EXPECT_GT(row.High(), std::max(first, last));
            continue;
        }
        EXPECT_EQ(row.Low(), std::min(first, last));
        EXPECT_EQ(row.High(), std::max(first, last));
    }
}

TEST(SettingTable, AdmitBringsAnythingAHostSendsIntoRange) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const SettingRow& row : kSettingRows) {
        SCOPED_TRACE(std::string(row.label));
        EXPECT_EQ(row.Admit(nan), row.Low());
        EXPECT_EQ(row.Admit(-inf), row.Low());
        EXPECT_EQ(row.Admit(inf), row.High());
        EXPECT_TRUE(row.Takes(row.Admit(row.Default()))) << row.Default();
    }
    EXPECT_EQ(Setting(SettingId::Detune).Admit(12.6f), 13.0f);
    EXPECT_EQ(Setting(SettingId::Vibrato).Admit(0.4f), 0.0f);
    EXPECT_EQ(Setting(SettingId::Vibrato).Admit(0.6f), 1.0f);
}

TEST(SettingTable, TakesOnlyValuesOnTheSettingsOwnSteps) {
    const SettingRow& depth = Setting(SettingId::VibratoDepth);
    EXPECT_TRUE(depth.Takes(15));
    EXPECT_FALSE(depth.Takes(12));
    EXPECT_FALSE(depth.Takes(155));
    const SettingRow& speed = Setting(SettingId::VibratoSpeed);
    EXPECT_TRUE(speed.Takes(9.0f));
    EXPECT_FALSE(speed.Takes(9.5f));
    EXPECT_FALSE(Setting(SettingId::Detune).Takes(2.5f));
    EXPECT_FALSE(Setting(SettingId::Quality).Takes(2));
}

TEST(SettingTable, ListedSettingsWriteTheIndexOfTheirValue) {
    NoteSettings s;
    Setting(SettingId::VibratoSpeed).access.write(s, 5.5f);
    EXPECT_EQ(s.vibratoSpeedIndex, 19);
    Setting(SettingId::Resonance3Width).access.write(s, 20.4f);
    EXPECT_EQ(s.resonanceWidthIndex[2], 5) << "20 Hz";
    Setting(SettingId::Resonance3Width).access.write(s, 19.0f);
    EXPECT_EQ(s.resonanceWidthIndex[2], 4) << "the widest offered width not above: 16 Hz";
    EXPECT_EQ(Setting(SettingId::Resonance3Width).access.read(s), 16.0f);
}

TEST(SettingTable, LiveInstrumentStartsItsOwnControlsWhereItsDescriptionSays) {
    EXPECT_EQ(Setting(SettingId::LiveVolume).PortDefault(),
              Setting(SettingId::Volume).Default() - 12)
        << "12 dB below the window's";
    EXPECT_EQ(Setting(SettingId::Autocorrection).PortDefault(),
              static_cast<float>(AutocorrectionMode::RealTime));
    EXPECT_EQ(Setting(SettingId::Autocorrection).Default(),
              static_cast<float>(AutocorrectionMode::Precalculated));
    EXPECT_EQ(Setting(SettingId::Voices).High(), static_cast<float>(kMostVoices));
}

}  // namespace
}  // namespace sordanel
