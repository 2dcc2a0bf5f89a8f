#include "note_render.h"

#include "posix_file_layer.h"
#include "preview_file.h"
#include "silent_player.h"
#include "sound_engine.h"

namespace sordanel {

GenerationResult RenderNote(GenerationSettings& settings, bool preview, EngineHost& host) {
    PosixFileLayer files;
    SilentPlayer player;
    SoundEngine engine(settings, host, files, player);
    const GenerationResult result = engine.GenerateSound(preview);
    if (!preview || result != GenerationResult::Finished) {
        return result;
    }
    // The preview's image is complete in memory; an interrupt that came after the engine's
    // last check still means the user wants no file.
    if (settings.abortRequested) {
        return GenerationResult::Aborted;
    }
    return WritePreviewFile(settings.previewSound, settings.outputPath, files, host);
}

}  // namespace sordanel
