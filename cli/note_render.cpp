#include "cli/note_render.h"

#include "cli/preview_file.h"
#include "cli/silent_player.h"
#include "engine/engine_messages.h"
#include "engine/sound_engine.h"
#include "platform/files/posix_file_layer.h"

namespace sordanel {

GenerationResult RenderNote(const GenerationSettings& settings, JobState& job, bool preview,
                            EngineHost& host) {
    PosixFileLayer files;
    // A preview's engine writes no file, so its target is checked here, before synthesis.
    if (preview && !files.CheckTarget(settings.outputPath)) {
        host.ShowError(messages::kCannotCreateOutput);
        return GenerationResult::NotStarted;
    }
    SilentPlayer player;
    SoundEngine engine(settings, job, host, files, player);
    const GenerationResult result = engine.GenerateSound(preview);
    if (!preview || result != GenerationResult::Finished) {
        return result;
    }
    // The preview's image is complete in memory; an interrupt that came after the engine's
    // last check still means the user wants no file.
    if (job.abortRequested) {
        return GenerationResult::Aborted;
    }
    return WritePreviewFile(job.previewSound, settings.outputPath, files, host);
}

}  // namespace sordanel
