// The SDL sound player, heard through SDL's disk driver, which writes every byte handed to
// the audio device into a file.

#include "platform/sdl_sound_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "engine/wave_header.h"

namespace sordanel {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A 44100 Hz mono WAVE image of `count` pseudorandom samples drawn from `seed`, so that no run
// of samples repeats within a sound or between two sounds.
std::vector<std::uint8_t> MakeWave(std::uint32_t count, std::uint32_t seed) {
    const auto header = BuildWaveHeader(count);
    std::vector<std::uint8_t> image(header.begin(), header.end());
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        image.push_back(static_cast<std::uint8_t>(state >> 16));
        image.push_back(static_cast<std::uint8_t>(state >> 24));
    }
    return image;
}

std::vector<std::uint8_t> SamplesOf(const std::vector<std::uint8_t>& image) {
    return {image.begin() + kWaveHeaderBytes, image.end()};
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Contains(const std::vector<std::uint8_t>& haystack, const std::vector<std::uint8_t>& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

class SdlSoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        played_ =
            fs::temp_directory_path() / ("sordanel-played-" + std::to_string(::getpid()) + ".raw");
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", played_.c_str(), 1);
        RealTime(false);
    }
    void TearDown() override { fs::remove(played_); }

    // The disk device writes at the sound's own pace, or as fast as it can.
    static void RealTime(bool realTime) {
        if (realTime) {
            ::unsetenv("SDL_DISKAUDIODELAY");
        } else {
            ::setenv("SDL_DISKAUDIODELAY", "1", 1);
        }
    }

    // Waits until the device has written `samples`; false after a few seconds without them.
    bool WaitForPlayed(const std::vector<std::uint8_t>& samples) {
        for (int i = 0; i < 500; ++i) {
            if (Contains(ReadAll(played_), samples)) {
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    fs::path played_;
};

TEST_F(SdlSoundPlayerTest, PlaysAnImageSampleForSampleAfterTheCallerFreedIt) {
    SdlSoundPlayer player;
    auto image = MakeWave(4410, 1);
    const auto samples = SamplesOf(image);
    player.PlayImage(image.data(), image.size());
    // The player decodes its own copy: the caller may reuse the image at once.
    std::fill(image.begin(), image.end(), 0x55);
    image.clear();
    image.shrink_to_fit();
    EXPECT_TRUE(WaitForPlayed(samples));
    player.Stop();
}

TEST_F(SdlSoundPlayerTest, PlaysAFile) {
    const auto image = MakeWave(2205, 2);
    const fs::path file = fs::temp_directory_path() / "sordanel-player-test.wav";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    SdlSoundPlayer player;
    player.PlayFile(file.string());
    EXPECT_TRUE(WaitForPlayed(SamplesOf(image)));
    player.Stop();
    fs::remove(file);
}

TEST_F(SdlSoundPlayerTest, StopEndsTheSoundAtOnce) {
    RealTime(true);
    SdlSoundPlayer player;
    const auto image = MakeWave(3 * 44100, 3);
    player.PlayImage(image.data(), image.size());
    std::this_thread::sleep_for(300ms);
    player.Stop();
    const auto writtenAtStop = ReadAll(played_);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(ReadAll(played_).size(), writtenAtStop.size());
    const auto samples = SamplesOf(image);
    const std::vector<std::uint8_t> ending(samples.end() - 2000, samples.end());
    EXPECT_FALSE(Contains(writtenAtStop, ending));
}

TEST_F(SdlSoundPlayerTest, ANewSoundReplacesTheOnePlaying) {
    RealTime(true);
    SdlSoundPlayer player;
    const auto first = MakeWave(3 * 44100, 4);
    player.PlayImage(first.data(), first.size());
    std::this_thread::sleep_for(200ms);
    RealTime(false);
    const auto second = MakeWave(4410, 5);
    player.PlayImage(second.data(), second.size());
    ASSERT_TRUE(WaitForPlayed(SamplesOf(second)));
    player.Stop();
    const auto firstSamples = SamplesOf(first);
    const std::vector<std::uint8_t> firstEnding(firstSamples.end() - 2000, firstSamples.end());
    EXPECT_FALSE(Contains(ReadAll(played_), firstEnding));
}

TEST_F(SdlSoundPlayerTest, WithoutAnAudioDeviceEveryCallIsSilentAndReturns) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlSoundPlayer player;
    const auto image = MakeWave(44100, 6);
    const auto started = std::chrono::steady_clock::now();
    player.PlayImage(image.data(), image.size());
    player.PlayFile("/nonexistent/sound.wav");
    player.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_FALSE(fs::exists(played_));
}

TEST_F(SdlSoundPlayerTest, WhatIsNoWaveSoundPlaysNothing) {
    SdlSoundPlayer player;
    const std::vector<std::uint8_t> noise(1000, 0x42);
    player.PlayImage(noise.data(), noise.size());
    player.PlayImage(nullptr, 0);
    player.PlayFile("/nonexistent/sound.wav");
    player.Stop();
    EXPECT_FALSE(fs::exists(played_));
}

}  // namespace
}  // namespace sordanel
