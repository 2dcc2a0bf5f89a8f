#include "preview_file.h"

#include "engine_messages.h"
#include "wave_header.h"

namespace sordanel {

GenerationResult WritePreviewFile(const std::vector<std::uint8_t>& image, const std::string& path,
                                  FileLayer& files, EngineHost& host) {
    std::unique_ptr<File> file = files.Create(path, FileAccess::WriteOnly);
    if (!file) {
        host.ShowError(messages::kCannotCreateOutput);
        return GenerationResult::NotStarted;
    }
    GenerationResult failure = GenerationResult::Finished;
    if (!file->Write(image.data(), kWaveHeaderBytes)) {
        failure = GenerationResult::HeaderFailed;
    } else if (!file->Write(image.data() + kWaveHeaderBytes, image.size() - kWaveHeaderBytes)) {
        failure = GenerationResult::WriteFailed;
    }
    if (failure == GenerationResult::Finished) {
        if (file->Close()) {
            return GenerationResult::Finished;
        }
        // Closing flushes what the file system still held: a failure there is a failed write.
        host.ShowError(messages::kWaveWriteFailed);
        files.Remove(path);
        return GenerationResult::WriteFailed;
    }
    host.ShowError(messages::kWaveWriteFailed);
    file->Close();
    files.Remove(path);
    return failure;
}

}  // namespace sordanel
