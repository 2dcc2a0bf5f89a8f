#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <variant>

#include "cli/batch_command.h"
#include "cli/batch_summary.h"
#include "cli/console_host.h"
#include "cli/interrupt_request.h"
#include "cli/memory_reserve.h"
#include "cli/note_render.h"
#include "cli/render_options.h"
#include "cli/run_constants.h"
#include "engine/generation_settings.h"
#include "engine/job_state.h"
#include "platform/files/posix_file_layer.h"
#include "platform/files/process_start.h"
#include "platform/files/system_temp_dir.h"

namespace sordanel {

namespace {

void PrintMeasurement(const GenerationSettings& settings, bool json) {
    const std::string& path = settings.outputPath;
    const FileSummary file = SummarizeFile(path, path.substr(path.rfind('/') + 1), settings);
    if (json) {
        std::cout << FileJson(file).dump(2) << '\n';
    } else {
        std::cout << SummaryTable({file});
    }
}

int Run(int argc, char** argv) {
    GenerationSettings settings;
    const auto parsed = ParseRenderOptions(argc, argv, settings);
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        std::fputs(early->text.c_str(), early->code == 0 ? stdout : stderr);
        return early->code;
    }
    const RenderRequest& request = std::get<RenderRequest>(parsed);
    settings.tempDir = SystemTempDir();
    if (request.printConstants) {
        std::cout << RunConstants(settings, request.preview).dump(2) << '\n';
        return 0;
    }

    // Once per process, not per render: what killed runs left in the temporary folder.
    PosixFileLayer().SweepScratchFolder(settings.tempDir);
    ConsoleHost host(::isatty(STDERR_FILENO) == 1);
    JobState job;
    RequestAbortOnInterrupt(job.abortRequested);
    if (request.batch) {
        return RunBatchCommand(*request.batch, request.preview, settings, host, job.abortRequested);
    }
    job.progressDialog = &host;
    job.progressOpen = true;
    const GenerationResult result = RenderNote(settings, job, request.preview, host);
    host.EndProgressLine();
    if (result == GenerationResult::Aborted) {
        std::fputs("sordanel-render: Interrupted; no file was written\n", stderr);
    }
    if (request.measure && result == GenerationResult::Finished) {
        PrintMeasurement(settings, request.json);
    }
    return static_cast<int>(result);
}

}  // namespace

}  // namespace sordanel

int main(int argc, char** argv) {
    sordanel::PrepareProcessForFiles();
    // Nothing may abort the process: a render's files are deleted by their owners on the way
    // out, and the user gets the system's words and a failure code.
    constexpr auto kNotEnoughMemory = "sordanel-render: Not enough memory\n";
    if (!sordanel::ReserveMemoryForFailures()) {
        std::fputs(kNotEnoughMemory, stderr);
        return static_cast<int>(sordanel::GenerationResult::WriteFailed);
    }
    try {
        return sordanel::Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs(kNotEnoughMemory, stderr);
        return static_cast<int>(sordanel::GenerationResult::WriteFailed);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "sordanel-render: %s\n", failure.what());
        return static_cast<int>(sordanel::GenerationResult::WriteFailed);
    }
}
