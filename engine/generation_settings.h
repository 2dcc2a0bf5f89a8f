#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace sordanel {

class ProgressReceiver;

// Every input of one synthesised note, and the job state shared by the window, the worker
// thread and the engine. The owner (main dialog, command line or test) keeps the one instance;
// the engine reads it in place and never copies it, so it cannot be copied.
struct GenerationSettings {
    GenerationSettings() = default;
    GenerationSettings(const GenerationSettings&) = delete;
    GenerationSettings& operator=(const GenerationSettings&) = delete;

    std::int32_t noteIndex = 28;      // into kNoteNames, 0 = "E7" .. 76 = "C1"; 28 = "C5"
    std::int32_t c4Index = 40;        // where "C4" stands in kNoteNames
    std::int32_t keyIndex = 0;        // into kKeyNames; used only with just intonation
    std::int32_t justIntonation = 0;  // 0 equal temperament, 1 just intonation

    float bowPressingForce = 1.5648f;  // 0.35091 .. 3.5
    float bowSpeed = 0.10690f;         // 0.060155 .. 0.6
    float bowPosition = 0.17f;         // fraction of the string from the bridge, 0.05 .. 0.35
    float stringDamping = 0.0015823f;  // 0.00025130 .. 0.025
    float frictionRatio = 0.2205f;     // kinetic / static, 0.07 .. 0.5
    float t1Ratio = 0.14f;             // attack share of the bow envelope, 0.05 .. 0.65
    float t2Ratio = 0.29f;             // release share of the bow envelope, 0.05 .. 0.65

    bool vibratoOn = false;
    std::int32_t vibratoSpeedIndex = 23;  // into kVibratoSpeedsHz, 0 .. 28; 23 = 9.0 Hz
    std::int32_t vibratoDepth = 20;       // cents, 10 .. 150 in steps of 5
    std::int32_t detune = 0;              // cents, -105 .. +105

    float stringToBoxRatio = 0.461538f;                      // share of the box sound, 0 .. 1
    bool pseudorandomResonances = true;                      // add the five built-in resonances
    std::array<bool, 3> resonanceOn = {true, false, false};  // resonances 2, 3, 4
    std::array<std::int32_t, 4> resonanceFreq = {280, 415, 212, 515};  // Hz, 40 .. 1500
    std::array<std::int32_t, 4> resonanceWidthIndex = {5, 4, 3, 7};    // into kResonanceWidthsHz
    std::array<std::int32_t, 4> resonanceAmp = {9, 8, 9, 6};           // dB, 1 .. 20
    std::int32_t pseudorandomAmp = 4;  // dB of the built-in resonances, 1 .. 12

    std::string outputPath;  // UTF-8 path of the WAVE file, at most 390 characters; empty = none
    std::string tempDir;     // system temporary directory, ending with '/'

    std::int32_t quality = 0;   // 0 Low, 1 High
    std::int32_t volumeDb = 2;  // -20 .. +30; ignored while maximize is set
    float duration = 0.8f;      // seconds, 0.07 .. 20
    bool maximize = true;       // normalise the peak instead of applying volumeDb

    // Job state. The flags cross threads and need sequentially consistent access.
    ProgressReceiver* progressDialog = nullptr;  // valid only while progressOpen is set
    std::atomic<bool> abortRequested{false};
    std::atomic<bool> busy{false};
    std::atomic<bool> progressInUse{false};
    std::atomic<bool> progressOpen{false};
    std::vector<std::uint8_t> previewSound;  // WAVE image of the last preview; empty = none
    std::atomic<bool> previewValid{false};
    std::atomic<bool> outputValid{false};

    std::int32_t autocorrection = 1;  // 0 real time, 1 precalculated, 2 off
};

}  // namespace sordanel
