#pragma once

#include <cstdint>
#include <type_traits>

#include "engine/generation_settings.h"

namespace sordanel::lv2 {

// Everything a "Precalculated" trial run depends on: two notes with equal requests share their
// correction. Plain bytes, so it crosses to the worker thread and back as it is.
struct TrialRequest {
    std::int32_t noteIndex;  // into kNoteNames
    Quality quality;
    Temperament justIntonation;
    std::int32_t keyIndex;
    std::int32_t detune;  // cents
    float bowPosition;
    float bowPressingForce;  // as the note's velocity set it
    float bowSpeed;
    float stringDamping;
    float frictionRatio;

    bool operator==(const TrialRequest&) const = default;
};
static_assert(std::is_trivially_copyable_v<TrialRequest>);

// The request of a note of `settings` bowed with `bowPressingForce`.
TrialRequest MakeTrialRequest(const GenerationSettings& settings, float bowPressingForce);

// The trial run itself, at the host's rate: the constant correction of the request's note.
// Runs on the worker thread; takes some milliseconds.
float RunTrial(const TrialRequest& request, float sampleRate);

// The answer the worker sends back.
struct TrialResult {
    TrialRequest request;
    float freqCorrection;
};
static_assert(std::is_trivially_copyable_v<TrialResult>);

}  // namespace sordanel::lv2
