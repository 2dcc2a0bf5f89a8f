#pragma once

#include <cstdint>
#include <utility>

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
#include "engine/string_lanes.h"
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
    // image, at most 3 s, played at once).
    GenerationResult GenerateSound(bool preview);

    // The same run in parts, for a caller that steps the string beside other notes' strings.
    // Set-up, output and trial run; the run's result when it ended there.
    std::optional<GenerationResult> StartNote(bool preview);
    // The rest of a started run, on the engine's own string.
    GenerationResult RunToEnd();
    // Runs the note, its trial run first, until its string must be stepped: true with the step
    // it must reach from stepCount(); false once the note is over.
    bool NextSteps(std::uint32_t& until);
    // The string's next `count` steps, taken in lane `lane` of `lanes`: each one's values and
    // middle point's displacement.
    void TakeSteps(const StringLanes& lanes, std::int32_t lane, const StepValues* steps,
                   const float* middles, std::uint32_t count);
    // The run's result once NextSteps returned false.
    GenerationResult FinishNote();
    // The string that steps now, the trial's or the note's: its bow at every request, its state
    // whenever TakeStringReplaced says it was replaced since.
    const BowedString& string() const { return inTrial_ ? trial_.string() : string_; }
    bool TakeStringReplaced() {
        return inTrial_ ? trial_.TakeStringReset() : std::exchange(stringReplaced_, false);
    }
    float stepBowVelocity() const {
        return inTrial_ ? trial_.stepBowVelocity() : string_.bow().bowVelocity;
    }
    float prevBowVelocity() const { return inTrial_ ? trial_.prevBowVelocity() : prevBowVelocity_; }
    std::uint32_t stepCount() const { return inTrial_ ? trial_.stepCount() : stepCount_; }

    // The constants and stages of the latest run.
    const RunSetup& runSetup() const { return run_; }
    const LevelStage& levelStage() const { return level_; }
    const Autocorrection& autocorrection() const { return autocorrection_; }
    // The steps of the latest note replayed from its check.
    std::uint32_t replayedSteps() const { return replayedSteps_; }

private:
    void SetUp(bool preview);
    // The stages whose constants follow the string's steps per second.
    void SetUpClockedStages();
    // Each returns the run's result when it ended inside, nothing when the run goes on.
    // The note's clock and stages from the trial run's measure.
    void FinishTrial();
    void StartMainLoop();
    // String and box up to targetStep in one pass, each step's value into the history.
    void RunSteps(std::uint32_t targetStep);
    // The same from the string's values of `count` steps taken elsewhere, the box alone
    // running.
    void PlaySteps(const StepValues* steps, std::uint32_t count);
    // The pass that both run up to targetStep: with kStepString the string is stepped here,
    // else its values are read from `played` on.
    template <bool kStepString>
    [[gnu::always_inline]] void StepBox(std::uint32_t targetStep, const StepValues* played);
    // The real-time pitch lock measures after every fourth step.
    void AfterSteps(float middleDisplacement);
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
    std::uint32_t replayEnd_ = 0;
    std::uint32_t replayedSteps_ = 0;
    std::uint32_t attackRefresh_ = 0;  // the trial's sample of the next refresh of the attack
    bool attackOnTrialClock_ = false;
    bool measured_ = false;  // by the trial run
    bool realTimeCorrection_ = false;
    float hold_ = 0;  // the trial's hold position
    // Where the main loop stands: its block, and the sample whose steps it is taking.
    std::uint32_t block_ = 0;
    std::uint32_t blockEnd_ = 0;
    bool sampleOpen_ = false;
    std::uint32_t targetStep_ = 0;
    double stepPhase_ = 0;
    std::optional<GenerationResult> ended_;  // where the run ended early
    bool inTrial_ = false;
    bool stringReplaced_ = false;
};

}  // namespace sordanel
