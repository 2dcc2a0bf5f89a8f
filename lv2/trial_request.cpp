#include "lv2/trial_request.h"

#include "engine/trial_run.h"

namespace sordanel::lv2 {

TrialRequest MakeTrialRequest(const NoteSettings& settings, float bowPressingForce) {
    BowInputs bow = BowInputsOf(settings);
    bow.bowPressingForce = bowPressingForce;
    // A live note measures its full bow from the start: the player, not a run's length, shapes
    // its rise and fall.
    bow.t1Ratio = 0;
    bow.t2Ratio = 0;
    return {.string = NoteStringOf(settings), .bow = bow};
}

float RunTrial(const TrialRequest& request, float sampleRate) {
    const NoteTiming timing{.duration = NoteSettings{}.duration,
                            .autocorrection = AutocorrectionMode::Precalculated,
                            .t1Ratio = request.bow.t1Ratio,
                            .t2Ratio = request.bow.t2Ratio};
    const RunSetup run = ComputeRunSetup(request.string, timing, false, sampleRate);
    return MeasureCorrection(run, request.bow);
}

}  // namespace sordanel::lv2
