#include "engine/level_stage.h"

#include <algorithm>
#include <cmath>

#include "engine/quality_profile.h"

namespace sordanel {

namespace {

constexpr float kMaximizeLevel = 0.194006503f;  // 27.4 dB below the level of 0 dB
constexpr float kUnitVolumeLevel = 4.545485f;
constexpr float kInitialPeak = 1e-7f;

}  // namespace

void LevelStage::Setup(bool maximize, std::int32_t volumeDb, float noteFrequency,
                       float samplesPerStep, float duration, std::uint32_t totalSamples) {
    maximize_ = maximize;
    const float level = maximize ? kMaximizeLevel : VolumeLevel(volumeDb);
    highPass_.Setup(noteFrequency, kSampleRate);
    outputGain_ = static_cast<float>(OutputGain(highPass_, level, samplesPerStep, 32767));
    const float fadeSeconds = 0.02f;
    fadeStart_ = static_cast<std::int32_t>((double{duration} - fadeSeconds) * kSampleRate);
    lastSample_ = totalSamples - 1;
    fadeStep_ = static_cast<float>(1.0 / (static_cast<double>(lastSample_) - fadeStart_));
    highPass_.Reset();
    peakLevel_ = kInitialPeak;
}

float VolumeLevel(std::int32_t volumeDb) {
    return static_cast<float>(std::pow(10.0, volumeDb / 20.0) * kUnitVolumeLevel);
}

double OutputGain(const OutputHighPass& highPass, float level, float samplesPerStep,
                  double fullScale) {
    // The stretched kernel of fast string rates gains 1 / samplesPerStep, which min(R, 1)
    // undoes.
    return highPass.compensation() * level * std::min(samplesPerStep, 1.0f) * 1.4 * fullScale;
}

std::int16_t LevelStage::Quantize(float x) {
    if (x > 32767.0f) {
        return 32767;
    }
    if (x < -32768.0f) {
        return -32768;
    }
    return static_cast<std::int16_t>(std::floor(x));
}

std::int16_t RescaleToPeak(float x, float peakLevel) {
    const float q = static_cast<float>(double{x} * 32767 / peakLevel);
    return static_cast<std::int16_t>(std::floor(q));
}

std::int16_t RescalePreviewSample(std::int16_t s, float peakLevel) {
    const float roundedPeak = std::ceil(peakLevel);
    const float q = static_cast<float>(static_cast<double>(s) * 32767 / roundedPeak);
    return static_cast<std::int16_t>(std::floor(q));
}

}  // namespace sordanel
