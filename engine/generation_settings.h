#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/setting_id.h"

namespace sordanel {

enum class Quality : std::int32_t { Low = 0, High = 1 };
enum class Temperament : std::int32_t { Equal = 0, Just = 1 };
// How the pitch is held on target: the loop corrects while the note plays, a trial run measures
// one constant correction first, or the string runs uncorrected.
enum class AutocorrectionMode : std::int32_t { RealTime = 0, Precalculated = 1, Off = 2 };

// Every input of one synthesised note, without the files it goes to: a plain value of fixed
// size, which a live instrument copies at a note-on without allocating. The slider-backed values
// start where the window's sliders start.
struct NoteSettings {
    std::int32_t noteIndex = 28;  // into kNoteNames, 0 = "E7" .. 76 = "C1"; 28 = "C5"
    std::int32_t c4Index = 40;    // where "C4" stands in kNoteNames
    std::int32_t keyIndex = 0;    // into kKeyNames; used only with just intonation
    Temperament justIntonation = Temperament::Equal;

    float bowPressingForce = SliderDefault(SettingId::BowPressingForce);
    float bowSpeed = SliderDefault(SettingId::BowSpeed);
    float bowPosition = SliderDefault(SettingId::BowPosition);
    float stringDamping = SliderDefault(SettingId::StringDamping);
    float frictionRatio = SliderDefault(SettingId::FrictionRatio);
    float t1Ratio = SliderDefault(SettingId::T1Ratio);  // attack share
    float t2Ratio = SliderDefault(SettingId::T2Ratio);  // release share

    bool vibratoOn = false;
    std::int32_t vibratoSpeedIndex = 23;  // into kVibratoSpeedsHz, 0 .. 28; 23 = 9.0 Hz
    std::int32_t vibratoDepth = 20;       // cents, 10 .. 150 in steps of 5
    std::int32_t detune = 0;              // cents, -105 .. +105

    // Share of the box sound, 0 .. 1.
    float stringToBoxRatio = SliderDefault(SettingId::StringToBoxRatio);
    bool pseudorandomResonances = true;                      // add the five built-in resonances
    std::array<bool, 3> resonanceOn = {true, false, false};  // resonances 2, 3, 4
    std::array<std::int32_t, 4> resonanceFreq = {280, 415, 212, 515};  // Hz, 40 .. 1500
    std::array<std::int32_t, 4> resonanceWidthIndex = {5, 4, 3, 7};    // into kResonanceWidthsHz
    std::array<std::int32_t, 4> resonanceAmp = {9, 8, 9, 6};           // dB, 1 .. 20
    std::int32_t pseudorandomAmp = 4;  // dB of the built-in resonances, 1 .. 12

    Quality quality = Quality::Low;
    // -20 .. +30; unused with maximize
    std::int32_t volumeDb = static_cast<std::int32_t>(SliderDefault(SettingId::Volume));
    float duration = SliderDefault(SettingId::Duration);  // seconds, 0.07 .. 20
    bool maximize = true;  // normalise the peak instead of applying volumeDb

    AutocorrectionMode autocorrection = AutocorrectionMode::Precalculated;
};

// Every input of one run of the window or the renderer: the note and where it is written. The
// window, the command line or a test owns one and changes it freely; the engine copies it when a
// run is set up and reads only its copy.
struct GenerationSettings : NoteSettings {
    std::string outputPath;  // UTF-8 path of the WAVE file, at most 390 characters; empty = none
    std::string tempDir;     // system temporary directory, ending with '/'
};

}  // namespace sordanel
