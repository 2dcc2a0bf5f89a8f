#include "engine/wave_output.h"

#include <bit>
#include <cstring>
#include <new>

#include "engine/engine_messages.h"
#include "engine/level_stage.h"
#include "engine/progress_bracket.h"
#include "engine/temp_file_name.h"
#include "engine/wave_header.h"

namespace sordanel {

namespace {

static_assert(std::endian::native == std::endian::little,
              "the temporary file holds little-endian floats as they lie in memory");

// A file layer that throws counts as one that failed.
template <class Operation>
bool Attempt(Operation operation) {
    try {
        return operation();
    } catch (...) {
        return false;
    }
}

}  // namespace

WaveOutput::WaveOutput(const GenerationSettings& settings, JobState& job, EngineHost& host,
                       FileLayer& files, SoundPlayer& player)
    : settings_(settings), job_(job), host_(host), files_(files), player_(player) {}

void WaveOutput::PutFloat(std::uint8_t* at, float x) {
    std::memcpy(at, &x, sizeof x);
}

std::optional<GenerationResult> WaveOutput::OpenOutput(bool preview, std::uint32_t totalSamples) {
    preview_ = preview;
    totalSamples_ = totalSamples;
    buffered_ = 0;
    const auto header = BuildWaveHeader(totalSamples);
    // Stopping first also guarantees the player no longer reads the image freed below.
    player_.Stop();

    if (!preview) {
        return OpenFullRun(header);
    }
    target_ = Target::PreviewImage;
    if (job_.previewValid && !job_.previewSound.empty()) {
        return PlayPreview();
    }
    job_.previewSound = {};
    try {
        job_.previewSound.resize(kWaveHeaderBytes + 2 * std::size_t{totalSamples});
    } catch (const std::bad_alloc&) {
        job_.previewSound = {};
        host_.ShowError(messages::kNoPreviewMemory);
        return End(GenerationResult::NotStarted);
    }
    std::memcpy(job_.previewSound.data(), header.data(), header.size());
    imagePosition_ = kWaveHeaderBytes;
    return std::nullopt;
}

std::optional<GenerationResult> WaveOutput::OpenFullRun(
    const std::array<std::uint8_t, 44>& header) {
    target_ = settings_.maximize ? Target::TemporaryFile : Target::WaveFile;
    // A target that can never be written is refused now, not after the whole note.
    Attempt([&] {
        if (!files_.CheckTarget(settings_.outputPath)) {
            return false;
        }
        wave_ = files_.CreateOutput(settings_.outputPath);
        return wave_ != nullptr;
    });
    if (!wave_) {
        host_.ShowError(messages::kCannotCreateOutput);
        CallProgressDialog(job_, [](ProgressReceiver& d) { d.GenerationFinished(); });
        return End(GenerationResult::NotStarted);
    }
    if (!Attempt([&] { return wave_->Write(header.data(), header.size()); })) {
        return Fail(messages::kWaveWriteFailed, GenerationResult::HeaderFailed);
    }
    if (settings_.maximize) {
        const std::string name = TemporaryFileName(settings_.tempDir, settings_.outputPath);
        Attempt([&] {
            temporary_ = files_.CreateScratch(name);
            return temporary_ != nullptr;
        });
        if (!temporary_) {
            return Fail(messages::kCannotCreateTemporary, GenerationResult::NotStarted);
        }
    }
    return std::nullopt;
}

std::optional<GenerationResult> WaveOutput::FlushSamples() {
    if (buffered_ == 0) {
        return std::nullopt;
    }
    File& file = target_ == Target::TemporaryFile ? *temporary_ : *wave_;
    const bool written = Attempt([&] { return file.Write(buffer_.data(), buffered_); });
    buffered_ = 0;
    if (written) {
        return std::nullopt;
    }
    return Fail(target_ == Target::TemporaryFile ? messages::kTemporaryWriteFailed
                                                 : messages::kWaveWriteFailed,
                GenerationResult::WriteFailed);
}

GenerationResult WaveOutput::AbortOutput() {
    if (!preview_) {
        CloseAndDeleteFiles();
    }
    return End(GenerationResult::Aborted);
}

GenerationResult WaveOutput::FinishOutput(float peakLevel) {
    if (preview_) {
        if (settings_.maximize) {
            std::uint8_t* samples = job_.previewSound.data() + kWaveHeaderBytes;
            for (std::uint32_t n = 0; n < totalSamples_; ++n, samples += 2) {
                const auto s = static_cast<std::int16_t>(samples[0] | (samples[1] << 8));
                PutSample(samples, RescalePreviewSample(s, peakLevel));
            }
        }
        job_.previewValid = true;
        return PlayPreview();
    }

    if (auto failed = FlushSamples()) {
        return *failed;
    }
    if (target_ == Target::TemporaryFile) {
        const GenerationResult rescaled = WriteMaximizedWave(peakLevel);
        if (rescaled != GenerationResult::Finished) {
            return rescaled;
        }
    }
    // The last moment an interrupt can still keep the earlier take: after Commit the new one
    // is in place and the run has finished.
    if (job_.abortRequested) {
        return AbortOutput();
    }
    // Committing flushes what the file layer still holds: a failure there is a failed write,
    // and so is a finished file that cannot take the place of the old one.
    if (!Attempt([&] { return wave_->Commit(); })) {
        return Fail(messages::kWaveWriteFailed, GenerationResult::WriteFailed);
    }
    wave_.reset();
    CallProgressDialog(job_, [](ProgressReceiver& d) { d.GenerationFinished(); });
    job_.outputValid = true;
    return End(GenerationResult::Finished);
}

GenerationResult WaveOutput::WriteMaximizedWave(float peakLevel) {
    if (!Attempt([&] { return temporary_->SeekToStart(); })) {
        return Fail(messages::kTemporaryReadFailed, GenerationResult::WriteFailed);
    }
    std::array<float, 2048> floats{};
    std::array<std::uint8_t, 2 * 2048> samples{};
    for (std::uint32_t done = 0; done < totalSamples_;) {
        // The second pass of a long note takes seconds: an interrupt is heard here too.
        if (job_.abortRequested) {
            return AbortOutput();
        }
        const std::uint32_t count = std::min<std::uint32_t>(
            totalSamples_ - done, static_cast<std::uint32_t>(floats.size()));
        if (!Attempt([&] { return temporary_->Read(floats.data(), count * sizeof(float)); })) {
            return Fail(messages::kTemporaryReadFailed, GenerationResult::WriteFailed);
        }
        for (std::uint32_t k = 0; k < count; ++k) {
            PutSample(&samples[2 * k], RescaleToPeak(floats[k], peakLevel));
        }
        if (!Attempt([&] { return wave_->Write(samples.data(), 2 * count); })) {
            return Fail(messages::kWaveWriteFailed, GenerationResult::WriteFailed);
        }
        done += count;
    }
    DiscardQuietly(temporary_);
    return GenerationResult::Finished;
}

GenerationResult WaveOutput::PlayPreview() {
    player_.PlayImage(job_.previewSound.data(), job_.previewSound.size());
    return End(GenerationResult::Finished);
}

GenerationResult WaveOutput::Fail(std::string_view message, GenerationResult code) {
    // The message comes first, while the partial files are still on disk and open.
    host_.ShowError(message);
    CloseAndDeleteFiles();
    CallProgressDialog(job_, [](ProgressReceiver& d) { d.GenerationFinished(); });
    return End(code);
}

void WaveOutput::DiscardQuietly(std::unique_ptr<File>& file) {
    if (file) {
        Attempt([&] {
            file->Discard();
            return true;
        });
        file.reset();
    }
}

void WaveOutput::CloseAndDeleteFiles() {
    DiscardQuietly(wave_);
    DiscardQuietly(temporary_);
}

GenerationResult WaveOutput::End(GenerationResult code) {
    CloseAndDeleteFiles();
    buffered_ = 0;
    return code;
}

}  // namespace sordanel
