// The batch options as the command line gives them: which notes, layers and file names a
// batch renders, and every refusal naming the option at fault.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "cli/render_options.h"

namespace sordanel {
namespace {

std::variant<RenderRequest, EarlyExit> Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "sordanel-render");
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    GenerationSettings settings;
    return ParseRenderOptions(static_cast<int>(argv.size()), argv.data(), settings);
}

BatchRequest Batch(std::vector<std::string> args) {
    const auto parsed = Parse(std::move(args));
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        ADD_FAILURE() << early->text;
        return {};
    }
    const auto& request = std::get<RenderRequest>(parsed);
    EXPECT_TRUE(request.batch.has_value());
    return request.batch.value_or(BatchRequest{});
}

std::vector<std::string> FileNames(const BatchRequest& batch) {
    std::vector<std::string> names;
    for (const BatchItem& item : batch.items) {
        names.push_back(item.fileName);
    }
    return names;
}

// The refusal of a command line: usage status, and a message naming what was at fault.
void ExpectRefused(std::vector<std::string> args, const std::string& mentioned) {
    const auto parsed = Parse(args);
    const auto* early = std::get_if<EarlyExit>(&parsed);
    ASSERT_NE(early, nullptr) << "accepted: " << args.back();
    EXPECT_EQ(early->code, kUsageExitCode);
    EXPECT_NE(early->text.find(mentioned), std::string::npos) << early->text;
}

TEST(BatchOptions, NotesRunUpwardEveryStepWithinTheRange) {
    const BatchRequest batch = Batch({"--notes", "C2..D#2", "-o", "/lib/cello/"});
    EXPECT_EQ(FileNames(batch),
              (std::vector<std::string>{"C2.wav", "C#2.wav", "D2.wav", "D#2.wav"}));
    EXPECT_EQ(batch.directory, "/lib/cello") << "the slash the user ended it with goes";
    EXPECT_EQ(MidiKey(batch.items.front().noteIndex), 36);

    const BatchRequest stepped = Batch({"--notes", "C2..C3", "--step", "5", "-o", "/lib"});
    EXPECT_EQ(FileNames(stepped), (std::vector<std::string>{"C2.wav", "F2.wav", "A#2.wav"}))
        << "C3 is not on the grid of fifths from C2";
    EXPECT_EQ(FileNames(Batch({"--notes", "E7", "-o", "/lib"})),
              (std::vector<std::string>{"E7.wav"}));
    EXPECT_EQ(Batch({"--notes", "C1..E7", "-o", "/lib"}).items.size(), 77u);
}

TEST(BatchOptions, LayersRiseInValueAndNameTheirFiles) {
    const BatchRequest batch =
        Batch({"--notes", "A3", "--layers", "force=2.5,0.8,1.5", "-o", "/lib", "--jobs", "3"});
    ASSERT_EQ(batch.layers.size(), 3u);
    EXPECT_EQ(batch.layers[0].text, "0.8");
    EXPECT_EQ(batch.layers[2].value, 2.5f);
    EXPECT_EQ(FileNames(batch),
              (std::vector<std::string>{"A3_force0.8.wav", "A3_force1.5.wav", "A3_force2.5.wav"}));
    EXPECT_EQ(batch.jobs, 3);

    const BatchRequest speeds =
        Batch({"--notes", "A3..A#3", "--layers", "speed=0.1,0.3", "--name-template",
               "viola-{midi}-{layer}-{note}.wav", "-o", "/lib"});
    EXPECT_EQ(speeds.layerParameter, LayerParameter::Speed);
    EXPECT_EQ(FileNames(speeds),
              (std::vector<std::string>{"viola-57-speed0.1-A3.wav", "viola-57-speed0.3-A3.wav",
                                        "viola-58-speed0.1-A#3.wav", "viola-58-speed0.3-A#3.wav"}));
}

TEST(BatchOptions, RefusesWhatCannotBeRendered) {
    ExpectRefused({"--notes", "C4..C2", "-o", "/lib"}, "runs downward");
    ExpectRefused({"--notes", "C2..H4", "-o", "/lib"}, "names no note: H4");
    ExpectRefused({"--notes", "C2..C4", "--step", "0", "-o", "/lib"}, "--step");
    ExpectRefused({"--notes", "C2..C4", "--jobs", "many", "-o", "/lib"}, "--jobs");
    ExpectRefused({"--notes", "C2", "--layers", "force=1,9", "-o", "/lib"}, "out of range");
    ExpectRefused({"--notes", "C2", "--layers", "force=1,1.0", "-o", "/lib"}, "gives 1.0 twice");
    ExpectRefused({"--notes", "C2", "--layers", "pressure=1", "-o", "/lib"}, "--layers");
    ExpectRefused({"--notes", "C2", "--layers", "force=1,2", "--force", "2", "-o", "/lib"},
                  "--force sets too");
    ExpectRefused({"--notes", "C2..D2", "--name-template", "cello.wav", "-o", "/lib"},
                  "gives two files the name cello.wav");
    ExpectRefused({"--notes", "C2", "--name-template", "{octave}.wav", "-o", "/lib"},
                  "unknown field {octave}");
    ExpectRefused({"--notes", "C2", "--name-template", "../{note}.wav", "-o", "/lib"},
                  "not a plain file name");
    ExpectRefused({"--notes", "C2", "--name-template", ".{note}.wav", "-o", "/lib"},
                  "not a plain file name");
    ExpectRefused(
        {"--notes", "C2", "--name-template", std::string(400, 'x') + "{note}", "-o", "/lib"},
        "too long");
    ExpectRefused({"--notes", "C2", "--sfz", "../cello.sfz", "-o", "/lib"}, "--sfz");
    ExpectRefused({"--notes", "C2", "--sfz", "cello.txt", "-o", "/lib"}, "ending in .sfz");
}

// Each of these once wrote something wrong and reported success.
TEST(BatchOptions, RefusesWhatWouldWriteTheWrongThing) {
    ExpectRefused(
        {"--notes", "C2..C4", "--name-template", "{note}.sfz", "--sfz", "C4.sfz", "-o", "/lib"},
        "is the name of one of the notes");
    std::string layers = "force=";
    for (int i = 0; i < 128; ++i) {
        layers += std::to_string(0.5 + i * 0.01);
        layers += ',';
    }
    layers.pop_back();
    ExpectRefused({"--notes", "C2", "--layers", layers, "-o", "/lib"}, "gives 128 layers");
    EXPECT_EQ(
        Batch({"--notes", "C2", "--layers", layers.substr(0, layers.rfind(',')), "-o", "/lib"})
            .layers.size(),
        127u)
        << "127 layers still give each its own velocity";
    for (const char* pattern : {"{note}\n.wav", "{note}\t.wav", "{note}\x7f.wav", "{note}\r"}) {
        const auto parsed = Parse({"--notes", "C2", "--name-template", pattern, "-o", "/lib"});
        const auto* early = std::get_if<EarlyExit>(&parsed);
        ASSERT_NE(early, nullptr) << "accepted: " << pattern;
        EXPECT_NE(early->text.find("not a plain file name"), std::string::npos) << early->text;
        EXPECT_EQ(early->text.find_first_of("\t\r\x7f"), std::string::npos) << early->text;
        EXPECT_EQ(early->text.find('\n'), early->text.size() - 1) << "one line: " << early->text;
    }
    ExpectRefused({"--notes", "C2", "--sfz", "cel\nlo.sfz", "-o", "/lib"}, "\"cel\\x0alo.sfz\"");
    ExpectRefused({"--notes", "", "-o", "/lib"}, "--notes");
}

TEST(BatchOptions, BatchOptionsBelongToABatchOnly) {
    ExpectRefused({"--step", "2", "-o", "/lib/c.wav"}, "--step requires --notes");
    ExpectRefused({"--sfz", "c.sfz", "-o", "/lib/c.wav"}, "--sfz requires --notes");
    ExpectRefused({"--notes", "C2", "--note", "C3", "-o", "/lib"}, "excludes --note");
    ExpectRefused({"--notes", "C2", "--print-constants", "-o", "/lib"}, "excludes");
    ExpectRefused({"--notes", "C2", "--json", "-o", "/lib"},
                  "--json requires --batch-summary or --measure");
    // A batch measures its files with --batch-summary; --measure is for one render.
    ExpectRefused({"--notes", "C2", "--measure", "-o", "/lib"}, "--notes excludes --measure");
    ExpectRefused({"--measure", "--print-constants", "-o", "/lib/c.wav"}, "excludes");
    const auto single = Parse({"-o", "/lib/c.wav"});
    EXPECT_FALSE(std::get<RenderRequest>(single).batch.has_value());
    const auto measured =
        std::get<RenderRequest>(Parse({"-o", "/lib/c.wav", "--measure", "--json"}));
    EXPECT_TRUE(measured.measure);
    EXPECT_TRUE(measured.json);
}

}  // namespace
}  // namespace sordanel
