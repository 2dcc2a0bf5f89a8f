#include "cli/render_options.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/batch_options.h"
#include "cli/option_values.h"
#include "engine/settings_rules.h"
#include "engine/settings_tables.h"

namespace sordanel {

namespace {

constexpr std::size_t kMaxOutputPathChars = 390;

std::int32_t IntegerIn(const std::string& option, const std::string& text, long low, long high,
                       long step, const std::string& admitted) {
    const auto value = ParseWhole<long>(text);
    if (!value) {
        Refuse(option, text, "is not a whole number", admitted);
    }
    if (*value < low || *value > high || (*value - low) % step != 0) {
        Refuse(option, text, "is out of range", admitted);
    }
    return static_cast<std::int32_t>(*value);
}

template <class Table>
std::string JoinNames(const Table& names) {
    std::string joined;
    for (const auto& name : names) {
        joined += (joined.empty() ? "" : ", ") + std::string(name);
    }
    return joined;
}

std::string JoinNumbers(const auto& numbers) {
    std::string joined;
    for (const auto number : numbers) {
        joined += (joined.empty() ? "" : ", ") + FormatNumber(number);
    }
    return joined;
}

template <class Table, class Value>
int IndexOf(const Table& entries, const Value& value) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (value == entries[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// A value from low to high in the field's own unit; the window's sliders reach the same range.
void AddReal(CLI::App& app, const std::string& option, const std::string& help, RealRange range,
             float& field) {
    app.add_option_function<std::string>(
           option,
           [option, range, &field](const std::string& text) {
               field = static_cast<float>(RealIn(option, text, range));
           },
           help + " (" + FormatRange(range) + ", default " + FormatNumber(field) + ")")
        ->type_name("X");
}

void AddInteger(CLI::App& app, const std::string& option, const std::string& help, long low,
                long high, long step, std::int32_t& field, const std::function<void()>& also = {}) {
    const std::string admitted = std::to_string(low) + ".." + std::to_string(high) +
                                 (step > 1 ? " in steps of " + std::to_string(step) : "");
    app.add_option_function<std::string>(
           option,
           [=, &field](const std::string& text) {
               field = IntegerIn(option, text, low, high, step, admitted);
               if (also) {
                   also();
               }
           },
           help + " (" + admitted + ", default " + std::to_string(field) + ")")
        ->type_name("N");
}

// One word of `words` chosen by name; the field receives the mode numbered by its index.
template <class Mode>
void AddChoice(CLI::App& app, const std::string& option, const std::string& help,
               std::vector<std::string> words, Mode& field) {
    const std::string admitted = JoinNames(words);
    app.add_option_function<std::string>(
           option,
           [=, &field](const std::string& text) {
               const int index = IndexOf(words, text);
               if (index < 0) {
                   Refuse(option, text, "is not a choice", admitted);
               }
               field = static_cast<Mode>(index);
           },
           help + " (" + admitted + "; default " + words[static_cast<std::size_t>(field)] + ")")
        ->type_name("WORD");
}

void AddPitchOptions(CLI::App& app, GenerationSettings& settings) {
    const std::string noteRange = std::string(kNoteNames.front()) + ".." +
                                  kNoteNames[kNoteCount - 1] + ", sharps only, e.g. C#4";
    app.add_option_function<std::string>(
           "--note",
           [&settings, noteRange](const std::string& text) {
               const int index = FindNoteIndex(text.c_str());
               if (index < 0) {
                   Refuse("--note", text, "is not a note", noteRange);
               }
               settings.noteIndex = index;
           },
           "note to play (" + noteRange + "; default " +
               kNoteNames[static_cast<std::size_t>(settings.noteIndex)] + ")")
        ->type_name("NAME");

    const std::string keys = JoinNames(kKeyNames);
    app.add_option_function<std::string>(
           "--just",
           [&settings, keys](const std::string& text) {
               const int index = IndexOf(kKeyNames, text);
               if (index < 0) {
                   Refuse("--just", text, "is not a key", keys);
               }
               settings.justIntonation = Temperament::Just;
               settings.keyIndex = index;
           },
           "just intonation in this key (" + keys + "); without it, equal temperament")
        ->type_name("KEY");

    AddInteger(app, "--detune", "detune in cents", -105, 105, 1, settings.detune);
    app.add_flag_callback(
        "--vibrato", [&settings] { settings.vibratoOn = true; },
        "add vibrato (9 Hz, 20 cents unless set below)");
    const std::string speeds = JoinNumbers(kVibratoSpeedsHz);
    app.add_option_function<std::string>(
           "--vibrato-speed",
           [&settings, speeds](const std::string& text) {
               const auto value = ParseReal(text);
               if (!value) {
                   Refuse("--vibrato-speed", text, "is not a number", speeds);
               }
               const int index = IndexOf(kVibratoSpeedsHz, static_cast<float>(*value));
               if (index < 0) {
                   Refuse("--vibrato-speed", text, "is not an offered speed", speeds);
               }
               settings.vibratoSpeedIndex = index;
               settings.vibratoOn = true;
           },
           "vibrato speed in Hz, turns vibrato on (" + speeds + ")")
        ->type_name("HZ");
    AddInteger(app, "--vibrato-depth", "vibrato depth in cents, turns vibrato on", 10, 150, 5,
               settings.vibratoDepth, [&settings] { settings.vibratoOn = true; });
    AddChoice(app, "--autocorrection", "how the pitch is held on target",
              {"realtime", "precalculated", "off"}, settings.autocorrection);
}

void AddStringAndBowOptions(CLI::App& app, GenerationSettings& settings) {
    AddReal(app, "--force", "bow pressing force, relative", kBowForceRange,
            settings.bowPressingForce);
    AddReal(app, "--speed", "bow speed, relative", kBowSpeedRange, settings.bowSpeed);
    AddReal(app, "--position", "bow contact point, fraction of the string from the bridge",
            {0.05, 0.35}, settings.bowPosition);
    AddReal(app, "--damping", "string damping factor", {0.00025130, 0.025}, settings.stringDamping);
    AddReal(app, "--friction-ratio", "kinetic / static friction ratio", {0.07, 0.5},
            settings.frictionRatio);
    AddReal(app, "--t1", "t1/T: attack share of the note", {0.05, 0.65}, settings.t1Ratio);
    AddReal(app, "--t2", "t2/T: release share of the note", {0.05, 0.65}, settings.t2Ratio);
}

// The resonances are applied after parsing, when every --resonance, --resonance-on and
// --resonance-off is known, so that contradictions are refused whatever their order.
struct ResonanceOptions {
    std::vector<std::string> values;
    std::vector<std::string> on;
    std::vector<std::string> off;
};

std::string ResonanceFormat() {
    return "N=F,dF,A with N 1..4, F 40..1500 Hz, dF one of " + JoinNumbers(kResonanceWidthsHz) +
           " Hz and at most 0.46 x F, A 1..20 dB";
}

// Sets resonance N from "N=F,dF,A" and returns N.
int ApplyResonance(const std::string& text, GenerationSettings& settings) {
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
    if (*n < 1 || *n > 4) {
        refuse("names no resonance");
    }
    if (*freq < 40 || *freq > 1500) {
        refuse("has F out of range");
    }
    const int widthIndex = IndexOf(kResonanceWidthsHz, *width);
    if (widthIndex < 0) {
        refuse("has a dF that is not offered");
    }
    if (*width > WidthLimitHz(*freq)) {
        refuse("has dF wider than " + std::to_string(WidthLimitHz(*freq)) +
               " Hz, the limit for F " + std::to_string(*freq) + " Hz");
    }
    if (*amp < 1 || *amp > 20) {
        refuse("has A out of range");
    }
    const auto i = static_cast<std::size_t>(*n - 1);
    settings.resonanceFreq[i] = *freq;
    settings.resonanceWidthIndex[i] = widthIndex;
    settings.resonanceAmp[i] = *amp;
    return *n;
}

void ApplyResonances(const ResonanceOptions& options, GenerationSettings& settings) {
    const std::string switchable = "2..4";
    std::array<bool, 4> switchedOn{};
    for (const std::string& text : options.values) {
        const int n = ApplyResonance(text, settings);
        switchedOn[static_cast<std::size_t>(n - 1)] = true;
    }
    for (const std::string& text : options.on) {
        switchedOn[static_cast<std::size_t>(IntegerIn("--resonance-on", text, 2, 4, 1, switchable) -
                                            1)] = true;
    }
    for (std::size_t i = 1; i < 4; ++i) {
        if (switchedOn[i]) {
            settings.resonanceOn[i - 1] = true;
        }
    }
    for (const std::string& text : options.off) {
        const auto n = IntegerIn("--resonance-off", text, 2, 4, 1, switchable);
        if (switchedOn[static_cast<std::size_t>(n - 1)]) {
            Refuse("--resonance-off", text, "is switched on by --resonance or --resonance-on too",
                   "a resonance that no other option switches on");
        }
        settings.resonanceOn[static_cast<std::size_t>(n - 2)] = false;
    }
}

void AddSoundBoxOptions(CLI::App& app, GenerationSettings& settings, ResonanceOptions& resonances) {
    AddReal(app, "--box-ratio", "share of the body's sound in the output", {0, 1},
            settings.stringToBoxRatio);
    app.add_option("--resonance", resonances.values,
                   "body resonance N: centre F Hz, width dF Hz, amplitude A dB; also switches "
                   "resonance N on (" +
                       ResonanceFormat() + "; default 1=280,20,9 2=415,16,8 3=212,13,9 4=515,30,6)")
        ->type_name("N=F,dF,A");
    app.add_option("--resonance-on", resonances.on,
                   "switch resonance N on (2..4; by default only 1 and 2 sound)")
        ->type_name("N");
    app.add_option("--resonance-off", resonances.off, "switch resonance N off (2..4)")
        ->type_name("N");
    auto* noPseudorandom = app.add_flag_callback(
        "--no-pseudorandom", [&settings] { settings.pseudorandomResonances = false; },
        "leave out the five built-in pseudorandom resonances");
    AddInteger(app, "--pseudorandom-amp", "amplitude of the built-in resonances in dB", 1,
               PseudorandomAmpMax(), 1, settings.pseudorandomAmp);
    app.get_option("--pseudorandom-amp")->excludes(noPseudorandom);
}

void AddGeneralOptions(CLI::App& app, GenerationSettings& settings) {
    AddChoice(app, "--quality", "sound quality", {"low", "high"}, settings.quality);
    AddInteger(app, "--volume", "volume in dB, turns Maximize off", -20, 30, 1, settings.volumeDb,
               [&settings] { settings.maximize = false; });
    app.add_flag_callback(
        "--no-maximize", [&settings] { settings.maximize = false; },
        "apply the volume instead of scaling the peak to full scale");
    AddReal(app, "--duration", "sound duration in seconds", {0.07, 20}, settings.duration);
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
    CLI::App app{
        "Renders one sustained note of a bowed string instrument into a mono 16-bit 44100 Hz "
        "WAVE file. Every setting not given keeps the window's default.",
        "sordanel-render"};
    app.set_version_flag("--version", "sordanel-render " SORDANEL_VERSION);
    app.footer(
        "Exit status: 0 done; 1 the output or temporary file could not be created; 2 a write "
        "failed; 3 the WAVE header could not be written; 64 a bad command line (no file "
        "touched); 255 interrupted (no file left). A batch exits with the status of its first "
        "failed render; each of its files appears only once complete, replacing an earlier file "
        "of that name only then.");

    RenderRequest request;
    std::string output;
    ResonanceOptions resonances;
    app.add_option("-o,--output", output,
                   "WAVE file to write; with --notes the directory of the batch's files")
        ->required()
        ->type_name("FILE");
    app.add_flag("--preview", request.preview,
                 "render the quick preview (3 s at most) into FILE instead");
    app.add_flag("--print-constants", request.printConstants,
                 "print the run's derived values as JSON and render nothing");
    AddPitchOptions(app, settings);
    AddStringAndBowOptions(app, settings);
    AddSoundBoxOptions(app, settings, resonances);
    AddGeneralOptions(app, settings);
    BatchOptions batch;
    AddBatchOptions(app, batch);
    app.add_flag("--measure", request.measure,
                 "after writing FILE, print its note, target and measured frequency, error in "
                 "cents, peak level and whether it holds a steady pitch")
        ->excludes("--notes")
        ->excludes("--print-constants");

    try {
        app.parse(argc, argv);
        if (batch.json && !batch.summary && !request.measure) {
            throw CLI::RequiresError("--json", "--batch-summary or --measure");
        }
        request.json = batch.json;
        ApplyResonances(resonances, settings);
        settings.outputPath = AbsoluteOutputPath(output);
        request.batch = ResolveBatch(app, batch, DirectoryPath(settings.outputPath));
    } catch (const CLI::CallForHelp&) {
        return EarlyExit{0, app.help()};
    } catch (const CLI::CallForVersion& version) {
        return EarlyExit{0, std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        return EarlyExit{kUsageExitCode, "sordanel-render: " + std::string(error.what()) + "\n"};
    }
    return request;
}

}  // namespace sordanel
