#pragma once

#include <cstdint>

#include "engine/autocorrection.h"
#include "engine/bowed_string.h"
#include "engine/check_recording.h"
#include "engine/engine_host.h"
#include "engine/file_layer.h"
#include "engine/generation_result.h"
#include "engine/generation_settings.h"
#include "engine/interpolation_kernel.h"
#include "engine/job_state.h"
#include "engine/level_stage.h"
#include "engine/run_setup.h"
#include "engine/sine_table.h"
#include "engine/sound_box.h"
#include "engine/sound_player.h"
#include "engine/step_history.h"
#include "engine/trial_run.h"
#include "engine/vibrato.h"
#include "engine/wave_output.h"

namespace sordanel {

// The synthesis driver: one run turns the settings into one note. Each run copies the
// settings when it is set up and reads only its copy, so the owner may change them while a run
// drains; nothing is allocated once the run is set up.
class SoundEngine {
public:
    // A measured note replays at most replaySteps steps of its trial's check.
    SoundEngine(const GenerationSettings& settings, JobState& job, EngineHost& host,
                FileLayer& files, SoundPlayer& player,
                std::uint32_t replaySteps = CheckRecording::kDefaultSteps);

    // A Generate (preview false: the WAVE file at outputPath) or a preview (the in-memory
    // image, at most 3 s, played at once). busy is set on entry and cleared on every way out.
    GenerationResult GenerateSound(bool preview);

    // The constants and stages of the latest run.
    const RunSetup& runSetup() const { return run_; }
    const LevelStage& levelStage() const { return level_; }
    const SoundBox& soundBox() const { return box_; }
    const Autocorrection& autocorrection() const { return autocorrection_; }
    // The steps of the latest note replayed from its check.
    std::uint32_t replayedSteps() const { return replayedSteps_; }

private:
    void SetUp(bool preview);
    // The stages whose constants follow the string's steps per second.
    void SetUpClockedStages();
    // Each returns the run's result when it ended inside, nothing when the run goes on.
    std::optional<GenerationResult> PrecalculationPass();
    std::optional<GenerationResult> MainLoop();
    // String and box up to targetStep in one pass, each step's value into the history; true
    // when it stopped after a step the real-time pitch lock measures.
    bool RunSteps(std::uint32_t targetStep, bool realTimeCorrection);
    // The same up to targetStep from the check's recorded steps, the box alone running.
    void ReplaySteps(std::uint32_t targetStep);
    // The steps of the check the note plays as they were recorded; 0 where it bows otherwise.
    std::uint32_t ReplayEnd() const;
    void ReportProgress(bool precalculating);
    // The vibrato term and the bow of the next steps, at envelopePosition.
    void RefreshBow(float envelopePosition);
    // The step before which the trial refreshed its bow for the next time, and that refresh.
    std::uint32_t NextAttackRefreshStep() const;
    void RefreshAttackOnTrialClock();

    const GenerationSettings& source_;
    GenerationSettings settings_;  // the run's own copy
    JobState& job_;
    EngineHost& host_;
    WaveOutput output_;

    bool preview_ = false;
    RunSetup run_{};
    RunSetup trialClock_{};  // the run as the trial played it, before the clock was corrected
    const InterpolationKernel* kernel_ = nullptr;
    SineTable sine_{};
    BowedString string_;
    Vibrato vibrato_;
    Autocorrection autocorrection_;
    TrialRun trial_;
    CheckRecording recording_;
    SoundBox box_;
    StepHistory history_;
    LevelStage level_;

    BowInputs bow_{};
    std::uint32_t sampleIndex_ = 0;
    std::uint32_t stepCount_ = 0;
    float vibratoTerm_ = 0;
    float prevBowVelocity_ = 0;
    std::uint32_t replayedSteps_ = 0;
    std::uint32_t attackRefresh_ = 0;  // the trial's sample of the next refresh of the attack
    bool attackOnTrialClock_ = false;
};

}  // namespace sordanel
