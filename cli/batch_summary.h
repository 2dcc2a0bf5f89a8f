#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/batch_request.h"
#include "cli/batch_runner.h"

namespace sordanel {

// What one rendered file sounds like, measured from the file itself.
struct FileSummary {
    std::string file;
    std::string note;
    double targetHz;
    std::optional<double> measuredHz;  // only where the note holds a steady pitch
    std::optional<double> errorCents;
    std::optional<double> peakDbfs;  // nothing for a silent file
    bool steady = false;
    std::string unmeasured;  // why measuredHz is missing: no pitch, or why it is not steady
};

// Measures the file at `path`, rendered with `settings`; `file` names it in the summary.
FileSummary SummarizeFile(const std::string& path, const std::string& file,
                          const GenerationSettings& settings);

// Measures every file the batch wrote; `written` marks them, in the order of batch.items.
std::vector<FileSummary> SummarizeBatch(const BatchRequest& batch, const std::vector<bool>& written,
                                        const GenerationSettings& base);

// One line per file under a heading, for people; the last column says whether the note is
// steady, or why not.
std::string SummaryTable(const std::vector<FileSummary>& files);

// An object per file, for programs; a value that was not found is left out, and "unmeasured"
// tells why the pitch is missing.
nlohmann::json FileJson(const FileSummary& file);
// An array of the files' objects.
nlohmann::json SummaryJson(const std::vector<FileSummary>& files);

}  // namespace sordanel
