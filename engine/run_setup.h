#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/bowed_string.h"
#include "engine/generation_settings.h"
#include "engine/note_frequency.h"
#include "engine/quality_profile.h"

namespace sordanel {

// The constants one run derives from the settings before it synthesises anything.
struct RunSetup {
    QualityProfile profile;
    float noteFrequency;          // target fundamental, Hz
    std::int32_t bowPoint;        // string point under the bow
    float stepFraction;           // share of a period simulated by one string step
    float stepRate;               // string steps per second of sound, at least 10000
    float samplesPerStep;         // output samples per string step
    float kernelStep;             // kernel entries per output sample distance of one step
    std::uint32_t kernelTaps;     // history values weighed for one output sample
    float duration;               // seconds, at most 3 in a preview
    std::uint32_t totalSamples;   // output samples of the run
    std::uint32_t precalcBlocks;  // 800-sample blocks of the trial run's lock; 0 without one
    std::uint32_t settleSteps;    // lock steps left out of the averaged correction
    std::uint32_t checkBlocks;    // 800-sample blocks of the trial run's check; 0 without one
    std::uint32_t checkSteps;     // check steps before its pitch is measured
};

inline constexpr float kMinStepRate = 10000.0f;
inline constexpr float kPreviewMaxSeconds = 3.0f;
inline constexpr std::uint32_t kBlockSamples = 800;

// The parts of a note's settings that each stage reads. A caller that keeps one of them, such
// as the live instrument's measured corrections, keeps whole parts and so misses no input.
NoteChoice NoteChoiceOf(const NoteSettings& settings);  // its pitch
BowInputs BowInputsOf(const NoteSettings& settings);    // its bow, as each refresh reads it

// The note's string before it is bowed: its pitch, its points and where the bow touches it.
struct NoteString {
    NoteChoice pitch;
    Quality quality;
    float bowPosition;

    bool operator==(const NoteString&) const = default;
};
NoteString NoteStringOf(const NoteSettings& settings);

// How long the note lasts and how its pitch is held.
struct NoteTiming {
    float duration;  // seconds
    AutocorrectionMode autocorrection;
    float t1Ratio;
    float t2Ratio;
};
NoteTiming NoteTimingOf(const NoteSettings& settings);

// sampleRate is the output rate in Hz: the files' 44100, or a live host's own rate.
RunSetup ComputeRunSetup(const NoteString& string, const NoteTiming& timing, bool preview,
                         float sampleRate = kSampleRate);
inline RunSetup ComputeRunSetup(const NoteSettings& settings, bool preview,
                                float sampleRate = kSampleRate) {
    return ComputeRunSetup(NoteStringOf(settings), NoteTimingOf(settings), preview, sampleRate);
}

// Runs the string's clock clockRatio times faster: the steps per second and, with them, the
// interpolation's stretch and taps. The string's own step is unchanged, so it plays the same
// steps, and the note's pitch moves by exactly the ratio.
void RetimeRunSetup(RunSetup& run, double clockRatio, float sampleRate = kSampleRate);

// Where the trial run holds the bow: the end of the attack, or the start of the release when
// the two overlap.
inline float TrialHoldPosition(float t1Ratio, float t2Ratio) {
    return std::min(t1Ratio, 1.0f - t2Ratio);
}

// Position of output sample n on the string's clock, in steps. Kept in double: in single
// precision its rounding grows with the sample index and shakes the timing of long notes.
inline double StepClock(const RunSetup& run, std::uint32_t n) {
    return static_cast<double>(n) / run.samplesPerStep;
}

// Position of output sample n within the bow's envelope: 0 at the start, 1 where the bow leaves
// the string, which is a little before the note's end, so the release reaches silence.
inline float EnvelopePosition(const RunSetup& run, std::uint32_t n) {
    return static_cast<float>((0.02 / run.duration + 1.05) * n / run.totalSamples);
}

}  // namespace sordanel
