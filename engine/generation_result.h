#pragma once

namespace sordanel {

// What one run of the engine returns. For a Generate it is the worker's exit value.
enum class GenerationResult : int {
    Finished = 0,      // completed, including a preview that was only replayed
    NotStarted = 1,    // an output, temporary file or preview image could not be created
    WriteFailed = 2,   // a sample write failed, in either pass, to either file
    HeaderFailed = 3,  // writing the WAVE header failed
    Aborted = 255,     // the user aborted
};

}  // namespace sordanel
