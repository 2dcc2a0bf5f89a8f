#include "cli/preview_file.h"

#include "engine/engine_messages.h"
#include "engine/wave_header.h"

namespace sordanel {

GenerationResult WritePreviewFile(const std::vector<std::uint8_t>& image, const std::string& path,
                                  FileLayer& files, EngineHost& host) {
    // Written through the file layer and put in place once complete, as a Generate does.
    std::unique_ptr<File> file = files.CheckTarget(path) ? files.CreateOutput(path) : nullptr;
    if (!file) {
        host.ShowError(messages::kCannotCreateOutput);
        return GenerationResult::NotStarted;
    }
    GenerationResult result = GenerationResult::Finished;
    if (!file->Write(image.data(), kWaveHeaderBytes)) {
        result = GenerationResult::HeaderFailed;
    } else if (!file->Write(image.data() + kWaveHeaderBytes, image.size() - kWaveHeaderBytes)) {
        result = GenerationResult::WriteFailed;
    }
    // Committing flushes what the file system still held: a failure there is a failed write.
    if (result == GenerationResult::Finished && !file->Commit()) {
        result = GenerationResult::WriteFailed;
    }
    if (result != GenerationResult::Finished) {
        // The message first, while the partial file is still there, as the engine does.
        host.ShowError(messages::kWaveWriteFailed);
        file->Discard();
    }
    return result;
}

}  // namespace sordanel
