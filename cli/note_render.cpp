#include "cli/note_render.h"

#include <array>
#include <cassert>
#include <memory>
#include <vector>

#include "cli/preview_file.h"
#include "cli/silent_player.h"
#include "engine/engine_messages.h"
#include "engine/note_lanes.h"
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

void RenderNotesTogether(std::span<NoteToRender> notes) {
    assert(notes.size() <= NoteLanes::kMaxNotes);
    // A Generate's engine with its own files and player, as RenderNote has them. Its trial's
    // steps are not kept for replay: in the lanes they cost less to step again than the memory
    // of keeping them, up to 8 MB a note, costs to fill.
    struct Render {
        Render(const NoteToRender& note)
            : engine(*note.settings, *note.job, *note.host, files, player, 0) {}
        PosixFileLayer files;
        SilentPlayer player;
        SoundEngine engine;
    };
    std::vector<std::unique_ptr<Render>> renders;
    std::array<SoundEngine*, NoteLanes::kMaxNotes> engines{};
    for (std::size_t i = 0; i < notes.size(); ++i) {
        renders.push_back(std::make_unique<Render>(notes[i]));
        engines[i] = &renders.back()->engine;
    }
    std::array<GenerationResult, NoteLanes::kMaxNotes> results{};
    std::array<std::exception_ptr, NoteLanes::kMaxNotes> failures{};
    const auto lanes = std::make_unique<NoteLanes>();
    lanes->Run(std::span(engines).first(notes.size()), std::span(results).first(notes.size()),
               std::span(failures).first(notes.size()));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        notes[i].result = results[i];
        notes[i].failure = failures[i];
    }
}

}  // namespace sordanel
