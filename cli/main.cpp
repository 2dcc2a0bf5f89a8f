#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <variant>

#include "console_host.h"
#include "generation_settings.h"
#include "interrupt_request.h"
#include "posix_file_layer.h"
#include "preview_file.h"
#include "render_options.h"
#include "run_constants.h"
#include "silent_player.h"
#include "sound_engine.h"
#include "system_temp_dir.h"

namespace sordanel {

namespace {

GenerationResult Render(GenerationSettings& settings, const RenderRequest& request,
                        ConsoleHost& host) {
    PosixFileLayer files;
    SilentPlayer player;
    SoundEngine engine(settings, host, files, player);
    const GenerationResult result = engine.GenerateSound(request.preview);
    if (!request.preview || result != GenerationResult::Finished) {
        return result;
    }
    // The preview's image is complete in memory; an interrupt that came after the engine's
    // last check still means the user wants no file.
    if (settings.abortRequested) {
        return GenerationResult::Aborted;
    }
    return WritePreviewFile(settings.previewSound, settings.outputPath, files, host);
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

    ConsoleHost host(::isatty(STDERR_FILENO) == 1);
    settings.progressDialog = &host;
    settings.progressOpen = true;
    RequestAbortOnInterrupt(settings.abortRequested);
    const GenerationResult result = Render(settings, request, host);
    host.EndProgressLine();
    if (result == GenerationResult::Aborted) {
        std::fputs("sordanel-render: Interrupted; no file was written\n", stderr);
    }
    return static_cast<int>(result);
}

}  // namespace

}  // namespace sordanel

int main(int argc, char** argv) {
    return sordanel::Run(argc, argv);
}
