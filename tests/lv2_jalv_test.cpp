// The instrument in a real host, end to end: a JACK server on its dummy driver, jalv running
// the installed bundle headless, a MIDI note from JACK's own sequencer client and the output
// recorded by JACK's recorder, then heard: a C4 in tune. Skipped where JACK cannot start.

#include <fcntl.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/pitch_estimate.h"
#include "engine/note_frequency.h"
#include "engine/settings_tables.h"

namespace sordanel {
namespace {

namespace fs = std::filesystem;

// A program of the test's own, started with its output in `log` and, when `holdInput` is set,
// its input an open pipe (jalv reads commands from it and would end at its end). Ends with the
// test: terminated and reaped.
class Child {
public:
    Child(std::vector<std::string> args, const fs::path& log, bool holdInput = false) {
        int input[2] = {-1, -1};
        if (holdInput && ::pipe(input) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(out, 2);
            ::dup2(holdInput ? input[0] : ::open("/dev/null", O_RDONLY), 0);
            std::vector<char*> argv;
            for (std::string& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        if (holdInput) {
            ::close(input[0]);
            inputEnd_ = input[1];
        }
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (inputEnd_ >= 0) {
            ::close(inputEnd_);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Waits for the program to end by itself; its exit status.
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int inputEnd_ = -1;
};

int RunToEnd(std::vector<std::string> args, const fs::path& log) {
    return Child(std::move(args), log).Wait();
}

// Awaits a JACK port by asking the server for it until it is there or `seconds` have passed.
bool AwaitPort(const std::string& port, const fs::path& dir, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (RunToEnd({"sh", "-c", "jack_lsp | grep -qx '" + port + "'"}, dir / "lsp.log") == 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::vector<double> ReadWave(const fs::path& path, int& rate) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return {};
    }
    std::vector<double> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_read_double(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    // On the 16-bit scale the pitch estimator reads, where full scale is 32768.
    for (double& x : samples) {
        x *= 32768;
    }
    sf_close(file);
    rate = info.samplerate;
    return samples;
}

// The loudest 0.4 s of the recording: the end of the held note, where the lock has settled.
std::vector<double> LoudestPart(const std::vector<double>& x, int rate) {
    const auto length = static_cast<std::size_t>(0.4 * rate);
    const auto hop = static_cast<std::size_t>(0.05 * rate);
    std::size_t best = 0;
    double bestEnergy = -1;
    for (std::size_t from = 0; from + length <= x.size(); from += hop) {
        double energy = 0;
        for (std::size_t n = from; n < from + length; ++n) {
            energy += x[n] * x[n];
        }
        if (energy > bestEnergy) {
            best = from;
            bestEnergy = energy;
        }
    }
    return {x.begin() + static_cast<long>(best), x.begin() + static_cast<long>(best + length)};
}

TEST(Lv2Jalv, ANoteSentThroughJackComesBackInTune) {
    const fs::path dir = fs::temp_directory_path() / ("lv2_jalv_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // A server of our own, so nothing else on the machine is touched or heard.
    const std::string server = "sordanel-test-" + std::to_string(::getpid());
    ::setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    ::setenv("LV2_PATH", SORDANEL_LV2_INSTALLED_DIR, 1);

    Child jack({"jackd", "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "512"},
               dir / "jackd.log");
    if (RunToEnd({"jack_wait", "--wait", "--timeout", "10"}, dir / "jack_wait.log") != 0) {
        GTEST_SKIP() << "JACK cannot start here (see " << (dir / "jackd.log") << ")";
    }
    Child jalv({"jalv", "-n", "sordanel", "https://sordanel.invalid/lv2/sordanel"},
               dir / "jalv.log", true);
    ASSERT_TRUE(AwaitPort("sordanel:out", dir, 20)) << "jalv did not start the instrument";
    // A two-second loop: C4 held for the first second.
    Child sequencer({"jack_midiseq", "sequencer", "96000", "0", "60", "48000"},
                    dir / "sequencer.log");
    ASSERT_TRUE(AwaitPort("sequencer:out", dir, 10));
    ASSERT_EQ(RunToEnd({"jack_connect", "sequencer:out", "sordanel:midi_in"}, dir / "connect.log"),
              0);
    const fs::path recording = dir / "recording.wav";
    ASSERT_EQ(RunToEnd({"jack_rec", "-f", recording.string(), "-d", "4", "sordanel:out"},
                       dir / "jack_rec.log"),
              0);

    int rate = 0;
    const std::vector<double> heard = ReadWave(recording, rate);
    ASSERT_EQ(rate, 48000);
    ASSERT_GE(heard.size(), static_cast<std::size_t>(3.5 * rate));
    const auto hz = EstimatePitch(LoudestPart(heard, rate), rate).hz;
    ASSERT_TRUE(hz.has_value()) << "no note in the recording";
    const double target = NoteFrequency({FindNoteIndex("C4"), 40, Temperament::Equal, 0, 0});
    EXPECT_NEAR(1200 * std::log2(*hz / target), 0, 2.0) << *hz << " Hz";
    fs::remove_all(dir);
}

}  // namespace
}  // namespace sordanel
