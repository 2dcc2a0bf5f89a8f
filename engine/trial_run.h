#pragma once

#include <cstdint>

#include "autocorrection.h"
#include "bowed_string.h"
#include "frequency_meter.h"
#include "run_setup.h"
#include "sine_table.h"

namespace sordanel {

// The pitch lock's trial run: the note's own bow from rest through the attack, then held where
// the attack ends, with the loop open. The string's fundamental is read against the reference
// twice: first to within a few cents at the note's time step, which tells the regime and the
// size of the correction, then once more at the corrected step, which the string answers not
// quite in proportion. Without body or output, and without allocating.
class TrialRun {
public:
    // The string at rest for the note of `run`, bowed with `bow`.
    void Setup(const RunSetup& run, const BowInputs& bow);
    // String steps for one block of output samples; false once the trial has ended, its pitch
    // read twice or its longest run (run.precalcBlocks) played.
    bool RunBlock(const SineTable& sine);

    std::uint32_t samplesDone() const { return sampleIndex_; }
    bool foundPitch() const { return readings_ > 0; }
    // The correction of the string's time step it found; 0 where the string found no steady
    // pitch.
    float correction() const { return foundPitch() ? correction_ : 0.0f; }

private:
    const RunSetup* run_ = nullptr;
    BowInputs bow_{};
    BowedString string_;
    Autocorrection lock_;
    FrequencyMeter meter_;
    float correction_ = 0;
    int readings_ = 0;
    std::uint32_t sampleIndex_ = 0;
    std::uint32_t stepCount_ = 0;
    float prevBowVelocity_ = 0;
};

// A whole trial run, for a caller with no run of its own around it, such as a live voice that
// measures on a worker thread while its note already plays.
float MeasureCorrection(const RunSetup& run, const BowInputs& bow);

}  // namespace sordanel
