#include "lv2/trial_request.h"

#include "engine/run_setup.h"
#include "engine/trial_run.h"

namespace sordanel::lv2 {

TrialRequest MakeTrialRequest(const GenerationSettings& settings, float bowPressingForce) {
    return {.noteIndex = settings.noteIndex,
            .quality = settings.quality,
            .justIntonation = settings.justIntonation,
            .keyIndex = settings.keyIndex,
            .detune = settings.detune,
            .bowPosition = settings.bowPosition,
            .bowPressingForce = bowPressingForce,
            .bowSpeed = settings.bowSpeed,
            .stringDamping = settings.stringDamping,
            .frictionRatio = settings.frictionRatio};
}

float RunTrial(const TrialRequest& request, float sampleRate) {
    GenerationSettings settings;
    settings.noteIndex = request.noteIndex;
    settings.quality = request.quality;
    settings.justIntonation = request.justIntonation;
    settings.keyIndex = request.keyIndex;
    settings.detune = request.detune;
    settings.bowPosition = request.bowPosition;
    settings.autocorrection = AutocorrectionMode::Precalculated;
    settings.t1Ratio = 0;  // a live note measures its full bow from the start
    settings.t2Ratio = 0;
    const RunSetup run = ComputeRunSetup(settings, false, sampleRate);
    const BowInputs bow{.bowPressingForce = request.bowPressingForce,
                        .bowSpeed = request.bowSpeed,
                        .stringDamping = request.stringDamping,
                        .frictionRatio = request.frictionRatio,
                        .t1Ratio = 0,
                        .t2Ratio = 0};
    return MeasureCorrection(run, bow);
}

}  // namespace sordanel::lv2
