// Any command line of sordanel-render, one argument per line: the parser never crashes; it
// either ends early with the help or version text (status 0) or a one-line usage error (status
// 64), or yields settings the engine admits and, for a batch, files that stay inside the
// batch's directory.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "cli/render_options.h"
#include "engine/settings_rules.h"
#include "engine/settings_tables.h"

namespace {

using namespace sordanel;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool Within(float value, double low, double high) {
    return value >= static_cast<float>(low) && value <= static_cast<float>(high);
}

void CheckSettings(const GenerationSettings& s) {
    Check(s.noteIndex >= 0 && s.noteIndex < kNoteCount);
    Check(s.keyIndex >= 0 && s.keyIndex < static_cast<std::int32_t>(kKeyNames.size()));
    Check(s.justIntonation == Temperament::Equal || s.justIntonation == Temperament::Just);
    Check(Within(s.bowPressingForce, 0.35091, 3.5) && Within(s.bowSpeed, 0.060155, 0.6));
    Check(Within(s.bowPosition, 0.05, 0.35) && Within(s.stringDamping, 0.00025130, 0.025));
    Check(Within(s.frictionRatio, 0.07, 0.5));
    Check(Within(s.t1Ratio, 0.05, 0.65) && Within(s.t2Ratio, 0.05, 0.65));
    Check(s.vibratoSpeedIndex >= 0 && s.vibratoSpeedIndex <= 28);
    Check(s.vibratoDepth >= 10 && s.vibratoDepth <= 150 && s.vibratoDepth % 5 == 0);
    Check(s.detune >= -105 && s.detune <= 105);
    Check(Within(s.stringToBoxRatio, 0, 1));
    for (std::size_t i = 0; i < 4; ++i) {
        Check(s.resonanceFreq[i] >= 40 && s.resonanceFreq[i] <= 1500);
        Check(s.resonanceWidthIndex[i] >= 0 &&
              s.resonanceWidthIndex[i] < static_cast<std::int32_t>(kResonanceWidthsHz.size()));
        Check(kResonanceWidthsHz[static_cast<std::size_t>(s.resonanceWidthIndex[i])] <=
              WidthLimitHz(s.resonanceFreq[i]));
        Check(s.resonanceAmp[i] >= 1 && s.resonanceAmp[i] <= 20);
    }
    Check(s.pseudorandomAmp >= 1 && s.pseudorandomAmp <= PseudorandomAmpMax());
    Check(s.quality == Quality::Low || s.quality == Quality::High);
    Check(s.volumeDb >= -20 && s.volumeDb <= 30);
    Check(Within(s.duration, 0.07, 20));
    Check(s.autocorrection == AutocorrectionMode::RealTime ||
          s.autocorrection == AutocorrectionMode::Precalculated ||
          s.autocorrection == AutocorrectionMode::Off);
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
        Check(batch.layerParameter == LayerParameter::Force ? Within(layer.value, 0.35091, 3.5)
                                                            : Within(layer.value, 0.060155, 0.6));
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
            Check(early->text.find('\n') == early->text.size() - 1);
        }
        return 0;
    }
    CheckSettings(settings);
    if (const auto& batch = std::get<RenderRequest>(parsed).batch)
        CheckBatch(*batch);
    return 0;
}
