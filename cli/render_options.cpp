#include "cli/render_options.h"

#include <array>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/batch_options.h"
#include "cli/option_parser.h"
#include "cli/option_values.h"
#include "cli/setting_options.h"
#include "engine/setting_table.h"
#include "engine/settings_rules.h"
#include "engine/settings_tables.h"

namespace sordanel {

namespace {

constexpr std::size_t kMaxOutputPathChars = 390;

// Setting a part that is off switches it on, and a volume means Maximize is off.
struct Implied {
    SettingId given;
    SettingId sets;
    float value;
};
constexpr std::array<Implied, 4> kImplied = {{
    {SettingId::Volume, SettingId::Maximize, 0},
    {SettingId::VibratoSpeed, SettingId::Vibrato, 1},
    {SettingId::VibratoDepth, SettingId::Vibrato, 1},
    {SettingId::Key, SettingId::Temperament, static_cast<float>(Temperament::Just)},
}};

void AddSetting(OptionParser& parser, SettingId id, NoteSettings& settings) {
    std::function<void()> also;
    for (const Implied& implied : kImplied) {
        if (implied.given == id) {
            also = [&settings, implied] {
                Setting(implied.sets).access.write(settings, implied.value);
            };
        }
    }
    OptionSpec spec = SettingOption(Setting(id), settings, std::move(also));
    if (id == SettingId::Key) {
        spec.defaultText.clear();  // without --just there is no key: equal temperament
    }
    parser.Add(std::move(spec));
}

void AddSettings(OptionParser& parser, std::initializer_list<SettingId> ids,
                 NoteSettings& settings) {
    for (const SettingId id : ids) {
        AddSetting(parser, id, settings);
    }
}

// The resonances are applied after parsing, when every --resonance, --resonance-on and
// --resonance-off is known, so that contradictions are refused whatever their order.
struct ResonanceOptions {
    std::vector<std::string> values;
    std::vector<std::string> on;
    std::vector<std::string> off;
};

constexpr std::array<SettingId, 4> kResonanceFreqs = {
    SettingId::Resonance1Freq, SettingId::Resonance2Freq, SettingId::Resonance3Freq,
    SettingId::Resonance4Freq};
constexpr std::array<SettingId, 4> kResonanceWidths = {
    SettingId::Resonance1Width, SettingId::Resonance2Width, SettingId::Resonance3Width,
    SettingId::Resonance4Width};
constexpr std::array<SettingId, 4> kResonanceAmps = {
    SettingId::Resonance1Amp, SettingId::Resonance2Amp, SettingId::Resonance3Amp,
    SettingId::Resonance4Amp};
constexpr int kSwitchableFrom = 2;  // the first resonance always sounds
const std::string kSwitchable = "2..4";

std::string ResonanceFormat() {
    const SettingRow& width = Setting(SettingId::Resonance1Width);
    std::string widths;
    for (std::size_t i = 0; i < width.listedCount; ++i) {
        AppendToList(widths, ReadableNumber(width.listedAt(i)));
    }
    return "N=F,dF,A with N 1..4, F " + AdmittedText(Setting(SettingId::Resonance1Freq)) +
           ", dF one of " + widths + " Hz and at most 0.46 x F, A " +
           AdmittedText(Setting(SettingId::Resonance1Amp));
}

std::string ResonanceDefaults() {
    const NoteSettings defaults;
    std::string text;
    for (std::size_t i = 0; i < kResonanceFreqs.size(); ++i) {
        AppendToList(text,
                     std::to_string(i + 1) + "=" + std::to_string(defaults.resonanceFreq[i]) + "," +
                         ReadableNumber(Setting(kResonanceWidths[i]).access.read(defaults)) + "," +
                         std::to_string(defaults.resonanceAmp[i]),
                     " ");
    }
    return text;
}

// Sets resonance N from "N=F,dF,A" and returns N.
int ApplyResonance(const std::string& text, NoteSettings& settings) {
    const auto refuse = [&text](const std::string& why) {
        Refuse("--resonance", text, why, ResonanceFormat());
    };
    const auto equals = text.find('=');
    const auto comma1 = text.find(',', equals == std::string::npos ? 0 : equals);
    const auto comma2 = text.find(',', comma1 == std::string::npos ? 0 : comma1 + 1);
    if (equals == std::string::npos || comma1 == std::string::npos || comma2 == std::string::npos) {
        refuse("is not N=F,dF,A");
    }
    const std::string_view all(text);
    const auto n = ParseWhole<int>(all.substr(0, equals));
    const auto freq = ParseWhole<int>(all.substr(equals + 1, comma1 - equals - 1));
    const auto width = ParseWhole<int>(all.substr(comma1 + 1, comma2 - comma1 - 1));
    const auto amp = ParseWhole<int>(all.substr(comma2 + 1));
    if (!n || !freq || !width || !amp) {
        refuse("is not N=F,dF,A in whole numbers");
    }
    if (*n < 1 || *n > static_cast<int>(kResonanceFreqs.size())) {
        refuse("names no resonance");
    }
    const auto i = static_cast<std::size_t>(*n - 1);
    if (!Setting(kResonanceFreqs[i]).Takes(static_cast<float>(*freq))) {
        refuse("has F out of range");
    }
    if (!Setting(kResonanceWidths[i]).Takes(static_cast<float>(*width))) {
        refuse("has a dF that is not offered");
    }
    if (*width > WidthLimitHz(*freq)) {
        refuse("has dF wider than " + std::to_string(WidthLimitHz(*freq)) +
               " Hz, the limit for F " + std::to_string(*freq) + " Hz");
    }
    if (!Setting(kResonanceAmps[i]).Takes(static_cast<float>(*amp))) {
        refuse("has A out of range");
    }
    Setting(kResonanceFreqs[i]).access.write(settings, static_cast<float>(*freq));
    Setting(kResonanceWidths[i]).access.write(settings, static_cast<float>(*width));
    Setting(kResonanceAmps[i]).access.write(settings, static_cast<float>(*amp));
    return *n;
}

int SwitchableResonance(const std::string& option, const std::string& text) {
    const auto n = ParseWhole<long>(text);
    if (!n) {
        Refuse(option, text, "is not a whole number", kSwitchable);
    }
    if (*n < kSwitchableFrom || *n > static_cast<long>(kResonanceFreqs.size())) {
        Refuse(option, text, "is out of range", kSwitchable);
    }
    return static_cast<int>(*n);
}

void ApplyResonances(const ResonanceOptions& options, NoteSettings& settings) {
    std::array<bool, 4> switchedOn{};
    for (const std::string& text : options.values) {
        const int n = ApplyResonance(text, settings);
        switchedOn[static_cast<std::size_t>(n - 1)] = true;
    }
    for (const std::string& text : options.on) {
        switchedOn[static_cast<std::size_t>(SwitchableResonance("--resonance-on", text) - 1)] =
            true;
    }
    for (std::size_t i = 1; i < switchedOn.size(); ++i) {
        if (switchedOn[i]) {
            settings.resonanceOn[i - 1] = true;
        }
    }
    for (const std::string& text : options.off) {
        const auto n = SwitchableResonance("--resonance-off", text);
        if (switchedOn[static_cast<std::size_t>(n - 1)]) {
            Refuse("--resonance-off", text, "is switched on by --resonance or --resonance-on too",
                   "a resonance that no other option switches on");
        }
        settings.resonanceOn[static_cast<std::size_t>(n - 2)] = false;
    }
}

void AddSoundBoxOptions(OptionParser& parser, NoteSettings& settings,
                        ResonanceOptions& resonances) {
    AddSetting(parser, SettingId::StringToBoxRatio, settings);
    parser.Add(
        {.name = "--resonance",
         .valueName = "N=F,dF,A",
         .values = ResonanceFormat(),
         .defaultText = ResonanceDefaults(),
         .help = "body resonance N: centre F Hz, width dF Hz, amplitude A dB; also "
                 "switches resonance N on",
         .repeatable = true,
         .take = [&resonances](const std::string& text) { resonances.values.push_back(text); }});
    parser.Add({.name = "--resonance-on",
                .valueName = "N",
                .values = kSwitchable,
                .help = "switch resonance N on; by default only 1 and 2 sound",
                .repeatable = true,
                .take = [&resonances](const std::string& text) { resonances.on.push_back(text); }});
    parser.Add(
        {.name = "--resonance-off",
         .valueName = "N",
         .values = kSwitchable,
         .help = "switch resonance N off",
         .repeatable = true,
         .take = [&resonances](const std::string& text) { resonances.off.push_back(text); }});
    AddSettings(parser, {SettingId::Pseudorandom, SettingId::PseudorandomAmp}, settings);
    parser.Excludes("--no-pseudorandom", "--pseudorandom-amp");
}

std::string AbsoluteOutputPath(const std::string& text) {
    std::string path;
    try {
        path = text.empty() ? text : std::filesystem::absolute(text).string();
    } catch (const std::filesystem::filesystem_error& error) {
        Refuse("--output", text, std::string("cannot be made absolute: ") + error.what(),
               "a file name");
    }
    if (path.empty()) {
        Refuse("--output", text, "is not a file name", "a file name");
    }
    if (path.size() > kMaxOutputPathChars) {
        Refuse("--output", path, "File path too long",
               "at most " + std::to_string(kMaxOutputPathChars) + " characters");
    }
    return path;
}

// The directory of a batch without the slash the user may have ended it with.
std::string DirectoryPath(const std::string& absolute) {
    const auto end = absolute.find_last_not_of('/');
    return end == std::string::npos ? "/" : absolute.substr(0, end + 1);
}

}  // namespace

std::variant<RenderRequest, EarlyExit> ParseRenderOptions(int argc, const char* const* argv,
                                                          GenerationSettings& settings) {
    RenderRequest request;
    std::string output;
    ResonanceOptions resonances;
    BatchOptions batch;
    const auto flag = [](bool& field) { return [&field](const std::string&) { field = true; }; };
    try {
        OptionParser parser(
            "sordanel-render",
            "Renders one sustained note of a bowed string instrument into a mono 16-bit 44100 Hz "
            "WAVE file. Every setting not given keeps the window's default.",
            "Exit status: 0 done; 1 the output or temporary file could not be created; 2 a write "
            "failed; 3 the WAVE header could not be written; 64 a bad command line (no file "
            "touched); 255 interrupted (no file left). A batch exits with the status of its "
            "first failed render; each of its files appears only once complete, replacing an "
            "earlier file of that name only then.");
        parser.Heading("Output");
        parser.Add({.name = "--output",
                    .shortName = "-o",
                    .valueName = "FILE",
                    .help = "WAVE file to write; with --notes the directory of the batch's files",
                    .required = true,
                    .take = [&output](const std::string& text) { output = text; }});
        parser.Add({.name = "--preview",
                    .help = "render the quick preview (3 s at most) into FILE instead",
                    .take = flag(request.preview)});
        parser.Add({.name = "--print-constants",
                    .help = "print the run's derived values as JSON and render nothing",
                    .take = flag(request.printConstants)});
        parser.Add({.name = "--measure",
                    .help = "after writing FILE, print its note, target and measured frequency, "
                            "error in cents, peak level and whether it holds a steady pitch",
                    .take = flag(request.measure)});
        parser.Add({.name = "--json",
                    .help = "print the batch summary or the measurement as JSON",
                    .take = flag(request.json)});
        parser.Excludes("--measure", "--print-constants");

        parser.Heading("Pitch");
        AddSettings(parser,
                    {SettingId::Note, SettingId::Key, SettingId::Detune, SettingId::Vibrato,
                     SettingId::VibratoSpeed, SettingId::VibratoDepth, SettingId::Autocorrection},
                    settings);
        parser.Heading("String and bow");
        AddSettings(parser,
                    {SettingId::BowPressingForce, SettingId::BowSpeed, SettingId::BowPosition,
                     SettingId::StringDamping, SettingId::FrictionRatio, SettingId::T1Ratio,
                     SettingId::T2Ratio},
                    settings);
        parser.Heading("Sound box");
        AddSoundBoxOptions(parser, settings, resonances);
        parser.Heading("General");
        AddSettings(
            parser,
            {SettingId::Quality, SettingId::Volume, SettingId::Maximize, SettingId::Duration},
            settings);
        parser.Heading("Sample libraries");
        AddBatchOptions(parser, batch);

        switch (parser.Parse(argc, argv)) {
            case OptionParser::Outcome::Help:
                return EarlyExit{0, parser.Help()};
            case OptionParser::Outcome::Version:
                return EarlyExit{0, "sordanel-render " SORDANEL_VERSION "\n"};
            case OptionParser::Outcome::Run:
                break;
        }
        if (request.json && !batch.summary && !request.measure) {
            throw UsageError("--json requires --batch-summary or --measure");
        }
        batch.json = request.json;
        ApplyResonances(resonances, settings);
        settings.outputPath = AbsoluteOutputPath(output);
        request.batch = ResolveBatch(parser, batch, DirectoryPath(settings.outputPath));
    } catch (const UsageError& error) {
        std::string text = "sordanel-render: " + EscapeControls(error.what()) + "\n";
        if (error.hint()) {
            text += "Run 'sordanel-render --help' for the options.\n";
        }
        return EarlyExit{kUsageExitCode, text};
    }
    return request;
}

}  // namespace sordanel
