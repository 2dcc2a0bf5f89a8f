#pragma once

#include <exception>
#include <span>

#include "engine/engine_host.h"
#include "engine/generation_result.h"
#include "engine/generation_settings.h"
#include "engine/job_state.h"

namespace sordanel {

// Renders the note of `settings` into its outputPath: a Generate, or the preview image written
// to that file. Either way a failed or interrupted run (job.abortRequested) leaves no file there.
GenerationResult RenderNote(const GenerationSettings& settings, JobState& job, bool preview,
                            EngineHost& host);

// One Generate of a group rendered together, and how it ended: its result, or what it threw.
struct NoteToRender {
    const GenerationSettings* settings = nullptr;
    JobState* job = nullptr;
    EngineHost* host = nullptr;
    GenerationResult result = GenerationResult::NotStarted;
    std::exception_ptr failure;
};

// Renders up to four Generates at once, their strings stepped side by side: each note's file
// comes out as RenderNote makes it, and a note that fails ends alone.
void RenderNotesTogether(std::span<NoteToRender> notes);

}  // namespace sordanel
