#pragma once

#include "engine/engine_host.h"
#include "engine/generation_result.h"
#include "engine/generation_settings.h"
#include "engine/job_state.h"

namespace sordanel {

// Renders the note of `settings` into its outputPath: a Generate, or the preview image written
// to that file. Either way a failed or interrupted run (job.abortRequested) leaves no file there.
GenerationResult RenderNote(const GenerationSettings& settings, JobState& job, bool preview,
                            EngineHost& host);

}  // namespace sordanel
