#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/batch_request.h"
#include "cli/batch_runner.h"

namespace sordanel {

// What one file of a batch sounds like, measured from the file itself.
struct FileSummary {
    std::string file;
    std::string note;
    double targetHz;
    std::optional<double> measuredHz;
    std::optional<double> errorCents;
    std::optional<double> peakDbfs;  // nothing for a silent file
    std::string unmeasured;          // why measuredHz is missing, in words
};

// Measures every file the batch wrote; `written` marks them, in the order of batch.items.
std::vector<FileSummary> SummarizeBatch(const BatchRequest& batch, const std::vector<bool>& written,
                                        const GenerationSettings& base);

// One line per file under a heading, for people.
std::string SummaryTable(const std::vector<FileSummary>& files);

// An array of objects, one per file, for programs; a value that was not found is left out,
// and "unmeasured" tells why the pitch is missing.
nlohmann::json SummaryJson(const std::vector<FileSummary>& files);

}  // namespace sordanel
