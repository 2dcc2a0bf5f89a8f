#pragma once

#include "engine_host.h"
#include "generation_result.h"
#include "generation_settings.h"
#include "job_state.h"

namespace sordanel {

// Renders the note of `settings` into its outputPath: a Generate, or the preview image written
// to that file. Either way a failed or interrupted run (job.abortRequested) leaves no file there.
GenerationResult RenderNote(const GenerationSettings& settings, JobState& job, bool preview,
                            EngineHost& host);

}  // namespace sordanel
