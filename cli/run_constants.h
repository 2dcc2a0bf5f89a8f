#pragma once

#include <nlohmann/json.hpp>

#include "engine/generation_settings.h"

namespace sordanel {

// The values a run of these settings derives before it synthesises anything, as one JSON
// object; tempFile is null when the run writes no temporary file (a preview, or no Maximize).
nlohmann::json RunConstants(const GenerationSettings& settings, bool preview);

}  // namespace sordanel
