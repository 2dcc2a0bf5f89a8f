#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_host.h"
#include "engine/file_layer.h"
#include "engine/generation_result.h"

namespace sordanel {

// Writes the WAVE image of a finished preview run to `path` with the promise the engine keeps
// for its own WAVE file: the same messages and result codes, and no partial file left behind.
GenerationResult WritePreviewFile(const std::vector<std::uint8_t>& image, const std::string& path,
                                  FileLayer& files, EngineHost& host);

}  // namespace sordanel
