#pragma once

#include "engine_host.h"
#include "generation_result.h"
#include "generation_settings.h"

namespace sordanel {

// Renders the note of `settings` into its outputPath: a Generate, or the preview image written
// to that file. Either way a failed or interrupted run leaves no file there.
GenerationResult RenderNote(GenerationSettings& settings, bool preview, EngineHost& host);

}  // namespace sordanel
