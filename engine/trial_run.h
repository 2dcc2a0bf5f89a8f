#pragma once

#include <cstdint>

#include "engine/autocorrection.h"
#include "engine/bowed_string.h"
#include "engine/run_setup.h"
#include "engine/sine_table.h"

namespace sordanel {

// The measurement of the "Precalculated" pitch lock: the string bowed steadily from rest, with
// no envelope, no vibrato and no body, for run.precalcBlocks blocks; the pitch lock runs every
// fourth step, and its correction averaged after the first run.settleSteps steps is the
// constant correction of the note. It allocates nothing.
class TrialRun {
public:
    // The string at rest for the note of `run`, bowed with `bow`.
    void Setup(const RunSetup& run, const BowInputs& bow);
    // String steps for one block of output samples; false once the last block was played.
    bool RunBlock(const SineTable& sine);

    std::uint32_t samplesDone() const { return sampleIndex_; }
    // The averaged correction of the string's time step.
    float correction() const;

private:
    const RunSetup* run_ = nullptr;
    BowInputs bow_{};
    BowedString string_;
    Autocorrection lock_;
    float correctionSum_ = 0;
    std::uint32_t sampleIndex_ = 0;
    std::uint32_t stepCount_ = 0;
};

// A whole trial run, for a caller with no run of its own around it, such as a live voice that
// measures on a worker thread while its note already plays.
float MeasureCorrection(const RunSetup& run, const BowInputs& bow);

}  // namespace sordanel
