#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "batch_request.h"
#include "batch_runner.h"

namespace sordanel {

// What one file of a batch sounds like, measured from the file itself.
struct FileSummary {
    std::string file;
    std::string note;
    double targetHz;
    std::optional<double> measuredHz;  // nothing when no steady pitch was found
    std::optional<double> errorCents;
    std::optional<double> peakDbfs;  // nothing for a silent file
};

// Measures every file the batch wrote; `written` marks them, in the order of batch.items.
std::vector<FileSummary> SummarizeBatch(const BatchRequest& batch, const std::vector<bool>& written,
                                        const GenerationSettings& base);

// One line per file under a heading, for people.
std::string SummaryTable(const std::vector<FileSummary>& files);

// An array of objects, one per file, for programs; what was not found is null.
nlohmann::json SummaryJson(const std::vector<FileSummary>& files);

}  // namespace sordanel
