#include "preview_file.h"

#include "engine_messages.h"
#include "temp_file_name.h"
#include "wave_header.h"

namespace sordanel {

GenerationResult WritePreviewFile(const std::vector<std::uint8_t>& image, const std::string& path,
                                  FileLayer& files, EngineHost& host) {
    // Written beside the target and put in its place once complete, as a Generate does.
    const std::string partial = PartialFileName(path);
    std::unique_ptr<File> file = files.Create(partial, FileAccess::WriteOnly);
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
    // Closing flushes what the file system still held: a failure there is a failed write.
    const bool closed = file->Close();
    if (result == GenerationResult::Finished && !(closed && files.Replace(partial, path))) {
        result = GenerationResult::WriteFailed;
    }
    if (result != GenerationResult::Finished) {
        host.ShowError(messages::kWaveWriteFailed);
        files.Remove(partial);
    }
    return result;
}

}  // namespace sordanel
