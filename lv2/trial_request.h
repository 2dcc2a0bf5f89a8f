#pragma once

#include <type_traits>

#include "engine/bowed_string.h"
#include "engine/generation_settings.h"
#include "engine/run_setup.h"

namespace sordanel::lv2 {

// Everything a "Precalculated" trial run depends on: the note's string and its bow, as the
// engine's own records of them, so no input of the trial can be left out. Two notes with equal
// requests share their correction. Plain bytes, so it crosses to the worker thread and back as
// it is.
struct TrialRequest {
    NoteString string;
    BowInputs bow;  // the full bow the trial holds, its force as the note's velocity set it

    bool operator==(const TrialRequest&) const = default;
};
static_assert(std::is_trivially_copyable_v<TrialRequest>);

// The request of a note of `settings` bowed with `bowPressingForce`.
TrialRequest MakeTrialRequest(const NoteSettings& settings, float bowPressingForce);

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
