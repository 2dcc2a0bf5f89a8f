#pragma once

#include "bowed_string.h"
#include "run_setup.h"

namespace sordanel {

// The measurement of the "Precalculated" pitch lock on its own: the string bowed steadily, with
// no envelope, no vibrato and no body, for run.precalcBlocks blocks; the pitch lock runs every
// fourth step, and its correction averaged after the first run.settleSteps steps is the
// constant correction of the note. For a caller that has no run of its own around it, such as
// a live voice that measures on a worker thread while the note already plays. It allocates
// nothing.
float MeasureCorrection(const RunSetup& run, const BowInputs& bow);

}  // namespace sordanel
