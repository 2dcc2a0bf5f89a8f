#include "cli/batch_options.h"

#include <algorithm>
#include <set>
#include <thread>

#include "cli/option_values.h"
#include "cli/setting_options.h"
#include "engine/setting_table.h"
#include "engine/settings_tables.h"

namespace sordanel {

namespace {

constexpr int kMaxJobs = 256;
// Each layer of the SFZ instrument takes at least one of the 127 velocities.
constexpr std::size_t kMaxLayers = 127;
constexpr std::size_t kMaxOutputPathChars = 390;

int DefaultJobs() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

std::string NoteRange() {
    return std::string(kNoteNames[kNoteCount - 1]) + ".." + kNoteNames.front() +
           ", sharps only, e.g. C2..C#6";
}

int NoteIndexOf(const std::string& name, const std::string& text) {
    const int index = FindNoteIndex(CanonicalNoteName(name).c_str());
    if (index < 0) {
        Refuse("--notes", text, "names no note: " + name, NoteRange());
    }
    return index;
}

// The note indices from the lower note to the higher, every `step` semitones.
std::vector<std::int32_t> NotesOf(const std::string& text, int step) {
    const auto dots = text.find("..");
    const std::string lowName = text.substr(0, dots);
    const std::string highName = dots == std::string::npos ? lowName : text.substr(dots + 2);
    const int low = NoteIndexOf(lowName, text);
    const int high = NoteIndexOf(highName, text);
    if (high > low) {
        Refuse("--notes", text, "runs downward", "the lower note first, " + NoteRange());
    }
    std::vector<std::int32_t> notes;
    for (int index = low; index >= high; index -= step) {
        notes.push_back(index);
    }
    return notes;
}

LayerParameter LayerParameterOf(const OptionParser& parser, const std::string& text) {
    const std::string admitted = "force=V1,V2,... or speed=V1,V2,...";
    const std::string name = text.substr(0, text.find('='));
    if (text.find('=') == std::string::npos || (name != "force" && name != "speed")) {
        Refuse("--layers", text, "is not force=... or speed=...", admitted);
    }
    const auto parameter = name == "force" ? LayerParameter::Force : LayerParameter::Speed;
    const std::string fixed = "--" + name;
    if (parser.Count(fixed) > 0) {
        Refuse("--layers", text, "sets " + name + ", which " + fixed + " sets too",
               "one of --layers " + name + "=... and " + fixed);
    }
    return parameter;
}

// The layers in rising order of their value: the velocity bands of the instrument follow it.
std::vector<Layer> LayersOf(const std::string& text, LayerParameter parameter) {
    const SettingRow& row = Setting(parameter == LayerParameter::Force ? SettingId::BowPressingForce
                                                                       : SettingId::BowSpeed);
    std::vector<Layer> layers;
    std::string values = text.substr(text.find('=') + 1);
    for (std::size_t start = 0; start <= values.size();) {
        const auto comma = std::min(values.find(',', start), values.size());
        const std::string value = values.substr(start, comma - start);
        layers.push_back({TypedValue(row, "--layers", value), value});
        start = comma + 1;
    }
    if (layers.size() > kMaxLayers) {
        Refuse("--layers", text, "gives " + std::to_string(layers.size()) + " layers",
               "at most " + std::to_string(kMaxLayers) + ", one velocity each");
    }
    std::sort(layers.begin(), layers.end(),
              [](const Layer& a, const Layer& b) { return a.value < b.value; });
    for (std::size_t i = 1; i < layers.size(); ++i) {
        if (layers[i].value == layers[i - 1].value) {
            Refuse("--layers", text, "gives " + layers[i].text + " twice", "distinct values");
        }
    }
    return layers;
}

// A name that stays inside its folder, hides nothing, and cannot break the lines of the SFZ
// instrument or of a listing: no separator, no control character, no leading dot.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.front() != '.' &&
           std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return c == '/' || byte < 0x20 || byte == 0x7f;
           });
}

std::string ExpandTemplate(const std::string& pattern, const std::string& fields,
                           std::int32_t noteIndex, const std::string& layer) {
    std::string name;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const auto close = pattern.find('}', i);
        if (pattern[i] != '{' || close == std::string::npos) {
            name += pattern[i];
            continue;
        }
        const std::string field = pattern.substr(i + 1, close - i - 1);
        if (field == "note") {
            name += kNoteNames[static_cast<std::size_t>(noteIndex)];
        } else if (field == "midi") {
            name += std::to_string(MidiKey(noteIndex));
        } else if (field == "layer") {
            name += layer;
        } else {
            Refuse("--name-template", pattern, "has an unknown field {" + field + "}", fields);
        }
        i = close;
    }
    return name;
}

// One file name per render; none may hide, leave the directory or repeat another.
std::vector<BatchItem> ItemsOf(const BatchOptions& options, const BatchRequest& batch,
                               const std::vector<std::int32_t>& notes) {
    const bool layered = !batch.layers.empty();
    const std::string pattern = !options.nameTemplate.empty() ? options.nameTemplate
                                : layered                     ? "{note}_{layer}.wav"
                                                              : "{note}.wav";
    const std::string fields = "a file name with {note} (C#4), {midi} (61)" +
                               std::string(layered ? " and {layer} (force1.5)" : "");
    const std::string parameter = batch.layerParameter == LayerParameter::Force ? "force" : "speed";
    std::vector<BatchItem> items;
    std::set<std::string> names;
    for (const std::int32_t note : notes) {
        for (int layer = layered ? 0 : -1; layer < static_cast<int>(batch.layers.size()); ++layer) {
            const std::string layerText =
                layer < 0 ? "" : parameter + batch.layers[static_cast<std::size_t>(layer)].text;
            std::string name = ExpandTemplate(pattern, fields, note, layerText);
            if (!IsPlainFileName(name)) {
                Refuse("--name-template", pattern,
                       "gives \"" + name +
                           "\", which is not a plain "
                           "file name",
                       fields);
            }
            if (!names.insert(name).second) {
                Refuse("--name-template", pattern, "gives two files the name " + name, fields);
            }
            if (batch.directory.size() + 1 + name.size() > kMaxOutputPathChars) {
                Refuse("--name-template", pattern, "gives a path too long for " + name,
                       "at most " + std::to_string(kMaxOutputPathChars) + " characters");
            }
            items.push_back({note, layer, std::move(name)});
        }
    }
    return items;
}

}  // namespace

void AddBatchOptions(OptionParser& parser, BatchOptions& options) {
    const auto into = [](std::string& field) {
        return [&field](const std::string& text) { field = text; };
    };
    parser.Add({.name = "--notes",
                .valueName = "LOW..HIGH",
                .values = NoteRange(),
                .help = "render every note from LOW to HIGH, one file each, into the directory "
                        "given by --output",
                .take = into(options.notes)});
    parser.Add({.name = "--step",
                .valueName = "N",
                .values = "1.." + std::to_string(kNoteCount - 1),
                .defaultText = "1",
                .help = "render every Nth semitone from LOW, up to HIGH at most",
                .take = into(options.step)});
    parser.Add({.name = "--jobs",
                .valueName = "N",
                .values = "1.." + std::to_string(kMaxJobs),
                .defaultText = "the number of cores, here " + std::to_string(DefaultJobs()),
                .help = "renders at the same time",
                .take = into(options.jobs)});
    parser.Add({.name = "--name-template",
                .valueName = "TEXT",
                .values = "{note} (C#4), {midi} (61), {layer} (force1.5)",
                .defaultText = "{note}.wav, with layers {note}_{layer}.wav",
                .help = "the names of the files",
                .take = into(options.nameTemplate)});
    parser.Add({.name = "--layers",
                .valueName = "force=V1,V2,...",
                .values = "force=V1,V2,... or speed=V1,V2,..., at most " +
                          std::to_string(kMaxLayers) + " values",
                .help = "render each note once per value of the bow force or speed; the layers "
                        "become velocity bands of the SFZ instrument, lowest value softest",
                .take = into(options.layers)});
    parser.Add({.name = "--sfz",
                .valueName = "NAME.sfz",
                .help = "also write an SFZ instrument of the batch's files beside them",
                .take = into(options.sfzName)});
    parser.Add({.name = "--batch-summary",
                .help = "print each file's note, target and measured frequency, error in cents, "
                        "peak level and whether it holds a steady pitch",
                .take = [&options](const std::string&) { options.summary = true; }});
    for (const char* other : {"--note", "--print-constants", "--measure"}) {
        parser.Excludes("--notes", other);
    }
    for (const char* batchOnly :
         {"--step", "--jobs", "--name-template", "--layers", "--sfz", "--batch-summary"}) {
        parser.Needs(batchOnly, "--notes");
    }
}

std::optional<BatchRequest> ResolveBatch(const OptionParser& parser, const BatchOptions& options,
                                         const std::string& directory) {
    if (parser.Count("--notes") == 0) {
        return std::nullopt;
    }
    if (options.notes.empty()) {
        Refuse("--notes", options.notes, "names no note", NoteRange());
    }
    BatchRequest batch;
    batch.directory = directory;
    batch.summary = options.summary;
    batch.json = options.json;
    const std::string jobRange = "1.." + std::to_string(kMaxJobs);
    batch.jobs = DefaultJobs();
    if (!options.jobs.empty()) {
        const auto jobs = ParseWhole<int>(options.jobs);
        if (!jobs || *jobs < 1 || *jobs > kMaxJobs) {
            Refuse("--jobs", options.jobs, "is not a number of renders", jobRange);
        }
        batch.jobs = *jobs;
    }
    int step = 1;
    if (!options.step.empty()) {
        const auto parsed = ParseWhole<int>(options.step);
        if (!parsed || *parsed < 1 || *parsed >= kNoteCount) {
            Refuse("--step", options.step, "is not a step in semitones",
                   "1.." + std::to_string(kNoteCount - 1));
        }
        step = *parsed;
    }
    if (!options.layers.empty()) {
        batch.layerParameter = LayerParameterOf(parser, options.layers);
        batch.layers = LayersOf(options.layers, batch.layerParameter);
    }
    batch.items = ItemsOf(options, batch, NotesOf(options.notes, step));
    if (!options.sfzName.empty()) {
        const std::string& name = options.sfzName;
        const std::string admitted = "a name such as cello.sfz, written beside the notes";
        if (name.size() < 5 || !IsPlainFileName(name) || name.substr(name.size() - 4) != ".sfz") {
            Refuse("--sfz", name, "is not a plain file name ending in .sfz", admitted);
        }
        const bool takenByANote =
            std::any_of(batch.items.begin(), batch.items.end(),
                        [&](const BatchItem& item) { return item.fileName == name; });
        if (takenByANote) {
            Refuse("--sfz", name, "is the name of one of the notes", admitted);
        }
        batch.sfzName = name;
    }
    return batch;
}

}  // namespace sordanel
