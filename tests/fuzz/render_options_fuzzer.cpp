// Any command line of sordanel-render, one argument per line: the parser never crashes; it
// either ends early with the help or version text (status 0) or a one-line usage error (status
// 64, with a pointer to the help where the option is unknown), or yields settings the window
// could give and, for a batch, files that stay inside the
// batch's directory.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "cli/render_options.h"
#include "engine/setting_table.h"
#include "engine/settings_rules.h"
#include "engine/settings_tables.h"

namespace {

using namespace sordanel;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Every setting within its row of the settings table: what the window itself could give.
void CheckSettings(const GenerationSettings& s) {
    for (const SettingRow& row : kSettingRows) {
        if (!row.liveOnly) {
            Check(row.Takes(row.access.read(s)));
        }
    }
    for (std::size_t i = 0; i < 4; ++i) {
        Check(kResonanceWidthsHz[static_cast<std::size_t>(s.resonanceWidthIndex[i])] <=
              WidthLimitHz(s.resonanceFreq[i]));
    }
    Check(!s.outputPath.empty() && s.outputPath.front() == '/' && s.outputPath.size() <= 390);
}

void CheckBatch(const BatchRequest& batch) {
    Check(batch.jobs >= 1 && batch.jobs <= 256);
    Check(!batch.items.empty() && batch.directory.front() == '/');
    for (const BatchItem& item : batch.items) {
        Check(item.noteIndex >= 0 && item.noteIndex < kNoteCount);
        Check(item.layer >= -1 && item.layer < static_cast<int>(batch.layers.size()));
        Check(!item.fileName.empty() && item.fileName.front() != '.');
        Check(item.fileName.find('/') == std::string::npos);
        Check(batch.directory.size() + 1 + item.fileName.size() <= 390);
    }
    for (const Layer& layer : batch.layers) {
        Check(Setting(batch.layerParameter == LayerParameter::Force ? SettingId::BowPressingForce
                                                                    : SettingId::BowSpeed)
                  .Takes(layer.value));
    }
    const std::string& sfz = batch.sfzName;
    Check(sfz.empty() || (sfz.find('/') == std::string::npos && sfz.ends_with(".sfz")));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args{"sordanel-render"};
    std::string arg;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += static_cast<char>(data[i]);
        }
    }
    if (!arg.empty())
        args.push_back(arg);
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());

    GenerationSettings settings;
    const auto parsed = ParseRenderOptions(static_cast<int>(argv.size()), argv.data(), settings);
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        Check(early->code == 0 || early->code == kUsageExitCode);
        Check(!early->text.empty() && early->text.back() == '\n');
        if (early->code == kUsageExitCode) {
            Check(early->text.starts_with("sordanel-render: "));
            // One line, or two where the second points to the help.
            const auto first = early->text.find('\n');
            Check(first == early->text.size() - 1 ||
                  early->text.substr(first + 1) == "Run 'sordanel-render --help' for the options.\n");
        }
        return 0;
    }
    CheckSettings(settings);
    if (const auto& batch = std::get<RenderRequest>(parsed).batch)
        CheckBatch(*batch);
    return 0;
}
