#include "cli/batch_command.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/batch_summary.h"
#include "cli/sfz_instrument.h"

namespace sordanel {

namespace {

// Writes `text` to `path` through a file of its own beside it, so that `path` is never seen
// half-written and an earlier file there stays whole until the new one replaces it.
bool WriteWholeFile(const std::string& path, const std::string& text) {
    const auto slash = path.rfind('/');
    std::string staged = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".XXXXXX";
    const int fd = ::mkstemp(staged.data());
    if (fd < 0) {
        return false;
    }
    bool written = true;
    for (std::size_t done = 0; written && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        written = n > 0;
        done += written ? static_cast<std::size_t>(n) : 0;
    }
    // mkstemp makes the file for its owner alone; an instrument is shared like the samples.
    written = ::fchmod(fd, 0644) == 0 && ::close(fd) == 0 && written;
    if (written && std::rename(staged.c_str(), path.c_str()) == 0) {
        return true;
    }
    std::remove(staged.c_str());
    return false;
}

}  // namespace

int RunBatchCommand(const BatchRequest& batch, bool preview, const GenerationSettings& base,
                    ConsoleHost& console, std::atomic<bool>& abortRequested) {
    const std::vector<GenerationResult> results =
        RunBatch(batch, preview, base, console, abortRequested);
    console.EndProgressLine();
    std::vector<bool> written(results.size());
    std::transform(results.begin(), results.end(), written.begin(),
                   [](GenerationResult r) { return r == GenerationResult::Finished; });
    const auto count = std::count(written.begin(), written.end(), true);
    const std::string tally =
        std::to_string(count) + " of " + std::to_string(results.size()) + " files written";

    int status = 0;
    if (abortRequested) {
        std::fprintf(stderr, "sordanel-render: Interrupted; %s, no partial file left\n",
                     tally.c_str());
        status = static_cast<int>(GenerationResult::Aborted);
    } else if (count < static_cast<long>(results.size())) {
        std::fprintf(stderr, "sordanel-render: %s\n", tally.c_str());
        status =
            static_cast<int>(*std::find_if(results.begin(), results.end(), [](GenerationResult r) {
                return r != GenerationResult::Finished;
            }));
    }
    if (!batch.sfzName.empty()) {
        if (status != 0) {
            std::fprintf(stderr, "sordanel-render: %s not written, as files are missing\n",
                         batch.sfzName.c_str());
        } else if (!WriteWholeFile(batch.directory + "/" + batch.sfzName,
                                   SfzText(SfzRegions(batch)))) {
            console.ShowError(batch.sfzName + ": Cannot write the SFZ instrument");
            status = static_cast<int>(GenerationResult::WriteFailed);
        }
    }
    if (batch.summary && count > 0) {
        const auto summary = SummarizeBatch(batch, written, base);
        if (batch.json) {
            std::cout << SummaryJson(summary).dump(2) << '\n';
        } else {
            std::cout << SummaryTable(summary);
        }
    }
    return status;
}

}  // namespace sordanel
