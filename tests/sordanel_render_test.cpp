// Runs the built sordanel-render as a user would and reads its files back with libsndfile.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "engine/job_state.h"
#include "engine/setting_table.h"
#include "engine/sound_engine.h"
#include "engine/temp_file_name.h"
#include "tests/engine_fakes.h"
#include "tests/render_process.h"

namespace sordanel {
namespace {

namespace fs = std::filesystem;
using testing::Contents;
using testing::Outcome;

class SordanelRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sordanel-render-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        tmp_ = dir_ / "tmp";
        fs::create_directory(tmp_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    pid_t Start(std::vector<std::string> args) { return Process().Start(std::move(args)); }
    Outcome Wait(pid_t pid) { return Process().Wait(pid); }
    Outcome Render(std::vector<std::string> args) { return Process().Run(std::move(args)); }
    testing::RenderProcess Process() const { return testing::RenderProcess(dir_); }

    std::string Output() const { return (dir_ / "note.wav").string(); }
    bool TempDirEmpty() const { return fs::is_empty(tmp_); }

    fs::path dir_;
    fs::path tmp_;
};

// What libsndfile finds in a WAVE file, and its loudest sample.
struct WaveFacts {
    sf_count_t frames;
    int sampleRate;
    int channels;
    int format;
    int peak;
};

WaveFacts ReadWave(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ADD_FAILURE() << "libsndfile cannot read " << path << ": " << sf_strerror(nullptr);
        return {};
    }
    std::vector<short> samples(static_cast<std::size_t>(info.frames));
    sf_read_short(file, samples.data(), info.frames);
    sf_close(file);
    int peak = 0;
    for (const short s : samples) {
        peak = std::max(peak, std::abs(int{s}));
    }
    return {info.frames, info.samplerate, info.channels, info.format, peak};
}

TEST_F(SordanelRenderTest, DefaultNoteWithoutMaximizeIsACompleteWaveFile) {
    const Outcome outcome = Render({"-o", Output(), "--no-maximize"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "") << "no progress bar when stderr is not a terminal";
    EXPECT_EQ(fs::file_size(Output()), 70604u);
    const WaveFacts wave = ReadWave(Output());
    EXPECT_EQ(wave.frames, 35280);
    EXPECT_EQ(wave.sampleRate, 44100);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_GT(wave.peak, 100) << "the note is not silent";
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderTest, MaximizeReachesFullScaleAndRemovesItsTemporaryFile) {
    const Outcome outcome = Render({"-o", Output(), "--note", "A3", "--duration", "0.5"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const WaveFacts wave = ReadWave(Output());
    EXPECT_EQ(wave.frames, 22050);
    EXPECT_EQ(wave.peak, 32767);
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderTest, PreviewIsWrittenAndHeldToThreeSeconds) {
    const Outcome outcome = Render({"-o", Output(), "--preview", "--duration", "5"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(fs::file_size(Output()), 44u + 2 * 132300);
    const WaveFacts wave = ReadWave(Output());
    EXPECT_EQ(wave.frames, 132300);
    EXPECT_GT(wave.peak, 30000) << "a maximized preview reaches near full scale";
}

TEST_F(SordanelRenderTest, PrintConstantsGivesTheDefaultRunAndRendersNothing) {
    const Outcome outcome = Render({"-o", Output(), "--print-constants"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const auto constants = nlohmann::json::parse(outcome.out);
    EXPECT_NEAR(constants.at("noteFrequency").get<double>(), 523.251, 0.001);
    EXPECT_NEAR(constants.at("stepFraction").get<double>(), 0.0024324325, 1e-9);
    EXPECT_NEAR(constants.at("stepRate").get<double>(), 215114.3, 0.1);
    EXPECT_EQ(constants.at("bowPoint"), 6);
    EXPECT_NEAR(constants.at("samplesPerStep").get<double>(), 0.205007, 1e-6);
    EXPECT_NEAR(constants.at("kernelStep").get<double>(), 92.6633, 1e-4);
    EXPECT_EQ(constants.at("kernelTaps"), 63);
    EXPECT_EQ(constants.at("totalSamples"), 35280);
    EXPECT_EQ(constants.at("precalcBlocks"), 13);
    EXPECT_EQ(constants.at("fadeStart"), 34398);
    EXPECT_EQ(constants.at("highPassCoefficient"), 0.5);
    for (const char* key : {"settleSteps", "outputGain", "resonatorCount"}) {
        EXPECT_TRUE(constants.contains(key)) << key;
    }
    const std::string tempFile = constants.at("tempFile");
    EXPECT_EQ(tempFile, TemporaryFileName(tmp_.string() + "/", Output()));
    EXPECT_TRUE(std::regex_search(tempFile, std::regex("/sd-?[0-9]+\\.tmp$"))) << tempFile;
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderTest, UnwritableOutputFailsWithTheEngineMessageAndNoFile) {
    const std::string output = (dir_ / "missing" / "note.wav").string();
    const Outcome outcome = Render({"-o", output});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("Cannot create output file. Check if it isn't open in another "
                               "program and if the specified directory exists"),
              std::string::npos)
        << outcome.err;
    EXPECT_FALSE(fs::exists(output));
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderTest, PartialFileHeldElsewhereIsLeftAloneAndAKilledRunsIsSwept) {
    // A live render holds its partial file locked; a killed one left its file unlocked.
    const std::string held = (dir_ / ".note.wav.42.aaaaaa.part").string();
    const std::string killed = (dir_ / ".note.wav.42.bbbbbb.part").string();
    const std::string killedSamples = (tmp_ / "sd42.tmp").string();
    std::ofstream(Output()) << "earlier take";
    std::ofstream(held) << "another render's half";
    std::ofstream(killed) << "a killed render's half";
    std::ofstream(killedSamples) << "a killed render's samples";
    const int holder = ::open(held.c_str(), O_WRONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const Outcome outcome = Render({"-o", Output(), "--duration", "0.1"});
    ::close(holder);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(fs::file_size(Output()), 44u + 2 * 4410);
    EXPECT_EQ(Contents(held), "another render's half");
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(TempDirEmpty());
}

// The lowest the window's force slider goes, typed as the window's own float: the renderer
// writes the very file the window's Generate writes.
TEST_F(SordanelRenderTest, TheWindowsSliderEndIsRenderedAsTheWindowRendersIt) {
    GenerationSettings window;
    const SettingRow& force = Setting(SettingId::BowPressingForce);
    window.bowPressingForce = SliderValueAt(SettingId::BowPressingForce, SliderPositions(force.id),
                                            SliderPositions(force.id));
    window.outputPath = "/note.wav";
    window.tempDir = "/tmp/";
    testing::RecordingHost host;
    testing::MemoryFileLayer files;
    testing::RecordingPlayer player;
    JobState job;
    SoundEngine engine(window, job, host, files, player);
    ASSERT_EQ(engine.GenerateSound(false), GenerationResult::Finished);

    char typed[32];
    std::snprintf(typed, sizeof typed, "%.9g", double{window.bowPressingForce});
    const Outcome outcome = Render({"-o", Output(), "--force", typed});
    ASSERT_EQ(outcome.exitCode, 0) << typed << ": " << outcome.err;
    const auto& bytes = files.Bytes("/note.wav");
    EXPECT_EQ(Contents(Output()), std::string(bytes.begin(), bytes.end()));
}

// Under an address-space limit the program either cannot be loaded (the loader says so) or
// tells that memory ran out: it never aborts, before main() or after. The edge where --help
// just works is found by halving, as it moves with the libraries of the machine.
TEST_F(SordanelRenderTest, ShortOfMemoryItSaysSoAndNeverAborts) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory cannot live under an address-space limit";
#endif
    const auto run = [this](std::size_t limit, std::vector<std::string> args) {
        args.insert(args.begin(), SORDANEL_RENDER);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const rlimit space{limit, limit};
            ::setrlimit(RLIMIT_AS, &space);
            ::setenv("TMPDIR", tmp_.c_str(), 1);
            ::dup2(::open((dir_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            ::dup2(::open("/dev/null", O_WRONLY), 1);
            testing::ExecArguments(args);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), "",
                       Contents(dir_ / "stderr")};
    };
    constexpr std::size_t kStep = 16 * 1024;
    std::size_t works = std::size_t{1} << 30;
    std::size_t fails = std::size_t{1} << 20;
    ASSERT_EQ(run(works, {"--help"}).exitCode, 0);
    ASSERT_NE(run(fails, {"--help"}).exitCode, 0);
    while (works - fails > kStep) {
        const std::size_t middle = (works + fails) / 2;
        (run(middle, {"--help"}).exitCode == 0 ? works : fails) = middle;
    }
    // From well below the edge to well above it, for the help and for a render.
    for (std::size_t limit = fails - 64 * kStep; limit < works + 256 * kStep; limit += 8 * kStep) {
        for (const auto& args : {std::vector<std::string>{"--help"},
                                 std::vector<std::string>{"-o", Output(), "--duration", "0.1"}}) {
            const Outcome outcome = run(limit, args);
            SCOPED_TRACE(args.front() + " under " + std::to_string(limit) +
                         " bytes: " + outcome.err);
            ASSERT_GE(outcome.exitCode, 0) << "ended by signal " << -outcome.exitCode;
            if (outcome.exitCode == 127) {
                EXPECT_NE(outcome.err.find("error while loading shared libraries"),
                          std::string::npos);
            } else if (outcome.exitCode != 0) {
                EXPECT_EQ(outcome.exitCode, 2);
                EXPECT_EQ(outcome.err, "sordanel-render: Not enough memory\n");
            }
        }
    }
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(SordanelRenderTest, BadOptionTouchesNoFile) {
    std::ofstream(Output()) << "earlier take";
    const Outcome outcome = Render({"-o", Output(), "--force", "9"});
    EXPECT_EQ(outcome.exitCode, 64);
    EXPECT_NE(outcome.err.find("--force"), std::string::npos) << outcome.err;
    EXPECT_EQ(Contents(Output()), "earlier take");
    EXPECT_TRUE(TempDirEmpty());
}

// After the file is written, its pitch as a listener would measure it: the default note in
// tune and steady; a bow that only scrapes (the most force, near the middle of the string)
// steady at no pitch, which is said instead of a number. The exit status stays the render's.
TEST_F(SordanelRenderTest, MeasureReportsThePitchOfASteadyNoteOnly) {
    const Outcome inTune = Render({"-o", Output(), "--measure", "--json"});
    ASSERT_EQ(inTune.exitCode, 0) << inTune.err;
    EXPECT_EQ(ReadWave(Output()).frames, 35280);
    const auto note = nlohmann::json::parse(inTune.out);
    EXPECT_EQ(note.at("file"), "note.wav");
    EXPECT_EQ(note.at("note"), "C5");
    EXPECT_TRUE(note.at("steady").get<bool>()) << note.dump();
    EXPECT_NEAR(note.at("errorCents").get<double>(), 0.0, 1.0) << note.dump();
    EXPECT_NEAR(note.at("measuredHz").get<double>(), 523.251, 0.3);

    const Outcome table = Render({"-o", Output(), "--measure"});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_TRUE(std::regex_match(
        table.out,
        std::regex("file +note +target Hz +measured Hz +error cents +peak dBFS +steady\n"
                   "note\\.wav +C5 +523\\.251 +523\\.[0-9]+ +[-+]0\\.[0-9]+ +[-0-9.]+ +yes\n")))
        << table.out;

    const Outcome scraping =
        Render({"-o", Output(), "--measure", "--json", "--force", "3.5", "--position", "0.35"});
    ASSERT_EQ(scraping.exitCode, 0) << scraping.err;
    const auto noise = nlohmann::json::parse(scraping.out);
    EXPECT_FALSE(noise.at("steady").get<bool>()) << noise.dump();
    EXPECT_FALSE(noise.contains("measuredHz")) << noise.dump();
    EXPECT_FALSE(noise.at("unmeasured").get<std::string>().empty());

    const Outcome failed = Render({"-o", (dir_ / "missing" / "note.wav").string(), "--measure"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out, "") << "nothing to measure";
}

TEST_F(SordanelRenderTest, InterruptLeavesNeitherOutputNorTemporaryFile) {
    const pid_t render = Start({"-o", Output(), "--quality", "high", "--duration", "20"});
    // Both files exist from the start of the run: wait for the temporary one, then interrupt.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (TempDirEmpty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(TempDirEmpty()) << "the render never started";
    ::kill(render, SIGINT);
    const Outcome outcome = Wait(render);
    EXPECT_EQ(outcome.exitCode, 255) << outcome.err;
    EXPECT_NE(outcome.err.find("Interrupted"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_TRUE(TempDirEmpty());
}

}  // namespace
}  // namespace sordanel
