#pragma once

#include <cstdint>

#include "engine/output_high_pass.h"

namespace sordanel {

// One output sample before quantisation (on the 16-bit scale) and after it.
struct OutputSample {
    float x;
    std::int16_t s;
};

// Turns the interpolated value of each output sample into the sample: gain, a high-pass whose
// corner follows the note, the final 20 ms fade to silence, the peak for Maximize, clamping to
// 16 bits.
class LevelStage {
public:
    // noteFrequency Hz; samplesPerStep R; duration D in seconds; totalSamples T.
    void Setup(bool maximize, std::int32_t volumeDb, float noteFrequency, float samplesPerStep,
               float duration, std::uint32_t totalSamples);

    OutputSample MakeOutputSample(float value, std::uint32_t n) {
        const float y = static_cast<float>(double{value} * outputGain_);
        float x = highPass_.Step(y);
        // The fade acts on what is heard: faded before the high-pass, the sound would end on
        // what the high-pass still holds of the last periods, a click at the lowest notes.
        if (static_cast<std::int64_t>(n) > fadeStart_) {
            x = static_cast<float>((static_cast<double>(lastSample_) - n) * fadeStep_ * x);
        }
        const float magnitude = x < 0 ? -x : x;
        if (maximize_ && magnitude > peakLevel_) {
            peakLevel_ = magnitude;
        }
        return {x, Quantize(x)};
    }

    float peakLevel() const { return peakLevel_; }
    float outputGain() const { return outputGain_; }
    float highPassCoefficient() const { return highPass_.coefficient(); }
    std::int32_t fadeStart() const { return fadeStart_; }

    // Clamps to the 16-bit range and rounds toward minus infinity.
    static std::int16_t Quantize(float x);

private:
    bool maximize_ = false;
    float outputGain_ = 0;
    std::int32_t fadeStart_ = 0;
    std::uint32_t lastSample_ = 0;
    float fadeStep_ = 0;  // the fade's fall per sample, reaching silence on the last sample
    OutputHighPass highPass_;
    float peakLevel_ = 0;
};

// The level of a volume setting in dB: 4.545485 at 0 dB.
float VolumeLevel(std::int32_t volumeDb);
// Gain from an interpolated value to the output scale, `fullScale` being the output's full
// scale (32767 for 16-bit samples); samplesPerStep R.
double OutputGain(const OutputHighPass& highPass, float level, float samplesPerStep,
                  double fullScale);

// Maximize after a full run: the float sample x scaled so that peakLevel reaches full scale.
std::int16_t RescaleToPeak(float x, float peakLevel);
// Maximize after a preview: the already quantised sample s scaled by the peak rounded up.
std::int16_t RescalePreviewSample(std::int16_t s, float peakLevel);

}  // namespace sordanel
