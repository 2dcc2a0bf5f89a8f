// Batches of notes through the built sordanel-render: the same files single renders give,
// renders that cannot trip over each other's files, and nothing half-written after an
// interrupt or a failure.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "engine/temp_file_name.h"
#include "tests/render_process.h"

namespace sordanel {
namespace {

namespace fs = std::filesystem;
using testing::Contents;
using testing::Outcome;
using testing::RenderProcess;

class SordanelRenderBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sordanel-batch-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        library_ = dir_ / "library";
        render_.emplace(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Every entry of the library directory by name, hidden ones included.
    std::set<std::string> LibraryEntries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(library_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    bool TempDirEmpty() const { return fs::is_empty(render_->TempDir()); }

    fs::path dir_;
    fs::path library_;
    std::optional<RenderProcess> render_;
};

sf_count_t Frames(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return -1;
    }
    sf_close(file);
    return info.frames;
}

TEST_F(SordanelRenderBatchTest, EachFileIsTheSingleRenderOfItsNoteAndLayer) {
    // One job renders all four together, their strings side by side; two jobs two each, with
    // vibrato.
    const fs::path together = dir_ / "together";
    const Outcome oneJob = render_->Run({"--notes", "A2..C3", "--step", "3", "--layers",
                                         "force=2,0.9", "--jobs", "1", "-o", together.string()});
    ASSERT_EQ(oneJob.exitCode, 0) << oneJob.err;
    const Outcome batch =
        render_->Run({"--notes", "A2..C3", "--step", "3", "--layers", "force=2,0.9", "--jobs", "2",
                      "--vibrato", "-o", library_.string() + "/", "--sfz", "cello.sfz"});
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(batch.err, "");
    EXPECT_EQ(LibraryEntries(),
              (std::set<std::string>{"A2_force0.9.wav", "A2_force2.wav", "C3_force0.9.wav",
                                     "C3_force2.wav", "cello.sfz"}));
    for (const auto& [note, force] :
         {std::pair{"A2", "0.9"}, {"A2", "2"}, {"C3", "0.9"}, {"C3", "2"}}) {
        const std::string name = std::string(note) + "_force" + force + ".wav";
        const fs::path single = dir_ / "single.wav";
        const Outcome one =
            render_->Run({"--note", note, "--force", force, "--vibrato", "-o", single.string()});
        ASSERT_EQ(one.exitCode, 0) << one.err;
        EXPECT_TRUE(Contents(library_ / name) == Contents(single))
            << name << " differs from a single render";
        const Outcome plain =
            render_->Run({"--note", note, "--force", force, "-o", single.string()});
        ASSERT_EQ(plain.exitCode, 0) << plain.err;
        EXPECT_TRUE(Contents(together / name) == Contents(single))
            << name << " rendered with three others differs from a single render";
    }
    const std::string sfz = Contents(library_ / "cello.sfz");
    EXPECT_NE(
        sfz.find("pitch_keycenter=45 lokey=44 hikey=46 lovel=1 hivel=63 sample=A2_force0.9.wav"),
        std::string::npos)
        << sfz;
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderBatchTest, RendersWhoseFileNamesHashAlikeDoNotMeet) {
    // The engine names a render's temporary and partial files from a hash of its output path
    // that these two paths share: characters 19 apart cancel out.
    const std::string pattern = "{note}_________________{note}.wav";
    const std::string c2 = "C2_________________C2.wav", d2 = "D2_________________D2.wav";
    ASSERT_EQ(PathHash(library_.string() + "/" + c2), PathHash(library_.string() + "/" + d2));
    const Outcome outcome = render_->Run({"--notes", "C2..D2", "--step", "2", "--jobs", "2",
                                          "--name-template", pattern, "-o", library_.string()});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(LibraryEntries(), (std::set<std::string>{c2, d2}));
    EXPECT_EQ(Frames(library_ / c2), 35280);
    EXPECT_EQ(Frames(library_ / d2), 35280);
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderBatchTest, InterruptLeavesOnlyCompleteFilesAndTheEarlierTake) {
    fs::create_directories(library_);
    // The batch starts from its highest notes, so C2 is the last it would have replaced.
    std::ofstream(library_ / "C2.wav") << "earlier take";
    const pid_t pid = render_->Start({"--notes", "C2..C4", "--quality", "high", "--duration", "3",
                                      "--jobs", "2", "-o", library_.string()});
    // Files appear only complete: once the first is there, the others are half-rendered.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const auto finished = [&] {
        const auto entries = LibraryEntries();
        return std::count_if(entries.begin(), entries.end(),
                             [](const std::string& name) { return name.front() != '.'; });
    };
    while (finished() < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGINT);
    const Outcome outcome = render_->Wait(pid);
    EXPECT_EQ(outcome.exitCode, 255) << outcome.err;
    EXPECT_NE(outcome.err.find("Interrupted;"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("no partial file left"), std::string::npos) << outcome.err;

    const auto entries = LibraryEntries();
    EXPECT_LT(entries.size(), 25u) << "the interrupt came before the batch ended";
    EXPECT_EQ(Contents(library_ / "C2.wav"), "earlier take");
    for (const std::string& name : entries) {
        EXPECT_NE(name.front(), '.') << "partial file left behind: " << name;
        if (name != "C2.wav") {
            EXPECT_EQ(fs::file_size(library_ / name), 44u + 2 * 132300) << name;
            EXPECT_EQ(Frames(library_ / name), 132300) << name;
        }
    }
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderBatchTest, FailedRenderIsNamedAndLeavesNoInstrument) {
    fs::create_directories(library_ / "D2.wav");
    const Outcome outcome = render_->Run(
        {"--notes", "C2..E2", "--step", "2", "-o", library_.string(), "--sfz", "cello.sfz"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("D2.wav: Cannot create output file"), std::string::npos)
        << outcome.err;
    EXPECT_NE(outcome.err.find("2 of 3 files written"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("cello.sfz not written"), std::string::npos) << outcome.err;
    EXPECT_EQ(LibraryEntries(), (std::set<std::string>{"C2.wav", "D2.wav", "E2.wav"}));
    EXPECT_TRUE(fs::is_directory(library_ / "D2.wav"));
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderBatchTest, SummaryMeasuresEachFileInTune) {
    const Outcome outcome = render_->Run({"--notes", "C3..C5", "--step", "12", "--duration", "1.5",
                                          "-o", library_.string(), "--batch-summary", "--json"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const auto summary = nlohmann::json::parse(outcome.out);
    ASSERT_EQ(summary.size(), 3u);
    EXPECT_EQ(summary[1].at("file"), "C4.wav");
    EXPECT_EQ(summary[1].at("note"), "C4");
    EXPECT_NEAR(summary[1].at("targetHz").get<double>(), 261.6255, 1e-3);
    for (const auto& file : summary) {
        EXPECT_TRUE(file.at("steady").get<bool>()) << file.dump();
        EXPECT_NEAR(file.at("errorCents").get<double>(), 0.0, 2.0) << file.dump();
        EXPECT_NEAR(file.at("peakDbfs").get<double>(), 0.0, 0.01) << "Maximize reaches full scale";
    }

    const Outcome table = render_->Run(
        {"--notes", "C4", "-o", library_.string(), "--batch-summary", "--duration", "1.5"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(
        table.out.rfind("file    note    target Hz  measured Hz  error cents  peak dBFS  steady\n"
                        "C4.wav  C4        261.625  ",
                        0),
        0u)
        << table.out;
    EXPECT_EQ(table.out.substr(table.out.size() - 6), "  yes\n") << table.out;
}

}  // namespace
}  // namespace sordanel
