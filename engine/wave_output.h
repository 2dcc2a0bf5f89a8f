#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_host.h"
#include "engine/file_layer.h"
#include "engine/generation_result.h"
#include "engine/generation_settings.h"
#include "engine/job_state.h"
#include "engine/sound_player.h"

namespace sordanel {

// The last stage of a run, and the owner of its ends. A Generate checks outputPath before any
// synthesis, writes the WAVE file through the file layer and puts it in place once complete (with
// Maximize through a temporary float file and a second pass); a preview builds the WAVE image in
// memory and plays it. Every way out of a run passes through here: the message, closing and
// deleting the partial files, and the end report.
class WaveOutput {
public:
    // `settings` is the run's own copy, alive as long as this stage.
    WaveOutput(const GenerationSettings& settings, JobState& job, EngineHost& host,
               FileLayer& files, SoundPlayer& player);

    // Each returns nothing while the run goes on, or the run's result when it ended here.
    std::optional<GenerationResult> OpenOutput(bool preview, std::uint32_t totalSamples);
    // Sample n of the run, before (x) and after (s) quantisation.
    std::optional<GenerationResult> WriteSample(float x, std::int16_t s) {
        if (target_ == Target::PreviewImage) {
            PutSample(job_.previewSound.data() + imagePosition_, s);
            imagePosition_ += 2;
            return std::nullopt;
        }
        if (target_ == Target::TemporaryFile) {
            PutFloat(buffer_.data() + buffered_, x);
            buffered_ += 4;
        } else {
            PutSample(buffer_.data() + buffered_, s);
            buffered_ += 2;
        }
        if (buffered_ + 4 > buffer_.size()) {
            return FlushSamples();
        }
        return std::nullopt;
    }
    GenerationResult AbortOutput();
    GenerationResult FinishOutput(float peakLevel);

private:
    enum class Target { PreviewImage, TemporaryFile, WaveFile };

    static void PutSample(std::uint8_t* at, std::int16_t s) {
        const auto bits = static_cast<std::uint16_t>(s);
        at[0] = static_cast<std::uint8_t>(bits);
        at[1] = static_cast<std::uint8_t>(bits >> 8);
    }
    static void PutFloat(std::uint8_t* at, float x);

    std::optional<GenerationResult> OpenFullRun(const std::array<std::uint8_t, 44>& header);
    std::optional<GenerationResult> FlushSamples();
    GenerationResult WriteMaximizedWave(float peakLevel);
    GenerationResult PlayPreview();
    // Shows the message, then closes and deletes every file of the run and ends it.
    GenerationResult Fail(std::string_view message, GenerationResult code);
    // Deletes the run's files that are still open, while they are still the run's.
    void CloseAndDeleteFiles();
    static void DiscardQuietly(std::unique_ptr<File>& file);
    GenerationResult End(GenerationResult code);

    const GenerationSettings& settings_;
    JobState& job_;
    EngineHost& host_;
    FileLayer& files_;
    SoundPlayer& player_;

    bool preview_ = false;
    Target target_ = Target::WaveFile;
    std::uint32_t totalSamples_ = 0;
    std::size_t imagePosition_ = 0;
    std::unique_ptr<File> wave_;
    std::unique_ptr<File> temporary_;
    std::array<std::uint8_t, 16384> buffer_{};
    std::size_t buffered_ = 0;
};

}  // namespace sordanel
