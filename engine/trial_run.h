#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "engine/autocorrection.h"
#include "engine/bowed_string.h"
#include "engine/check_recording.h"
#include "engine/run_setup.h"
#include "engine/sine_table.h"
#include "engine/string_lanes.h"
#include "engine/string_pitch_meter.h"

namespace sordanel {

// The measurement of the "Precalculated" pitch lock, in two parts.
// First the lock: the string bowed steadily from rest, with no envelope, no vibrato and no
// body, for run.precalcBlocks blocks; the pitch lock runs every fourth step, and its correction
// averaged after the first run.settleSteps steps corrects the note's time step. That brings the
// string near its target in a regime that repeats period by period.
// Then the check: the note's own string at the corrected time step, bowed with the note's own
// attack and held at the attack's end; from step run.checkSteps on, the pitch meter reads the
// middle point, until the pitch has settled or for at most run.checkBlocks blocks. The note plays
// these very steps, so it lands in the regime that was measured, and what the lock left over is
// taken up by the string's clock: a further change of the time step could move the string into
// another regime. Where the corrected step finds no steady pitch, the uncorrected one is checked as
// well. Given a recording, the check keeps its steps there for the note to replay, as far as the
// note is sure to play them. It allocates nothing but the recording's room, at set-up.
class TrialRun {
public:
    // What the run needs next.
    enum class Want {
        Steps,     // its string stepped
        BlockEnd,  // a block of output samples was played
        End,       // the last block was played
    };

    // The string at rest for the note of `run`, bowed with `bow`.
    void Setup(const RunSetup& run, const BowInputs& bow, CheckRecording* recording = nullptr);
    // String steps for one block of output samples; false once the last block was played.
    bool RunBlock(const SineTable& sine);

    // The same run in parts, for a caller that steps the string beside other strings.
    // Runs until the string must be stepped to `until`, or a block ends.
    Want NextSteps(std::uint32_t& until);
    // The run's own string stepped to `until`.
    void StepOwnString(std::uint32_t until, const SineTable& sine);
    // Steps taken in lane `lane` of `lanes`: each step's values and middle point's displacement.
    void TakeSteps(const StringLanes& lanes, std::int32_t lane, const StepValues* steps,
                   const float* middles, std::uint32_t count, const SineTable& sine);
    // The string as it stood when it was last set to rest, and its bow.
    const BowedString& string() const { return string_; }
    // The bow's velocity for the next steps and of the last step.
    float stepBowVelocity() const { return locking_ ? bow_.bowSpeed : string_.bow().bowVelocity; }
    float prevBowVelocity() const { return locking_ ? bow_.bowSpeed : prevBowVelocity_; }
    std::uint32_t stepCount() const { return stepCount_; }
    // True once after the string was set to rest.
    bool TakeStringReset() { return std::exchange(stringReset_, false); }

    // Output samples of both parts so far; a second check counts as the end of the first.
    std::uint32_t samplesDone() const {
        return std::min(blocksDone_, run_->precalcBlocks + run_->checkBlocks) * kBlockSamples;
    }
    // The averaged correction of the string's time step.
    float correction() const { return correction_; }
    // How much faster the string's clock must run for the note to sound at its target: the
    // target over the checked pitch; 1 when the string found no steady pitch within the
    // interpolation's reach.
    double clockRatio() const { return ratio_.value_or(1.0); }

private:
    // The bookkeeping at a block's end; false once the run is over.
    bool EndBlock();
    void StartCheck();
    bool LockSteps(std::uint32_t targetStep);
    void CheckSteps(std::uint32_t targetStep);
    std::size_t PeriodReadings() const;  // the meter's readings per period, rounded up
    std::optional<double> ClockRatio(std::optional<double> played) const;

    const RunSetup* run_ = nullptr;
    BowInputs bow_{};
    CheckRecording* recording_ = nullptr;
    std::uint32_t recordSteps_ = 0;  // the check steps the note plays on any clock
    BowedString string_;
    Autocorrection lock_;
    StringPitchMeter meter_;
    float correctionSum_ = 0;
    float correction_ = 0;
    float timeStep_ = 0;  // the corrected step of the check
    float holdPosition_ = 0;
    float prevBowVelocity_ = 0;
    std::optional<double> ratio_;
    std::uint32_t blocksDone_ = 0;
    std::uint32_t checkBlocksDone_ = 0;
    std::uint32_t sampleIndex_ = 0;  // within the part
    std::uint32_t stepCount_ = 0;    // within the part
    bool locking_ = false;           // in the lock, not the check
    std::uint32_t blockEnd_ = 0;
    bool sampleOpen_ = false;  // its steps are being taken
    std::uint32_t targetStep_ = 0;
    bool stringReset_ = false;
    // The lanes that step the string, while a caller steps it there.
    const StringLanes* lanes_ = nullptr;
    std::int32_t lane_ = 0;
};

// The first sample, a multiple of 4, whose bow refresh leaves the trial's hold: up to it the
// note bows as the check did, apart from vibrato.
std::uint32_t HeldBowEndSample(const RunSetup& run, const BowInputs& bow);

// A whole trial run, for a caller with no run of its own around it, such as a live voice that
// measures on a worker thread while its note already plays: the relative correction of the
// string's time step that brings it to its target.
float MeasureCorrection(const RunSetup& run, const BowInputs& bow);

}  // namespace sordanel
